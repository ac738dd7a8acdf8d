// Texts that do not fit their controls: what a window's layout test checks.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace forms::testing {

// The visible labels, text boxes, buttons and editable lists of `window`
// whose text does not fit the control in its font, as "name: text". Fitted
// labels, which close up their lines by themselves, are left out.
QStringList clippedTexts(const QWidget& window);

// With VT_SNAPSHOT_DIR set, saves the window as drawn to "<name>.png" there,
// for a person to look at; does nothing otherwise.
void snapshot(QWidget& window, const QString& name);

} // namespace forms::testing
