// The segments of the segment list window, held once: a table of three
// columns (length in m, own catchment area in m², runoff coefficient) that
// the window's three list boxes show side by side. Row r of every column is
// segment r, so the columns always hold the same number of rows, and only
// the rows the boxes show are ever drawn: a run of a million segments costs
// its texts and nothing per line shown.
#pragma once

#include "storm_network/segment_rows.h"

#include <QAbstractTableModel>

#include <vector>

namespace storm_network {

class SegmentRowModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The columns, in the order the boxes show them.
    enum Column { Length, Area, Runoff, ColumnCount };

    explicit SegmentRowModel(QObject* parent = nullptr);

    // The segments, first segment first.
    const std::vector<SegmentRow>& rows() const { return m_rows; }

    void append(const SegmentRow& row);
    // Row `row` takes `values`; nothing for a row that does not exist.
    void setRow(int row, const SegmentRow& values);
    void clear();

    // Makes the room for `count` imported rows that take() then fills:
    // after the rows held when `keep`, else in their place. Memory that runs
    // short throws std::bad_alloc (as does a list longer than its lines can
    // be counted) with the rows as they were.
    void makeRoomFor(std::size_t count, bool keep);
    // Takes the rows of an import in one step, in the room made for them:
    // the rows change hands without allocating, and the boxes are told once.
    void take(std::vector<SegmentRow>&& imported, bool keep);

    // The table as the list boxes read and change it: texts shown as they
    // are, lines selected but not edited in place; a new row is blank.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

private:
    // Room for `more` rows beyond those held, made before the boxes are
    // told of a change, so that no change stops half-way.
    void makeRoom(std::size_t more);
    // Room for `total` rows in all, in the one allocation an import makes
    // for its rows.
    void reserveRows(std::size_t total);
    bool validRow(int row) const { return row >= 0 && row < rowCount(); }

    std::vector<SegmentRow> m_rows;
};

}  // namespace storm_network
