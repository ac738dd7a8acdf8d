#include "storm_network/storm_segment_list_form.h"

#include "app/run_state.h"
#include "app/windows.h"
#include "forms/application.h"
#include "forms/platform.h"
#include "storm/storm_city_view.h"
#include "storm_network/segment_file.h"
#include "storm_network/storm_sewer_network_form.h"
#include "forms/handler.h"

#include <QCoreApplication>
#include <QDir>
#include <QScrollBar>

#include <algorithm>
#include <new>
#include <optional>
#include <utility>

using storm_network::SegmentRow;
namespace StormSegmentInputFile = storm_network::StormSegmentInputFile;
using namespace Qt::StringLiterals;

StormSegmentListForm& Form14()
{
    return forms::defaultInstance<StormSegmentListForm>();
}

namespace {

const QString& kDesignCaption = StormCityView::kCaption;
// The captions that hold the window's modes (two blanks between the characters).
const QString kAddCaption = QStringLiteral("确  定");
const QString kUpdateCaption = QStringLiteral("更  新");
const QString kCollapsedCaption = QStringLiteral("查  看");
const QString kExpandedCaption = QStringLiteral("返  回");
const QString kWarningTitle = QStringLiteral("警告");
const QString kNoteTitle = QStringLiteral("提示");
// Filters of the file dialogs: an import offers the segment files only.
const QString kExportFilter = QStringLiteral("(*.txt)|*.txt|(*.dat)|*.dat|(*.*)|*.*");
const QString kImportFilter = QStringLiteral("(*.txt)|*.txt|(*.dat)|*.dat");
// The questions before deleting rows: OK and Cancel, stop icon, Cancel the default.
constexpr int kDeleteQuestionStyle = forms::vbOKCancel | forms::vbCritical | forms::vbDefaultButton2;

void note(const QString& text)
{
    forms::MsgBox(text, forms::vbOKOnly, kNoteTitle);
}

// The file dialog of an import or export: the program's own folder,
// storm_in.txt proposed, the first filter chosen.
forms::FileDialogRequest segmentFileRequest(forms::FileDialogRequest::Mode mode)
{
    const bool save = mode == forms::FileDialogRequest::Mode::Save;
    forms::FileDialogRequest request;
    request.mode = mode;
    request.title = save ? QStringLiteral("另存为") : QStringLiteral("打开");
    request.filter = save ? kExportFilter : kImportFilter;
    request.filterIndex = 1;
    request.initialDir = QCoreApplication::applicationDirPath();
    request.fileName = StormSegmentInputFile::kDefaultName;
    request.overwritePrompt = save;
    return request;
}

}  // namespace

StormSegmentListForm::StormSegmentListForm()
    : forms::Form(kDesignCaption, 4200, 7335, forms::BorderStyle::FixedSingle)
{
    setObjectName(QStringLiteral("Form14"));

    导入 = addMenuItem(QStringLiteral("导入"), QStringLiteral("导入数据"));
    导出 = addMenuItem(QStringLiteral("导出"), QStringLiteral("导出数据"));
    清除 = addMenuItem(QStringLiteral("清除"), QStringLiteral("清除数据"));
    返回 = addMenuItem(QStringLiteral("返回"), QStringLiteral("返回程序"));

    // --- 数据输入: the three values of one segment and the buttons.
    put(Frame2, nullptr, {"Frame2", 60, 45, 4080, 1725, u"数据输入"_s});
    forms::Label* lengthLabel = nullptr;
    put(lengthLabel, Frame2, {"Label1", 150, 345, 1560, 255, u"管段长度(m)"_s});
    Label1.insert(0, lengthLabel);
    put(Text1, Frame2, {"Text1", 1740, 300, 1080});
    put(Label2, Frame2, {"Label2", 150, 780, 1560, 255, u"汇水面积(平方米)"_s});
    put(Text2, Frame2, {"Text2", 1740, 735, 1080});
    put(Label3, Frame2, {"Label3", 150, 1215, 1560, 255, u"径流系数(Ψ)"_s});
    put(Text3, Frame2, {"Text3", 1740, 1170, 1080});
    put(Command1, Frame2, {"Command1", 2970, 270, 975, 360, kAddCaption});
    put(Command2, Frame2, {"Command2", 2970, 705, 975, 360, kCollapsedCaption});
    put(Command3, Frame2, {"Command3", 2970, 1140, 975, 360, u"取  消"_s});

    // --- 数据列表: the three columns side by side under their headings.
    put(Frame1, nullptr, {"Frame1", 60, 1845, 4080, 5460, u"数据列表"_s});
    const double lefts[] = {135, 1475, 2805};
    const QString headings[] = {QStringLiteral("管段长度(m)"), QStringLiteral("汇水面积(平方米)"),
                                QStringLiteral("径流系数(Ψ)")};
    const char* const headingNames[] = {"Label1", "Label4", "Label5"};
    forms::Label* headingLabels[3] = {};
    // The area heading takes two lines, broken before its unit.
    const double headingWidths[] = {1200, 900, 1200};
    for (int i = 0; i < 3; ++i) {
        forms::Label* heading = nullptr;
        put(heading, Frame1,
            {headingNames[i], lefts[i] + (1200 - headingWidths[i]) / 2, 225, headingWidths[i], 540});
        heading->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        heading->setCaption(headings[i]);
        headingLabels[i] = heading;
        forms::ColumnListBox* list = nullptr;
        put(list, Frame1, {"List1", lefts[i], 780, 1200, 4200});
        list->setProperty("Index", i);
        list->showColumn(&m_rows, i);
        List1.insert(i, list);
        // The columns scroll as one, a row at a time (see connectHandlers).
        // Texts wider than a column are not scrolled sideways, so that all
        // three show the same number of rows; the input boxes show a
        // selected row's whole texts.
        list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    headingLabels[0]->setProperty("Index", 1);
    Label1.insert(1, headingLabels[0]);
    Label1(0).setProperty("Index", 0);
    Label4 = headingLabels[1];
    Label5 = headingLabels[2];
    put(Command5, Frame1, {"Command5", 135, 5025, 1200, 360, u"清  除"_s});
    put(Command4, Frame1, {"Command4", 2805, 5025, 1200, 360, u"清除全部"_s});

    // The import's line count, beyond the client area.
    put(Text4, nullptr, {"Text4", 4320, 0, 600, 285, u"统计"_s});
    Text4->hide();

    setDefaultButton(Command1);

    tabOrder({Text1, Text2, Text3, Command1, Command2, Command3, List1.at(0), List1.at(1), List1.at(2),
              Command5, Command4});

    connectHandlers();
}

void StormSegmentListForm::connectHandlers()
{
    for (int i = 0; i < 3; ++i) {
        forms::ColumnListBox* list = List1.at(i);
        forms::connectHandler(list, &forms::ColumnListBox::Click, this, [this, i] { List1_Click(i); });
        // The columns scroll as one: the scroll bar's value is the top row.
        forms::connectHandler(list->verticalScrollBar(), &QScrollBar::valueChanged, this,
                [this, i](int top) { alignColumns(i, top); });
    }
    forms::connectHandler(Command1, &forms::CommandButton::Click, this, &StormSegmentListForm::Command1_Click);
    forms::connectHandler(Command2, &forms::CommandButton::Click, this, &StormSegmentListForm::Command2_Click);
    forms::connectHandler(Command3, &forms::CommandButton::Click, this, &StormSegmentListForm::Command3_Click);
    forms::connectHandler(Command4, &forms::CommandButton::Click, this, &StormSegmentListForm::Command4_Click);
    forms::connectHandler(Command5, &forms::CommandButton::Click, this, &StormSegmentListForm::Command5_Click);
    forms::connectHandler(Text3, &forms::TextBox::GotFocus, this, &StormSegmentListForm::Text3_GotFocus);
    forms::connectHandler(导入, &forms::MenuItem::Click, this, &StormSegmentListForm::导入_Click);
    forms::connectHandler(导出, &forms::MenuItem::Click, this, &StormSegmentListForm::导出_Click);
    forms::connectHandler(清除, &forms::MenuItem::Click, this, &StormSegmentListForm::清除_Click);
    forms::connectHandler(返回, &forms::MenuItem::Click, this, &StormSegmentListForm::返回_Click);
}

void StormSegmentListForm::Form_Load()
{
    setCaption(versionedCaption(kDesignCaption));
}

void StormSegmentListForm::Form_QueryUnload(int& cancel, int)
{
    // The rows live as long as the program: the window is only ever hidden.
    cancel = 1;
}

// ------------------------------------------------------------ rows

void StormSegmentListForm::clearRows()
{
    m_rows.clear();
    // No row is left to update.
    Command1->setCaption(kAddCaption);
}

int StormSegmentListForm::selectedRow() const
{
    const int row = List1(0).ListIndex();
    return row >= 0 && row < m_rows.rowCount() ? row : -1;
}

void StormSegmentListForm::showRow(int row)
{
    if (row < 0 || row >= m_rows.rowCount())
        return;
    const SegmentRow& shown = rows()[static_cast<std::size_t>(row)];
    Text1->setText(shown.length);
    Text2->setText(shown.area);
    Text3->setText(shown.runoff);
}

QString StormSegmentListForm::defaultRunoff()
{
    return form13().defaultRunoff();
}

void StormSegmentListForm::prepareNewSegment()
{
    Text3->setText(defaultRunoff());
    Text2->setText(QString());
    Text1->setText(QString());
    Text1->SetFocus();
}

void StormSegmentListForm::expand()
{
    setHeight(kExpandedHeight);
    setTop((ScreenHeight() - Height()) / 2);
    Command2->setCaption(kExpandedCaption);
}

bool StormSegmentListForm::valuesFitTheFile()
{
    // The rule of the segment file's lines: what the list holds, an export
    // writes and an import reads back unchanged.
    const std::pair<forms::TextBox*, QString> boxes[] = {
        {Text1, QStringLiteral("管段长度")},
        {Text2, QStringLiteral("汇水面积")},
        {Text3, QStringLiteral("径流系数")},
    };
    for (const auto& [box, name] : boxes) {
        if (const std::optional<QString> refusal =
                StormSegmentInputFile::ValueRefusal(name, box->Text())) {
            note(*refusal);
            box->SetFocus();
            return false;
        }
    }
    return true;
}

bool StormSegmentListForm::confirmDeletion(const QString& question)
{
    return forms::MsgBox(question, kDeleteQuestionStyle, kWarningTitle) != forms::vbCancel;
}

// ------------------------------------------------------------ opening

void StormSegmentListForm::openForInput()
{
    if (!m_placed) {
        // First opening: beside the network window, to its right where the
        // screen has room, else to its left, else at the screen's right edge.
        const StormSewerNetworkForm& network = form13();
        double left = network.Left() + network.Width();
        if (left + Width() > ScreenWidth())
            left = network.Left() - Width();
        if (left < 0)
            left = std::max(0.0, ScreenWidth() - Width());
        setLeft(left);
        setTop(network.Top());
        m_placed = true;
    }
    if (!rows().empty()) {
        expand();
    } else {
        setHeight(kCollapsedHeight);
        Command2->setCaption(kCollapsedCaption);
        Command1->setCaption(kAddCaption);
    }
    Show();
    prepareNewSegment();
}

// ------------------------------------------------------------ buttons

void StormSegmentListForm::Command1_Click()
{
    if (Command1->Caption() != kAddCaption) {
        // Update mode: the selected row takes the boxes' texts, once the
        // segment file can hold them as they are. With no row selected there is nothing to update: the
        // window is back in add mode and the boxes make a new row.
        const int row = selectedRow();
        if (row < 0) {
            Command1->setCaption(kAddCaption);
            Command1_Click();
            return;
        }
        if (!valuesFitTheFile())
            return;
        const SegmentRow updated{Text1->Text(), Text2->Text(), Text3->Text()};
        // An update that changes nothing leaves the list as saved.
        if (rows()[static_cast<std::size_t>(row)] == updated)
            return;
        m_rows.setRow(row, updated);
        m_unsaved = true;
        return;
    }
    // Add mode: a segment needs all three values.
    if (Text1->Text().isEmpty() || Text2->Text().isEmpty() || Text3->Text().isEmpty())
        return;
    if (!valuesFitTheFile())
        return;
    m_rows.append(SegmentRow{Text1->Text(), Text2->Text(), Text3->Text()});
    m_unsaved = true;
    prepareNewSegment();
}

void StormSegmentListForm::Command2_Click()
{
    if (Command2->Caption() == kCollapsedCaption) {
        expand();
        return;
    }
    setHeight(kCollapsedHeight);
    Command2->setCaption(kCollapsedCaption);
    Command1->setCaption(kAddCaption);
    prepareNewSegment();
}

void StormSegmentListForm::Command3_Click()
{
    if (Command2->Caption() == kCollapsedCaption) {
        Hide();
        return;
    }
    // Discards the edits: the boxes show the selected row again.
    showRow(selectedRow());
}

void StormSegmentListForm::Command4_Click()
{
    if (confirmDeletion(QStringLiteral("本操作将清除数据列表！是否继续？"))) {
        clearRows();
        m_unsaved = true;
    }
}

void StormSegmentListForm::清除_Click()
{
    Command4_Click();
}

void StormSegmentListForm::Command5_Click()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    if (!confirmDeletion(QStringLiteral("本操作将清除选定的数据！是否继续？")))
        return;
    // The row leaves the three columns at once; none of them keeps a row
    // selected.
    m_rows.removeRows(row, 1);
    m_unsaved = true;
    // The row being updated is gone.
    Command1->setCaption(kAddCaption);
}

void StormSegmentListForm::List1_Click(int index)
{
    // Selecting the other columns by code raises their clicks: the row is
    // taken once, from the column the user clicked.
    if (m_selecting)
        return;
    Command1->setCaption(kUpdateCaption);
    const int row = List1(index).ListIndex();
    m_selecting = true;
    List1((index + 1) % 3).setListIndex(row);
    List1((index + 2) % 3).setListIndex(row);
    m_selecting = false;
    showRow(row);
}

void StormSegmentListForm::alignColumns(int column, int top)
{
    // The other two columns follow the one scrolled; their own scrolling
    // by code is not followed again.
    if (m_aligning)
        return;
    m_aligning = true;
    for (int step = 1; step < 3; ++step)
        List1((column + step) % 3).verticalScrollBar()->setValue(top);
    m_aligning = false;
}

void StormSegmentListForm::Text3_GotFocus()
{
    // Typing replaces the preset coefficient.
    Text3->SelectAll();
}

// ------------------------------------------------------------ segment file

void StormSegmentListForm::导出_Click()
{
    exportRows();
}

bool StormSegmentListForm::exportRows()
{
    const std::optional<QString> path =
        forms::platform().fileDialog(segmentFileRequest(forms::FileDialogRequest::Mode::Save));
    if (!path || path->isEmpty())
        return false;
    if (const std::optional<QString> error = StormSegmentInputFile::Write(*path, rows())) {
        note(*error + QChar(10) + QStringLiteral("文件未写入，数据未导出！"));
        return false;
    }
    // The file holds the list as it stands.
    m_unsaved = false;
    return true;
}

bool StormSegmentListForm::offerToSaveBeforeEnd()
{
    if (!hasUnsavedRows())
        return true;
    const int answer = forms::MsgBox(QStringLiteral("是否保存数据列表？"),
                                     forms::vbYesNoCancel | forms::vbQuestion, forms::kProgramTitle);
    if (answer == forms::vbNo)
        return true;
    if (answer != forms::vbYes)
        return false;
    return exportRows();
}

void StormSegmentListForm::导入_Click()
{
    Text4->setText(QStringLiteral("0"));
    bool keepRows = false;
    if (!rows().empty()) {
        const int answer = forms::MsgBox(QStringLiteral("现有数据列表是否保留？"),
                                         forms::vbYesNoCancel | forms::vbQuestion, kWarningTitle);
        if (answer == forms::vbCancel)
            return;
        keepRows = answer == forms::vbYes;
    }

    const std::optional<QString> path =
        forms::platform().fileDialog(segmentFileRequest(forms::FileDialogRequest::Mode::Open));
    if (!path || path->isEmpty())
        return;

    // The file's rows are read and the room for them made aside; the list
    // takes them in one step once all are there. Memory that runs short on
    // the way leaves the list as it was.
    const auto refuse = [](const QString& detail) {
        note(detail + QChar(10) + QStringLiteral("数据列表未改变。"));
    };
    StormSegmentInputFile::ReadResult file;
    try {
        file = StormSegmentInputFile::Read(*path);
        if (file.status == StormSegmentInputFile::ReadStatus::Read)
            m_rows.makeRoomFor(file.rows.size(), keepRows);
    } catch (const std::bad_alloc&) {
        // The rows read go before the message is made.
        file = {};
        refuse(QStringLiteral("无法导入文件“%1”：内存不足。").arg(QDir::toNativeSeparators(*path)));
        return;
    }
    if (file.status == StormSegmentInputFile::ReadStatus::Missing) {
        note(QStringLiteral("您选择的文件并不存在，请重新选择！"));
        return;
    }
    if (file.status != StormSegmentInputFile::ReadStatus::Read) {
        refuse(file.detail);
        return;
    }
    const std::size_t count = file.rows.size();
    m_rows.take(std::move(file.rows), keepRows);
    // The list is the file's alone, or keeps the rows not yet saved.
    if (!keepRows) {
        Command1->setCaption(kAddCaption);
        m_unsaved = false;
    }
    Text4->setText(QString::number(count * 3));
    expand();
}

void StormSegmentListForm::返回_Click()
{
    form13().Show();
    Hide();
}
