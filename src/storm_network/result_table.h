// The result table of a storm sewer network design: one row per segment of
// the run, sixteen cell texts to a row, in the columns 设计管段编号 to 最大流量.
// The cells are the only store of the results: the network calculation fills
// them, the adjustment rewrites them, the report and the window read them
// back as shown.
//
// Rows are never removed: the table starts with ten rows and grows when a run
// has more segments; a later, shorter run leaves the surplus rows cleared and
// hidden.
// Each row keeps, besides its texts, the states the design rules decide:
// whether it is shown, for each cell whether it takes clicks (enabled) and
// whether typing is refused (read-only), and what the capacity check of an
// adjustment found. How a row looks and which page shows it is its view's.
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

// What the capacity check of an adjusted row found: none made since the
// row was computed, a capacity below the design flow as shown (the capacity
// then takes clicks but no typing, so that it can be read), or one that
// carries it.
enum class CapacityCheck : std::uint8_t { None, Short, Carried };

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

class ResultTable {
public:
    static constexpr int kInitialRows = 10;

    // Ten rows, row 0 shown and rows 1 to 9 hidden; in every row the label
    // cell takes clicks, the other cells take none.
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
    CapacityCheck capacityCheck(int row) const { return at(row).capacity; }
    void setCapacityCheck(int row, CapacityCheck check) { at(row).capacity = check; }

    // Called whenever a 管内时间 text changes, whoever changes it.
    void setPipeTimeObserver(std::function<void()> observer) { m_pipeTimeObserver = std::move(observer); }

    // Empties every cell of every row and forgets the capacity checks (a
    // calculation starts so, also one that is refused). Shown and enabled
    // states stay.
    void clearRows();
    // A calculation's rows 0 to n − 1: the table cleared, rows created up to
    // n and shown, every row past them hidden, the rows put in place, every
    // 设计管径, 水力坡度 and 最大流量 cell made to take no clicks, and the
    // totals: the total length and the 累计面积 of the last row.
    void takeRun(std::vector<PackedCells>&& rows, const QString& totalLength);

    // Rows 0 to n − 1 of the last calculation; 0 before any.
    int segmentCount() const { return m_segmentCount; }
    // The last segment row, whose 累计面积 and 设计流量 are the run's totals;
    // the highest row before any calculation.
    int lastSegmentRow() const { return m_segmentCount > 0 ? m_segmentCount - 1 : rowCount() - 1; }

    QString totalLength() const { return m_totalLength; }
    QString totalArea() const { return m_totalArea; }

    // Adjustment mode: every 设计管径 and 水力坡度 cell takes clicks and
    // refuses typing, until the next calculation.
    void enterAdjustmentMode();

private:
    struct Row {
        PackedCells texts;
        std::uint16_t enabled = 0;   // bit c − 1 for column c
        std::uint16_t readOnly = 0;
        bool visible = false;
        CapacityCheck capacity = CapacityCheck::None;
    };

    Row& at(int row) { return m_rows.at(static_cast<std::size_t>(row)); }
    const Row& at(int row) const { return m_rows.at(static_cast<std::size_t>(row)); }
    // A new row as the table creates it: hidden, only its label cell enabled.
    static Row newRow();
    void pipeTimeChanged()
    {
        if (m_pipeTimeObserver)
            m_pipeTimeObserver();
    }

    std::vector<Row> m_rows;
    int m_segmentCount = 0;
    QString m_totalLength = QStringLiteral("0");
    QString m_totalArea;
    std::function<void()> m_pipeTimeObserver;
};

}  // namespace storm_network
