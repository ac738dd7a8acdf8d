// The segment file storm_in.txt: three code page 936 lines per segment with
// CR LF, written and read as bytes; files that are not segment files are
// refused whole.
#include "storm_network/segment_file.h"

#include "segment_file_bytes.h"
#include "textio/cp936.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using storm_network::SegmentRow;
namespace SegmentFile = storm_network::StormSegmentInputFile;
using SegmentFile::ReadStatus;
using namespace segment_file_test;

class SegmentFileTest : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir_;
};

TEST_F(SegmentFileTest, WritesThreeLinesPerSegmentWithCrLf)
{
    const QString file = path("storm_in.txt");
    ASSERT_EQ(SegmentFile::Write(file, kTwoRows), std::nullopt);
    EXPECT_EQ(fileBytes(file), kTwoRowsBytes);

    // Values as typed: blanks, texts that are no numbers, Chinese and empty
    // values are written unchanged.
    const std::vector<SegmentRow> typed = {
        {QStringLiteral(" 120 "), QStringLiteral("约3000"), QString()},
    };
    ASSERT_EQ(SegmentFile::Write(file, typed), std::nullopt);
    EXPECT_EQ(fileBytes(file), QByteArrayLiteral(" 120 \r\n") + textio::encodeCp936(QStringLiteral("约3000")).bytes
                                   + QByteArrayLiteral("\r\n\r\n"));

    ASSERT_EQ(SegmentFile::Write(file, {}), std::nullopt);
    EXPECT_EQ(fileBytes(file), QByteArray());
}

TEST_F(SegmentFileTest, ReadsBackWhatItWrote)
{
    const QString file = path("storm_in.txt");
    const std::vector<SegmentRow> rows = {
        kTwoRows[0], {QStringLiteral("约30"), QString(), QString()}, kTwoRows[1]};
    ASSERT_EQ(SegmentFile::Write(file, rows), std::nullopt);
    const SegmentFile::ReadResult read = SegmentFile::Read(file);
    EXPECT_EQ(read.status, ReadStatus::Read);
    EXPECT_EQ(read.rows, rows);
}

TEST_F(SegmentFileTest, ReadsLineEndsOfEveryKind)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        std::vector<SegmentRow> rows;
    };
    const std::vector<SegmentRow> one = {kTwoRows[0]};
    const Case cases[] = {
        {"CR LF", kTwoRowsBytes, kTwoRows},
        {"no line end after the last line", QByteArrayLiteral("100\r\n2000\r\n0.9"), one},
        {"CR alone", QByteArrayLiteral("100\r2000\r0.9\r"), one},
        {"an extra empty last line", QByteArrayLiteral("100\r\n2000\r\n0.9\r\n\r\n"), one},
        {"two extra empty lines", QByteArrayLiteral("100\r\n2000\r\n0.9\r\n\r\n\r\n"), one},
        {"an empty file", QByteArray(), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path("in.txt");
        putBytes(file, c.bytes);
        const SegmentFile::ReadResult read = SegmentFile::Read(file);
        EXPECT_EQ(read.status, ReadStatus::Read);
        EXPECT_EQ(read.rows, c.rows);
    }
}

TEST_F(SegmentFileTest, LinesAreDealtThreeAtATime)
{
    struct Case {
        const char* name;
        QStringList lines;
        std::optional<std::vector<SegmentRow>> rows;
    };
    const SegmentRow emptyRow{};
    const Case cases[] = {
        {"six lines", {"100", "2000", "0.9", "50", "1500", "0.6"}, kTwoRows},
        {"seven lines", {"100", "2000", "0.9", "50", "1500", "0.6", "30"}, std::nullopt},
        {"eight lines", {"100", "2000", "0.9", "50", "1500", "0.6", "30", "900"}, std::nullopt},
        {"four lines, the last one empty", {"100", "2000", "0.9", ""}, std::vector{kTwoRows[0]}},
        {"an empty coefficient ends the last row",
         {"100", "2000", ""},
         std::vector{SegmentRow{"100", "2000", ""}}},
        {"an empty row at the end is a row", {"100", "2000", "0.9", "", "", ""},
         std::vector{kTwoRows[0], emptyRow}},
        {"an empty line inside", {"100", "", "0.9", "50", "1500"}, std::nullopt},
        {"one empty line", {""}, std::vector<SegmentRow>{}},
        {"no lines", {}, std::vector<SegmentRow>{}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SegmentFile::RowsOf(c.lines), c.rows);
    }
    EXPECT_EQ(SegmentFile::Lines(kTwoRows), (QStringList{"100", "2000", "0.9", "50", "1500", "0.6"}));
}

TEST_F(SegmentFileTest, RefusesWhatIsNoSegmentFile)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        ReadStatus status;
    };
    const Case cases[] = {
        {"seven lines", kTwoRowsBytes + QByteArrayLiteral("30\r\n"), ReadStatus::NotSegmentFile},
        {"bytes that are no code page 936", QByteArrayLiteral("100\r\n\xff\xff\r\n0.9\r\n"),
         ReadStatus::Unreadable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path("in.txt");
        putBytes(file, c.bytes);
        const SegmentFile::ReadResult read = SegmentFile::Read(file);
        EXPECT_EQ(read.status, c.status);
        EXPECT_TRUE(read.rows.empty());
        EXPECT_EQ(read.detail.isEmpty(), c.status != ReadStatus::Unreadable);
    }

    EXPECT_EQ(SegmentFile::Read(path("missing.txt")).status, ReadStatus::Missing);
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("folder.txt")));
    EXPECT_EQ(SegmentFile::Read(path("folder.txt")).status, ReadStatus::Missing);
}

TEST_F(SegmentFileTest, ReadOnlyFileIsReplaced)
{
    const QString file = path("storm_in.txt");
    putBytes(file, QByteArrayLiteral("old\r\n"));
    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadUser));
    ASSERT_EQ(SegmentFile::Write(file, kTwoRows), std::nullopt);
    EXPECT_EQ(fileBytes(file), kTwoRowsBytes);
}

TEST_F(SegmentFileTest, FailedWriteLeavesTheFileAsItWas)
{
    const QString file = path("storm_in.txt");
    putBytes(file, kTwoRowsBytes);
    // A character that code page 936 cannot hold: nothing is written.
    const std::vector<SegmentRow> rows = {{QStringLiteral("100"), QStringLiteral("2000😀"), "0.9"}};
    const std::optional<QString> error = SegmentFile::Write(file, rows);
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->contains(file)) << error->toStdString();
    EXPECT_EQ(fileBytes(file), kTwoRowsBytes);

    // A folder that does not exist.
    EXPECT_TRUE(SegmentFile::Write(path("no/such/storm_in.txt"), kTwoRows).has_value());
    // A folder in place of the file.
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("taken.txt")));
    EXPECT_TRUE(SegmentFile::Write(path("taken.txt"), kTwoRows).has_value());
}

}  // namespace
