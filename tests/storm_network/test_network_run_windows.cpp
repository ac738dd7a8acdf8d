// A storm sewer run designed as the engineer designs it: the network
// window's parameters, segments entered in the segment list, "计 算", the
// result table, its work files, saving and going back; refused inputs; and
// the hidden single-segment sizing.
#include "app/windows.h"
#include "forms/testing/text.h"
#include "network_fixtures.h"
#include "forms/testing/fixture.h"
#include "segment_file_bytes.h"
#include "storm/storm_water_form.h"
#include "storm_network/network_calculation.h"
#include "storm_network/network_catalogue.h"
#include "storm_network/storm_network_report.h"
#include "storm_network/storm_result_grid_form.h"
#include "storm_network/storm_result_table_view.h"
#include "storm_network/storm_segment_list_form.h"
#include "storm_network/storm_sewer_network_form.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using forms::testing::FormsTest;
using namespace storm_network;
using segment_file_test::fileBytes;

namespace {

using forms::testing::S;

class NetworkRunTest : public FormsTest {
protected:
    // Each test has a per-user data folder of its own (tests run side by
    // side).
    void SetUp() override
    {
        FormsTest::SetUp();
        ASSERT_TRUE(m_dataFolder.isValid());
        m_formerDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", m_dataFolder.path().toUtf8());
    }
    void TearDown() override
    {
        qputenv("XDG_DATA_HOME", m_formerDataHome);
        FormsTest::TearDown();
    }

    // The network window as the storm water window's "手工逐段计算" opens it.
    static StormSewerNetworkForm& open()
    {
        form2().Show();
        form2().Option4->setValue(true);
        return form13();
    }

    // Segments typed into the segment list, "输 入" first.
    static void enter(const std::vector<SegmentRow>& segments)
    {
        form13().Command3->press();
        StormSegmentListForm& list = Form14();
        for (const SegmentRow& segment : segments) {
            list.Text1->setText(segment.length);
            list.Text2->setText(segment.area);
            list.Text3->setText(segment.runoff);
            list.Command1->press();
        }
    }

    static QString workFile(const QString& name) { return *WorkFilePath(name); }

    QTemporaryDir m_dataFolder;
    QByteArray m_formerDataHome;

    // The cells of a row as the window shows them.
    static QStringList shownRow(int row)
    {
        QStringList texts;
        for (int c = 1; c <= kResultColumns; ++c) {
            const forms::TextBox* cell = Form15().view().cellOfRow(row, static_cast<ResultColumn>(c));
            texts << (cell ? cell->Text() : S("(not shown)"));
        }
        return texts;
    }

    static QStringList rowOf(const PackedCells& cells)
    {
        QStringList texts;
        for (int c = 1; c <= kResultColumns; ++c)
            texts << cells.text(static_cast<ResultColumn>(c));
        return texts;
    }
};

const std::vector<SegmentRow> kThreeSegments = {
    {S("120"), S("8000"), S("0.9")}, {S("85.5"), S("12000"), S("0.65")}, {S("60"), S("4000"), S("0.4")}};

}  // namespace

TEST_F(NetworkRunTest, ARunEnteredInTheSegmentListIsComputedShownAndSaved)
{
    StormSewerNetworkForm& w = open();
    enter(kThreeSegments);
    w.Command1->press();

    StormResultGridForm& grid = Form15();
    EXPECT_TRUE(grid.isVisible());
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(Form14().isVisible());
    EXPECT_TRUE(boxes().empty());

    // The rows the calculation gives for the window's opening parameters.
    const NetworkOutcome expected = CalculateNetwork(
        storm_network::testing::openingParameters(),
        kThreeSegments);
    ASSERT_FALSE(expected.refusal);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(shownRow(row), rowOf(expected.values.rows[static_cast<std::size_t>(row)])) << row;
    EXPECT_EQ(shownRow(0).mid(0, 6), (QStringList{S("1-2"), S("120.00"), S("0.8000"), S("0.0000"),
                                                  S("0.8000"), S("0.000")}));
    EXPECT_EQ(shownRow(2)[0], S("3-4"));
    EXPECT_EQ(shownRow(2)[3], S("2.0000"));
    EXPECT_EQ(grid.Text19->Text(), S("265.5"));
    EXPECT_EQ(grid.Text20->Text(), S("2.4000"));
    EXPECT_EQ(grid.Label10->Caption(), S("1"));
    EXPECT_EQ(grid.Text22->Text(), S("0"));
    EXPECT_EQ(w.Text5, expected.values.sums.flowTime);
    EXPECT_EQ(w.trans, S("2.4"));

    // The work files: the segments as typed, and the report as computed.
    EXPECT_EQ(fileBytes(workFile(kSegmentWorkFile)),
              QByteArray("120\r\n8000\r\n0.9\r\n85.5\r\n12000\r\n0.65\r\n60\r\n4000\r\n0.4\r\n"));
    const QByteArray report = fileBytes(workFile(kReportWorkFile));
    EXPECT_EQ(report, StormNetworkReportBytes(form13().reportHeader(),
                                              ReportVariant::Temporary, grid.table())
                          .bytes);
    EXPECT_TRUE(report.contains(Cp936LineBytes({S("地        区: 天津市-天津市")}).bytes));
    EXPECT_TRUE(report.contains(Cp936LineBytes({S("管        材: 钢筋混凝土管")}).bytes));

    // A parameter changed after the calculation heads the saved report; the
    // rows stay as calculated, the municipality is named once.
    w.Text1->setText(S("5"));
    QTemporaryDir dir;
    const QString path = dir.filePath(S("storm_out.txt"));
    platform().answerFileDialog(path);
    grid.保存->click();
    const QByteArray saved = fileBytes(path);
    EXPECT_TRUE(saved.contains(Cp936LineBytes({S("地        区: 天津市")}).bytes));
    EXPECT_TRUE(saved.contains(Cp936LineBytes({S("重   现   期: 5 年")}).bytes));
    EXPECT_TRUE(saved.contains(QByteArray("\r\n  3-4  60.00")));
    EXPECT_EQ(grid.Text22->Text(), S("1"));

    grid.返回->click();
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(grid.isVisible());
    EXPECT_TRUE(boxes().empty());
}

TEST_F(NetworkRunTest, ASecondShorterRunStartsAfresh)
{
    StormSewerNetworkForm& w = open();
    std::vector<SegmentRow> many(25, SegmentRow{S("50"), S("3000"), S("0.65")});
    enter(many);
    w.Command1->press();
    StormResultGridForm& grid = Form15();
    grid.Command2->press();
    EXPECT_EQ(grid.Label6->Caption(), S("2"));
    platform().answerMessageBox(forms::vbNo);
    grid.返回->click();

    // The list emptied through 清除全部, two segments, HDPE pipe.
    StormSegmentListForm& list = Form14();
    w.Command3->press();
    platform().answerMessageBox(forms::vbOK);
    list.Command4->press();
    ASSERT_TRUE(list.rows().empty());
    w.Combo5->pick(kHdpeCorrugatedPipe);
    enter({{S("100"), S("10000"), S("0.9")}, {S("80"), S("30000"), S("0.3")}});
    w.Command1->press();

    EXPECT_EQ(grid.Label6->Caption(), S("1"));
    EXPECT_EQ(grid.Label10->Caption(), S("1"));
    EXPECT_EQ(grid.table().rowCount(), 25);
    EXPECT_EQ(shownRow(1)[3], S("1.0000"));
    EXPECT_EQ(shownRow(1)[9], S("0.450"));
    EXPECT_EQ(shownRow(2), QStringList(kResultColumns, S("(not shown)")));
    EXPECT_EQ(grid.Text19->Text(), S("180"));
    EXPECT_EQ(grid.Text20->Text(), S("4.0000"));
    EXPECT_EQ(w.trans, S("4"));
    // Sized from the 17 HDPE sizes at n = 0.01.
    const NetworkOutcome expected = CalculateNetwork(
        storm_network::testing::corrugatedPipeParameters(),
        list.rows());
    EXPECT_EQ(shownRow(1), rowOf(expected.values.rows[1]));
    // The report's totals follow the second segment, with 23 blank rows below.
    const QByteArray report = fileBytes(workFile(kReportWorkFile));
    EXPECT_EQ(report.count(QByteArray(125, ' ') + "\r\n"), 23);
    EXPECT_TRUE(report.endsWith(Cp936LineBytes({S("管段长度：180米        区域面积：4.0000ha        区域流量：")
                                                + grid.table().text(1, kDesignFlow) + S("L/s")})
                                    .bytes));
}

TEST_F(NetworkRunTest, ARunWithNoSegmentsClearsTheTableAndOpensTheList)
{
    StormSewerNetworkForm& w = open();
    enter({{S("100"), S("10000"), S("0.9")}, {S("80"), S("30000"), S("0.3")}});
    w.Command1->press();
    StormResultGridForm& grid = Form15();
    ASSERT_FALSE(shownRow(0)[3].isEmpty());
    platform().answerMessageBox(forms::vbNo);
    grid.返回->click();

    StormSegmentListForm& list = Form14();
    w.Command3->press();
    platform().answerMessageBox(forms::vbOK);
    list.Command4->press();
    ASSERT_TRUE(list.rows().empty());
    w.Command1->press();

    EXPECT_EQ(shownRow(0), QStringList(kResultColumns, QString()));
    EXPECT_EQ(shownRow(1), QStringList(kResultColumns, QString()));
    EXPECT_TRUE(list.isVisible());
    EXPECT_FALSE(grid.isVisible());
}

TEST_F(NetworkRunTest, RefusedRunsLeaveTheTableEmptyOnItsFirstPage)
{
    StormSewerNetworkForm& w = open();
    enter(std::vector<SegmentRow>(30, SegmentRow{S("50"), S("3000"), S("0.65")}));
    w.Command1->press();
    StormResultGridForm& grid = Form15();
    grid.Command2->press();
    platform().answerMessageBox(forms::vbNo);
    grid.返回->click();
    const QByteArray segmentFile = fileBytes(workFile(kSegmentWorkFile));
    const QByteArray reportFile = fileBytes(workFile(kReportWorkFile));

    struct Case {
        const char* name;
        const char* returnPeriod;
        const char* initialTime;
        const char* reduction;
        const char* area;  // of the second segment
        const char* message;
        const char* title;
        QWidget* focus;
    };
    const Case cases[] = {
        {"P empty, t1 empty too", "", "", "2.0", "3000", "请输入重现期", "确认数据完整性", w.Text1},
        {"t1 empty", "2", "", "2.0", "3000", "请输入地面集水时间", "确认数据完整性", w.Text3},
        {"P no number", "两年", "10", "2.0", "3000", "请输入正确的重现期", "确认数据正确性", w.Text1},
        {"m empty", "2", "10", "", "3000", "请输入正确的折减系数", "确认数据正确性", w.Text2},
        {"an area no number", "2", "10", "2.0", "3000m2", "第 2 段：请输入正确的汇水面积",
         "确认数据正确性", nullptr},
        {"t1 absurd", "2", "1e300", "2.0", "3000", "地面集水时间应不小于0且不大于1000 min，请重新输入",
         "确认数据正确性", w.Text3},
        {"m absurd", "2", "10", "1e300", "3000", "折减系数应不小于1且不大于10，请重新输入",
         "确认数据正确性", w.Text2},
        {"a negative area", "2", "10", "2.0", "-500",
         "第 2 段：汇水面积应不小于0且不大于10000000 m²，请重新输入", "确认数据正确性", nullptr},
    };
    std::size_t shown = boxes().size();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        w.Text1->setText(S(c.returnPeriod));
        w.Text3->setText(S(c.initialTime));
        w.Text2->setText(S(c.reduction));
        Form14().List1(1).clickLine(1);
        Form14().Text2->setText(S(c.area));
        Form14().Command1->press();  // 更  新
        w.Text5 = S("7");
        platform().answerMessageBox(forms::vbOK);
        w.Command1->press();
        ASSERT_EQ(boxes().size(), ++shown);
        EXPECT_EQ(boxes().back().text, S(c.message));
        EXPECT_EQ(boxes().back().title, S(c.title));
        EXPECT_EQ(boxes().back().style, forms::vbOKOnly);
        if (c.focus) {
            EXPECT_EQ(w.focusWidget(), c.focus);
        }

        // Nothing shown, nothing written; the table emptied, on page 1, its
        // page count and rows as they were.
        EXPECT_TRUE(w.isVisible());
        EXPECT_FALSE(grid.isVisible());
        EXPECT_EQ(w.Text5, S("0"));
        EXPECT_EQ(w.trans, S("0"));
        EXPECT_EQ(grid.Label6->Caption(), S("1"));
        EXPECT_EQ(grid.Label10->Caption(), S("2"));
        EXPECT_EQ(grid.table().rowCount(), 30);
        for (int row : {0, 1, 29})
            EXPECT_TRUE(grid.table().cells(row) == ResultCells()) << row;
        EXPECT_EQ(fileBytes(workFile(kSegmentWorkFile)), segmentFile);
        EXPECT_EQ(fileBytes(workFile(kReportWorkFile)), reportFile);
    }
}

TEST_F(NetworkRunTest, TheHiddenButtonSizesTheFirstRowAlone)
{
    StormSewerNetworkForm& w = open();
    // Before any calculation it does nothing.
    w.Command5->press();
    EXPECT_EQ(Form15().table().cells(0), ResultCells());

    // 5250 m² at Ψ 0.65: about 100 L/s, 450 mm at 2 ‰.
    enter({{S("100"), S("5250"), S("0.65")}, {S("100"), S("5250"), S("0.65")}});
    w.Command1->press();
    StormResultGridForm& grid = Form15();
    ResultTable& table = grid.table();
    EXPECT_EQ(table.text(0, kDesignFlow), S("99.95"));
    EXPECT_EQ(table.text(0, kSlope), S("2.0"));
    const ResultCells before = table.cells(0);
    const ResultCells second = table.cells(1);
    const QString flowTime = w.Text5;
    table.setText(0, kDiameter, S("800"));
    w.Command5->press();
    EXPECT_EQ(table.text(0, kDiameter), S("450"));
    EXPECT_EQ(table.text(0, kSlope), S("2"));  // not written through "0.0#"
    EXPECT_EQ(grid.view().cellOfRow(0, kSlope)->Text(), S("2"));
    for (const ResultColumn c : {kVelocity, kCapacity, kPipeTime, kDesignFlow})
        EXPECT_EQ(table.text(0, c), before[c]) << c;
    EXPECT_EQ(table.cells(1), second);
    EXPECT_EQ(w.Text5, flowTime);
}

// The engineer is told once in a run of the program, not at every
// calculation, and the run goes on.
TEST_F(NetworkRunTest, WorkFilesThatCannotBeWrittenDoNotStopTheRun)
{
    // Folders where the work files would go: neither file can be written.
    for (const QString& name : {kSegmentWorkFile, kReportWorkFile})
        ASSERT_TRUE(QDir().mkpath(workFile(name)));
    EXPECT_TRUE(workFile(kReportWorkFile).startsWith(m_dataFolder.path()));
    StormSewerNetworkForm& w = open();
    enter(kThreeSegments);
    forms::testing::scripted().answerMessageBox(forms::vbOK);
    w.Command1->press();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_TRUE(boxes()[0].text.contains(S("工作文件"))) << boxes()[0].text.toStdString();
    EXPECT_TRUE(boxes()[0].text.contains(S("storm_in_temp.txt"))) << boxes()[0].text.toStdString();
    w.Show();
    w.Command1->press();
    EXPECT_EQ(boxes().size(), 1u);
    EXPECT_TRUE(Form15().isVisible());
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(Form15().table().segmentCount(), 3);
    EXPECT_EQ(Form15().Text20->Text(), S("2.4000"));
    for (const QString& name : {kSegmentWorkFile, kReportWorkFile})
        EXPECT_TRUE(QFileInfo(workFile(name)).isDir());
}

// The work files are the program's own: a link planted under their names is
// replaced by the file, and the file it names stays as it was.
TEST_F(NetworkRunTest, ALinkPlantedUnderAWorkFileNameIsReplacedNotFollowed)
{
    StormSewerNetworkForm& w = open();
    enter(kThreeSegments);
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    for (const QString& name : {kSegmentWorkFile, kReportWorkFile}) {
        const QString victim = elsewhere.filePath(name);
        QFile file(victim);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("the engineer's own file");
        file.close();
        ASSERT_TRUE(QFile::link(victim, workFile(name)));
    }
    w.Command1->press();
    for (const QString& name : {kSegmentWorkFile, kReportWorkFile}) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(fileBytes(elsewhere.filePath(name)), QByteArray("the engineer's own file"));
        EXPECT_FALSE(QFileInfo(workFile(name)).isSymLink());
        EXPECT_TRUE(QFileInfo(workFile(name)).isFile());
    }
    EXPECT_TRUE(fileBytes(workFile(kSegmentWorkFile)).startsWith("120\r\n8000\r\n"));
}
