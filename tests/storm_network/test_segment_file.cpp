// The segment file storm_in.txt: three code page 936 lines per segment with
// CR LF, written and read as bytes; files that are not segment files are
// refused whole.
#include "storm_network/segment_file.h"

#include "segment_file_bytes.h"
#include "textio/cp936.h"
#include "textio/write_fault.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

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
        kTwoRows[0], {QStringLiteral("约30"), QStringLiteral("800"), QStringLiteral("0.3")},
        kTwoRows[1]};
    ASSERT_EQ(SegmentFile::Write(file, rows), std::nullopt);
    const SegmentFile::ReadResult read = SegmentFile::Read(file);
    EXPECT_EQ(read.status, ReadStatus::Read);
    EXPECT_EQ(read.rows, rows);

    // An empty value is written as an empty line, which no import takes.
    const std::vector<SegmentRow> gap = {{QStringLiteral("30"), QString(), QStringLiteral("0.3")},
                                         kTwoRows[1]};
    ASSERT_EQ(SegmentFile::Write(file, gap), std::nullopt);
    const SegmentFile::ReadResult refused = SegmentFile::Read(file);
    EXPECT_EQ(refused.status, ReadStatus::BlankLine);
    EXPECT_EQ(refused.line, 2);
}

TEST_F(SegmentFileTest, ReadsLineEndsOfEveryKind)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        std::vector<SegmentRow> rows;
    };
    const std::vector<SegmentRow> one = {kTwoRows[0]};
    // 64 characters: the longest value, in one and in two bytes a character.
    const QByteArray digits64(64, '7');
    const QString chinese64 = QString(64, QChar(0x7EA6));  // 约
    const Case cases[] = {
        {"CR LF", kTwoRowsBytes, kTwoRows},
        {"no line end after the last line", QByteArrayLiteral("100\r\n2000\r\n0.9"), one},
        {"CR alone", QByteArrayLiteral("100\r2000\r0.9\r"), one},
        {"LF alone", QByteArrayLiteral("100\n2000\n0.9\n"), one},
        {"an extra empty last line", QByteArrayLiteral("100\r\n2000\r\n0.9\r\n\r\n"), one},
        {"three extra empty lines", QByteArrayLiteral("100\r\n2000\r\n0.9\r\n\r\n\r\n\r\n"), one},
        {"a last line of blanks", QByteArrayLiteral("100\r\n2000\r\n0.9\r\n  \r\n"), one},
        {"values of 64 characters",
         digits64 + "\r\n" + textio::encodeCp936(chinese64).bytes + "\r\n0.9",
         {{QString::fromLatin1(digits64), chinese64, QStringLiteral("0.9")}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path("in.txt");
        putBytes(file, c.bytes);
        const SegmentFile::ReadResult read = SegmentFile::Read(file);
        EXPECT_EQ(read.status, ReadStatus::Read) << read.detail.toStdString();
        EXPECT_EQ(read.rows, c.rows);
    }
    EXPECT_EQ(SegmentFile::Lines(kTwoRows), (QStringList{"100", "2000", "0.9", "50", "1500", "0.6"}));
}

TEST_F(SegmentFileTest, ReadsACrLfSplitAcrossTheReadBlocks)
{
    // "123" CR LF, then "1" CR LF lines: the CR of the 21,845th line is the
    // last byte of the first 64 KB, its LF the first byte of the next.
    QByteArray bytes = QByteArrayLiteral("123\r\n");
    for (int i = 0; i < 21845; ++i)
        bytes += "1\r\n";
    ASSERT_EQ(bytes.at(65535), '\r');
    const QString file = path("in.txt");
    putBytes(file, bytes);
    const SegmentFile::ReadResult read = SegmentFile::Read(file);
    ASSERT_EQ(read.status, ReadStatus::Read) << read.detail.toStdString();
    ASSERT_EQ(read.rows.size(), 7282u);
    EXPECT_EQ(read.rows.front(), (SegmentRow{"123", "1", "1"}));
    EXPECT_EQ(read.rows.back(), (SegmentRow{"1", "1", "1"}));
}

TEST_F(SegmentFileTest, RefusesWhatIsNoSegmentFile)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        ReadStatus status;
        qsizetype line;
        const char* reason;  // a part of the message
    };
    const QByteArray longValue(65, '1');
    const QByteArray longChinese = textio::encodeCp936(QString(65, QChar(0x7EA6))).bytes;
    const Case cases[] = {
        {"an empty file", QByteArray(), ReadStatus::NoSegments, 0, "没有管段数据"},
        {"blank lines only", QByteArrayLiteral("\r\n \r\n\r\n"), ReadStatus::NoSegments, 0,
         "没有管段数据"},
        {"seven lines", kTwoRowsBytes + QByteArrayLiteral("30\r\n"), ReadStatus::NotSegmentFile, 0,
         "共7行数据"},
        {"an empty last coefficient", QByteArrayLiteral("100\r\n2000\r\n\r\n"),
         ReadStatus::NotSegmentFile, 0, "共2行数据"},
        {"LF CR line ends", QByteArrayLiteral("100\n\r2000\n\r0.9\n\r"), ReadStatus::BlankLine, 2,
         "第2行是空行"},
        {"an empty line inside", QByteArrayLiteral("100\r\n2000\r\n\r\n\r\n0.9\r\n"),
         ReadStatus::BlankLine, 3, "第3行是空行"},
        {"a blank first line", QByteArrayLiteral(" \r\n100\r\n2000\r\n0.9\r\n"),
         ReadStatus::BlankLine, 1, "第1行是空行"},
        {"a line of 65 characters", "100\r\n" + longValue + "\r\n0.9\r\n",
         ReadStatus::LineTooLong, 2, "第2行长于64个字符"},
        {"65 characters of two bytes", "100\r\n2000\r\n" + longChinese + "\r\n",
         ReadStatus::LineTooLong, 3, "第3行长于64个字符"},
        {"a long last line without line end", "100\r\n2000\r\n" + longValue,
         ReadStatus::LineTooLong, 3, "第3行长于64个字符"},
        {"5 MB of digits", QByteArray(5 * 1024 * 1024, '9') + "\r\n2000\r\n0.9\r\n",
         ReadStatus::LineTooLong, 1, "第1行长于64个字符"},
        {"bytes that are no code page 936", QByteArrayLiteral("100\r\n\xff\xff\r\n0.9\r\n"),
         ReadStatus::Unreadable, 2, "第2行"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path("in.txt");
        putBytes(file, c.bytes);
        const SegmentFile::ReadResult read = SegmentFile::Read(file);
        EXPECT_EQ(read.status, c.status);
        EXPECT_EQ(read.line, c.line);
        EXPECT_TRUE(read.rows.empty());
        EXPECT_TRUE(read.detail.contains(QDir::toNativeSeparators(file))) << read.detail.toStdString();
        EXPECT_TRUE(read.detail.contains(QString::fromUtf8(c.reason))) << read.detail.toStdString();
    }
}

TEST_F(SegmentFileTest, RefusesAFileLargerThanAnySegmentList)
{
    struct Case {
        const char* name;
        qint64 size;  // of zero bytes, which are one endless line
        ReadStatus status;
    };
    const Case cases[] = {
        {"64 MB is read up to its first long line", 64 * 1024 * 1024, ReadStatus::LineTooLong},
        {"a byte over 64 MB", 64 * 1024 * 1024 + 1, ReadStatus::TooLarge},
        {"1 GB", qint64(1) << 30, ReadStatus::TooLarge},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path("big.dat");
        QFile big(file);
        ASSERT_TRUE(big.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_TRUE(big.resize(c.size));  // sparse: takes no room
        big.close();
        const SegmentFile::ReadResult read = SegmentFile::Read(file);
        EXPECT_EQ(read.status, c.status);
        EXPECT_TRUE(read.rows.empty());
        EXPECT_TRUE(read.detail.contains(QDir::toNativeSeparators(file)));
        if (c.status == ReadStatus::TooLarge) {
            EXPECT_TRUE(read.detail.contains(QString::number(c.size) + QStringLiteral("字节")))
                << read.detail.toStdString();
        }
        ASSERT_TRUE(QFile::remove(file));
    }
}

TEST_F(SegmentFileTest, RefusesMoreSegmentsThanAnyRun)
{
    // A million segments of "1" CR, and one more.
    QByteArray bytes;
    bytes.reserve(6'000'006);
    for (int i = 0; i < 3'000'003; ++i)
        bytes += "1\r";
    const QString file = path("many.txt");
    putBytes(file, bytes);
    const SegmentFile::ReadResult read = SegmentFile::Read(file);
    EXPECT_EQ(read.status, ReadStatus::TooManySegments);
    EXPECT_TRUE(read.rows.empty());
    EXPECT_TRUE(read.detail.contains(QStringLiteral("1000000段"))) << read.detail.toStdString();
}

TEST_F(SegmentFileTest, SaysWhenWhatWasChosenIsNoFile)
{
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("folder.txt")));
    const QString fifo = path("pipe.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    struct Case {
        const char* name;
        QString path;
        const char* kind;
    };
    const Case cases[] = {
        {"a folder", path("folder.txt"), "文件夹"},
        {"a device", QStringLiteral("/dev/null"), "设备或管道"},
        {"a pipe, never opened", fifo, "设备或管道"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SegmentFile::ReadResult read = SegmentFile::Read(c.path);
        EXPECT_EQ(read.status, ReadStatus::NotAFile);
        EXPECT_TRUE(read.detail.contains(QDir::toNativeSeparators(c.path)));
        EXPECT_TRUE(read.detail.contains(QStringLiteral("不是文件")));
        EXPECT_TRUE(read.detail.contains(QString::fromUtf8(c.kind))) << read.detail.toStdString();
    }
    EXPECT_EQ(SegmentFile::Read(path("missing.txt")).status, ReadStatus::Missing);
    EXPECT_EQ(SegmentFile::Read(QString()).status, ReadStatus::Missing);
}

// A file in a folder the engineer may not enter is there, out of reach: the
// refusal says so, not that nothing of that name exists.
TEST_F(SegmentFileTest, AFileInAFolderWithoutSearchPermissionIsNotMissing)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "acting as another user needs root";
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("closed")));
    const QString file = path("closed/storm_in.txt");
    putBytes(file, "120\r\n3000\r\n0.65\r\n");
    ASSERT_EQ(::chmod(QFile::encodeName(path("closed")).constData(), 0700), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(dir_.path()).constData(), 0755), 0);
    ASSERT_EQ(::seteuid(65534), 0);
    const SegmentFile::ReadResult read = SegmentFile::Read(file);
    ASSERT_EQ(::seteuid(0), 0);
    EXPECT_EQ(read.status, ReadStatus::Unreadable);
    EXPECT_TRUE(read.detail.contains(QStringLiteral("权限"))) << read.detail.toStdString();
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

TEST_F(SegmentFileTest, WriteOnAFailingDiskLeavesTheOldFile)
{
    struct Case {
        const char* name;
        textio::WriteFault fault;
        qint64 afterBytes;
        bool existed;
        bool readOnly;
        const char* reason;
    };
    const Case cases[] = {
        {"full disk, nothing written", textio::WriteFault::NoSpace, 0, true, false, "磁盘已满"},
        {"full disk after two lines", textio::WriteFault::NoSpace, 11, true, false, "磁盘已满"},
        {"full disk over a read-only file", textio::WriteFault::NoSpace, 5, true, true, "磁盘已满"},
        {"device error", textio::WriteFault::DeviceError, 20, true, false, "磁盘读写错误"},
        {"full disk, new file", textio::WriteFault::NoSpace, 11, false, false, "磁盘已满"},
    };
    const QByteArray old = QByteArrayLiteral("old\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("storm_in.txt"));
        QFileDevice::Permissions before;
        if (c.existed) {
            putBytes(file, old);
            if (c.readOnly) {
                ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner));
            }
            before = QFile::permissions(file);
        }
        std::optional<QString> error;
        {
            const textio::ScopedWriteFault fault(c.fault, c.afterBytes);
            error = SegmentFile::Write(file, kTwoRows);
        }
        ASSERT_TRUE(error.has_value());
        EXPECT_TRUE(error->contains(QDir::toNativeSeparators(file))) << error->toStdString();
        EXPECT_TRUE(error->contains(QString::fromUtf8(c.reason))) << error->toStdString();
        const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        if (c.existed) {
            EXPECT_EQ(fileBytes(file), old);
            EXPECT_EQ(QFile::permissions(file), before);
            EXPECT_EQ(left, QStringList{QStringLiteral("storm_in.txt")});
        } else {
            EXPECT_TRUE(left.isEmpty()) << left.join(QLatin1Char(' ')).toStdString();
        }
    }
}

}  // namespace
