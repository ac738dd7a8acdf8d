// Lines and borders as a display at a fractional scale (125 %, 150 %) shows
// them, read from the pixels of the window rendered at that scale.
#pragma once

#include <QStringList>

class QWidget;

namespace forms::testing {

// The lines, frames, text boxes, lists and list boxes of `window` of which a
// rendering at `scale` device pixels to a logical pixel leaves a side out,
// as "name: side". Each is crossed a quarter of its size from its bottom
// right, clear of a frame's caption; where a side drawn at scale 1 by the
// control itself stands out from the window's background there, some device
// pixel of that logical pixel at `scale` must show the side's colour. Sides
// outside the control's containers are left alone.
QStringList linesLostAt(QWidget& window, double scale);

} // namespace forms::testing
