// A list box that shows one column of rows held by a table it shares with
// other list boxes: the rows are held once, so the boxes that show the
// columns of one table always have the same lines, and only the lines in
// view are drawn, however many rows the table holds. It is used as a list
// box is (items by index, the selected index, Click on a new selection);
// each box keeps its own selection, which its window keeps in step.
#pragma once

#include "forms/controls.h"

#include <QAbstractItemModel>
#include <QListView>

namespace forms {

class ColumnListBox : public Control<WholePixelFrame<QListView>> {
    Q_OBJECT
public:
    explicit ColumnListBox(QWidget* parent = nullptr);

    // Shows column `column` of `rows`, from its first row.
    void showColumn(QAbstractItemModel* rows, int column);

    // The next row's text in this column: the first row whose text here is
    // still empty takes it, else a new last row (the other columns' texts
    // of the row to come from their own boxes).
    void AddItem(const QString& item);
    // Removes row `index` from the table, so from every box showing it.
    void RemoveItem(int index);
    void Clear();
    int ListCount() const;
    QString List(int index) const;
    void setList(int index, const QString& item);
    int ListIndex() const;
    // Selects row `index`; -1 selects none.
    void setListIndex(int index);
    // The user's click on line `index`, and double-click.
    void clickLine(int index);
    void doubleClickLine(int index);
    // The table's entry for line `index` of this box.
    QModelIndex line(int index) const;

Q_SIGNALS:
    void Click();
    void DblClick();

private:
    // A selected row the table is about to lose: no row stays selected, as
    // in a list box that loses its selected item, without a Click.
    void rowsGoing(int first, int last);

    bool m_silent = false;
};

} // namespace forms
