#include "storm_network/storm_result_table_view.h"

#include "storm_network/storm_network_report.h"
#include "forms/form.h"
#include "forms/handler.h"

#include <QFontMetricsF>

using namespace storm_network;

double storm_network::ResultGeometry::columnLeft(ResultColumn c)
{
    return c == kSegmentLabel ? 90 : 975 + kColumnPitch * (c - 2);
}

double storm_network::ResultGeometry::columnWidth(ResultColumn c)
{
    return c == kSegmentLabel ? 870 : 930;
}

QFont StormResultTableView::headingFont()
{
    // A Chinese character takes two columns, as in the report. The face of
    // 12 pixels has 6-pixel columns: drawn a third wider, and the rest of a
    // pixel made up between characters, its columns are eight pixels.
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans Mono CJK SC"), QStringLiteral("WenQuanYi Zen Hei Mono"),
                      QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(12);
    font.setStretch(133);
    const qreal column = forms::px(ResultGeometry::kHeadingColumn);
    font.setLetterSpacing(QFont::AbsoluteSpacing,
                          column - QFontMetricsF(font).horizontalAdvance(QLatin1Char('0')));
    return font;
}

StormResultTableView::StormResultTableView(ResultTable& table, QWidget* parent)
    : QWidget(parent)
    , m_table(table)
{
    m_rows.fill(-1);
    // No colour value the table uses: every cell gets its first colour.
    for (auto& slotColours : m_colours)
        slotColours.fill(0xFFFFFFFF);
    for (int slot = 0; slot < kSlots; ++slot) {
        const double top = ResultGeometry::kFirstRowTop + ResultGeometry::kRowPitch * slot
                           - ResultGeometry::kBandTop;
        for (int c = 1; c <= kResultColumns; ++c) {
            const auto column = static_cast<ResultColumn>(c);
            const QByteArray name = "Text" + QByteArray::number(c);
            auto* box = forms::makeControl<forms::TextBox>(
                this, name.constData(), ResultGeometry::columnLeft(column), top,
                ResultGeometry::columnWidth(column), ResultGeometry::kCellHeight);
            QFont font = box->font();
            font.setPixelSize(ResultGeometry::kCellFontPixels);
            box->setFont(font);
            box->hide();
            m_cells[static_cast<std::size_t>(slot)][static_cast<std::size_t>(c - 1)] = box;
            forms::connectHandler(box, &forms::TextBox::Click, this, [this, slot, column] {
                const int row = m_rows[static_cast<std::size_t>(slot)];
                if (row >= 0 && m_table.enabled(row, column))
                    Q_EMIT CellClick(row, column);
            });
            forms::connectHandler(box, &QLineEdit::textEdited, this, [this, slot, column](const QString& text) {
                typedIntoCell(slot, column, text);
            });
        }
    }

    // The totals of a long run, "9990000" m and "8888.8888" ha, shown whole;
    // the words after them move right by as much as the boxes grew.
    constexpr double totalWidth = 1050;
    constexpr double grown = totalWidth - 700;
    forms::putIn(Label11, this, {"Label11", 90, 0, 915, 0, kFooterLengthWord});
    forms::putIn(Text19, this, {"Text19", 1035, 0, totalWidth});
    Text19->setEnabled(false);
    forms::putIn(Label12, this, {"Label12", 1845 + grown, 0, 285, 0, kFooterLengthUnit});
    forms::putIn(Label13, this, {"Label13", 2250 + grown, 0, 915, 0, kFooterAreaWord});
    forms::putIn(Text20, this, {"Text20", 3150 + grown, 0, totalWidth});
    Text20->setEnabled(false);
    forms::putIn(Label14, this, {"Label14", 3960 + 2 * grown, 0, 285, 0, kFooterAreaUnit});
}

forms::TextBox& StormResultTableView::cell(int slot, ResultColumn column) const
{
    return *m_cells.at(static_cast<std::size_t>(slot)).at(static_cast<std::size_t>(column - 1));
}

forms::TextBox* StormResultTableView::cellOfRow(int row, ResultColumn column) const
{
    for (int slot = 0; slot < kSlots; ++slot) {
        if (m_rows[static_cast<std::size_t>(slot)] == row && row >= 0)
            return &cell(slot, column);
    }
    return nullptr;
}

int StormResultTableView::pageCountFor(int segmentCount)
{
    return (segmentCount + 1) / ResultGeometry::kRowsPerPage + 1;
}

void StormResultTableView::showRun()
{
    m_pageCount = pageCountFor(m_table.segmentCount());
    m_page = 1;
}

bool StormResultTableView::nextPage()
{
    if (m_page >= m_pageCount)
        return false;
    ++m_page;
    return true;
}

bool StormResultTableView::previousPage()
{
    if (m_page <= 1)
        return false;
    --m_page;
    return true;
}

double StormResultTableView::rowTop(int row) const
{
    return ResultGeometry::rowTopOnFirstPage(row) - pageShift();
}

double StormResultTableView::footerLabelTop() const
{
    const int n = m_table.segmentCount();
    const double firstPage = n > 0 ? ResultGeometry::rowTopOnFirstPage(n - 1)
                                         + ResultGeometry::kFooterBelowRow
                                   : ResultGeometry::kFooterDesignLabelTop;
    return firstPage - pageShift();
}

double StormResultTableView::footerBoxTop() const
{
    if (m_table.segmentCount() == 0)
        return ResultGeometry::kFooterDesignBoxTop - pageShift();
    return footerLabelTop() - ResultGeometry::kFooterBoxRaise;
}

std::uint32_t StormResultTableView::cellColour(int row, ResultColumn column) const
{
    switch (column) {
    case kSegmentLabel:
        return forms::vbBlue;
    case kDiameter:
    case kSlope:
        // Only the adjustment mode lets them take clicks.
        return m_table.enabled(row, column) ? forms::vbBlue : forms::vbWindowText;
    case kCapacity:
        switch (m_table.capacityCheck(row)) {
        case CapacityCheck::Short:
            return forms::vbRed;
        case CapacityCheck::Carried:
            return forms::vbButtonText;
        case CapacityCheck::None:
            break;
        }
        return forms::vbWindowText;
    default:
        return forms::vbWindowText;
    }
}

void StormResultTableView::refresh()
{
    m_refreshing = true;
    const int first = firstRowShown();
    for (int slot = 0; slot < kSlots; ++slot) {
        const int row = first + slot;
        if (row < m_table.rowCount() && m_table.rowVisible(row))
            showRowInSlot(slot, row);
        else
            hideSlot(slot);
    }

    Text19->setText(m_table.totalLength());
    Text20->setText(m_table.totalArea());
    const double labelTop = footerLabelTop();
    const double boxTop = footerBoxTop();
    for (forms::Label* label : {Label11, Label12, Label13, Label14})
        place(label, labelTop, label->Height());
    for (forms::TextBox* box : {Text19, Text20})
        place(box, boxTop, box->Height());
    m_refreshing = false;
}

void StormResultTableView::showRowInSlot(int slot, int row)
{
    m_rows[static_cast<std::size_t>(slot)] = row;
    const double top = rowTop(row);
    for (int c = 1; c <= kResultColumns; ++c) {
        const auto column = static_cast<ResultColumn>(c);
        forms::TextBox& box = cell(slot, column);
        box.setProperty("Index", row);
        box.setText(m_table.text(row, column));
        box.setCursorPosition(0);
        box.setEnabled(m_table.enabled(row, column));
        box.setLocked(m_table.readOnly(row, column));
        std::uint32_t& shownColour =
            m_colours[static_cast<std::size_t>(slot)][static_cast<std::size_t>(c - 1)];
        const std::uint32_t colour = cellColour(row, column);
        if (colour != shownColour) {
            box.setForeColor(colour);
            shownColour = colour;
        }
        place(&box, top, ResultGeometry::kCellHeight);
    }
}

void StormResultTableView::hideSlot(int slot)
{
    m_rows[static_cast<std::size_t>(slot)] = -1;
    for (int c = 1; c <= kResultColumns; ++c) {
        forms::TextBox& box = cell(slot, static_cast<ResultColumn>(c));
        box.setProperty("Index", -1);
        box.hide();
    }
}

void StormResultTableView::typedIntoCell(int slot, ResultColumn column, const QString& text)
{
    const int row = m_rows[static_cast<std::size_t>(slot)];
    if (m_refreshing || row < 0 || m_table.readOnly(row, column))
        return;
    m_table.setText(row, column, text);
}
