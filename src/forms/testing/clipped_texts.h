// Texts that do not fit their controls: what a window's layout test checks.
#pragma once

#include <QStringList>

class QWidget;

namespace forms::testing {

// The visible labels, text boxes, buttons and editable lists of `window`
// whose text does not fit the control in its font, as "name: text". Fitted
// labels, which close up their lines by themselves, are left out.
QStringList clippedTexts(const QWidget& window);

} // namespace forms::testing
