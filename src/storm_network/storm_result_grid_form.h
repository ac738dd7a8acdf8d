// The result table window `Form15` ("雨水计算输出程序") of the storm sewer
// network design: the rows of the last network calculation, twenty to a
// page, with the total length and the region area below the last segment;
// menus to save the report (保存), to enter the adjustment mode in which a
// click on a diameter or slope cell opens the adjustment dialog (调整), and to
// go back to the network window (返回). Its close box is refused.
//
// The cells live in a result table model (result_table.h); the band between
// the header and the paging frame shows the page the model is on.
#pragma once

#include "forms/form.h"
#include "storm_network/result_table.h"
#include "storm_network/storm_network_report.h"

#include <vector>

class StormResultTableView;

class StormResultGridForm : public forms::Form {
    Q_OBJECT
public:
    StormResultGridForm();

    void Form_Load() override;
    // Closing from the title bar leaves the window shown.
    void Form_QueryUnload(int& cancel, int unloadMode) override;

    // <<上一页 and 下一页>>.
    void Command1_Click();
    void Command2_Click();
    // The menus.
    void 保存_Click();
    void 调整_Click();
    void 返回_Click();
    // A click on the 设计管径 or 水力坡度 cell of row `index` (adjustment mode).
    void Text13_Click(int index);
    void Text14_Click(int index);

    // --- What a network calculation does to the table.
    // Empties every row and shows the first page again, before anything is
    // checked: a refused run leaves the table so.
    void ClearResultRows();
    // The computed rows 0 to n − 1 on the first page, with their page count
    // and the totals below the last one, and the table marked as not saved.
    void showRun(std::vector<storm_network::PackedCells>&& rows, const QString& totalLength);

    // The table after an adjustment wrote its cells: shown again, and
    // marked as not saved when any of its texts changed (and only then).
    void showAdjustment(bool changed);

    // The cells of the table, every row it ever created.
    storm_network::ResultTable& table() { return m_table; }
    const storm_network::ResultTable& table() const { return m_table; }
    StormResultTableView& view() const { return *m_view; }
    // Brings the page indicator and the rows shown up to date with the
    // table, after its cells were written.
    void refresh();


    forms::MenuItem* 保存;
    forms::MenuItem* 调整;
    forms::MenuItem* 返回;

    // Header band.
    forms::Frame* Frame2;
    forms::Label* Label1;
    forms::Label* Label2;
    forms::Label* Label3;
    forms::Label* Label4;

    // Paging band.
    forms::Frame* Frame1;
    forms::CommandButton* Command1;  // <<上一页
    forms::CommandButton* Command2;  // 下一页>>
    forms::Label* Label5;            // 第
    forms::Label* Label6;            // the page shown
    forms::Label* Label7;            // 页
    forms::Label* Label9;            // 共
    forms::Label* Label10;           // the page count
    forms::Label* Label8;            // 页

    // Footer, in the rows' band.
    forms::Label* Label11;
    forms::TextBox* Text19;  // total length, m
    forms::Label* Label12;
    forms::Label* Label13;
    forms::TextBox* Text20;  // region area, ha
    forms::Label* Label14;

    // Saved flag, never shown: "0" not saved since the table last changed.
    forms::TextBox* Text22;

Q_SIGNALS:
    // The adjustment dialog is to show row `row`, with the focus on its
    // diameter (kDiameter) or its slope (kSlope).
    void AdjustmentRequested(int row, storm_network::ResultColumn focus);

private:
    // Connects the controls' events to their handlers, once the window is built.
    void connectHandlers();
    enum class SaveOutcome { Saved, Cancelled, Failed };
    // The save dialog and the report; a failure is told in a message box.
    SaveOutcome saveReport();
    void openAdjustment(int row, storm_network::ResultColumn focus);

    storm_network::ResultTable m_table;
    StormResultTableView* m_view;
};
