// The result table window Form15 as the engineer uses it: the table at its
// layout, paging, the adjustment mode, saving the report and going back.
#include "app/windows.h"
#include "forms/testing/clipped_texts.h"
#include "forms/testing/contrast.h"
#include "forms/testing/text.h"
#include "network_fixtures.h"
#include "forms/testing/fixture.h"
#include "segment_file_bytes.h"  // texts printed as text in failures
#include "storm_network/network_calculation.h"
#include "storm_network/storm_result_grid_form.h"
#include "storm_network/storm_result_table_view.h"
#include "storm_network/storm_segment_adjust_dialog.h"
#include "storm_network/storm_sewer_network_form.h"
#include "textio/write_fault.h"
#include "version/version.h"

#include <QDir>
#include <QFontMetricsF>
#include <QRegularExpression>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "storm_network/network_catalogue.h"

#include <gtest/gtest.h>

using forms::testing::FormsTest;
using namespace storm_network;

namespace {

using forms::testing::S;

class ResultGridFormTest : public FormsTest {
protected:
    // A run of n segments put into the table as the network calculation
    // puts it, and the window shown.
    static StormResultGridForm& showRun(int n)
    {
        std::vector<SegmentRow> segments(static_cast<std::size_t>(n),
                                         SegmentRow{S("60"), S("3000"), S("0.65")});
        NetworkOutcome result = CalculateNetwork(
            storm_network::testing::openingParameters(),
            segments);
        EXPECT_FALSE(result.refusal);
        StormResultGridForm& w = Form15();
        w.ClearResultRows();
        w.showRun(std::move(result.values.rows), result.values.totalLength);
        w.Show();
        return w;
    }

    static QString pageShown(const StormResultGridForm& w)
    {
        return w.Label5->Caption() + w.Label6->Caption() + w.Label7->Caption() + w.Label9->Caption()
               + w.Label10->Caption() + w.Label8->Caption();
    }

    // The top of a control of the band, in the window's twips.
    template <class C>
    static double windowTop(const C& control)
    {
        return control.Top() + ResultGeometry::kBandTop;
    }

    // What an earlier save left in storm_out.txt.
    static inline const QByteArray kEarlierReport = "an earlier report\r\n";
    // storm_out.txt in `dir`, holding the earlier report.
    static QString earlierReportIn(const QTemporaryDir& dir)
    {
        const QString path = dir.filePath(S("storm_out.txt"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_EQ(file.write(kEarlierReport), kEarlierReport.size());
        return path;
    }
    static QByteArray fileBytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Every entry of a folder, hidden ones too.
    static QStringList entries(const QTemporaryDir& dir)
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                          | QDir::NoDotAndDotDot);
    }

    // The rows shown, by the row each shown label cell stands for.
    static std::vector<int> rowsShown(const StormResultGridForm& w)
    {
        std::vector<int> rows;
        for (int slot = 0; slot < StormResultTableView::kSlots; ++slot) {
            const forms::TextBox& label = w.view().cell(slot, kSegmentLabel);
            if (label.isVisibleTo(&w))
                rows.push_back(label.property("Index").toInt());
        }
        return rows;
    }
};

}  // namespace

TEST_F(ResultGridFormTest, OpensWithTenRowsAndTheFirstShown)
{
    StormResultGridForm& w = Form15();
    w.Show();
    EXPECT_EQ(w.Caption(), S("雨水计算输出程序V") + kVersionText);
    EXPECT_EQ(w.保存->Caption(), S("保存数据(&S)"));
    EXPECT_EQ(w.调整->Caption(), S("手动调整(&M)"));
    EXPECT_EQ(w.返回->Caption(), S("返回程序(&R)"));
    EXPECT_EQ(w.Label1->Caption(),
              S("设 计  管 段   本 段   转 输   累 计   汇 流   管 内   暴 雨   径 流   平 均   单 位   "
                "设 计   设 计   水 力   流 速   最 大"));
    EXPECT_EQ(w.Label2->Caption(),
              S("管 段  长 度   面 积   面 积   面 积   时 间   时 间   强 度           径 流   流 量   "
                "流 量   管 径   坡 度           流 量"));
    EXPECT_EQ(w.Label3->Caption(),
              S("编 号   (m)    (ha)    (ha)    (ha)    (min)   (min) (L/s·ha) 系 数   系 数 "
                "(L/s·ha) (L/s)    (mm)    (‰)   (m/s)   (L/s)"));
    EXPECT_EQ(w.Label4->Caption(), QString(126, QLatin1Char('-')));
    EXPECT_EQ(w.Command1->Caption(), S("<<上一页"));
    EXPECT_EQ(w.Command2->Caption(), S("下一页>>"));
    EXPECT_EQ(pageShown(w), S("第1页共1页"));
    EXPECT_EQ(w.Label11->Caption(), S("管段长度："));
    EXPECT_EQ(w.Label12->Caption(), S("米"));
    EXPECT_EQ(w.Label13->Caption(), S("区域面积："));
    EXPECT_EQ(w.Label14->Caption(), S("ha"));
    EXPECT_EQ(w.Text19->Text(), S("0"));
    EXPECT_EQ(w.Text20->Text(), QString());
    EXPECT_FALSE(w.Text19->isEnabled());
    EXPECT_FALSE(w.Text20->isEnabled());
    EXPECT_EQ(windowTop(*w.Label11), 4455);
    EXPECT_EQ(windowTop(*w.Text19), 4410);
    EXPECT_EQ(w.Text22->Text(), S("0"));
    EXPECT_FALSE(w.Text22->isVisibleTo(&w));

    // Ten rows; only the first shown. Its label cell is blue and takes
    // clicks, the other cells take none.
    EXPECT_EQ(w.table().rowCount(), 10);
    EXPECT_EQ(rowsShown(w), std::vector<int>{0});
    const StormResultTableView& view = w.view();
    for (int c = 1; c <= kResultColumns; ++c) {
        const auto column = static_cast<ResultColumn>(c);
        const forms::TextBox& cell = view.cell(0, column);
        SCOPED_TRACE(cell.objectName().toStdString());
        EXPECT_EQ(cell.objectName(), QStringLiteral("Text%1").arg(c));
        EXPECT_EQ(cell.isEnabled(), column == kSegmentLabel);
        EXPECT_EQ(cell.Height(), 300);
        EXPECT_EQ(windowTop(cell), 990);
    }
    EXPECT_EQ(view.cell(0, kSegmentLabel).palette().color(QPalette::Active, QPalette::Text),
              QColor(Qt::blue));
    EXPECT_FALSE(view.cell(1, kSegmentLabel).isVisibleTo(&w));
}

TEST_F(ResultGridFormTest, EveryColumnStandsUnderItsHeading)
{
    // The words of the first heading line, in column order, as drawn: each
    // cell of the first row lies under its word, its middle within a few
    // pixels of the word's, and the cells follow one another without
    // touching.
    StormResultGridForm& w = Form15();
    w.Show();
    const QString heading = w.Label1->Caption();
    const QFontMetricsF metrics(w.Label1->font());
    const double headingLeft = w.Label1->mapTo(&w, QPoint(0, 0)).x() + w.Label1->contentsRect().left();
    std::vector<std::pair<double, double>> words;  // left and right edge, pixels
    static const QRegularExpression word(QStringLiteral("\\S+( \\S+)?"));
    for (auto match = word.globalMatch(heading); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        const double left = headingLeft + metrics.horizontalAdvance(heading.left(m.capturedStart()));
        words.emplace_back(left, left + metrics.horizontalAdvance(m.captured()));
    }
    ASSERT_EQ(words.size(), static_cast<std::size_t>(kResultColumns));
    double previousRight = 0;
    for (int c = 1; c <= kResultColumns; ++c) {
        SCOPED_TRACE(c);
        const forms::TextBox& cell = w.view().cell(0, static_cast<ResultColumn>(c));
        const double left = cell.mapTo(&w, QPoint(0, 0)).x();
        const double right = left + cell.width();
        const auto [wordLeft, wordRight] = words[static_cast<std::size_t>(c - 1)];
        EXPECT_LE(left, wordLeft);
        EXPECT_GE(right, wordRight);
        EXPECT_NEAR((left + right) / 2, (wordLeft + wordRight) / 2, 6);
        EXPECT_GT(left, previousRight);
        previousRight = right;
    }
    EXPECT_LE(previousRight, w.client()->width());
}

TEST_F(ResultGridFormTest, TheCloseBoxIsRefused)
{
    StormResultGridForm& w = showRun(3);
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.table().text(2, kSegmentLabel), S("3-4"));
}

TEST_F(ResultGridFormTest, RowsFillTheFirstPageAndTheFooterFollowsTheLastSegment)
{
    StormResultGridForm& w = showRun(12);
    EXPECT_EQ(w.table().rowCount(), 12);
    EXPECT_EQ(rowsShown(w), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    const StormResultTableView& view = w.view();
    EXPECT_EQ(windowTop(view.cell(11, kLength)), 990 + 315 * 11);
    EXPECT_EQ(view.cell(11, kSegmentLabel).Text(), S("12-13"));
    EXPECT_EQ(view.cell(0, kLength).Text(), S("60.00"));
    EXPECT_EQ(view.cell(0, kOwnArea).Text(), S("0.3000"));
    EXPECT_EQ(view.cell(11, kCumulativeArea).Text(), S("3.6000"));
    for (int c = 2; c <= kResultColumns; ++c)
        EXPECT_FALSE(view.cell(5, static_cast<ResultColumn>(c)).isEnabled()) << c;

    EXPECT_EQ(w.Text19->Text(), S("720"));
    EXPECT_EQ(w.Text20->Text(), S("3.6000"));
    // Labels 675 below the last row's top, the boxes 45 above them.
    EXPECT_EQ(windowTop(*w.Label11), 990 + 315 * 11 + 675);
    EXPECT_EQ(windowTop(*w.Label14), 990 + 315 * 11 + 675);
    EXPECT_EQ(windowTop(*w.Text19), 990 + 315 * 11 + 630);
    EXPECT_EQ(windowTop(*w.Text20), 990 + 315 * 11 + 630);
    EXPECT_TRUE(w.Text19->isVisibleTo(&w));
    EXPECT_EQ(pageShown(w), S("第1页共1页"));
    EXPECT_EQ(w.Text22->Text(), S("0"));
}

TEST_F(ResultGridFormTest, PageCountsAndTheEndsOfTheTable)
{
    struct Case {
        int segments;
        int pages;
    };
    for (const Case c : {Case{1, 1}, Case{18, 1}, Case{19, 2}, Case{21, 2}, Case{38, 2}, Case{39, 3},
                         Case{41, 3}, Case{179, 10}}) {
        SCOPED_TRACE(c.segments);
        StormResultGridForm& w = showRun(c.segments);
        EXPECT_EQ(w.Label10->Caption(), QString::number(c.pages));
        // <<上一页 on the first page does nothing.
        w.Command1->press();
        EXPECT_EQ(w.Label6->Caption(), S("1"));
        for (int page = 2; page <= c.pages; ++page) {
            w.Command2->press();
            EXPECT_EQ(w.Label6->Caption(), QString::number(page));
        }
        // 下一页>> on the last page does nothing.
        w.Command2->press();
        EXPECT_EQ(w.Label6->Caption(), QString::number(c.pages));
        const std::vector<int> rows = rowsShown(w);
        // The last page shows the last segment, unless it ends the page
        // before (19, 39, …: then the footer stands alone).
        if (c.segments % 20 == 19) {
            EXPECT_TRUE(rows.empty());
        } else {
            ASSERT_FALSE(rows.empty());
            EXPECT_EQ(rows.back(), c.segments - 1);
        }
        // The footer is on the last page, in the band.
        EXPECT_TRUE(w.Text19->isVisibleTo(&w));
        EXPECT_GE(windowTop(*w.Text19), 990);
        EXPECT_LT(windowTop(*w.Text19), 7290);
        for (int page = c.pages - 1; page >= 1; --page) {
            w.Command1->press();
            EXPECT_EQ(w.Label6->Caption(), QString::number(page));
        }
        EXPECT_EQ(rowsShown(w).front(), 0);
    }
}

TEST_F(ResultGridFormTest, NineteenSegmentsLeaveTheFooterAloneOnPageTwo)
{
    StormResultGridForm& w = showRun(19);
    EXPECT_FALSE(w.Label11->isVisibleTo(&w));
    w.Command2->press();
    EXPECT_EQ(pageShown(w), S("第2页共2页"));
    EXPECT_TRUE(rowsShown(w).empty());
    EXPECT_EQ(windowTop(*w.Text19), 990);
    EXPECT_EQ(windowTop(*w.Text20), 990);
    EXPECT_EQ(windowTop(*w.Label11), 1035);
    EXPECT_TRUE(w.Text19->isVisibleTo(&w));
}

TEST_F(ResultGridFormTest, TwentyOneSegmentsPutRowTwentyAtTheTopOfPageTwo)
{
    StormResultGridForm& w = showRun(21);
    EXPECT_EQ(rowsShown(w).size(), 20u);
    w.Command2->press();
    EXPECT_EQ(pageShown(w), S("第2页共2页"));
    EXPECT_EQ(rowsShown(w), std::vector<int>{20});
    EXPECT_EQ(windowTop(*w.view().cellOfRow(20, kDiameter)), 990);
    EXPECT_EQ(w.view().cellOfRow(20, kSegmentLabel)->Text(), S("21-22"));
    EXPECT_EQ(windowTop(*w.Label11), 990 + 675);
    w.Command2->press();
    EXPECT_EQ(pageShown(w), S("第2页共2页"));
}

TEST_F(ResultGridFormTest, ACalculationComesBackOnPageOne)
{
    StormResultGridForm& w = showRun(45);
    w.Command2->press();
    EXPECT_EQ(w.Label6->Caption(), S("2"));
    showRun(30);
    EXPECT_EQ(pageShown(w), S("第1页共2页"));
    EXPECT_EQ(rowsShown(w).front(), 0);
    EXPECT_EQ(windowTop(*w.view().cellOfRow(0, kSegmentLabel)), 990);

    // Twelve after thirty: rows 12 and on are hidden; the footer and its
    // totals follow the twelfth segment.
    showRun(12);
    EXPECT_EQ(pageShown(w), S("第1页共1页"));
    EXPECT_EQ(w.table().rowCount(), 45);
    EXPECT_EQ(rowsShown(w).size(), 12u);
    EXPECT_EQ(w.view().cellOfRow(12, kSegmentLabel), nullptr);
    EXPECT_FALSE(w.table().rowVisible(29));
    EXPECT_TRUE(w.table().cells(29) == ResultCells());
    EXPECT_EQ(w.Text20->Text(), w.table().text(11, kCumulativeArea));
    EXPECT_EQ(windowTop(*w.Label11), 990 + 315 * 11 + 675);
}

TEST_F(ResultGridFormTest, EachRunShowsItsRowsReadablyWithTheFooterClearBelow)
{
    // A first run of three, then twenty-five, then twelve: each page shows
    // the run's rows and no others, the footer stands on the last page
    // below the last row and clear of every cell, and every text, the
    // cells that take no clicks included, stands out from its field.
    for (const int n : {3, 25, 12}) {
        SCOPED_TRACE(n);
        StormResultGridForm& w = showRun(n);
        const StormResultTableView& view = w.view();
        const std::vector<QWidget*> footer = {w.Label11, w.Text19, w.Label12,
                                              w.Label13, w.Text20, w.Label14};
        for (int page = 1; page <= view.pageCount(); ++page) {
            SCOPED_TRACE(page);
            if (page > 1)
                w.Command2->press();
            std::vector<int> expected;
            for (int row = (page - 1) * 20; row < std::min(n, page * 20); ++row)
                expected.push_back(row);
            EXPECT_EQ(rowsShown(w), expected);
            EXPECT_EQ(w.Text19->isVisibleTo(&w), page == view.pageCount());
            for (int slot = 0; slot < StormResultTableView::kSlots; ++slot) {
                for (int c = 1; c <= kResultColumns; ++c) {
                    forms::TextBox& cell = view.cell(slot, static_cast<ResultColumn>(c));
                    if (!cell.isVisibleTo(&w))
                        continue;
                    SCOPED_TRACE(cell.objectName().toStdString() + " of row "
                                 + std::to_string(cell.property("Index").toInt()));
                    for (QWidget* part : footer) {
                        const bool overlaps =
                            part->isVisibleTo(&w) && part->geometry().intersects(cell.geometry());
                        EXPECT_FALSE(overlaps) << part->objectName().toStdString();
                    }
                    if (!cell.Text().isEmpty()) {
                        EXPECT_GE(forms::testing::textContrast(cell), 3.0);
                    }
                }
            }
        }
        forms::testing::snapshot(w, S("Form15-run%1").arg(n));
        const forms::TextBox* last = view.cellOfRow(n - 1, kSegmentLabel);
        ASSERT_NE(last, nullptr);
        EXPECT_GT(w.Text19->y(), last->geometry().bottom());
        EXPECT_GE(forms::testing::textContrast(*w.Text19), 3.0);
        EXPECT_GE(forms::testing::textContrast(*w.Text20), 3.0);
    }
}

TEST_F(ResultGridFormTest, AdjustmentModeOpensTheDialogOnAClick)
{
    StormResultGridForm& w = showRun(3);
    QSignalSpy requests(&w, &StormResultGridForm::AdjustmentRequested);
    forms::TextBox& diameter = *w.view().cellOfRow(1, kDiameter);
    forms::TextBox& slope = *w.view().cellOfRow(2, kSlope);

    // Outside the adjustment mode the cells take no click.
    QTest::mouseClick(&diameter, Qt::LeftButton);
    EXPECT_EQ(requests.count(), 0);
    EXPECT_FALSE(Form10().isVisible());

    w.调整->click();
    for (int row = 0; row < 10; ++row) {
        for (const ResultColumn c : {kDiameter, kSlope}) {
            EXPECT_TRUE(w.table().enabled(row, c));
            EXPECT_TRUE(w.table().readOnly(row, c));
        }
        EXPECT_FALSE(w.table().enabled(row, kCapacity));
    }
    EXPECT_TRUE(diameter.isEnabled());
    EXPECT_TRUE(diameter.Locked());
    EXPECT_EQ(diameter.palette().color(QPalette::Active, QPalette::Text), QColor(Qt::blue));

    // Typing into an adjustable cell changes nothing.
    const QString before = diameter.Text();
    QTest::keyClicks(&diameter, QStringLiteral("9"));
    EXPECT_EQ(diameter.Text(), before);
    EXPECT_EQ(w.table().text(1, kDiameter), before);

    QTest::mouseClick(&diameter, Qt::LeftButton);
    QTest::mouseClick(&slope, Qt::LeftButton);
    ASSERT_EQ(requests.count(), 2);
    EXPECT_EQ(requests[0][0].toInt(), 1);
    EXPECT_EQ(requests[0][1].value<ResultColumn>(), kDiameter);
    EXPECT_EQ(requests[1][0].toInt(), 2);
    EXPECT_EQ(requests[1][1].value<ResultColumn>(), kSlope);
    EXPECT_TRUE(Form10().isVisible());

    // A new calculation takes the mode away again.
    showRun(3);
    EXPECT_FALSE(w.view().cellOfRow(1, kDiameter)->isEnabled());
    w.Text13_Click(1);
    EXPECT_EQ(requests.count(), 2);
}

TEST_F(ResultGridFormTest, ALabelTypedOverIsKept)
{
    StormResultGridForm& w = showRun(2);
    forms::TextBox& label = *w.view().cellOfRow(1, kSegmentLabel);
    label.selectAll();
    QTest::keyClicks(&label, QStringLiteral("J2-J3"));
    EXPECT_EQ(w.table().text(1, kSegmentLabel), S("J2-J3"));
    w.Command2->press();
    EXPECT_EQ(w.view().cellOfRow(1, kSegmentLabel)->Text(), S("J2-J3"));
}

TEST_F(ResultGridFormTest, SavingWritesTheReportAndMarksTheTableSaved)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(S("storm_out.txt"));
    StormResultGridForm& w = showRun(4);
    platform().answerFileDialog(path);
    w.保存->click();
    ASSERT_EQ(platform().fileDialogs().size(), 1u);
    const forms::FileDialogRequest& request = platform().fileDialogs()[0];
    EXPECT_EQ(request.mode, forms::FileDialogRequest::Mode::Save);
    EXPECT_EQ(request.fileName, S("storm_out.txt"));
    EXPECT_EQ(request.filter, S("(*.txt)|*.txt|(*.dat)|*.dat|(*.*)|*.*"));
    EXPECT_EQ(request.filterIndex, 1);
    EXPECT_TRUE(request.overwritePrompt);
    EXPECT_EQ(w.Text22->Text(), S("1"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    EXPECT_EQ(saved, StormNetworkReportBytes(form13().reportHeader(),
                                             ReportVariant::Saved, w.table())
                         .bytes);
    EXPECT_TRUE(saved.contains("\r\n  4-5  60.00"));
    EXPECT_TRUE(boxes().empty());

    // Saved: 返回 goes back at once.
    w.返回->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(form13().isVisible());
    EXPECT_TRUE(boxes().empty());
}

TEST_F(ResultGridFormTest, ReturningAsksToKeepAnUnsavedTable)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(S("storm_out.txt"));
    const QString question = S("是否保留现有数据列表？");
    auto expectQuestion = [&](std::size_t count) {
        ASSERT_EQ(boxes().size(), count);
        EXPECT_EQ(boxes().back().text, question);
        EXPECT_EQ(boxes().back().title, S("Vantor_Tools"));
        EXPECT_EQ(boxes().back().style, 35);
    };

    // Cancel, and the close button of the question: the table stays.
    StormResultGridForm& w = showRun(2);
    platform().answerMessageBox(forms::vbCancel);
    w.返回->click();
    expectQuestion(1);
    EXPECT_TRUE(w.isVisible());

    // Yes, then Cancel in the save dialog: the table stays, not saved.
    platform().answerMessageBox(forms::vbYes);
    platform().answerFileDialog(std::nullopt);
    w.返回->click();
    expectQuestion(2);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.Text22->Text(), S("0"));
    EXPECT_FALSE(QFile::exists(path));

    // Yes, and a save that fails: told in the window's style, not saved, the
    // table stays and the question comes again.
    platform().answerMessageBox(forms::vbYes);
    platform().answerFileDialog(dir.filePath(S("none/storm_out.txt")));
    platform().answerMessageBox(forms::vbOK);
    w.返回->click();
    ASSERT_EQ(boxes().size(), 4u);
    EXPECT_TRUE(boxes()[3].text.endsWith(S("\n计算结果未保存。"))) << boxes()[3].text.toStdString();
    EXPECT_TRUE(boxes()[3].text.startsWith(S("无法打开文件"))) << boxes()[3].text.toStdString();
    EXPECT_EQ(boxes()[3].title, S("Vantor_Tools"));
    EXPECT_EQ(boxes()[3].style, forms::vbCritical);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.Text22->Text(), S("0"));

    // No: back without saving.
    platform().answerMessageBox(forms::vbNo);
    w.返回->click();
    expectQuestion(5);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(form13().isVisible());
    EXPECT_EQ(w.Text22->Text(), S("0"));
    EXPECT_FALSE(QFile::exists(path));

    // Yes and a save: back, saved.
    w.Show();
    platform().answerMessageBox(forms::vbYes);
    platform().answerFileDialog(path);
    w.返回->click();
    expectQuestion(6);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.Text22->Text(), S("1"));
    EXPECT_TRUE(QFile::exists(path));

    // A changed 管内时间 makes the table unsaved again.
    w.table().setText(1, kPipeTime, S("9.999"));
    EXPECT_EQ(w.Text22->Text(), S("0"));
}

TEST_F(ResultGridFormTest, ASaveThatFailsKeepsTheOldReportAndTheTableUnsaved)
{
    QTemporaryDir dir;
    const QString path = earlierReportIn(dir);
    StormResultGridForm& w = showRun(4);

    struct Case {
        const char* name;
        textio::WriteFault fault;
        qint64 afterBytes;
        const char* reason;
    };
    const Case cases[] = {
        {"a full disk", textio::WriteFault::NoSpace, 0, "磁盘已满"},
        {"a disk full halfway through", textio::WriteFault::NoSpace, 1500, "磁盘已满"},
        {"a failing device", textio::WriteFault::DeviceError, 300, "磁盘读写错误"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t shown = boxes().size();
        const textio::ScopedWriteFault fault(c.fault, c.afterBytes);
        platform().answerFileDialog(path);
        platform().answerMessageBox(forms::vbOK);
        w.保存->click();
        ASSERT_EQ(boxes().size(), shown + 1);
        const QString& message = boxes().back().text;
        EXPECT_TRUE(message.contains(QDir::toNativeSeparators(path))) << message.toStdString();
        EXPECT_TRUE(message.contains(S(c.reason))) << message.toStdString();
        EXPECT_TRUE(message.endsWith(S("\n计算结果未保存。"))) << message.toStdString();
        EXPECT_EQ(boxes().back().title, S("Vantor_Tools"));
        EXPECT_EQ(boxes().back().style, forms::vbCritical);
        EXPECT_EQ(w.Text22->Text(), S("0"));
        EXPECT_EQ(fileBytes(path), kEarlierReport);
        EXPECT_EQ(entries(dir), QStringList{S("storm_out.txt")});
    }
}

TEST_F(ResultGridFormTest, ReturningWithASaveOnAFullDiskStaysAndAsksAgain)
{
    QTemporaryDir dir;
    const QString path = earlierReportIn(dir);
    StormResultGridForm& w = showRun(2);
    {
        const textio::ScopedWriteFault fault(textio::WriteFault::NoSpace, 0);
        platform().answerMessageBox(forms::vbYes);
        platform().answerFileDialog(path);
        platform().answerMessageBox(forms::vbOK);
        w.返回->click();
    }
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[0].text, S("是否保留现有数据列表？"));
    EXPECT_TRUE(boxes()[1].text.contains(S("磁盘已满"))) << boxes()[1].text.toStdString();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.Text22->Text(), S("0"));
    EXPECT_EQ(fileBytes(path), kEarlierReport);
    EXPECT_EQ(entries(dir), QStringList{S("storm_out.txt")});

    // With room on the disk again the question comes again, and the save
    // replaces the old report.
    platform().answerMessageBox(forms::vbYes);
    platform().answerFileDialog(path);
    w.返回->click();
    ASSERT_EQ(boxes().size(), 3u);
    EXPECT_EQ(boxes()[2].text, S("是否保留现有数据列表？"));
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.Text22->Text(), S("1"));
    EXPECT_EQ(fileBytes(path),
              StormNetworkReportBytes(form13().reportHeader(), ReportVariant::Saved, w.table()).bytes);
}
