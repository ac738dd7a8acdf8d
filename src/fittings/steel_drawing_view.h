// What the fitting and sleeve drawings share: a square drawing grid of 150
// units scaled into the picture, centre lines, dimension lines with their
// arrows and extension lines, and the names of the dimensions.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPixmap>
#include <QPointF>
#include <QSize>
#include <QString>

#include <functional>

namespace fittings::drawing {

// Units of the drawing grid across the picture's shorter side.
inline constexpr double kGridSize = 150;

// A picture of `size` pixels on `background`; `draw` paints in grid units,
// (0, 0) to (150, 150), centred in the picture.
QPixmap drawOnGrid(QSize size, const QColor& background, const std::function<void(QPainter&)>& draw);

// A dash-dot centre line.
void centreLine(QPainter& p, QPointF from, QPointF to, const QColor& colour);

// A thin line from the drawn part out to a dimension line.
void extensionLine(QPainter& p, QPointF from, QPointF to, const QColor& colour);

// A dimension line with an arrow at each end, pointing outwards onto the
// two extension lines.
void dimensionLine(QPainter& p, QPointF from, QPointF to, const QColor& colour);

// The name of a dimension ("La", "L1", "D3") centred at `centre`. With a
// `knockout` colour the name stands on a patch of it, interrupting whatever
// runs behind.
void dimensionName(QPainter& p, QPointF centre, const QString& name, const QColor& colour,
                   const QColor& knockout = QColor());

} // namespace fittings::drawing
