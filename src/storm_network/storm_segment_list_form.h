// The segment list window `Form14` of the storm sewer network design: the
// segments of the run in flow order, first segment first, each with its
// length, own catchment area and runoff coefficient. The rows are held once,
// in rows(); the three list boxes `List1(0)`, `List1(1)` and `List1(2)` show
// its three columns side by side, keep the same row selected and scroll as
// one, so that a row always stands on one line. The boxes show the rows
// themselves, not copies, so they cannot differ in their count. Rows are
// added, updated and deleted here, and exported to and imported from a
// segment file (storm_in.txt).
//
// The window is opened beside the network window `form13` and is only ever
// hidden: its close box does nothing.
#pragma once

#include "forms/column_list_box.h"
#include "forms/form.h"
#include "storm_network/segment_row_model.h"
#include "storm_network/segment_rows.h"

#include <vector>

class StormSegmentListForm : public forms::Form {
    Q_OBJECT
public:
    StormSegmentListForm();

    // Outer heights (twips): only the input frame, or the list below it too.
    static constexpr double kCollapsedHeight = 2500;
    static constexpr double kExpandedHeight = 8000;

    // The segments, first segment first.
    const std::vector<storm_network::SegmentRow>& rows() const { return m_rows.rows(); }
    // Empties the list without a question.
    void clearRows();

    // Whether the list holds segments typed, updated or deleted since it was
    // last imported or exported: work the end of the program would lose.
    bool hasUnsavedRows() const { return m_unsaved && !rows().empty(); }
    // Before the program ends: with unsaved rows, asks "是否保存数据列表？";
    // Yes exports the list as 导出 does. True when the program may end (No,
    // the list exported, or nothing to lose); false to keep it running
    // (Cancel, the save dialog cancelled, or the export failed).
    bool offerToSaveBeforeEnd();

    // Opens the window for entering segments, as the network window's
    // "输 入" does: expanded and centred when it holds rows, else collapsed
    // in add mode; then the input boxes are ready for a new segment with the
    // network window's runoff coefficient preset.
    void openForInput();

    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;

    void Command1_Click();  // 确  定 / 更  新
    void Command2_Click();  // 查  看 / 返  回
    void Command3_Click();  // 取  消
    void Command4_Click();  // 清除全部
    void Command5_Click();  // 清  除
    void List1_Click(int index);
    void Text3_GotFocus();
    void 导入_Click();
    void 导出_Click();
    void 清除_Click();
    // 返回程序: back to the network window; the rows stay.
    void 返回_Click();

    // 数据输入
    forms::Frame* Frame2;
    // 0: the length box's label; 1: the length column's heading.
    forms::ControlArray<forms::Label> Label1;
    forms::TextBox* Text1;  // length, m
    forms::Label* Label2;
    forms::TextBox* Text2;  // own catchment area, m²
    forms::Label* Label3;
    forms::TextBox* Text3;  // runoff coefficient Ψ
    // The mode is its caption: "确  定" adds a row, "更  新" rewrites the
    // selected one.
    forms::CommandButton* Command1;
    // The size is its caption: "查  看" collapsed, "返  回" expanded.
    forms::CommandButton* Command2;
    forms::CommandButton* Command3;

    // 数据列表
    forms::Frame* Frame1;
    forms::Label* Label4;
    forms::Label* Label5;
    // 0: lengths (m), 1: catchment areas (m²), 2: runoff coefficients;
    // the columns of rows().
    forms::ControlArray<forms::ColumnListBox> List1;
    forms::CommandButton* Command5;
    forms::CommandButton* Command4;

    // Lines read by the last import, never shown.
    forms::TextBox* Text4;

    forms::MenuItem* 导入;
    forms::MenuItem* 导出;
    forms::MenuItem* 清除;
    forms::MenuItem* 返回;

private:
    // Connects the controls' events to their handlers, once the window is built.
    void connectHandlers();
    // The runoff coefficient offered for a new segment: the network window's.
    static QString defaultRunoff();
    // The input boxes ready for a new segment.
    void prepareNewSegment();
    void expand();
    // The row selected in the three columns, or -1.
    int selectedRow() const;
    // The input boxes take the texts of `row`; nothing for no row.
    void showRow(int row);
    // Row r of the list is item r of every column: scrolling `column` to
    // the top row `top` scrolls the other two there.
    void alignColumns(int column, int top);
    // Whether the three input boxes hold values a segment file keeps as
    // they are; else says why under "提示" and puts the focus in the box.
    bool valuesFitTheFile();
    // Asks under "警告" before rows are deleted; true to go on.
    static bool confirmDeletion(const QString& question);
    // The export of 导出: the save dialog, then the segment file; true when
    // the file was written.
    bool exportRows();

    // The segments, shown by the three columns.
    storm_network::SegmentRowModel m_rows;
    // True while one column's selection is being copied to the others.
    bool m_selecting = false;
    // True while one column's top row is being copied to the others.
    bool m_aligning = false;
    // Whether the window has been placed beside the network window yet.
    bool m_placed = false;
    // Rows typed, updated or deleted since the last import or export.
    bool m_unsaved = false;
};
