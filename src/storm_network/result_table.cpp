#include "storm_network/result_table.h"

#include "textio/numtext.h"

#include <QByteArray>

#include <cmath>
#include <cstring>

namespace storm_network {

namespace {

std::uint16_t bit(ResultColumn c)
{
    return static_cast<std::uint16_t>(1u << (c - 1));
}

std::size_t index(ResultColumn c)
{
    return static_cast<std::size_t>(c - 1);
}

}  // namespace

// ------------------------------------------------------------ cell texts

const QString& CellPattern(ResultColumn c)
{
    static const std::array<QString, kResultColumns> patterns = {
        QString(),                   // 设计管段编号
        QStringLiteral("0.00"),      // 管段长度
        QStringLiteral("0.0000"),    // 本段面积
        QStringLiteral("0.0000"),    // 转输面积
        QStringLiteral("0.0000"),    // 累计面积
        QStringLiteral("0.000"),     // 汇流时间
        QStringLiteral("0.000"),     // 管内时间
        QStringLiteral("0.00"),      // 暴雨强度
        QStringLiteral("0.000"),     // 径流系数
        QStringLiteral("0.000"),     // 平均径流系数
        QStringLiteral("0.00"),      // 单位流量
        QStringLiteral("0.00"),      // 设计流量
        QString(),                   // 设计管径
        QStringLiteral("0.0#"),      // 水力坡度
        QStringLiteral("0.00"),      // 流速
        QStringLiteral("0.000"),     // 最大流量
    };
    return patterns[index(c)];
}

std::optional<double> WriteShown(QString& cell, ResultColumn c, double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    // Formatting the value with the pattern gives the same text as writing
    // its plain decimal text (15 significant digits) and formatting that:
    // the pattern rounds the same 15 digits either way.
    cell = textio::formatNumber(value, CellPattern(c));
    return textio::readNumber(cell);
}

// ------------------------------------------------------------ PackedCells

namespace {
constexpr std::size_t kEndsSize = kResultColumns * sizeof(std::uint32_t);
}

PackedCells::PackedCells(const ResultCells& cells)
{
    // Cell texts are digits and points but for what the engineer types:
    // ASCII texts are copied as they are, the others converted.
    std::array<QByteArray, kResultColumns> converted;
    std::array<std::uint32_t, kResultColumns> lengths{};
    std::size_t size = 0;
    for (std::size_t k = 0; k < lengths.size(); ++k) {
        const QString& text = cells.texts[k];
        bool ascii = true;
        for (const QChar ch : text)
            ascii = ascii && ch.unicode() < 0x80;
        if (!ascii)
            converted[k] = text.toUtf8();
        lengths[k] = static_cast<std::uint32_t>(ascii ? text.size() : converted[k].size());
        size += lengths[k];
    }
    if (size == 0)
        return;
    m_block = std::make_unique_for_overwrite<char[]>(kEndsSize + size);
    char* out = m_block.get() + kEndsSize;
    std::uint32_t offset = 0;
    for (std::size_t k = 0; k < lengths.size(); ++k) {
        if (converted[k].isNull()) {
            for (const QChar ch : cells.texts[k])
                *out++ = static_cast<char>(ch.unicode());
        } else {
            std::memcpy(out, converted[k].constData(), lengths[k]);
            out += lengths[k];
        }
        offset += lengths[k];
        std::memcpy(m_block.get() + k * sizeof offset, &offset, sizeof offset);
    }
}

PackedCells::PackedCells(const PackedCells& other)
{
    *this = other;
}

PackedCells& PackedCells::operator=(const PackedCells& other)
{
    if (this == &other)
        return *this;
    if (!other.m_block) {
        m_block.reset();
        return *this;
    }
    const std::size_t size = other.blockSize();
    m_block = std::make_unique_for_overwrite<char[]>(size);
    std::memcpy(m_block.get(), other.m_block.get(), size);
    return *this;
}

std::uint32_t PackedCells::end(int k) const
{
    std::uint32_t value = 0;
    std::memcpy(&value, m_block.get() + static_cast<std::size_t>(k) * sizeof value, sizeof value);
    return value;
}

std::size_t PackedCells::blockSize() const
{
    return m_block ? kEndsSize + end(kResultColumns - 1) : 0;
}

std::string_view PackedCells::utf8(ResultColumn c) const
{
    if (!m_block)
        return {};
    const int k = c - 1;
    const std::uint32_t begin = k == 0 ? 0 : end(k - 1);
    return std::string_view(m_block.get() + kEndsSize + begin, end(k) - begin);
}

QString PackedCells::text(ResultColumn c) const
{
    const std::string_view bytes = utf8(c);
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

ResultCells PackedCells::unpack() const
{
    ResultCells cells;
    for (int c = 1; c <= kResultColumns; ++c)
        cells[static_cast<ResultColumn>(c)] = text(static_cast<ResultColumn>(c));
    return cells;
}

// ------------------------------------------------------------ ResultTable

ResultTable::Row ResultTable::newRow()
{
    Row row;
    row.enabled = bit(kSegmentLabel);
    return row;
}

ResultTable::ResultTable()
{
    for (int i = 0; i < kInitialRows; ++i)
        m_rows.push_back(newRow());
    m_rows.front().visible = true;
}

QString ResultTable::text(int row, ResultColumn c) const
{
    return at(row).texts.text(c);
}

ResultCells ResultTable::cells(int row) const
{
    return at(row).texts.unpack();
}

void ResultTable::setText(int row, ResultColumn c, const QString& text)
{
    ResultCells all = cells(row);
    if (all[c] == text)
        return;
    all[c] = text;
    at(row).texts = PackedCells(all);
    if (c == kPipeTime)
        pipeTimeChanged();
}

void ResultTable::setCells(int row, const ResultCells& cells)
{
    Row& r = at(row);
    const bool pipeTimeDiffers = r.texts.text(kPipeTime) != cells[kPipeTime];
    r.texts = PackedCells(cells);
    if (pipeTimeDiffers)
        pipeTimeChanged();
}

bool ResultTable::enabled(int row, ResultColumn c) const
{
    return (at(row).enabled & bit(c)) != 0;
}

void ResultTable::setEnabled(int row, ResultColumn c, bool on)
{
    Row& r = at(row);
    r.enabled = on ? (r.enabled | bit(c)) : (r.enabled & ~bit(c));
}

bool ResultTable::readOnly(int row, ResultColumn c) const
{
    return (at(row).readOnly & bit(c)) != 0;
}

void ResultTable::setReadOnly(int row, ResultColumn c, bool on)
{
    Row& r = at(row);
    r.readOnly = on ? (r.readOnly | bit(c)) : (r.readOnly & ~bit(c));
}

void ResultTable::clearRows()
{
    bool pipeTimeCleared = false;
    for (Row& row : m_rows) {
        pipeTimeCleared = pipeTimeCleared || !row.texts.isEmpty(kPipeTime);
        row.texts = PackedCells();
        row.capacity = CapacityCheck::None;
    }
    if (pipeTimeCleared)
        pipeTimeChanged();
}

void ResultTable::takeRun(std::vector<PackedCells>&& rows, const QString& totalLength)
{
    clearRows();
    const int n = static_cast<int>(rows.size());
    while (rowCount() < n)
        m_rows.push_back(newRow());
    // The run's rows are shown; the rows an earlier, longer run or the
    // initial layout made and this run does not use are hidden (row 0
    // stays, the table's first row).
    for (int i = 1; i < rowCount(); ++i)
        at(i).visible = i < n;
    at(0).visible = true;
    bool pipeTimeWritten = false;
    for (int i = 0; i < n; ++i) {
        Row& row = at(i);
        pipeTimeWritten = pipeTimeWritten || !rows[static_cast<std::size_t>(i)].isEmpty(kPipeTime);
        row.texts = std::move(rows[static_cast<std::size_t>(i)]);
    }
    for (Row& row : m_rows)
        row.enabled &= static_cast<std::uint16_t>(~(bit(kDiameter) | bit(kSlope) | bit(kCapacity)));
    m_segmentCount = n;
    m_totalLength = totalLength;
    m_totalArea = n > 0 ? text(n - 1, kCumulativeArea) : QString();
    if (pipeTimeWritten)
        pipeTimeChanged();
}

void ResultTable::enterAdjustmentMode()
{
    for (Row& row : m_rows) {
        for (const ResultColumn c : {kDiameter, kSlope}) {
            row.enabled |= bit(c);
            row.readOnly |= bit(c);
        }
    }
}

}  // namespace storm_network
