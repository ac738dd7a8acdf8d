// The segment list window Form14, driven as the engineer drives it: adding,
// selecting, updating, discarding and deleting rows with the three columns
// kept in step, growing and shrinking the window, and exporting and
// importing the segment file, checked as bytes.
#include "app/windows.h"
#include "forms/testing/text.h"
#include "forms/testing/clipped_texts.h"
#include "forms/testing/fixture.h"
#include "segment_file_bytes.h"
#include "storm/storm_water_form.h"
#include "storm_network/storm_segment_list_form.h"
#include "storm_network/row_memory_fault.h"
#include "storm_network/storm_sewer_network_form.h"
#include "textio/cp936.h"
#include "textio/write_fault.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QStyle>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

using forms::testing::FormsTest;
using storm_network::SegmentRow;
using namespace segment_file_test;

namespace {

using forms::testing::S;

const QString kDeleteRowQuestion = QStringLiteral("本操作将清除选定的数据！是否继续？");
const QString kDeleteAllQuestion = QStringLiteral("本操作将清除数据列表！是否继续？");
const QString kKeepQuestion = QStringLiteral("现有数据列表是否保留？");

class StormSegmentListFormTest : public FormsTest {
protected:
    void SetUp() override
    {
        FormsTest::SetUp();
        ASSERT_TRUE(dir_.isValid());
    }

    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    // The list as the network window's "输 入" opens it.
    StormSegmentListForm& open()
    {
        form13().Show();
        form13().Command3->press();
        StormSegmentListForm& w = Form14();
        EXPECT_TRUE(w.isVisible());
        return w;
    }

    static void add(StormSegmentListForm& w, const char* length, const char* area,
                    const char* runoff)
    {
        w.Text1->setText(S(length));
        w.Text2->setText(S(area));
        w.Text3->setText(S(runoff));
        w.Command1->press();
    }

    // The two rows of the file examples, entered by hand.
    StormSegmentListForm& openWithTwoRows()
    {
        StormSegmentListForm& w = open();
        add(w, "100", "2000", "0.9");
        add(w, "50", "1500", "0.6");
        return w;
    }

    // The rows as the three columns show them, after checking that the
    // columns are in step with the rows and select the same row.
    static std::vector<SegmentRow> shownRows(const StormSegmentListForm& w)
    {
        std::vector<SegmentRow> shown;
        const int count = w.List1(0).ListCount();
        EXPECT_EQ(w.List1(1).ListCount(), count);
        EXPECT_EQ(w.List1(2).ListCount(), count);
        EXPECT_EQ(w.List1(1).ListIndex(), w.List1(0).ListIndex());
        EXPECT_EQ(w.List1(2).ListIndex(), w.List1(0).ListIndex());
        for (int r = 0; r < count; ++r)
            shown.push_back(SegmentRow{w.List1(0).List(r), w.List1(1).List(r), w.List1(2).List(r)});
        EXPECT_EQ(shown, w.rows());
        return shown;
    }

    static QStringList boxTexts(const StormSegmentListForm& w)
    {
        return {w.Text1->Text(), w.Text2->Text(), w.Text3->Text()};
    }

    void expectQuestion(std::size_t at, const QString& text, int style)
    {
        ASSERT_GT(boxes().size(), at);
        EXPECT_EQ(boxes()[at].text, text);
        EXPECT_EQ(boxes()[at].title, S("警告"));
        EXPECT_EQ(boxes()[at].style, style);
    }

    void expectNote(std::size_t at, const QString& startsWith)
    {
        ASSERT_GT(boxes().size(), at);
        EXPECT_TRUE(boxes()[at].text.startsWith(startsWith)) << boxes()[at].text.toStdString();
        EXPECT_EQ(boxes()[at].title, S("提示"));
        EXPECT_EQ(boxes()[at].style, forms::vbOKOnly);
    }

    QTemporaryDir dir_;
};

// ------------------------------------------------------------ adding

TEST_F(StormSegmentListFormTest, AddNeedsAllThreeValues)
{
    StormSegmentListForm& w = open();
    struct Case {
        const char* name;
        const char* length;
        const char* area;
        const char* runoff;
    };
    const Case cases[] = {
        {"no length", "", "2000", "0.9"},
        {"no area", "100", "", "0.9"},
        {"no coefficient", "100", "2000", ""},
        {"nothing", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        add(w, c.length, c.area, c.runoff);
        EXPECT_TRUE(shownRows(w).empty());
        EXPECT_EQ(boxTexts(w), (QStringList{S(c.length), S(c.area), S(c.runoff)}));
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(StormSegmentListFormTest, AddAppendsTheRowAndPresetsTheNextOne)
{
    form13().Text4->setText(S("0.45"));
    StormSegmentListForm& w = open();
    add(w, "100", "2000", "0.9");
    add(w, "50", "1500", "abc");  // a text that is no number is kept as typed
    EXPECT_EQ(shownRows(w), (std::vector<SegmentRow>{kTwoRows[0], {"50", "1500", "abc"}}));
    EXPECT_EQ(boxTexts(w), (QStringList{QString(), QString(), S("0.45")}));
    EXPECT_EQ(w.focusWidget(), w.Text1);
    EXPECT_EQ(w.Command1->Caption(), S("确  定"));
    // Enter adds too.
    w.Text1->setText(S("30"));
    w.Text2->setText(S("800"));
    ASSERT_TRUE(w.pressKey(Qt::Key_Return));
    EXPECT_EQ(w.rows().size(), 3u);
    EXPECT_EQ(w.rows()[2], (SegmentRow{"30", "800", "0.45"}));
}

// ------------------------------------------------------------ selecting and updating

TEST_F(StormSegmentListFormTest, ClickOnAnyColumnSelectsTheRowInAllThree)
{
    for (int column = 0; column < 3; ++column) {
        SCOPED_TRACE(column);
        forms::destroyAllDefaultInstances();
        StormSegmentListForm& w = openWithTwoRows();
        w.List1(column).clickLine(1);
        for (int other = 0; other < 3; ++other)
            EXPECT_EQ(w.List1(other).ListIndex(), 1) << other;
        EXPECT_EQ(w.Command1->Caption(), S("更  新"));
        EXPECT_EQ(boxTexts(w), (QStringList{S("50"), S("1500"), S("0.6")}));
    }
}

TEST_F(StormSegmentListFormTest, UpdateRewritesTheSelectedRowInAllThreeColumns)
{
    StormSegmentListForm& w = openWithTwoRows();
    add(w, "30", "800", "0.3");
    w.List1(1).clickLine(1);
    w.Text1->setText(S("55"));
    w.Text2->setText(S("约1600"));  // a text that is no number is stored as it is
    w.Command1->press();
    EXPECT_EQ(shownRows(w), (std::vector<SegmentRow>{kTwoRows[0], {"55", "约1600", "0.6"}, {"30", "800", "0.3"}}));
    EXPECT_EQ(w.List1(0).ListIndex(), 1);
    EXPECT_EQ(w.Command1->Caption(), S("更  新"));
    EXPECT_EQ(boxTexts(w), (QStringList{S("55"), S("约1600"), S("0.6")}));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(StormSegmentListFormTest, DiscardRestoresTheSelectedRow)
{
    StormSegmentListForm& w = openWithTwoRows();
    w.Command2->press();  // 查  看: the list in view
    w.List1(2).clickLine(0);
    w.Text1->setText(S("999"));
    w.Text3->setText(S("0.1"));
    w.Command3->press();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(boxTexts(w), (QStringList{S("100"), S("2000"), S("0.9")}));
    EXPECT_EQ(shownRows(w), kTwoRows);
    EXPECT_EQ(w.Command1->Caption(), S("更  新"));
}

TEST_F(StormSegmentListFormTest, OnceTheSelectedRowIsGoneTheWindowAddsRows)
{
    StormSegmentListForm& w = openWithTwoRows();
    w.List1(0).clickLine(0);
    ASSERT_EQ(w.Command1->Caption(), S("更  新"));
    // Deleting the selected row leaves no row selected and the window in
    // add mode: the boxes' values make a new last row.
    platform().answerMessageBox(forms::vbOK);
    w.Command5->press();
    ASSERT_EQ(w.rows().size(), 1u);
    ASSERT_EQ(w.List1(0).ListIndex(), -1);
    EXPECT_EQ(w.Command1->Caption(), S("确  定"));
    const std::size_t asked = boxes().size();

    w.Text1->setText(S("77"));
    w.Command1->press();
    EXPECT_EQ(shownRows(w), (std::vector<SegmentRow>{kTwoRows[1], {S("77"), kTwoRows[0].area, kTwoRows[0].runoff}}));
    forms::testing::snapshot(w, S("Form14-after-delete"));
    w.Command5->press();  // delete: no row to delete
    EXPECT_EQ(w.rows().size(), 2u);
    EXPECT_EQ(boxes().size(), asked);  // no question, no error

    // 清除全部 likewise.
    w.List1(1).clickLine(1);
    ASSERT_EQ(w.Command1->Caption(), S("更  新"));
    platform().answerMessageBox(forms::vbOK);
    w.Command4->press();
    EXPECT_EQ(w.Command1->Caption(), S("确  定"));
    const std::size_t askedBeforeDiscard = boxes().size();
    w.Command3->press();  // discard: no row to restore
    EXPECT_EQ(boxes().size(), askedBeforeDiscard);
}

// ------------------------------------------------------------ scrolling

// The first row shown by a column, and the line (pixel top) on which it
// shows `row`.
int topRow(const forms::ColumnListBox& list)
{
    return list.indexAt(QPoint(1, 1)).row();
}

int lineOf(const forms::ColumnListBox& list, int row)
{
    return list.visualRect(list.line(row)).top();
}

class SegmentListScrollingTest : public StormSegmentListFormTest {
protected:
    // 45 segments, the list in view.
    StormSegmentListForm& openWith45Rows()
    {
        StormSegmentListForm& w = open();
        for (int r = 1; r <= 45; ++r)
            add(w, QByteArray::number(r * 10).constData(), "2000", "0.6");
        w.Command2->press();
        QCoreApplication::processEvents();  // lays the lists out
        return w;
    }

    static void expectInStep(const StormSegmentListForm& w)
    {
        const int top = topRow(w.List1(0));
        EXPECT_EQ(topRow(w.List1(1)), top);
        EXPECT_EQ(topRow(w.List1(2)), top);
        const int selected = w.List1(0).ListIndex();
        if (selected >= 0) {
            EXPECT_EQ(w.List1(1).ListIndex(), selected);
            EXPECT_EQ(w.List1(2).ListIndex(), selected);
            EXPECT_EQ(lineOf(w.List1(1), selected), lineOf(w.List1(0), selected));
            EXPECT_EQ(lineOf(w.List1(2), selected), lineOf(w.List1(0), selected));
        }
    }
};

void wheelDown(forms::ColumnListBox& list, int notches)
{
    QWidget* viewport = list.viewport();
    const QPointF at(10, 10);
    QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, -120 * notches),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(viewport, &wheel);
}

TEST_F(SegmentListScrollingTest, ScrollingOneColumnScrollsTheOtherTwo)
{
    struct Case {
        const char* name;
        int column;
        void (*scroll)(forms::ColumnListBox&);
        int top;  // -1: somewhere below the first row
    };
    const Case cases[] = {
        {"wheel, a notch of three rows", 0, [](forms::ColumnListBox& l) { wheelDown(l, 1); }, 3},
        {"wheel, four notches", 2, [](forms::ColumnListBox& l) { wheelDown(l, 4); }, 12},
        {"bar's arrow", 1,
         [](forms::ColumnListBox& l) {
             l.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
         },
         1},
        {"bar dragged", 2, [](forms::ColumnListBox& l) { l.verticalScrollBar()->setValue(20); }, 20},
        {"bar's page", 0,
         [](forms::ColumnListBox& l) {
             l.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
         },
         -1},
        {"bar to the end", 1,
         [](forms::ColumnListBox& l) {
             l.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
         },
         -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        forms::destroyAllDefaultInstances();
        StormSegmentListForm& w = openWith45Rows();
        ASSERT_EQ(topRow(w.List1(c.column)), 0);
        c.scroll(w.List1(c.column));
        if (c.top >= 0)
            EXPECT_EQ(topRow(w.List1(c.column)), c.top);
        else
            EXPECT_GT(topRow(w.List1(c.column)), 0);
        expectInStep(w);
    }
}

TEST_F(SegmentListScrollingTest, KeysMoveTheSelectionOnOneLineInAllThree)
{
    struct Case {
        const char* name;
        int column;
        int scrolledTo;  // the column's top row before the keys
        std::vector<Qt::Key> keys;
        int selected;  // -1: somewhere below the first row
    };
    const Case cases[] = {
        {"End", 0, 0, {Qt::Key_End}, 44},
        {"End, then Home", 1, 0, {Qt::Key_End, Qt::Key_Home}, 0},
        {"Page Down twice", 2, 0, {Qt::Key_PageDown, Qt::Key_PageDown}, -1},
        {"Page Down, then Page Up", 0, 0, {Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageUp}, -1},
        {"Down past the last line shown", 1, 0, std::vector<Qt::Key>(30, Qt::Key_Down), 30},
        {"Down after scrolling away from the selection", 2, 20, {Qt::Key_Down}, 1},
        {"Up after scrolling away from the selection", 0, 20, {Qt::Key_Up}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        forms::destroyAllDefaultInstances();
        StormSegmentListForm& w = openWith45Rows();
        forms::ColumnListBox& list = w.List1(c.column);
        list.clickLine(c.selected == 0 && c.scrolledTo > 0 ? 1 : 0);
        list.verticalScrollBar()->setValue(c.scrolledTo);
        ASSERT_EQ(topRow(list), c.scrolledTo);
        list.setFocus();
        for (const Qt::Key key : c.keys)
            QTest::keyClick(&list, key);
        if (c.selected >= 0)
            EXPECT_EQ(list.ListIndex(), c.selected);
        else
            EXPECT_GT(list.ListIndex(), 0);
        // The selected row is in view.
        EXPECT_TRUE(list.viewport()->rect().contains(
            list.visualRect(list.line(list.ListIndex())).center()));
        expectInStep(w);
    }
}

TEST_F(SegmentListScrollingTest, SelectingInOneColumnShowsTheRowOnOneLine)
{
    for (int column = 0; column < 3; ++column) {
        SCOPED_TRACE(column);
        forms::destroyAllDefaultInstances();
        StormSegmentListForm& w = openWith45Rows();
        // The column scrolled by its bar, then a row in view clicked.
        w.List1(column).verticalScrollBar()->setValue(20);
        w.List1(column).clickLine(25);
        EXPECT_EQ(w.Text1->Text(), S("260"));
        EXPECT_EQ(topRow(w.List1(column)), 20);
        expectInStep(w);
        // A row far above, selected by code as the other columns are.
        w.List1((column + 1) % 3).clickLine(2);
        EXPECT_EQ(w.Text1->Text(), S("30"));
        expectInStep(w);
    }
}

// ------------------------------------------------------------ texts shown whole

// The items of `list` wider than the room for text in its rows.
QStringList clippedItems(const forms::ColumnListBox& list)
{
    const QFontMetrics fm(list.font());
    // The style's text margin on either side of an item.
    const int margin = list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1;
    // A row is as wide as the list's inside, left of its scroll bar.
    const int room = list.viewport()->width() - 2 * margin;
    QStringList clipped;
    for (int r = 0; r < list.ListCount(); ++r) {
        if (fm.horizontalAdvance(list.List(r)) > room)
            clipped << list.List(r);
    }
    return clipped;
}

TEST_F(StormSegmentListFormTest, LongestRealisticValuesAreShownWhole)
{
    // Lengths up to 10 km, areas up to 1000 ha, with decimals as typed; a
    // run long enough for the columns' scroll bars.
    const char* const lengths[] = {"10000", "9999.99", "120.5"};
    const char* const areas[] = {"10000000", "9999999.9", "25000"};
    const char* const runoffs[] = {"0.15", "0.675", "0.9"};
    StormSegmentListForm& w = open();
    for (int r = 0; r < 45; ++r)
        add(w, lengths[r % 3], areas[r % 3], runoffs[r % 3]);
    w.Command2->press();
    w.List1(0).clickLine(0);  // the boxes hold the row's texts
    ASSERT_EQ(boxTexts(w), (QStringList{S("10000"), S("10000000"), S("0.15")}));
    QCoreApplication::processEvents();  // lays the lists out
    forms::testing::snapshot(w, S("Form14_values"));

    const QStringList clipped = forms::testing::clippedTexts(w);
    EXPECT_TRUE(clipped.isEmpty()) << clipped.join(S("; ")).toStdString();
    for (int column = 0; column < 3; ++column) {
        SCOPED_TRACE(column);
        ASSERT_TRUE(w.List1(column).verticalScrollBar()->isVisible());
        const QStringList cut = clippedItems(w.List1(column));
        EXPECT_TRUE(cut.isEmpty()) << cut.join(S("; ")).toStdString();
    }
}

// ------------------------------------------------------------ deleting

TEST_F(StormSegmentListFormTest, DeleteAsksAndRemovesTheSelectedRow)
{
    StormSegmentListForm& w = openWithTwoRows();
    add(w, "30", "800", "0.3");
    w.List1(1).clickLine(1);
    const QStringList texts = boxTexts(w);

    platform().answerMessageBox(forms::vbCancel);
    w.Command5->press();
    expectQuestion(0, kDeleteRowQuestion, forms::vbOKCancel | forms::vbCritical | forms::vbDefaultButton2);
    EXPECT_EQ(w.rows().size(), 3u);

    platform().answerMessageBox(forms::vbOK);
    w.Command5->press();
    expectQuestion(1, kDeleteRowQuestion, 273);
    EXPECT_EQ(shownRows(w), (std::vector<SegmentRow>{kTwoRows[0], {"30", "800", "0.3"}}));
    // The boxes stay; with the row gone the window adds rows again.
    EXPECT_EQ(boxTexts(w), texts);
    EXPECT_EQ(w.Command1->Caption(), S("确  定"));
}

TEST_F(StormSegmentListFormTest, DeleteAllAsksFromTheButtonAndTheMenu)
{
    struct Case {
        const char* name;
        void (*trigger)(StormSegmentListForm&);
    };
    const Case cases[] = {
        {"清除全部", [](StormSegmentListForm& w) { w.Command4->press(); }},
        {"清除数据", [](StormSegmentListForm& w) { w.清除->click(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        forms::destroyAllDefaultInstances();
        platform().reset();
        StormSegmentListForm& w = openWithTwoRows();
        w.Text1->setText(S("12"));

        platform().answerMessageBox(forms::vbCancel);
        c.trigger(w);
        expectQuestion(0, kDeleteAllQuestion, 273);
        EXPECT_EQ(shownRows(w), kTwoRows);

        platform().answerMessageBox(forms::vbOK);
        c.trigger(w);
        expectQuestion(1, kDeleteAllQuestion, 273);
        EXPECT_TRUE(shownRows(w).empty());
        EXPECT_EQ(w.Text1->Text(), S("12"));
    }
}

// ------------------------------------------------------------ size and leaving

TEST_F(StormSegmentListFormTest, ViewButtonGrowsAndShrinksTheWindow)
{
    StormSegmentListForm& w = openWithTwoRows();
    ASSERT_DOUBLE_EQ(w.Height(), 2500);
    w.Move(450, 300);
    w.Command2->press();
    EXPECT_DOUBLE_EQ(w.Height(), 8000);
    EXPECT_DOUBLE_EQ(w.Top(), (forms::Form::ScreenHeight() - 8000) / 2);
    EXPECT_DOUBLE_EQ(w.Left(), 450);
    EXPECT_EQ(w.Command2->Caption(), S("返  回"));

    w.List1(0).clickLine(1);
    ASSERT_EQ(w.Command1->Caption(), S("更  新"));
    form13().Text4->setText(S("0.15"));
    const double top = w.Top();
    w.Command2->press();
    EXPECT_DOUBLE_EQ(w.Height(), 2500);
    EXPECT_DOUBLE_EQ(w.Top(), top);
    EXPECT_EQ(w.Command2->Caption(), S("查  看"));
    EXPECT_EQ(w.Command1->Caption(), S("确  定"));
    EXPECT_EQ(boxTexts(w), (QStringList{QString(), QString(), S("0.15")}));
    EXPECT_EQ(w.focusWidget(), w.Text1);
    EXPECT_EQ(w.rows().size(), 2u);
}

TEST_F(StormSegmentListFormTest, CancelHidesTheCollapsedWindowAndKeepsTheRows)
{
    StormSegmentListForm& w = openWithTwoRows();
    w.Command3->press();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(shownRows(w), kTwoRows);
    EXPECT_TRUE(form13().isVisible());
}

TEST_F(StormSegmentListFormTest, CloseBoxIsRefused)
{
    StormSegmentListForm& w = openWithTwoRows();
    EXPECT_FALSE(endsProgram([&] { w.close(); }));
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.isUnloaded());
    EXPECT_FALSE(w.Unload());
    EXPECT_EQ(&Form14(), &w);
    EXPECT_EQ(shownRows(w), kTwoRows);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(StormSegmentListFormTest, CoefficientBoxSelectsItsTextOnFocus)
{
    StormSegmentListForm& w = open();
    ASSERT_EQ(w.Text3->Text(), S("0.65"));
    Q_EMIT w.Text3->GotFocus();
    EXPECT_EQ(w.Text3->selectedText(), S("0.65"));
}

// ------------------------------------------------------------ export

TEST_F(StormSegmentListFormTest, ExportWritesThreeCrLfLinesPerRow)
{
    StormSegmentListForm& w = openWithTwoRows();
    const QString file = path("storm_in.txt");
    platform().answerFileDialog(file);
    w.导出->click();
    EXPECT_EQ(fileBytes(file), kTwoRowsBytes);
    EXPECT_TRUE(boxes().empty());  // no message on success

    ASSERT_EQ(platform().fileDialogs().size(), 1u);
    const forms::FileDialogRequest& request = platform().fileDialogs()[0];
    EXPECT_EQ(request.mode, forms::FileDialogRequest::Mode::Save);
    EXPECT_EQ(request.filter, S("(*.txt)|*.txt|(*.dat)|*.dat|(*.*)|*.*"));
    EXPECT_EQ(forms::dialogFilters(request.filter).size(), 3);
    EXPECT_EQ(request.filterIndex, 1);
    EXPECT_EQ(request.fileName, S("storm_in.txt"));
    EXPECT_EQ(request.initialDir, QCoreApplication::applicationDirPath());
    EXPECT_TRUE(request.overwritePrompt);
}

TEST_F(StormSegmentListFormTest, ExportOfAnEmptyListWritesAnEmptyFile)
{
    StormSegmentListForm& w = open();
    const QString file = path("empty.txt");
    putBytes(file, kTwoRowsBytes);
    platform().answerFileDialog(file);
    w.导出->click();
    EXPECT_EQ(fileBytes(file), QByteArray());
}

TEST_F(StormSegmentListFormTest, ExportCancelledWritesNothing)
{
    StormSegmentListForm& w = openWithTwoRows();
    platform().answerFileDialog(std::nullopt);
    w.导出->click();
    EXPECT_TRUE(QDir(dir_.path()).isEmpty());
    EXPECT_TRUE(boxes().empty());
}

TEST_F(StormSegmentListFormTest, ExportReplacesAReadOnlyFile)
{
    StormSegmentListForm& w = openWithTwoRows();
    const QString file = path("storm_in.txt");
    putBytes(file, QByteArrayLiteral("old\r\n"));
    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner));
    platform().answerFileDialog(file);
    w.导出->click();
    EXPECT_EQ(fileBytes(file), kTwoRowsBytes);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(StormSegmentListFormTest, FailedExportSaysTheFileWasNotWritten)
{
    struct Case {
        const char* name;
        const char* file;
        const char* length;  // of the second row
        bool folderInPlace;  // a folder holds the file's name
    };
    // (The list holds no value that code page 936 cannot hold: the window
    // refuses it at entry.)
    const Case cases[] = {
        {"a folder that does not exist", "no/such/storm_in.txt", "50", false},
        {"a folder of the file's name", "storm_in.txt", "50", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        forms::destroyAllDefaultInstances();
        platform().reset();
        const QString file = path(c.file);
        if (c.folderInPlace)
            ASSERT_TRUE(QDir().mkpath(file));
        else if (QFile::exists(QFileInfo(file).path()))
            putBytes(file, QByteArrayLiteral("old\r\n"));
        StormSegmentListForm& w = open();
        add(w, "100", "2000", "0.9");
        add(w, c.length, "1500", "0.6");
        platform().answerFileDialog(file);
        platform().answerMessageBox(forms::vbOK);
        w.导出->click();
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_TRUE(boxes()[0].text.endsWith(S("文件未写入，数据未导出！"))) << boxes()[0].text.toStdString();
        EXPECT_EQ(boxes()[0].title, S("提示"));
        EXPECT_EQ(boxes()[0].style, forms::vbOKOnly);
        if (c.folderInPlace) {
            EXPECT_TRUE(QFileInfo(file).isDir());
        } else if (QFile::exists(QFileInfo(file).path())) {
            EXPECT_EQ(fileBytes(file), QByteArrayLiteral("old\r\n"));
        }
        EXPECT_EQ(w.rows().size(), 2u);
    }
}

TEST_F(StormSegmentListFormTest, ExportOnAFullDiskLeavesTheOldFileAndTheList)
{
    struct Case {
        const char* name;
        const char* file;
        std::optional<QByteArray> old;  // none: a new file
        bool readOnly;
    };
    const Case cases[] = {
        {"over an existing file", "storm_in.txt", QByteArrayLiteral("30\r\n800\r\n0.3\r\n"), false},
        {"over a read-only file", "storm_in.txt", QByteArrayLiteral("30\r\n800\r\n0.3\r\n"), true},
        {"a new file", "new.txt", std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        forms::destroyAllDefaultInstances();
        platform().reset();
        QTemporaryDir dir;
        const QString file = dir.filePath(S(c.file));
        if (c.old) {
            putBytes(file, *c.old);
            if (c.readOnly) {
                ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner));
            }
        }
        StormSegmentListForm& w = openWithTwoRows();
        w.List1(1).clickLine(1);
        platform().answerFileDialog(file);
        platform().answerMessageBox(forms::vbOK);
        {
            const textio::ScopedWriteFault fault(textio::WriteFault::NoSpace, 10);
            w.导出->click();
        }
        ASSERT_EQ(boxes().size(), 1u);
        expectNote(0, QString());
        const QString message = boxes()[0].text;
        EXPECT_TRUE(message.contains(QDir::toNativeSeparators(file))) << message.toStdString();
        EXPECT_TRUE(message.contains(S("磁盘已满"))) << message.toStdString();
        EXPECT_TRUE(message.endsWith(S("文件未写入，数据未导出！")));
        EXPECT_EQ(shownRows(w), kTwoRows);
        EXPECT_EQ(w.List1(0).ListIndex(), 1);
        if (c.old) {
            EXPECT_EQ(fileBytes(file), *c.old);
            EXPECT_EQ(QFile::permissions(file).testFlag(QFileDevice::WriteOwner), !c.readOnly);
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{S(c.file)});
        } else {
            EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
        }
    }
}

// ------------------------------------------------------------ import

TEST_F(StormSegmentListFormTest, ImportIntoAnEmptyListExpandsTheWindow)
{
    StormSegmentListForm& w = open();
    const QString file = path("storm_in.txt");
    putBytes(file, kTwoRowsBytes);
    w.Text1->setText(S("12"));
    platform().answerFileDialog(file);
    w.导入->click();
    EXPECT_TRUE(boxes().empty());  // nothing to keep: no question
    EXPECT_EQ(shownRows(w), kTwoRows);
    EXPECT_EQ(w.Text4->Text(), S("6"));
    EXPECT_DOUBLE_EQ(w.Height(), 8000);
    EXPECT_DOUBLE_EQ(w.Top(), (forms::Form::ScreenHeight() - 8000) / 2);
    EXPECT_EQ(w.Command2->Caption(), S("返  回"));
    EXPECT_EQ(w.Command1->Caption(), S("确  定"));
    EXPECT_EQ(w.Text1->Text(), S("12"));

    ASSERT_EQ(platform().fileDialogs().size(), 1u);
    const forms::FileDialogRequest& request = platform().fileDialogs()[0];
    EXPECT_EQ(request.mode, forms::FileDialogRequest::Mode::Open);
    EXPECT_EQ(request.filter, S("(*.txt)|*.txt|(*.dat)|*.dat"));
    EXPECT_EQ(forms::dialogFilters(request.filter).size(), 2);
    EXPECT_EQ(request.filterIndex, 1);
    EXPECT_EQ(request.fileName, S("storm_in.txt"));
    EXPECT_EQ(request.initialDir, QCoreApplication::applicationDirPath());
}

TEST_F(StormSegmentListFormTest, ImportAsksWhetherToKeepTheRows)
{
    struct Case {
        const char* name;
        int answer;
        std::vector<SegmentRow> rows;
        bool dialogShown;
    };
    const Case cases[] = {
        {"是: appended", forms::vbYes, {kTwoRows[0], kTwoRows[1], kTwoRows[0], kTwoRows[1]}, true},
        {"否: replaced", forms::vbNo, kTwoRows, true},
        {"取消: nothing changes", forms::vbCancel, kTwoRows, false},
    };
    const QString file = path("storm_in.txt");
    putBytes(file, kTwoRowsBytes);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        forms::destroyAllDefaultInstances();
        platform().reset();
        StormSegmentListForm& w = openWithTwoRows();
        platform().answerMessageBox(c.answer);
        if (c.dialogShown)
            platform().answerFileDialog(file);
        w.导入->click();
        ASSERT_EQ(boxes().size(), 1u);
        expectQuestion(0, kKeepQuestion, forms::vbYesNoCancel | forms::vbQuestion);
        EXPECT_EQ(boxes()[0].style, 35);
        EXPECT_EQ(platform().fileDialogs().size(), c.dialogShown ? 1u : 0u);
        EXPECT_EQ(shownRows(w), c.rows);
        EXPECT_EQ(w.Text4->Text(), c.dialogShown ? S("6") : S("0"));
    }
}

TEST_F(StormSegmentListFormTest, ImportReadsEveryKindOfLastLine)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        std::vector<SegmentRow> rows;
    };
    const Case cases[] = {
        {"no line end after the last line", QByteArrayLiteral("100\r\n2000\r\n0.9\r\n50\r\n1500\r\n0.6"), kTwoRows},
        {"an extra empty last line", kTwoRowsBytes + QByteArrayLiteral("\r\n"), kTwoRows},
        {"line ends of LF alone", QByteArrayLiteral("100\n2000\n0.9\n50\n1500\n0.6\n"), kTwoRows},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        forms::destroyAllDefaultInstances();
        platform().reset();
        StormSegmentListForm& w = open();
        const QString file = path("in.txt");
        putBytes(file, c.bytes);
        platform().answerFileDialog(file);
        w.导入->click();
        EXPECT_TRUE(boxes().empty());
        EXPECT_EQ(shownRows(w), c.rows);
        EXPECT_EQ(w.Text4->Text(), QString::number(c.rows.size() * 3));
    }
}

TEST_F(StormSegmentListFormTest, ImportReadsChineseValuesInCodePage936)
{
    StormSegmentListForm& w = open();
    const QString file = path("in.txt");
    putBytes(file, textio::encodeCp936(S("约100\r\n2000\r\n０.9\r\n")).bytes);
    platform().answerFileDialog(file);
    w.导入->click();
    EXPECT_EQ(shownRows(w), (std::vector<SegmentRow>{{S("约100"), S("2000"), S("０.9")}}));
}

// A failed import leaves the list as it was, whatever the keep answer, and
// says why under "提示".
TEST_F(StormSegmentListFormTest, FailedImportLeavesTheListAsItWas)
{
    struct Case {
        const char* name;
        std::optional<QByteArray> bytes;  // none: no such file
        const char* file;
        const char* message;  // a part of it; empty: no message
        qint64 size = 0;      // the file's size, the rest zero bytes
    };
    const Case cases[] = {
        {"dialog cancelled", std::nullopt, nullptr, ""},
        {"no such file", std::nullopt, "missing.txt", "您选择的文件并不存在，请重新选择！"},
        {"seven lines", kTwoRowsBytes + QByteArrayLiteral("30\r\n"), "seven.txt",
         "共7行数据，不是每段三行"},
        {"bytes that are no code page 936", QByteArrayLiteral("100\r\n\xff\xfe\r\n0.9\r\n"),
         "bad.txt", "无法读取文件"},
        {"an empty file", QByteArray(), "empty.txt", "文件中没有管段数据"},
        {"blank lines only", QByteArrayLiteral("\r\n\r\n\r\n"), "blank.txt", "文件中没有管段数据"},
        {"LF CR line ends", QByteArrayLiteral("100\n\r2000\n\r0.9\n\r"), "lfcr.txt",
         "第2行是空行"},
        {"a first value of 5 MB", QByteArray(5 * 1024 * 1024, '1') + "\r\n2000\r\n0.9\r\n",
         "long.txt", "第1行长于64个字符"},
        {"1 GB", QByteArray(), "huge.dat", "文件有1073741824字节", qint64(1) << 30},
    };
    for (const int keepAnswer : {int(forms::vbNo), int(forms::vbYes)}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (keepAnswer == forms::vbNo ? ", 否" : ", 是"));
            forms::destroyAllDefaultInstances();
            platform().reset();
            StormSegmentListForm& w = openWithTwoRows();
            w.List1(0).clickLine(1);
            std::optional<QString> chosen;
            if (c.file) {
                chosen = path(c.file);
                if (c.bytes)
                    putBytes(*chosen, *c.bytes);
                if (c.size > 0) {
                    ASSERT_TRUE(QFile::resize(*chosen, c.size));  // sparse: takes no room
                }
            }
            platform().answerMessageBox(keepAnswer);
            platform().answerFileDialog(chosen);
            if (*c.message)
                platform().answerMessageBox(forms::vbOK);
            w.导入->click();
            EXPECT_EQ(shownRows(w), kTwoRows);
            EXPECT_EQ(w.List1(0).ListIndex(), 1);
            EXPECT_DOUBLE_EQ(w.Height(), 2500);
            EXPECT_EQ(w.Command2->Caption(), S("查  看"));
            if (*c.message) {
                ASSERT_EQ(boxes().size(), 2u);
                expectNote(1, QString());
                EXPECT_TRUE(boxes()[1].text.contains(S(c.message))) << boxes()[1].text.toStdString();
                if (c.bytes) {
                    EXPECT_TRUE(boxes()[1].text.contains(QDir::toNativeSeparators(*chosen)));
                    EXPECT_TRUE(boxes()[1].text.endsWith(S("数据列表未改变。")));
                }
            } else {
                EXPECT_EQ(boxes().size(), 1u);
            }
            if (chosen)
                QFile::remove(*chosen);
        }
    }
}

// Memory that runs short anywhere in an import, while the file is read or
// while the list makes room for its rows, leaves the list, its selection
// and the boxes as they were and says so; the program goes on.
TEST_F(StormSegmentListFormTest, ImportShortOfMemoryLeavesTheListAsItWas)
{
    struct Case {
        const char* name;
        int keepAnswer;
        std::size_t roomForRows;  // the rows the memory holds
    };
    // The file's five rows are read first; keeping the two rows of the list,
    // the list then makes room for seven.
    const Case cases[] = {
        {"no room for a row, 否", forms::vbNo, 0},
        {"short part-way through the file, 否", forms::vbNo, 3},
        {"short at the file's last row, 是", forms::vbYes, 4},
        {"room for the file but not for the list, 是", forms::vbYes, 5 + 6},
    };
    QByteArray bytes;
    for (int r = 0; r < 5; ++r)
        bytes += QByteArrayLiteral("30\r\n800\r\n0.3\r\n");
    const QString file = path("storm_in.txt");
    putBytes(file, bytes);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        forms::destroyAllDefaultInstances();
        platform().reset();
        StormSegmentListForm& w = openWithTwoRows();
        w.List1(2).clickLine(1);
        w.Text1->setText(S("45"));
        const QStringList typed = boxTexts(w);
        platform().answerMessageBox(c.keepAnswer);
        platform().answerFileDialog(file);
        platform().answerMessageBox(forms::vbOK);
        {
            const storm_network::ScopedRowMemoryFault fault(c.roomForRows);
            w.导入->click();
        }
        EXPECT_EQ(shownRows(w), kTwoRows);
        EXPECT_EQ(w.List1(0).ListIndex(), 1);
        EXPECT_EQ(boxTexts(w), typed);
        EXPECT_EQ(w.Command1->Caption(), S("更  新"));
        EXPECT_DOUBLE_EQ(w.Height(), 2500);
        ASSERT_EQ(boxes().size(), 2u);
        expectNote(1, QString());
        EXPECT_EQ(boxes()[1].text, S("无法导入文件“") + QDir::toNativeSeparators(file)
                                       + S("”：内存不足。\n数据列表未改变。"));
    }
    // With the memory back the same file is taken whole.
    StormSegmentListForm& w = Form14();
    platform().answerMessageBox(forms::vbYes);
    platform().answerFileDialog(file);
    w.导入->click();
    EXPECT_EQ(shownRows(w).size(), 7u);
    EXPECT_EQ(w.List1(0).ListIndex(), 1);

    // Room for the file's five rows and the list's seven is all an import
    // needs: the list takes the rows into the room made for them, whole,
    // without growing on the way.
    SCOPED_TRACE("room for the file and for the list, 是");
    forms::destroyAllDefaultInstances();
    platform().reset();
    StormSegmentListForm& kept = openWithTwoRows();
    kept.List1(2).clickLine(1);
    kept.Text1->setText(S("45"));
    const QStringList typed = boxTexts(kept);
    platform().answerMessageBox(forms::vbYes);
    platform().answerFileDialog(file);
    {
        const storm_network::ScopedRowMemoryFault fault(5 + 7);
        kept.导入->click();
    }
    std::vector<SegmentRow> whole = kTwoRows;
    whole.insert(whole.end(), 5, SegmentRow{S("30"), S("800"), S("0.3")});
    EXPECT_EQ(shownRows(kept), whole);
    EXPECT_EQ(kept.List1(0).ListIndex(), 1);
    EXPECT_EQ(boxTexts(kept), typed);
    EXPECT_EQ(kept.Text4->Text(), S("15"));
    EXPECT_DOUBLE_EQ(kept.Height(), 8000);
    EXPECT_EQ(boxes().size(), 1u);
}

TEST_F(StormSegmentListFormTest, ImportOfAFolderSaysItIsNoFile)
{
    StormSegmentListForm& w = openWithTwoRows();
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("folder.txt")));
    platform().answerMessageBox(forms::vbNo);
    platform().answerFileDialog(path("folder.txt"));
    platform().answerMessageBox(forms::vbOK);
    w.导入->click();
    ASSERT_EQ(boxes().size(), 2u);
    expectNote(1, S("“") + QDir::toNativeSeparators(path("folder.txt")) + S("”不是文件"));
    EXPECT_EQ(shownRows(w), kTwoRows);
}

TEST_F(StormSegmentListFormTest, ImportOfAFileWithoutReadPermissionIsRefused)
{
    StormSegmentListForm& w = openWithTwoRows();
    const QString file = path("locked.txt");
    putBytes(file, kTwoRowsBytes);
    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::Permissions()));
    QFile probe(file);
    if (probe.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "running as root: root reads a file without read permission";
    platform().answerMessageBox(forms::vbNo);
    platform().answerFileDialog(file);
    platform().answerMessageBox(forms::vbOK);
    w.导入->click();
    expectNote(1, S("无法打开文件"));
    EXPECT_TRUE(boxes()[1].text.endsWith(S("数据列表未改变。")));
    EXPECT_EQ(shownRows(w), kTwoRows);
}

TEST_F(StormSegmentListFormTest, ExportedFileImportsBackIntoAFreshList)
{
    StormSegmentListForm& w = openWithTwoRows();
    add(w, S("约30").toUtf8().constData(), "800", "0.3");
    const std::vector<SegmentRow> rows = w.rows();
    const QString file = path("round.txt");
    platform().answerFileDialog(file);
    w.导出->click();

    // 清除全部 starts a new list; the file brings the rows back.
    platform().answerMessageBox(forms::vbOK);
    w.Command4->press();
    ASSERT_TRUE(w.rows().empty());
    platform().answerFileDialog(file);
    w.导入->click();
    EXPECT_EQ(shownRows(w), rows);
    EXPECT_EQ(boxes().size(), 1u);  // the question of 清除全部 only
}

TEST_F(StormSegmentListFormTest, WhatTheListAcceptsComesBackFromItsFile)
{
    // Each value goes into one box of a new row or of the selected row; the
    // list either refuses it, naming the box, or holds it so that an export
    // imports back unchanged.
    enum class Entry { Add, Update };
    struct Case {
        const char* name;
        Entry entry;
        int box;  // 0 length, 1 area, 2 coefficient
        QString value;
        QString refusal;  // empty: accepted
    };
    const Case cases[] = {
        {"the longest value", Entry::Add, 0, QString(64, QLatin1Char('1')), QString()},
        {"blanks around a number", Entry::Update, 1, S(" 2000\t"), QString()},
        {"a value too long for a line", Entry::Add, 0, QString(65, QLatin1Char('1')),
         S("管段长度长于64个字符，请重新输入！")},
        {"blanks only", Entry::Add, 1, S("   "), S("汇水面积不能为空！")},
        {"an ideographic blank", Entry::Update, 0, S("\u3000"), S("管段长度不能为空！")},
        {"an emptied coefficient", Entry::Update, 2, QString(), S("径流系数不能为空！")},
        {"a line end inside", Entry::Add, 2, S("0.9\r\n0.6"), S("径流系数中不能有换行，请重新输入！")},
        {"a character code page 936 lacks", Entry::Update, 1, S("2000\U0001F600"),
         S("汇水面积中的“\U0001F600”无法存入管段数据文件，请重新输入！")},
    };
    const QString file = path("round.txt");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t shown = boxes().size();
        StormSegmentListForm& w = openWithTwoRows();
        forms::TextBox* const box[] = {w.Text1, w.Text2, w.Text3};
        if (c.entry == Entry::Update) {
            w.List1(0).clickLine(1);
        } else {
            w.Text1->setText(S("30"));
            w.Text2->setText(S("800"));
            w.Text3->setText(S("0.3"));
        }
        box[c.box]->setText(c.value);
        if (!c.refusal.isEmpty())
            platform().answerMessageBox(forms::vbOK);
        w.Command1->press();
        if (!c.refusal.isEmpty()) {
            ASSERT_EQ(boxes().size(), shown + 1);
            expectNote(shown, c.refusal);
            EXPECT_EQ(boxes()[shown].text, c.refusal);
            EXPECT_EQ(shownRows(w), kTwoRows);
            EXPECT_EQ(w.focusWidget(), box[c.box]);
        } else {
            EXPECT_EQ(boxes().size(), shown);
            const std::vector<SegmentRow> rows = shownRows(w);
            EXPECT_NE(rows, kTwoRows);
            platform().answerFileDialog(file);
            w.导出->click();
            w.clearRows();
            platform().answerFileDialog(file);
            w.导入->click();
            EXPECT_EQ(shownRows(w), rows);
            EXPECT_EQ(boxes().size(), shown);
        }
        w.clearRows();
    }
}

}  // namespace
