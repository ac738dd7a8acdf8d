// How readable a control's text is as drawn: the contrast of its text with
// its own background, measured from the pixels of the control.
#pragma once

class QWidget;

namespace forms::testing {

// The contrast ratio (1 to 21, from the relative luminances of the two
// colours) between the background of `control` as drawn, its most frequent
// colour inside the border, and the pixel of its text that stands out most
// from it. 1 when nothing but the background is drawn there.
double textContrast(QWidget& control);

} // namespace forms::testing
