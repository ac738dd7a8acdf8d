#include "storm_network/segment_row_model.h"

#include "storm_network/row_memory_fault.h"

#include <algorithm>
#include <limits>
#include <new>
#include <utility>

namespace storm_network {

namespace {

// The text of `column` in `row`, to read or to change.
template <class Row>
auto& field(Row& row, int column)
{
    switch (column) {
    case SegmentRowModel::Area:
        return row.area;
    case SegmentRowModel::Runoff:
        return row.runoff;
    default:
        return row.length;
    }
}

}  // namespace

SegmentRowModel::SegmentRowModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void SegmentRowModel::makeRoom(std::size_t more)
{
    if (m_rows.capacity() - m_rows.size() < more)
        m_rows.reserve(std::max(m_rows.size() + more, 2 * m_rows.capacity()));
}

void SegmentRowModel::append(const SegmentRow& row)
{
    makeRoom(1);
    const int at = rowCount();
    beginInsertRows(QModelIndex(), at, at);
    m_rows.push_back(row);
    endInsertRows();
}

void SegmentRowModel::setRow(int row, const SegmentRow& values)
{
    if (!validRow(row))
        return;
    m_rows[static_cast<std::size_t>(row)] = values;
    Q_EMIT dataChanged(index(row, Length), index(row, Runoff));
}

void SegmentRowModel::clear()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void SegmentRowModel::makeRoomFor(std::size_t count, bool keep)
{
    // A new list takes the imported vector itself: it needs no more room.
    if (!keep || count == 0)
        return;
    // The boxes count their lines in int.
    const std::size_t total = m_rows.size() + count;
    if (total > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        throw std::bad_alloc();
    reserveRows(total);
}

void SegmentRowModel::reserveRows(std::size_t total)
{
    takeRowMemory(total);
    m_rows.reserve(total);
}

void SegmentRowModel::take(std::vector<SegmentRow>&& imported, bool keep)
{
    if (!keep) {
        // The old rows are freed once the boxes show the new.
        beginResetModel();
        const std::vector<SegmentRow> gone = std::exchange(m_rows, std::move(imported));
        endResetModel();
        return;
    }
    if (imported.empty())
        return;
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(imported.size()) - 1);
    for (SegmentRow& row : imported) {
        // With the room made no row allocates here; a row that found none
        // would grow the table part-way through the import.
        if (m_rows.size() == m_rows.capacity())
            takeRowMemory(m_rows.size() + 1);
        m_rows.push_back(std::move(row));
    }
    endInsertRows();
}

int SegmentRowModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int SegmentRowModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SegmentRowModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !validRow(index.row()) || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    return field(m_rows[static_cast<std::size_t>(index.row())], index.column());
}

bool SegmentRowModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || !validRow(index.row()) || role != Qt::EditRole)
        return false;
    field(m_rows[static_cast<std::size_t>(index.row())], index.column()) = value.toString();
    Q_EMIT dataChanged(index, index);
    return true;
}

Qt::ItemFlags SegmentRowModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

bool SegmentRowModel::insertRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row < 0 || row > rowCount() || count <= 0)
        return false;
    makeRoom(static_cast<std::size_t>(count));
    beginInsertRows(QModelIndex(), row, row + count - 1);
    m_rows.insert(m_rows.begin() + row, static_cast<std::size_t>(count), SegmentRow());
    endInsertRows();
    return true;
}

bool SegmentRowModel::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > rowCount())
        return false;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    m_rows.erase(m_rows.begin() + row, m_rows.begin() + row + count);
    endRemoveRows();
    return true;
}

}  // namespace storm_network
