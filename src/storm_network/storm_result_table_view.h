// The band of the result window between its header and its paging frame,
// where the rows of the page shown stand: twenty rows of sixteen cells, and
// the footer with the total length and the region area when it falls on the
// page. The cells show the result table model; a table of any length costs
// the same twenty rows of controls.
//
// A cell takes clicks only where the model enables it (the label cells, and
// the diameter and slope cells in the adjustment mode); a click is reported
// with the row and column of the model. Typing into a label cell writes the
// model.
#pragma once

#include "forms/controls.h"
#include "storm_network/result_table.h"

#include <QWidget>

#include <array>

class StormResultTableView : public QWidget {
    Q_OBJECT
public:
    // The rows shown on one page.
    static constexpr int kSlots = storm_network::ResultGeometry::kRowsPerPage;

    StormResultTableView(storm_network::ResultTable& table, QWidget* parent);

    // Shows the page the model is on, with the model's texts and states.
    void refresh();

    // The control showing `column` of the row in `slot` (0 to 19) of the page.
    forms::TextBox& cell(int slot, storm_network::ResultColumn column) const;
    // The control showing a row's cell, or nullptr when the row is not on
    // the page shown or not shown at all.
    forms::TextBox* cellOfRow(int row, storm_network::ResultColumn column) const;

    // The footer, moving with the rows.
    forms::Label* Label11;   // 管段长度：
    forms::TextBox* Text19;  // total length, m
    forms::Label* Label12;   // 米
    forms::Label* Label13;   // 区域面积：
    forms::TextBox* Text20;  // region area, ha
    forms::Label* Label14;   // ha

Q_SIGNALS:
    // A click on an enabled cell.
    void CellClick(int row, storm_network::ResultColumn column);

private:
    // Places a control at a top in the window's twips.
    template <class C>
    void place(C* control, double windowTop, double height)
    {
        control->setTop(windowTop - storm_network::ResultGeometry::kBandTop);
        control->setVisible(windowTop < storm_network::ResultGeometry::kBandBottom
                            && windowTop + height > storm_network::ResultGeometry::kBandTop);
    }
    void showRowInSlot(int slot, int row);
    void hideSlot(int slot);
    void typedIntoCell(int slot, storm_network::ResultColumn column, const QString& text);

    storm_network::ResultTable& m_table;
    std::array<std::array<forms::TextBox*, storm_network::kResultColumns>, kSlots> m_cells{};
    // The text colour each cell was last given (none at first).
    std::array<std::array<std::uint32_t, storm_network::kResultColumns>, kSlots> m_colours{};
    // The row each slot shows, −1 for none.
    std::array<int, kSlots> m_rows{};
    bool m_refreshing = false;
};
