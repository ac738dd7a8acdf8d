// Drawings of the steel fittings window: a flanged 90° elbow, a flanged tee
// and flanged concentric and eccentric reducers, each in side view on a black
// ground with the fitting in magenta, its centre lines in white and its
// dimension lines in green, named as the window's fields name them.
#pragma once

#include <QPixmap>
#include <QSize>

namespace fittings {

// La on both legs, from each flange face to the intersection of the centre
// lines.
QPixmap elbowDrawing(QSize size);
// L1 along the run from flange face to flange face; L2 from the run's centre
// line to the branch's flange face.
QPixmap teeDrawing(QSize size);
// L1, the overall length from flange face to flange face; the large end on
// the left.
QPixmap concentricReducerDrawing(QSize size);
// As the concentric reducer, with the two ends flush along the bottom.
QPixmap eccentricReducerDrawing(QSize size);

} // namespace fittings
