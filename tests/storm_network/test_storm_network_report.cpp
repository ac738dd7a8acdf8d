// The storm network report file, byte for byte: header, widths, code page
// 936, CR LF, the rows the table ever created, the totals of the last
// segment row, and writing it whole or not at all.
#include "storm_network/storm_network_report.h"
#include "forms/testing/text.h"
#include "network_fixtures.h"

#include "segment_file_bytes.h"  // texts printed as text in failures
#include "storm_network/network_calculation.h"

#include "textio/write_fault.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "storm_network/network_catalogue.h"

#include <gtest/gtest.h>

using namespace storm_network;

namespace {

using forms::testing::S;
using storm_network::testing::openingHeader;
using storm_network::testing::openingParameters;

// A run of n segments of 50 m, the first of 12345 m², the others of 2000 m²,
// put into `table` as the calculation does.
void calculate(ResultTable& table, int n)
{
    std::vector<SegmentRow> segments(static_cast<std::size_t>(n),
                                     SegmentRow{S("50"), S("2000"), S("0.65")});
    segments[0] = SegmentRow{S("50"), S("12345"), S("0.9")};
    NetworkOutcome result = CalculateNetwork(
        openingParameters(), segments);
    ASSERT_FALSE(result.refusal);
    table.takeRun(std::move(result.values.rows), result.values.totalLength);
}

// The file's lines, each with its CR LF checked and removed.
std::vector<QByteArray> linesOf(const QByteArray& bytes)
{
    std::vector<QByteArray> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype end = bytes.indexOf("\r\n", start);
        if (end < 0) {
            ADD_FAILURE() << "text after the last CR LF";
            break;
        }
        lines.push_back(bytes.mid(start, end - start));
        start = end + 2;
    }
    for (const QByteArray& line : lines) {
        EXPECT_FALSE(line.contains('\r')) << line.toStdString();
        EXPECT_FALSE(line.contains('\n')) << line.toStdString();
    }
    return lines;
}

QByteArray gbk(const char* utf8)
{
    return Cp936LineBytes({S(utf8)}).bytes.chopped(2);
}

const QByteArray kRule(125, '-');
const QByteArray kBlankRow(125, ' ');

}  // namespace

TEST(StormNetworkReport, TenSegmentsFillTheFirstTable)
{
    ResultTable table;
    calculate(table, 10);
    const EncodedText report = StormNetworkReportBytes(openingHeader(), ReportVariant::Temporary, table);
    ASSERT_FALSE(report.error);
    EXPECT_FALSE(report.bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(report.bytes.endsWith("L/s\r\n"));
    const std::vector<QByteArray> lines = linesOf(report.bytes);
    ASSERT_EQ(lines.size(), 19u + 10u);

    EXPECT_EQ(lines[0], QByteArray(52, ' ') + gbk("室外雨水水力计算表"));
    EXPECT_EQ(lines[0].size(), 70);
    EXPECT_EQ(lines[1], kRule);
    EXPECT_EQ(lines[2], gbk("设 计 参 数 : "));
    EXPECT_EQ(lines[3], gbk("地        区: 天津市-天津市"));
    EXPECT_EQ(lines[4], gbk("暴雨强度公式: q=(3841(1+0.85lgP))/((t+17)^0.85)"));
    EXPECT_EQ(lines[5], gbk("重   现   期: 2 年"));
    EXPECT_EQ(lines[6], gbk("折 减 系 数 : 2.0"));
    EXPECT_EQ(lines[7], gbk("起点汇流时间: 10 min"));
    EXPECT_EQ(lines[8], gbk("管        材: 钢筋混凝土管"));
    for (int k = 2; k <= 8; ++k)
        EXPECT_EQ(lines[static_cast<std::size_t>(k)].left(14).size(), 14) << k;
    EXPECT_EQ(lines[9], QByteArray());
    EXPECT_EQ(lines[10], gbk("计 算 结 果 :"));
    EXPECT_EQ(lines[11], kRule);
    EXPECT_EQ(lines[12].size(), 125);
    EXPECT_EQ(lines[13].size(), 125);
    EXPECT_EQ(lines[14].size(), 124);
    EXPECT_TRUE(lines[12].startsWith(gbk("设 计  管 段   本 段")));
    EXPECT_TRUE(lines[12].endsWith(gbk("流 速   最  大")));
    EXPECT_TRUE(lines[13].endsWith(gbk("坡 度           流  量")));
    // "·" and "‰" in the units line.
    EXPECT_TRUE(lines[14].contains("(L/s\xA1\xA4ha) \xCF\xB5 \xCA\xFD"));
    EXPECT_TRUE(lines[14].contains("(\xA1\xEB)    (m/s)   (L/s)"));
    EXPECT_EQ(lines[15], kRule);

    // Each cell right-aligned in 5, 7, 9, 8, 8, 8, 8, 8, 8, 8, 8, 8, 7, 8, 8, 9.
    EXPECT_EQ(lines[16], QByteArray("  1-2  50.00   1.2345  0.0000  1.2345   0.000   0.980  292.91"
                                    "   0.900   0.900  263.62  325.44    700     2.0    0.85  414.206"));
    for (std::size_t r = 16; r < 26; ++r)
        EXPECT_EQ(lines[r].size(), 125) << r;
    EXPECT_TRUE(lines[25].startsWith("10-11  50.00"));
    EXPECT_EQ(lines[26], kRule);
    EXPECT_EQ(lines[27], QByteArray());
    const QByteArray lastFlow = table.text(9, kDesignFlow).toLatin1();
    EXPECT_EQ(lines[28], gbk("管段长度：500米        区域面积：") + table.text(9, kCumulativeArea).toLatin1()
                             + gbk("ha        区域流量：") + lastFlow + "L/s");
    EXPECT_TRUE(lines[28].startsWith("\xB9\xDC\xB6\xCE\xB3\xA4\xB6\xC8\xA3\xBA"));  // 管段长度：
    EXPECT_EQ(lines[28].count("\xA3\xBA"), 3);
}

TEST(StormNetworkReport, EveryRowEverCreatedIsALine)
{
    ResultTable table;
    calculate(table, 12);
    std::vector<QByteArray> lines =
        linesOf(StormNetworkReportBytes(openingHeader(), ReportVariant::Temporary, table).bytes);
    ASSERT_EQ(lines.size(), 19u + 12u);
    EXPECT_TRUE(lines[27].startsWith("12-13"));

    // Five segments after twelve: twelve data lines, the last seven blank;
    // the totals follow the fifth segment.
    calculate(table, 5);
    lines = linesOf(StormNetworkReportBytes(openingHeader(), ReportVariant::Temporary, table).bytes);
    ASSERT_EQ(lines.size(), 19u + 12u);
    EXPECT_TRUE(lines[20].startsWith("  5-6"));
    for (std::size_t r = 21; r < 28; ++r)
        EXPECT_EQ(lines[r], kBlankRow) << r;
    EXPECT_EQ(lines[28], kRule);
    EXPECT_EQ(lines[30], gbk("管段长度：250米        区域面积：") + table.text(4, kCumulativeArea).toLatin1()
                             + gbk("ha        区域流量：") + table.text(4, kDesignFlow).toLatin1() + "L/s");

    // Three segments on a fresh table: rows 3 to 9 are blank lines.
    ResultTable fresh;
    calculate(fresh, 3);
    lines = linesOf(StormNetworkReportBytes(openingHeader(), ReportVariant::Temporary, fresh).bytes);
    ASSERT_EQ(lines.size(), 19u + 10u);
    for (std::size_t r = 19; r < 26; ++r)
        EXPECT_EQ(lines[r], kBlankRow) << r;
}

TEST(StormNetworkReport, LongCellsAreWrittenWhole)
{
    ResultTable table;
    calculate(table, 100);
    const std::vector<QByteArray> lines =
        linesOf(StormNetworkReportBytes(openingHeader(), ReportVariant::Temporary, table).bytes);
    ASSERT_EQ(lines.size(), 19u + 100u);
    EXPECT_TRUE(lines[16 + 97].startsWith("98-99  50.00"));
    EXPECT_TRUE(lines[16 + 98].startsWith("99-100  50.00"));
    EXPECT_EQ(lines[16 + 98].size(), 126);
    EXPECT_TRUE(lines[16 + 99].startsWith("100-101  50.00"));

    // A label typed over in Chinese counts its characters, not its bytes.
    table.setText(0, kSegmentLabel, S("进水口"));
    const std::vector<QByteArray> typed =
        linesOf(StormNetworkReportBytes(openingHeader(), ReportVariant::Temporary, table).bytes);
    EXPECT_TRUE(typed[16].startsWith("  " + gbk("进水口") + "  50.00"));
    EXPECT_EQ(typed[16].size(), 128);
}

TEST(StormNetworkReport, AFullOrLongCellKeepsOneBlankFromTheCellBefore)
{
    // Two catchments of 60 ha: the second segment's cumulative area, design
    // flow and capacity fill their columns and still stand apart from the
    // figures before them.
    ResultTable large;
    const std::vector<SegmentRow> segments(2, SegmentRow{S("50"), S("600000"), S("0.65")});
    NetworkOutcome result = CalculateNetwork(openingParameters(), segments);
    ASSERT_FALSE(result.refusal);
    large.takeRun(std::move(result.values.rows), result.values.totalLength);
    ASSERT_EQ(large.text(1, kCumulativeArea), S("120.0000"));
    const std::vector<QByteArray> lines =
        linesOf(StormNetworkReportBytes(openingHeader(), ReportVariant::Temporary, large).bytes);
    EXPECT_EQ(lines[17], QByteArray("  2-3  50.00  60.0000 60.0000 120.0000   0.358   0.264  286.46"
                                    "   0.650   0.650  186.20 22344.00   3000     2.5    3.16 22442.258"));

    struct Row {
        const char* name;
        ResultColumn column;
        const char* cell;
        QByteArray written;  // the cell before, the blanks and the cell
        qsizetype length;
    };
    const Row rows[] = {
        {"one short of its column", kCumulativeArea, "20.0000", "  0.0000 20.0000", 125},
        {"fills its column", kCumulativeArea, "120.0000", "  0.0000 120.0000", 126},
        {"longer than its column", kDesignFlow, "100000.00", "263.62 100000.00", 127},
        {"fills the narrow diameter column", kDiameter, "1000000", "325.44 1000000", 126},
        {"fills the last column", kCapacity, "10000.000", "0.85 10000.000", 126},
        {"the first column takes no blank of its own", kSegmentLabel, "10-11", "10-11  50.00", 125},
        {"a Chinese cell counts its characters", kRunoff, "八个汉字八个汉字",
         "292.91 " + gbk("八个汉字八个汉字"), 134},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ResultTable table;
        calculate(table, 10);
        table.setText(0, row.column, S(row.cell));
        const std::vector<QByteArray> written =
            linesOf(StormNetworkReportBytes(openingHeader(), ReportVariant::Temporary, table).bytes);
        const QByteArray line = written[16];
        EXPECT_TRUE(line.contains(row.written)) << line.toStdString();
        EXPECT_EQ(line.size(), row.length) << line.toStdString();
    }
}

TEST(StormNetworkReport, TheSavedReportNamesAMunicipalityOnce)
{
    ResultTable table;
    calculate(table, 1);
    struct Case {
        const char* province;
        const char* city;
        ReportVariant variant;
        const char* line;
    };
    const Case cases[] = {
        {"天津市", "天津市", ReportVariant::Temporary, "地        区: 天津市-天津市"},
        {"天津市", "天津市", ReportVariant::Saved, "地        区: 天津市"},
        {"河  北", "保定", ReportVariant::Temporary, "地        区: 河  北-保定"},
        {"河  北", "保定", ReportVariant::Saved, "地        区: 河  北-保定"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        ReportHeader header = openingHeader();
        header.province = S(c.province);
        header.city = S(c.city);
        EXPECT_EQ(linesOf(StormNetworkReportBytes(header, c.variant, table).bytes)[3], gbk(c.line));
    }
    // An empty return period leaves its unit alone.
    ReportHeader header = openingHeader();
    header.returnPeriod.clear();
    EXPECT_EQ(linesOf(StormNetworkReportBytes(header, ReportVariant::Saved, table).bytes)[5],
              gbk("重   现   期:  年"));
}

TEST(StormNetworkReport, SavingReplacesTheFileWholeOrNotAtAll)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(S("storm_out.txt"));
    ResultTable table;
    calculate(table, 2);
    const QByteArray expected =
        StormNetworkReportBytes(openingHeader(), ReportVariant::Saved, table).bytes;

    // Over an existing read-only file: it is overwritten and stays writable.
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    EXPECT_FALSE(WriteStormNetworkReport(path, ReportVariant::Saved, openingHeader(), table));
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), expected);
    saved.close();
    EXPECT_TRUE(QFile::permissions(path).testFlag(QFileDevice::WriteOwner));
    EXPECT_TRUE(QFile::permissions(path).testFlag(QFileDevice::ReadGroup));

    // A text the code page cannot hold: the file and its read-only state
    // stay as they were.
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner));
    table.setText(1, kSegmentLabel, S("2-3\U0001F600"));
    const std::optional<QString> error =
        WriteStormNetworkReport(path, ReportVariant::Saved, openingHeader(), table);
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->startsWith(S("无法保存文件"))) << error->toStdString();
    EXPECT_FALSE(QFile::permissions(path).testFlag(QFileDevice::WriteOwner));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), expected);
    saved.close();

    // A folder that does not exist.
    table.setText(1, kSegmentLabel, S("2-3"));
    EXPECT_TRUE(WriteStormNetworkReport(dir.filePath(S("none/storm_out.txt")), ReportVariant::Saved,
                                        openingHeader(), table));
}

TEST(StormNetworkReport, ASaveOnAFullDiskLeavesAReadOnlyFileAsItWas)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(S("storm_out.txt"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner));
    ResultTable table;
    calculate(table, 2);
    const textio::ScopedWriteFault fault(textio::WriteFault::NoSpace, 100);
    const std::optional<QString> error =
        WriteStormNetworkReport(path, ReportVariant::Saved, openingHeader(), table);
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->contains(S("磁盘已满"))) << error->toStdString();
    EXPECT_TRUE(error->contains(QDir::toNativeSeparators(path))) << error->toStdString();
    // The read-only state cleared for the overwrite comes back.
    EXPECT_EQ(QFile::permissions(path) & (QFileDevice::WriteOwner | QFileDevice::ReadOwner),
              QFileDevice::ReadOwner);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{S("storm_out.txt")});
}

TEST(StormNetworkReport, WorkFilesGoToThePerUserDataFolder)
{
    // A data folder of the test's own.
    QTemporaryDir data;
    ASSERT_TRUE(data.isValid());
    const QByteArray formerDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    const std::optional<QString> path = WorkFilePath(kSegmentWorkFile);
    ASSERT_TRUE(path);
    EXPECT_TRUE(path->startsWith(data.path()));
    EXPECT_TRUE(path->endsWith(S("/storm_in_temp.txt")));
    const std::vector<SegmentRow> segments = {{S("120"), S("3000"), S("0.65")}, {S("80.5"), S(""), S("0.9")}};
    EXPECT_FALSE(WriteSegmentWorkFile(segments));
    QFile file(*path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("120\r\n3000\r\n0.65\r\n80.5\r\n\r\n0.9\r\n"));
    file.close();
    // A text the code page cannot hold leaves the file as it was.
    const std::vector<SegmentRow> unencodable = {{S("\U0001F600"), S("1"), S("1")}};
    EXPECT_TRUE(WriteSegmentWorkFile(unencodable));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("120\r\n3000\r\n0.65\r\n80.5\r\n\r\n0.9\r\n"));
    file.close();

    // A full disk leaves the former copy too, and says so.
    {
        const textio::ScopedWriteFault fault(textio::WriteFault::NoSpace, 4);
        const std::optional<QString> error = WriteSegmentWorkFile(segments);
        ASSERT_TRUE(error);
        EXPECT_TRUE(error->contains(S("磁盘已满"))) << error->toStdString();
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("120\r\n3000\r\n0.65\r\n80.5\r\n\r\n0.9\r\n"));
    file.close();

    ResultTable table;
    EXPECT_FALSE(WriteReportWorkFile(ReportHeader{}, table));
    EXPECT_TRUE(QFile::exists(*WorkFilePath(kReportWorkFile)));
    {
        const textio::ScopedWriteFault fault(textio::WriteFault::DeviceError, 10);
        EXPECT_TRUE(WriteReportWorkFile(ReportHeader{}, table));
    }
    QFile report(*WorkFilePath(kReportWorkFile));
    ASSERT_TRUE(report.open(QIODevice::ReadOnly));
    EXPECT_EQ(report.readAll(),
              StormNetworkReportBytes(ReportHeader{}, ReportVariant::Temporary, table).bytes);
    qputenv("XDG_DATA_HOME", formerDataHome);
}
