// Pictures the program draws for itself: the About window's icon and the
// pictures of the dedication area.
#pragma once

#include <QPixmap>

namespace pictures {

// The program's icon, 32 × 32 pixels in the 16 standard colours: a drop of
// water falling towards a flanged pipe.
QPixmap programIcon();

// The picture window's background, 500 × 339 pixels: the sea at sunset seen
// from the beach, with a heart drawn in the sand.
QPixmap seaAtSunset();

// The two frames of the dedication's animation, 128 × 128 pixels each,
// transparent around a red heart: the heart at rest, and the heart as it
// beats (larger, with sparkles).
QPixmap heartAtRest();
QPixmap heartBeating();

} // namespace pictures
