// The result table of a storm sewer network design: one row per segment of
// the run, sixteen cell texts to a row, in the columns 设计管段编号 to 最大流量.
// The cells are the only store of the results: the network calculation fills
// them, the adjustment rewrites them, the report and the window read them
// back as shown.
//
// Rows are never removed: the table starts with ten rows and grows when a run
// has more segments; a later, shorter run leaves the surplus rows cleared.
// Each row keeps, besides its texts, whether it is shown, and for each cell
// whether it takes clicks (enabled), whether typing is refused (read-only)
// and its text colour.
//
// Geometry, in twips of the result window: the first-page top of row i is
// 990 + 315·i; a page is twenty rows (6300 twips); page p shows rows
// 20·(p − 1) to 20·p − 1 at the first-page tops of rows 0 to 19. The footer
// (total length and region area) stands below the last segment row.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace storm_network {

// The columns, numbered as the window's cell arrays Text1 … Text16.
enum ResultColumn : int {
    kSegmentLabel = 1,    // 设计管段编号, "1-2"
    kLength = 2,          // 管段长度, m, "0.00"
    kOwnArea = 3,         // 本段面积, ha, "0.0000"
    kTransferredArea = 4, // 转输面积, ha, "0.0000"
    kCumulativeArea = 5,  // 累计面积, ha, "0.0000"
    kFlowTime = 6,        // 汇流时间, min, "0.000"
    kPipeTime = 7,        // 管内时间, min, "0.000"
    kIntensity = 8,       // 暴雨强度, L/(s·ha), "0.00"
    kRunoff = 9,          // 径流系数, "0.000"
    kMeanRunoff = 10,     // 平均径流系数, "0.000"
    kUnitFlow = 11,       // 单位流量, L/(s·ha), "0.00"
    kDesignFlow = 12,     // 设计流量, L/s, "0.00"
    kDiameter = 13,       // 设计管径, mm, a catalogue size as listed
    kSlope = 14,          // 水力坡度, ‰, "0.0#"
    kVelocity = 15,       // 流速, m/s, "0.00"
    kCapacity = 16,       // 最大流量, L/s, "0.000"
};
inline constexpr int kResultColumns = 16;

// Text colours as the window writes them (0x00BBGGRR, or a system colour).
inline constexpr std::uint32_t kCellBlue = 0xFF0000;
inline constexpr std::uint32_t kCellRed = 0x0000FF;
inline constexpr std::uint32_t kCellButtonText = 0x80000012;
inline constexpr std::uint32_t kCellWindowText = 0x80000008;

// The display pattern of a column's cells: "0.00", "0.000", "0.0000" or
// "0.0#"; empty for 设计管段编号 and 设计管径, which are written as they are.
const QString& CellPattern(ResultColumn c);

// Writes a computed value into a cell as plain decimal text rewritten
// through the column's pattern, and returns the number the cell then shows.
// No value (and the cell untouched) for a value that is not finite.
std::optional<double> WriteShown(QString& cell, ResultColumn c, double value);

// The sixteen texts of one row, addressed by column.
struct ResultCells {
    std::array<QString, kResultColumns> texts;

    QString& operator[](ResultColumn c) { return texts[static_cast<std::size_t>(c - 1)]; }
    const QString& operator[](ResultColumn c) const { return texts[static_cast<std::size_t>(c - 1)]; }
    bool operator==(const ResultCells&) const = default;
};

// The sixteen texts of one row packed into one block of memory, about a
// tenth of sixteen separate strings: a run of 100,000 segments is held in
// some twenty megabytes.
class PackedCells {
public:
    PackedCells() = default;
    explicit PackedCells(const ResultCells& cells);
    PackedCells(const PackedCells& other);
    PackedCells& operator=(const PackedCells& other);
    PackedCells(PackedCells&&) noexcept = default;
    PackedCells& operator=(PackedCells&&) noexcept = default;

    ResultCells unpack() const;
    QString text(ResultColumn c) const;
    // The text in UTF-8, as held.
    std::string_view utf8(ResultColumn c) const;
    bool isEmpty(ResultColumn c) const { return utf8(c).empty(); }

private:
    // The sixteen end offsets of the texts, then the texts in UTF-8 one
    // after the other; no block while every text is empty.
    std::size_t blockSize() const;
    std::uint32_t end(int k) const;

    std::unique_ptr<char[]> m_block;
};

// Where a page begins and what its controls' tops are, in twips.
namespace ResultGeometry {
inline constexpr int kRowsPerPage = 20;
inline constexpr double kFirstRowTop = 990;
inline constexpr double kRowPitch = 315;
inline constexpr double kPageHeight = 6300;   // kRowsPerPage × kRowPitch
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
// The left edges of the columns: Text1 at 90 and 510 wide, the others 700
// wide every 720 from 615.
double columnLeft(ResultColumn c);
double columnWidth(ResultColumn c);
inline double rowTopOnFirstPage(int row) { return kFirstRowTop + kRowPitch * row; }
}  // namespace ResultGeometry

class ResultTable {
public:
    static constexpr int kInitialRows = 10;

    // Ten rows, row 0 shown and rows 1 to 9 hidden; in every row the label
    // cell takes clicks and is blue, the other cells take none.
    ResultTable();

    // Rows ever created, at least ten.
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    bool rowVisible(int row) const { return m_rows.at(static_cast<std::size_t>(row)).visible; }

    QString text(int row, ResultColumn c) const;
    std::string_view utf8(int row, ResultColumn c) const { return at(row).texts.utf8(c); }
    ResultCells cells(int row) const;
    // Writing a 管内时间 text that differs from the one held tells the
    // pipe-time observer.
    void setText(int row, ResultColumn c, const QString& text);
    void setCells(int row, const ResultCells& cells);

    bool enabled(int row, ResultColumn c) const;
    void setEnabled(int row, ResultColumn c, bool on);
    bool readOnly(int row, ResultColumn c) const;
    void setReadOnly(int row, ResultColumn c, bool on);
    std::uint32_t colour(int row, ResultColumn c) const;
    void setColour(int row, ResultColumn c, std::uint32_t colour);

    // Called whenever a 管内时间 text changes, whoever changes it.
    void setPipeTimeObserver(std::function<void()> observer) { m_pipeTimeObserver = std::move(observer); }

    // --- What a calculation does to the table, in this order.

    // Empties every cell of every row and shows the first page again (page
    // 1; the rows and the footer back at their first-page tops). Shown and
    // enabled states stay.
    void clearRows();
    // The number of pages for n segment rows: (n + 1) \ 20 + 1, the page of
    // row n + 1, where the footer stands.
    static int pageCountFor(int segmentCount);
    void setPageCount(int pages) { m_pageCount = pages; }
    // Makes sure rows 0 to n − 1 exist, are shown and empty, with a blue
    // label cell; new rows take no clicks but in their label cell.
    void prepareRows(int segmentCount);
    // Puts the computed rows 0 to n − 1 in place (after prepareRows(n)),
    // takes clicks away from every 设计管径, 水力坡度 and 最大流量 cell and
    // places the footer under the last one with its totals: the total length
    // and the 累计面积 of the last segment row.
    void fillRows(std::vector<PackedCells>&& rows, const QString& totalLength);

    // Rows 0 to n − 1 of the last calculation; 0 before any.
    int segmentCount() const { return m_segmentCount; }
    // The last segment row, whose 累计面积 and 设计流量 are the run's totals;
    // the highest row before any calculation.
    int lastSegmentRow() const { return m_segmentCount > 0 ? m_segmentCount - 1 : rowCount() - 1; }

    // --- Pages.
    int currentPage() const { return m_page; }
    int pageCount() const { return m_pageCount; }
    // One page on or back; false (nothing changes) at the last or first.
    bool nextPage();
    bool previousPage();
    // The first row on the page shown.
    int firstRowShown() const { return (m_page - 1) * ResultGeometry::kRowsPerPage; }
    // The top of a row where the page shown puts it.
    double rowTop(int row) const;

    // --- Footer.
    QString totalLength() const { return m_totalLength; }
    QString totalArea() const { return m_totalArea; }
    // Tops of the footer labels and of its two boxes on the page shown.
    double footerLabelTop() const;
    double footerBoxTop() const;

    // --- Adjustment mode: every 设计管径 and 水力坡度 cell takes clicks, is
    // blue and refuses typing.
    void enterAdjustmentMode();

private:
    struct Row {
        PackedCells texts;
        std::uint16_t enabled = 0;   // bit c − 1 for column c
        std::uint16_t readOnly = 0;
        bool visible = false;
        // Per cell, the place of its colour in m_colours.
        std::array<std::uint8_t, kResultColumns> colours{};
    };

    Row& at(int row) { return m_rows.at(static_cast<std::size_t>(row)); }
    const Row& at(int row) const { return m_rows.at(static_cast<std::size_t>(row)); }
    // A new row as the table creates it: hidden, only its label cell enabled.
    static Row newRow();
    double pageShift() const { return (m_page - 1) * ResultGeometry::kPageHeight; }
    void pipeTimeChanged()
    {
        if (m_pipeTimeObserver)
            m_pipeTimeObserver();
    }

    // The colour of a cell's text, as its place in m_colours (a table has
    // only a handful of colours).
    std::uint8_t colourIndex(std::uint32_t colour);

    std::vector<Row> m_rows;
    std::vector<std::uint32_t> m_colours;
    int m_page = 1;
    int m_pageCount = 1;
    int m_segmentCount = 0;
    QString m_totalLength = QStringLiteral("0");
    QString m_totalArea;
    std::function<void()> m_pipeTimeObserver;
};

}  // namespace storm_network
