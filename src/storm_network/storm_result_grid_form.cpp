#include "storm_network/storm_result_grid_form.h"

#include "forms/application.h"

#include "app/run_state.h"
#include "app/windows.h"
#include "forms/platform.h"
#include "storm_network/storm_result_table_view.h"
#include "storm_network/storm_segment_adjust_dialog.h"
#include "storm_network/storm_sewer_network_form.h"
#include "textio/numtext.h"
#include "forms/handler.h"

#include <QCoreApplication>

using namespace storm_network;

StormResultGridForm& Form15()
{
    return forms::defaultInstance<StormResultGridForm>();
}

using namespace Qt::StringLiterals;

namespace {

const QString kDesignCaption = QStringLiteral("雨水计算输出程序");
const QString kNotSaved = QStringLiteral("0");
const QString kSaved = QStringLiteral("1");

// The window is wider than its layout's 11475 twips for the columns to hold
// their texts; the paging controls keep their places about its middle.
constexpr double kPagingShift = (ResultGeometry::kWindowWidth - 11475) / 2;
// The two bands reach past both edges of the window.
constexpr double kBandWidth = ResultGeometry::kWindowWidth + 550;

}  // namespace

StormResultGridForm::StormResultGridForm()
    : forms::Form(kDesignCaption, ResultGeometry::kWindowWidth, 8310, forms::BorderStyle::FixedSingle)
{
    setObjectName(QStringLiteral("Form15"));

    保存 = addMenuItem(QStringLiteral("保存"), QStringLiteral("保存数据(&S)"));
    调整 = addMenuItem(QStringLiteral("调整"), QStringLiteral("手动调整(&M)"));
    返回 = addMenuItem(QStringLiteral("返回"), QStringLiteral("返回程序(&R)"));

    // --- The rows' band, below the header and above the paging frame.
    m_view = new StormResultTableView(m_table, client());
    m_view->setObjectName(QStringLiteral("Grid"));
    m_view->setGeometry(forms::pxRect(0, ResultGeometry::kBandTop, ResultGeometry::kWindowWidth,
                                      ResultGeometry::kBandBottom - ResultGeometry::kBandTop));
    Label11 = m_view->Label11;
    Text19 = m_view->Text19;
    Label12 = m_view->Label12;
    Label13 = m_view->Label13;
    Text20 = m_view->Text20;
    Label14 = m_view->Label14;

    // --- Header: the column headings and a rule under them.
    put(Frame2, nullptr, {"Frame2", -90, -45, kBandWidth, 1000});
    const QString headings[] = {
        QStringLiteral("设 计  管 段   本 段   转 输   累 计   汇 流   管 内   暴 雨   径 流   "
                       "平 均   单 位   设 计   设 计   水 力   流 速   最 大"),
        QStringLiteral("管 段  长 度   面 积   面 积   面 积   时 间   时 间   强 度           "
                       "径 流   流 量   流 量   管 径   坡 度           流 量"),
        QStringLiteral("编 号   (m)    (ha)    (ha)    (ha)    (min)   (min) (L/s·ha) 系 数   "
                       "系 数 (L/s·ha) (L/s)    (mm)    (‰)   (m/s)   (L/s)"),
        QString(126, QLatin1Char('-')),
    };
    const double headingTops[] = {225, 420, 630, 800};
    const double headingHeights[] = {195, 195, 195, 90};
    forms::Label** headingLabels[] = {&Label1, &Label2, &Label3, &Label4};
    for (int k = 0; k < 4; ++k) {
        const QByteArray name = "Label" + QByteArray::number(k + 1);
        forms::Label*& label = *headingLabels[k];
        put(label, Frame2,
            {name.constData(), ResultGeometry::kHeadingLeft + 90, headingTops[k],
             kBandWidth - ResultGeometry::kHeadingLeft - 90, headingHeights[k]});
        label->setWordWrap(false);
        label->setFont(StormResultTableView::headingFont());
        label->setCaption(headings[k]);
    }

    // --- Paging frame.
    constexpr double shift = kPagingShift;
    put(Frame1, nullptr, {"Frame1", -90, ResultGeometry::kBandBottom, kBandWidth, 2040});
    put(Command1, Frame1, {"Command1", 3420 + shift, 450, 1455, 420, u"<<上一页"_s});
    put(Command2, Frame1, {"Command2", 6480 + shift, 450, 1455, 420, u"下一页>>"_s});
    put(Label5, Frame1, {"Label5", 8625 + shift, 525, 255, 330, u"第"_s});
    put(Label6, Frame1, {"Label6", 9015 + shift, 525, 300, 375, u"1"_s});
    Label6->setForeColor(forms::vbBlue);
    put(Label7, Frame1, {"Label7", 9420 + shift, 525, 300, 255, u"页"_s});
    put(Label9, Frame1, {"Label9", 9825 + shift, 525, 255, 330, u"共"_s});
    put(Label10, Frame1, {"Label10", 10215 + shift, 525, 300, 375, u"1"_s});
    Label10->setForeColor(forms::vbBlue);
    put(Label8, Frame1, {"Label8", 10620 + shift, 525, 255, 330, u"页"_s});

    put(Text22, nullptr, {"Text22", ResultGeometry::kWindowWidth + 125, 0, 400, 0, kNotSaved});
    Text22->hide();

    // Every change of a 管内时间 cell, whoever makes it, marks the table unsaved.
    m_table.setPipeTimeObserver([this] { Text22->setText(kNotSaved); });

    refresh();
    connectHandlers();
}

void StormResultGridForm::connectHandlers()
{
    forms::connectHandler(Command1, &forms::CommandButton::Click, this, &StormResultGridForm::Command1_Click);
    forms::connectHandler(Command2, &forms::CommandButton::Click, this, &StormResultGridForm::Command2_Click);
    forms::connectHandler(保存, &forms::MenuItem::Click, this, &StormResultGridForm::保存_Click);
    forms::connectHandler(调整, &forms::MenuItem::Click, this, &StormResultGridForm::调整_Click);
    forms::connectHandler(返回, &forms::MenuItem::Click, this, &StormResultGridForm::返回_Click);
    forms::connectHandler(m_view, &StormResultTableView::CellClick, this, [this](int row, ResultColumn column) {
        if (column == kDiameter)
            Text13_Click(row);
        else if (column == kSlope)
            Text14_Click(row);
    });
}

void StormResultGridForm::Form_Load()
{
    setCaption(versionedCaption(kDesignCaption));
}

void StormResultGridForm::Form_QueryUnload(int& cancel, int)
{
    // The table is left through 返回 only.
    cancel = 1;
}

void StormResultGridForm::refresh()
{
    Label6->setCaption(QString::number(m_view->currentPage()));
    Label10->setCaption(QString::number(m_view->pageCount()));
    m_view->refresh();
}

// ------------------------------------------------------------ calculation

void StormResultGridForm::ClearResultRows()
{
    m_table.clearRows();
    m_view->showFirstPage();
    refresh();
}

void StormResultGridForm::showRun(std::vector<PackedCells>&& rows, const QString& totalLength)
{
    m_table.takeRun(std::move(rows), totalLength);
    Text22->setText(kNotSaved);
    m_view->showRun();
    refresh();
}

void StormResultGridForm::showAdjustment(bool changed)
{
    if (changed)
        Text22->setText(kNotSaved);
    refresh();
}

// ------------------------------------------------------------ pages

void StormResultGridForm::Command1_Click()
{
    if (m_view->previousPage())
        refresh();
}

void StormResultGridForm::Command2_Click()
{
    if (m_view->nextPage())
        refresh();
}

// ------------------------------------------------------------ adjustment

void StormResultGridForm::调整_Click()
{
    m_table.enterAdjustmentMode();
    refresh();
}

void StormResultGridForm::Text13_Click(int index)
{
    openAdjustment(index, kDiameter);
}

void StormResultGridForm::Text14_Click(int index)
{
    openAdjustment(index, kSlope);
}

void StormResultGridForm::openAdjustment(int row, ResultColumn focus)
{
    // Only cells the adjustment mode enabled take clicks, and only segment
    // rows can be adjusted: a blank row opens nothing.
    if (row < 0 || row >= m_table.segmentCount() || !m_table.enabled(row, focus))
        return;
    StormSegmentAdjustDialog& dialog = Form10();
    dialog.Show();
    Q_EMIT AdjustmentRequested(row, focus);
}

// ------------------------------------------------------------ saving

StormResultGridForm::SaveOutcome StormResultGridForm::saveReport()
{
    forms::FileDialogRequest request;
    request.mode = forms::FileDialogRequest::Mode::Save;
    request.title = QStringLiteral("另存为");
    request.filter = QStringLiteral("(*.txt)|*.txt|(*.dat)|*.dat|(*.*)|*.*");
    request.filterIndex = 1;
    request.initialDir = QCoreApplication::applicationDirPath();
    request.fileName = QStringLiteral("storm_out.txt");
    request.overwritePrompt = true;
    const std::optional<QString> path = forms::platform().fileDialog(request);
    if (!path || path->isEmpty())
        return SaveOutcome::Cancelled;

    if (const std::optional<QString> error =
            WriteStormNetworkReport(*path, ReportVariant::Saved, form13().reportHeader(), m_table)) {
        forms::MsgBox(*error + QChar(10) + QStringLiteral("计算结果未保存。"), forms::vbCritical,
                      forms::kProgramTitle);
        return SaveOutcome::Failed;
    }
    Text22->setText(kSaved);
    return SaveOutcome::Saved;
}

void StormResultGridForm::保存_Click()
{
    saveReport();
}

void StormResultGridForm::返回_Click()
{
    // A flag that is no number counts as not saved.
    if (textio::readNumber(Text22->Text()).value_or(0) == 0) {
        const int answer = forms::MsgBox(QStringLiteral("是否保留现有数据列表？"),
                                         forms::vbYesNoCancel | forms::vbQuestion, forms::kProgramTitle);
        if (answer == forms::vbYes) {
            if (saveReport() != SaveOutcome::Saved)
                return;
        } else if (answer != forms::vbNo) {
            return;
        }
    }
    form13().Show();
    Hide();
}
