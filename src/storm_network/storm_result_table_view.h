// The band of the result window between its header and its paging frame,
// where the rows of the page shown stand: twenty rows of sixteen cells, and
// the footer with the total length and the region area when it falls on the
// page. The cells show the result table model; a table of any length costs
// the same twenty rows of controls.
//
// A cell takes clicks only where the model enables it (the label cells, and
// the diameter and slope cells in the adjustment mode); a click is reported
// with the row and column of the model. Typing into a label cell writes the
// model. The view keeps the page shown and the page count, and gives the
// cells their colours from the states the model holds: label cells and the
// cells of the adjustment mode blue, a capacity short of its design flow red.
#pragma once

#include "forms/controls.h"
#include "storm_network/result_table.h"

#include <QFont>
#include <QWidget>

#include <array>
#include <cstdint>

namespace storm_network {

// Where a page begins and what its controls' tops are, in twips of the
// result window: the first-page top of row i is 990 + 315·i; a page is
// twenty rows (6300 twips); page p shows rows 20·(p − 1) to 20·p − 1 at the
// first-page tops of rows 0 to 19. The footer (total length and region
// area) stands below the last segment row.
//
// Across, the columns stand under their headings, which are lines of a
// monospaced face, eight columns of it to a table column: the cells are as
// wide as a design's longest texts ("999-1000", "8888.8888", "82312.621")
// in the cells' face, and the headings are drawn as wide as the cells'
// pitch.
namespace ResultGeometry {
// The client width of the result window, wide enough for sixteen columns.
inline constexpr double kWindowWidth = 15450;
// One column of the heading lines (8 pixels), and where they begin.
inline constexpr double kHeadingColumn = 120;
inline constexpr double kHeadingLeft = 300;
// From one table column to the next: eight heading columns.
inline constexpr double kColumnPitch = 8 * kHeadingColumn;
// The cells' face, in pixels.
inline constexpr int kCellFontPixels = 11;
inline constexpr int kRowsPerPage = 20;
inline constexpr double kFirstRowTop = 990;
inline constexpr double kRowPitch = 315;
inline constexpr double kPageHeight = kRowsPerPage * kRowPitch;
inline constexpr double kCellHeight = 300;
// The band between the header and the bottom frame where rows show.
inline constexpr double kBandTop = 955;
inline constexpr double kBandBottom = 7290;
// The footer labels stand 675 below the top of the last segment row's label
// cell, its two boxes 45 above the labels.
inline constexpr double kFooterBelowRow = 675;
inline constexpr double kFooterBoxRaise = 45;
// Where the footer stands before any calculation.
inline constexpr double kFooterDesignLabelTop = 4455;
inline constexpr double kFooterDesignBoxTop = 4410;
// The left edges of the columns: Text1 at 90 and 870 wide, the others 930
// wide every 960 (eight heading columns) from 975, each centred under its
// heading's first word.
double columnLeft(ResultColumn c);
double columnWidth(ResultColumn c);
inline double rowTopOnFirstPage(int row) { return kFirstRowTop + kRowPitch * row; }
}  // namespace ResultGeometry

}  // namespace storm_network

class StormResultTableView : public QWidget {
    Q_OBJECT
public:
    // The rows shown on one page.
    static constexpr int kSlots = storm_network::ResultGeometry::kRowsPerPage;

    StormResultTableView(storm_network::ResultTable& table, QWidget* parent);

    // The number of pages for n segment rows: (n + 1) \ 20 + 1, the page of
    // row n + 1, where the footer stands.
    static int pageCountFor(int segmentCount);

    // The page shown and the page count; refresh() then shows them.
    // The first page again, the rows and the footer at their first-page
    // tops (every calculation, also a refused one); the page count stays.
    void showFirstPage() { m_page = 1; }
    // The run the model holds: its page count, on its first page.
    void showRun();

    int currentPage() const { return m_page; }
    int pageCount() const { return m_pageCount; }
    // One page on or back; false (nothing changes) at the last or first.
    bool nextPage();
    bool previousPage();
    // The first row on the page shown.
    int firstRowShown() const { return (m_page - 1) * storm_network::ResultGeometry::kRowsPerPage; }
    // The top of a row where the page shown puts it, in the window's twips.
    double rowTop(int row) const;
    // Tops of the footer labels and of its two boxes on the page shown.
    double footerLabelTop() const;
    double footerBoxTop() const;

    // Shows the page, with the model's texts and states.
    void refresh();

    // The face of the heading lines: a monospaced face whose half-width
    // characters are one heading column wide.
    static QFont headingFont();

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
    double pageShift() const { return (m_page - 1) * storm_network::ResultGeometry::kPageHeight; }
    // The colour of a cell's text from the model's states.
    std::uint32_t cellColour(int row, storm_network::ResultColumn column) const;
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
    int m_page = 1;
    int m_pageCount = 1;
};
