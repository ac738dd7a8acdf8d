#include "forms/column_list_box.h"

#include <QItemSelectionModel>

namespace forms {

ColumnListBox::ColumnListBox(QWidget* parent)
    : Control<WholePixelFrame<QListView>>(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Lines of one height: the view places a million rows without asking
    // each for its size.
    setUniformItemSizes(true);
    connect(this, &QListView::doubleClicked, this, [this] { Q_EMIT DblClick(); });
}

void ColumnListBox::showColumn(QAbstractItemModel* rows, int column)
{
    // Connected before the view's own selection hears of the removal, so
    // that it finds no selected row to move to a neighbour.
    connect(rows, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex& parent, int first, int last) {
                if (!parent.isValid())
                    rowsGoing(first, last);
            });
    setModel(rows);
    setModelColumn(column);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        if (!m_silent)
            Q_EMIT Click();
    });
}

void ColumnListBox::rowsGoing(int first, int last)
{
    const int row = ListIndex();
    if (row < first || row > last)
        return;
    m_silent = true;
    selectionModel()->clear();
    m_silent = false;
}

QModelIndex ColumnListBox::line(int index) const
{
    return model() ? model()->index(index, modelColumn()) : QModelIndex();
}

int ColumnListBox::ListCount() const
{
    return model() ? model()->rowCount() : 0;
}

QString ColumnListBox::List(int index) const
{
    return line(index).data().toString();
}

void ColumnListBox::setList(int index, const QString& item)
{
    if (const QModelIndex at = line(index); at.isValid())
        model()->setData(at, item);
}

void ColumnListBox::AddItem(const QString& item)
{
    if (!model())
        return;
    int row = 0;
    const int count = ListCount();
    while (row < count && !List(row).isEmpty())
        ++row;
    if (row == count && !model()->insertRows(count, 1))
        return;
    setList(row, item);
}

void ColumnListBox::RemoveItem(int index)
{
    if (index >= 0 && index < ListCount())
        model()->removeRows(index, 1);
}

void ColumnListBox::Clear()
{
    if (ListCount() > 0)
        model()->removeRows(0, ListCount());
}

int ColumnListBox::ListIndex() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void ColumnListBox::setListIndex(int index)
{
    if (index < -1 || index >= ListCount())
        return;
    if (index < 0) {
        // A box that shows no table yet has no selection to clear.
        if (QItemSelectionModel* selection = selectionModel())
            selection->clear();
        return;
    }
    setCurrentIndex(line(index));
}

void ColumnListBox::clickLine(int index)
{
    setListIndex(index);
}

void ColumnListBox::doubleClickLine(int index)
{
    if (line(index).isValid()) {
        setListIndex(index);
        Q_EMIT DblClick();
    }
}

} // namespace forms
