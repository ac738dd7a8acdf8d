// Catalogue rows keyed by a size text ("DN50", "DN300X100"), as the size
// lists show it: the first row whose size equals the text exactly (case,
// blanks and every character significant) is the row of that size.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <span>

namespace fittings {

// The row of `size`, tried from the first row; nothing for a text that is no
// row's size (a prompt, a typed "dn100", a size with a trailing blank).
template <class Row>
std::optional<Row> findSizeRow(std::span<const Row> rows, QStringView size)
{
    for (const Row& row : rows) {
        if (row.size == size)
            return row;
    }
    return std::nullopt;
}

// The rows' size texts in row order.
template <class Row>
QStringList sizeTexts(std::span<const Row> rows)
{
    QStringList sizes;
    sizes.reserve(static_cast<qsizetype>(rows.size()));
    for (const Row& row : rows)
        sizes.append(row.size.toString());
    return sizes;
}

} // namespace fittings
