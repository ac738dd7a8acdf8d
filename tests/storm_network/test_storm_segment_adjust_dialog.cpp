// The segment adjustment dialog Form10 as the engineer uses it: a run
// designed through the network window, the result table's adjustment mode,
// a click on a diameter or slope cell, typing and 确  定 or 取  消.
#include "app/windows.h"
#include "forms/testing/text.h"
#include "forms/testing/fixture.h"
#include "segment_file_bytes.h"
#include "storm/storm_water_form.h"
#include "storm_network/result_table.h"
#include "storm_network/segment_file.h"
#include "storm_network/storm_result_grid_form.h"
#include "storm_network/storm_result_table_view.h"
#include "storm_network/storm_segment_adjust_dialog.h"
#include "storm_network/storm_segment_list_form.h"
#include "storm_network/storm_sewer_network_form.h"
#include "version/version.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using forms::testing::FormsTest;
using namespace storm_network;

namespace {

using forms::testing::S;

// Five segments; a shorter flow time above the second takes it, and the
// third, from 700 to 800 mm.
const std::vector<SegmentRow> kFiveSegments = {
    {S("120"), S("8000"), S("0.9")},  {S("85.5"), S("13400"), S("0.65")},
    {S("60"), S("4000"), S("0.4")},   {S("150"), S("20000"), S("0.6")},
    {S("90"), S("6000"), S("0.7")},
};

class SegmentAdjustDialogTest : public FormsTest {
protected:
    void SetUp() override
    {
        FormsTest::SetUp();
        QStandardPaths::setTestModeEnabled(true);
    }

    // The segments imported into the segment list from a segment file
    // ("导入数据", replacing the rows it held), then "计 算".
    void importAndCalculate(const std::vector<SegmentRow>& segments)
    {
        const QString path = m_dir.filePath(S("storm_in.txt"));
        ASSERT_FALSE(StormSegmentInputFile::Write(path, segments));
        if (!Form14().rows().empty())
            platform().answerMessageBox(forms::vbNo);
        platform().answerFileDialog(path);
        Form14().导入->click();
        form13().Command1->press();
        EXPECT_TRUE(Form15().isVisible());
    }

    // The run designed as the engineer designs it, in the network window
    // that the storm water window's "手工逐段计算" opens with its opening
    // parameters (天津市, P 2, t1 10, m 2.0, concrete pipe); then the
    // table's 调整.
    StormResultGridForm& designAndAdjust(const std::vector<SegmentRow>& segments = kFiveSegments)
    {
        form2().Show();
        form2().Option4->setValue(true);
        importAndCalculate(segments);
        Form15().调整->click();
        return Form15();
    }

    // A click on a cell of the table as shown.
    static void click(int row, ResultColumn column)
    {
        forms::TextBox* cell = Form15().view().cellOfRow(row, column);
        ASSERT_NE(cell, nullptr);
        QTest::mouseClick(cell, Qt::LeftButton);
    }

    static QString shown(int row, ResultColumn column)
    {
        const forms::TextBox* cell = Form15().view().cellOfRow(row, column);
        return cell ? cell->Text() : S("(not shown)");
    }

    static std::vector<ResultCells> allRows()
    {
        std::vector<ResultCells> rows;
        for (int row = 0; row < Form15().table().rowCount(); ++row)
            rows.push_back(Form15().table().cells(row));
        return rows;
    }

    // Types over a field's text as the engineer does.
    static void type(forms::TextBox* field, const QString& text)
    {
        field->selectAll();
        field->del();
        QTest::keyClicks(field, text);
    }

    QTemporaryDir m_dir;
};

}  // namespace

TEST_F(SegmentAdjustDialogTest, OpensAtItsLayout)
{
    StormSegmentAdjustDialog& d = Form10();
    d.Show();
    EXPECT_EQ(d.Caption(), S("雨水数据修改程序V") + kVersionText);
    EXPECT_DOUBLE_EQ(d.ScaleWidth(), 3420);
    EXPECT_DOUBLE_EQ(d.ScaleHeight(), 1470);
    EXPECT_EQ(d.Label1->Caption(), S("设计管径(mm)"));
    EXPECT_EQ(d.Label2->Caption(), S("水力坡度(‰)"));
    EXPECT_EQ(d.Command1->Caption(), S("确  定(&S)"));
    EXPECT_EQ(d.Command2->Caption(), S("取  消(&C)"));
    EXPECT_EQ(d.defaultButton(), d.Command1);
    EXPECT_EQ(d.cancelButton(), d.Command2);
    const struct {
        const QWidget* control;
        double left, top, width, height;
    } boxes[] = {
        {d.Text1, 270, 495, 1005, 350},    {d.Text2, 2070, 495, 1005, 350},
        {d.Command1, 255, 990, 1000, 375}, {d.Command2, 2070, 990, 1000, 375},
    };
    for (const auto& box : boxes) {
        SCOPED_TRACE(box.control->objectName().toStdString());
        EXPECT_EQ(box.control->geometry(), forms::pxRect(box.left, box.top, box.width, box.height));
    }
    EXPECT_EQ(d.Text1->Text(), QString());
    EXPECT_EQ(d.Text2->Text(), QString());
    EXPECT_EQ(d.Text3->Text(), S("0"));
    EXPECT_FALSE(d.Text3->isVisibleTo(&d));
}

TEST_F(SegmentAdjustDialogTest, ACellClickLoadsItsRowWithTheFocusOnTheCellsField)
{
    designAndAdjust();
    StormSegmentAdjustDialog& d = Form10();
    EXPECT_FALSE(d.isVisible());

    // 设计管径 of the second segment: the diameter field, its text selected.
    click(1, kDiameter);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.Text1->Text(), S("700"));
    EXPECT_EQ(d.Text2->Text(), S("2.0"));
    EXPECT_EQ(d.Text3->Text(), S("1"));
    EXPECT_EQ(d.focusWidget(), d.Text1);
    EXPECT_EQ(d.Text1->selectedText(), S("700"));

    // 水力坡度 of the fifth: the slope field.
    click(4, kSlope);
    EXPECT_EQ(d.Text1->Text(), S("900"));
    EXPECT_EQ(d.Text2->Text(), S("2.0"));
    EXPECT_EQ(d.Text3->Text(), S("4"));
    EXPECT_EQ(d.focusWidget(), d.Text2);
    EXPECT_EQ(d.Text2->selectedText(), S("2.0"));

    // Back to a diameter: its field is selected whole again.
    click(0, kDiameter);
    EXPECT_EQ(d.Text1->Text(), S("600"));
    EXPECT_EQ(d.Text3->Text(), S("0"));
    EXPECT_EQ(d.Text1->selectedText(), S("600"));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(SegmentAdjustDialogTest, FocusSelectsTheWholeField)
{
    StormSegmentAdjustDialog& d = Form10();
    d.Text2->setText(S("2.5"));
    d.Text2_GotFocus();
    EXPECT_EQ(d.Text2->selectedText(), S("2.5"));
    d.Text1->setText(S("800"));
    Q_EMIT d.Text1->GotFocus();
    EXPECT_EQ(d.Text1->selectedText(), S("800"));
}

TEST_F(SegmentAdjustDialogTest, ABlankRowOpensNothing)
{
    // Twelve segments, then five: rows 5 to 11 are blank and hidden; the
    // adjustment mode enables their cells all the same, and a click on one
    // of them, were it shown, opens nothing.
    std::vector<SegmentRow> twelve = kFiveSegments;
    twelve.insert(twelve.end(), kFiveSegments.begin(), kFiveSegments.end());
    twelve.insert(twelve.end(), kFiveSegments.begin(), kFiveSegments.begin() + 2);
    designAndAdjust(twelve);
    importAndCalculate(kFiveSegments);
    Form15().调整->click();

    ASSERT_EQ(shown(7, kSegmentLabel), S("(not shown)"));
    ASSERT_TRUE(Form15().table().enabled(7, kDiameter));
    Form15().Text13_Click(7);
    Form15().Text14_Click(11);
    EXPECT_FALSE(Form10().isVisible());
    click(4, kSlope);
    EXPECT_TRUE(Form10().isVisible());
    EXPECT_EQ(Form10().Text3->Text(), S("4"));
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, S("现有数据列表是否保留？"));
}

TEST_F(SegmentAdjustDialogTest, RefusedEntriesKeepTheDialogOpenAndTheTable)
{
    struct Case {
        const char* name;
        const char* diameter;
        const char* slope;
        const char* message;
    };
    const Case cases[] = {
        {"both fields empty", "", "", "请输入管径！"},
        {"diameter empty", "", "2", "请输入管径！"},
        {"slope empty", "800", "", "请输入坡度！"},
        {"diameter no number", "d800", "2", "管径应为数值，请重新输入！"},
        {"diameter next to nothing", "1e-300", "2", "管径过小，应不小于100且不大于5000 mm，请重新输入！"},
        {"slope absurd", "800", "1e300", "坡度过大，应大于0且不大于1000‰，请重新输入！"},
    };
    designAndAdjust();
    const std::vector<ResultCells> before = allRows();
    StormSegmentAdjustDialog& d = Form10();
    click(1, kDiameter);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t shownSoFar = boxes().size();
        type(d.Text1, S(c.diameter));
        type(d.Text2, S(c.slope));
        platform().answerMessageBox(forms::vbOK);
        d.Command1->press();
        ASSERT_EQ(boxes().size(), shownSoFar + 1);
        EXPECT_EQ(boxes().back().text, S(c.message));
        EXPECT_EQ(boxes().back().title, S("提示"));
        EXPECT_EQ(boxes().back().style, forms::vbOKOnly);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.Text1->Text(), S(c.diameter));
        EXPECT_EQ(d.Text2->Text(), S(c.slope));
        EXPECT_TRUE(allRows() == before);
        EXPECT_EQ(Form15().Text22->Text(), S("0"));
    }
}

TEST_F(SegmentAdjustDialogTest, ASmallerPipeRedesignsTheRowsBelowAsTheTableShows)
{
    StormResultGridForm& grid = designAndAdjust();
    StormSegmentAdjustDialog& d = Form10();
    EXPECT_EQ(shown(1, kFlowTime), S("2.667"));
    EXPECT_EQ(shown(1, kDiameter), S("700"));
    EXPECT_EQ(shown(2, kDiameter), S("700"));

    click(0, kDiameter);
    type(d.Text1, S("500"));
    type(d.Text2, S("4"));
    EXPECT_TRUE(d.pressKey(Qt::Key_Return));

    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(boxes().empty());
    // The adjusted row: 210.90 L/s in 500 mm at 4 ‰.
    const QStringList adjusted = {shown(0, kDiameter), shown(0, kSlope), shown(0, kVelocity),
                                  shown(0, kCapacity), shown(0, kPipeTime)};
    EXPECT_EQ(adjusted, (QStringList{S("500"), S("4.0"), S("1.07"), S("238.812"), S("1.869")}));
    EXPECT_FALSE(grid.view().cellOfRow(0, kCapacity)->isEnabled());
    // The second segment: its flow time falls to 1.869, its flow rises to
    // 417.13 L/s, which takes 800 mm; the third follows.
    EXPECT_EQ(shown(1, kFlowTime), S("1.869"));
    EXPECT_EQ(shown(1, kIntensity), S("262.34"));
    EXPECT_EQ(shown(1, kDesignFlow), S("417.13"));
    EXPECT_EQ(shown(1, kDiameter), S("800"));
    EXPECT_EQ(shown(2, kDiameter), S("800"));
    EXPECT_EQ(grid.Text22->Text(), S("0"));
    // The footer keeps its totals.
    EXPECT_EQ(grid.Text19->Text(), S("505.5"));
    EXPECT_EQ(grid.Text20->Text(), S("5.1400"));
}

TEST_F(SegmentAdjustDialogTest, CapacityBelowTheDesignFlowShowsRedAndTheDialogAgain)
{
    StormResultGridForm& grid = designAndAdjust();
    StormSegmentAdjustDialog& d = Form10();
    const std::vector<ResultCells> before = allRows();

    click(0, kSlope);
    type(d.Text1, S("500"));
    type(d.Text2, S("2"));
    platform().answerMessageBox(forms::vbOK);
    d.Command1->press();

    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, S("最大允许流量小于设计流量，请重新确认管径及坡度！"));
    EXPECT_EQ(boxes()[0].title, S("提示"));
    EXPECT_EQ(boxes()[0].style, forms::vbOKOnly);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.Text1->Text(), S("500"));
    EXPECT_EQ(d.Text2->Text(), S("2"));

    // 500 mm at 2 ‰ carries 168.866 L/s of the 210.90: shown in red, not
    // editable.
    const QStringList adjusted = {shown(0, kDiameter), shown(0, kSlope), shown(0, kVelocity),
                                  shown(0, kCapacity), shown(0, kPipeTime)};
    EXPECT_EQ(adjusted, (QStringList{S("500"), S("2.0"), S("1.07"), S("168.866"), S("1.869")}));
    forms::TextBox& capacity = *grid.view().cellOfRow(0, kCapacity);
    EXPECT_TRUE(capacity.isEnabled());
    EXPECT_TRUE(capacity.Locked());
    EXPECT_EQ(capacity.palette().color(QPalette::Active, QPalette::Text), QColor(Qt::red));
    // The rows below still rest on the old pipe time.
    for (int row = 1; row < grid.table().rowCount(); ++row)
        EXPECT_TRUE(grid.table().cells(row) == before[static_cast<std::size_t>(row)]) << row;
    EXPECT_EQ(shown(1, kFlowTime), S("2.667"));

    // A pipe that carries it: checked so, the rows below follow.
    type(d.Text2, S("4"));
    d.Command1->press();
    EXPECT_FALSE(d.isVisible());
    EXPECT_FALSE(capacity.isEnabled());
    EXPECT_EQ(grid.table().capacityCheck(0), CapacityCheck::Carried);
    EXPECT_EQ(shown(1, kFlowTime), S("1.869"));
}

TEST_F(SegmentAdjustDialogTest, CancelHidesTheDialogAndChangesNothing)
{
    designAndAdjust();
    StormSegmentAdjustDialog& d = Form10();
    const std::vector<ResultCells> before = allRows();
    click(2, kDiameter);
    type(d.Text1, S("400"));
    d.Command2->press();
    EXPECT_FALSE(d.isVisible());
    click(2, kSlope);
    type(d.Text2, S("9"));
    EXPECT_TRUE(d.pressKey(Qt::Key_Escape));
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(allRows() == before);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(SegmentAdjustDialogTest, TheNetworkWindowsParametersInForceAreUsed)
{
    StormResultGridForm& grid = designAndAdjust();
    StormSegmentAdjustDialog& d = Form10();
    const std::vector<ResultCells> before = allRows();

    // P emptied after the calculation: refused, nothing written.
    form13().Text1->setText(QString());
    click(3, kDiameter);
    platform().answerMessageBox(forms::vbOK);
    d.Command1->press();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, S("请输入重现期\n调整未进行，计算表保持原样。"));
    EXPECT_EQ(boxes()[0].title, S("确认数据完整性"));
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(allRows() == before);

    // P 5: the same pipe on the fourth segment; the fifth takes the new
    // intensity, the rows above keep theirs.
    form13().Text1->setText(S("5"));
    d.Command1->press();
    EXPECT_FALSE(d.isVisible());
    for (int row = 0; row < 4; ++row)
        EXPECT_TRUE(grid.table().cells(row) == before[static_cast<std::size_t>(row)]) << row;
    EXPECT_EQ(shown(4, kFlowTime), before[4][kFlowTime]);
    EXPECT_NE(shown(4, kIntensity), before[4][kIntensity]);
    EXPECT_NE(shown(4, kDesignFlow), before[4][kDesignFlow]);
}

TEST_F(SegmentAdjustDialogTest, OnlyAnAdjustmentThatChangesTheTableMarksItUnsaved)
{
    StormResultGridForm& grid = designAndAdjust();
    StormSegmentAdjustDialog& d = Form10();
    platform().answerFileDialog(m_dir.filePath(S("storm_out.txt")));
    grid.保存->click();
    ASSERT_EQ(grid.Text22->Text(), S("1"));

    // The pipe the calculation chose, confirmed again: still saved, and
    // 返回 goes back without asking.
    click(1, kDiameter);
    d.Command1->press();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(grid.Text22->Text(), S("1"));

    // A new slope on the last segment changes its cells: not saved.
    click(4, kSlope);
    type(d.Text2, S("2.5"));
    d.Command1->press();
    EXPECT_EQ(shown(4, kSlope), S("2.5"));
    EXPECT_EQ(grid.Text22->Text(), S("0"));
    platform().answerMessageBox(forms::vbNo);
    grid.返回->click();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, S("是否保留现有数据列表？"));
    EXPECT_TRUE(form13().isVisible());
}
