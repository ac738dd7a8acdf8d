#include "storm_network/result_table.h"

#include "textio/numtext.h"

#include <QByteArray>

#include <cmath>

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

PackedCells::PackedCells(const ResultCells& cells)
{
    std::size_t size = 0;
    for (const QString& text : cells.texts)
        size += static_cast<std::size_t>(text.size());
    m_utf8.reserve(size);
    for (int k = 0; k < kResultColumns; ++k) {
        const QString& text = cells.texts[static_cast<std::size_t>(k)];
        bool ascii = true;
        for (const QChar ch : text) {
            if (ch.unicode() >= 0x80) {
                ascii = false;
                break;
            }
        }
        if (ascii) {
            for (const QChar ch : text)
                m_utf8.push_back(static_cast<char>(ch.unicode()));
        } else {
            const QByteArray utf8 = text.toUtf8();
            m_utf8.append(utf8.constData(), static_cast<std::size_t>(utf8.size()));
        }
        m_ends[static_cast<std::size_t>(k)] = static_cast<std::uint32_t>(m_utf8.size());
    }
    m_utf8.shrink_to_fit();
}

std::string_view PackedCells::utf8(ResultColumn c) const
{
    const std::size_t k = index(c);
    const std::uint32_t begin = k == 0 ? 0 : m_ends[k - 1];
    return std::string_view(m_utf8).substr(begin, m_ends[k] - begin);
}

QString PackedCells::text(ResultColumn c) const
{
    const std::string_view bytes = utf8(c);
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

bool PackedCells::isEmpty(ResultColumn c) const
{
    const std::size_t k = index(c);
    return m_ends[k] == (k == 0 ? 0 : m_ends[k - 1]);
}

ResultCells PackedCells::unpack() const
{
    ResultCells cells;
    for (int c = 1; c <= kResultColumns; ++c)
        cells[static_cast<ResultColumn>(c)] = text(static_cast<ResultColumn>(c));
    return cells;
}

// ------------------------------------------------------------ geometry

double ResultGeometry::columnLeft(ResultColumn c)
{
    return c == kSegmentLabel ? 90 : 615 + 720 * (c - 2);
}

double ResultGeometry::columnWidth(ResultColumn c)
{
    return c == kSegmentLabel ? 510 : 700;
}

// ------------------------------------------------------------ ResultTable

ResultTable::Row ResultTable::newRow()
{
    Row row;
    row.enabled = bit(kSegmentLabel);
    row.colours.fill(kCellWindowText);
    row.colours[index(kSegmentLabel)] = kCellBlue;
    return row;
}

ResultTable::ResultTable()
{
    m_rows.assign(kInitialRows, newRow());
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

std::uint32_t ResultTable::colour(int row, ResultColumn c) const
{
    return at(row).colours[index(c)];
}

void ResultTable::setColour(int row, ResultColumn c, std::uint32_t colour)
{
    at(row).colours[index(c)] = colour;
}

void ResultTable::clearRows()
{
    bool pipeTimeCleared = false;
    for (Row& row : m_rows) {
        pipeTimeCleared = pipeTimeCleared || !row.texts.isEmpty(kPipeTime);
        row.texts = PackedCells();
    }
    m_page = 1;
    if (pipeTimeCleared)
        pipeTimeChanged();
}

int ResultTable::pageCountFor(int segmentCount)
{
    return (segmentCount + 1) / ResultGeometry::kRowsPerPage + 1;
}

void ResultTable::prepareRows(int segmentCount)
{
    bool pipeTimeCleared = false;
    for (int i = 1; i < segmentCount; ++i) {
        if (i >= rowCount())
            m_rows.push_back(newRow());
        Row& row = at(i);
        row.visible = true;
        row.colours[index(kSegmentLabel)] = kCellBlue;
        pipeTimeCleared = pipeTimeCleared || !row.texts.isEmpty(kPipeTime);
        row.texts = PackedCells();
    }
    if (pipeTimeCleared)
        pipeTimeChanged();
}

void ResultTable::fillRows(std::vector<PackedCells>&& rows, const QString& totalLength)
{
    const int n = static_cast<int>(rows.size());
    if (n > rowCount())
        prepareRows(n);
    bool pipeTimeWritten = false;
    for (int i = 0; i < n; ++i) {
        pipeTimeWritten = pipeTimeWritten || !rows[static_cast<std::size_t>(i)].isEmpty(kPipeTime);
        at(i).texts = std::move(rows[static_cast<std::size_t>(i)]);
    }
    for (Row& row : m_rows)
        row.enabled &= static_cast<std::uint16_t>(~(bit(kDiameter) | bit(kSlope) | bit(kCapacity)));
    m_segmentCount = n;
    m_totalLength = totalLength;
    m_totalArea = n > 0 ? text(n - 1, kCumulativeArea) : QString();
    if (pipeTimeWritten)
        pipeTimeChanged();
}

bool ResultTable::nextPage()
{
    if (m_page >= m_pageCount)
        return false;
    ++m_page;
    return true;
}

bool ResultTable::previousPage()
{
    if (m_page <= 1)
        return false;
    --m_page;
    return true;
}

double ResultTable::rowTop(int row) const
{
    return ResultGeometry::rowTopOnFirstPage(row) - pageShift();
}

double ResultTable::footerLabelTop() const
{
    const double firstPage = m_segmentCount > 0
                                 ? ResultGeometry::rowTopOnFirstPage(m_segmentCount - 1)
                                       + ResultGeometry::kFooterBelowRow
                                 : ResultGeometry::kFooterDesignLabelTop;
    return firstPage - pageShift();
}

double ResultTable::footerBoxTop() const
{
    if (m_segmentCount == 0)
        return ResultGeometry::kFooterDesignBoxTop - pageShift();
    return footerLabelTop() - ResultGeometry::kFooterBoxRaise;
}

void ResultTable::enterAdjustmentMode()
{
    for (Row& row : m_rows) {
        for (const ResultColumn c : {kDiameter, kSlope}) {
            row.enabled |= bit(c);
            row.readOnly |= bit(c);
            row.colours[index(c)] = kCellBlue;
        }
    }
}

}  // namespace storm_network
