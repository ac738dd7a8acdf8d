#include "fittings/waterproof_sleeve_view.h"

#include "fittings/steel_drawing_view.h"

#include <QPainterPath>
#include <QPen>

#include <algorithm>

namespace fittings {

namespace {

using namespace drawing;

const QColor kGround = Qt::white;
const QColor kWall = QColor(205, 205, 205);
const QColor kHatch = QColor(140, 140, 140);
const QColor kPipe = QColor(170, 210, 240);
const QColor kPipeEdge = QColor(0, 70, 160);
const QColor kSteel = QColor(70, 70, 80);
const QColor kPacking = QColor(230, 190, 90);
const QColor kCentre = QColor(200, 0, 0);
const QColor kDimension = QColor(0, 110, 0);
const QColor kName = Qt::black;

// The wall, cut: a band of concrete with diagonal hatching.
void wall(QPainter& p, double left, double right)
{
    const QRectF band(left, 0, right - left, kGridSize);
    p.fillRect(band, kWall);
    p.save();
    p.setClipRect(band);
    p.setPen(QPen(kHatch, 0.7));
    for (double y = -(right - left); y < kGridSize; y += 8)
        p.drawLine(QPointF(left, y + (right - left)), QPointF(right, y));
    p.restore();
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(QPointF(left, 0), QPointF(left, kGridSize));
    p.drawLine(QPointF(right, 0), QPointF(right, kGridSize));
}

} // namespace

QPixmap sleeveDrawing(QSize size)
{
    return drawOnGrid(size, kGround, [](QPainter& p) {
        const double wallLeft = 58;
        const double wallRight = 98;
        const double axis = 80;
        const double pipeHalf = 15;   // D1 / 2
        const double sleeveHalf = 23; // D2 / 2
        const double sleeveWall = 3;
        const double ringHalf = 40;   // D3 / 2
        const double ringLeft = 75;
        const double ringRight = 81;

        wall(p, wallLeft, wallRight);

        // The sleeve with its ring, packed around the pipe.
        p.fillRect(QRectF(wallLeft, axis - sleeveHalf, wallRight - wallLeft, 2 * sleeveHalf), kPacking);
        p.setPen(Qt::NoPen);
        p.setBrush(kSteel);
        for (double side : {-1.0, 1.0}) {
            const double outer = axis + side * sleeveHalf;
            const double inner = axis + side * (sleeveHalf - sleeveWall);
            p.drawRect(QRectF(QPointF(wallLeft, std::min(outer, inner)),
                              QPointF(wallRight, std::max(outer, inner))));
            const double ringEnd = axis + side * ringHalf;
            p.drawRect(QRectF(QPointF(ringLeft, std::min(outer, ringEnd)),
                              QPointF(ringRight, std::max(outer, ringEnd))));
        }

        // The pipe, through the whole section.
        const QRectF pipe(0, axis - pipeHalf, kGridSize, 2 * pipeHalf);
        p.fillRect(pipe, kPipe);
        p.setPen(QPen(kPipeEdge, 1.2));
        p.drawLine(pipe.topLeft(), pipe.topRight());
        p.drawLine(pipe.bottomLeft(), pipe.bottomRight());
        centreLine(p, QPointF(2, axis), QPointF(kGridSize - 2, axis), kCentre);

        // D3 left of the wall, from the ring.
        const double d3X = 24;
        extensionLine(p, QPointF(ringLeft - 2, axis - ringHalf), QPointF(d3X - 4, axis - ringHalf), kDimension);
        extensionLine(p, QPointF(ringLeft - 2, axis + ringHalf), QPointF(d3X - 4, axis + ringHalf), kDimension);
        dimensionLine(p, QPointF(d3X, axis - ringHalf), QPointF(d3X, axis + ringHalf), kDimension);
        dimensionName(p, QPointF(d3X, axis), QStringLiteral("D3"), kName, kPipe);

        // D2 right of the wall, from the sleeve's end.
        const double d2X = 110;
        extensionLine(p, QPointF(wallRight + 2, axis - sleeveHalf), QPointF(d2X + 4, axis - sleeveHalf), kDimension);
        extensionLine(p, QPointF(wallRight + 2, axis + sleeveHalf), QPointF(d2X + 4, axis + sleeveHalf), kDimension);
        dimensionLine(p, QPointF(d2X, axis - sleeveHalf), QPointF(d2X, axis + sleeveHalf), kDimension);
        dimensionName(p, QPointF(d2X, axis), QStringLiteral("D2"), kName, kPipe);

        // D1 across the pipe itself.
        const double d1X = 137;
        dimensionLine(p, QPointF(d1X, axis - pipeHalf), QPointF(d1X, axis + pipeHalf), kDimension);
        dimensionName(p, QPointF(d1X, axis), QStringLiteral("D1"), kName, kPipe);
    });
}

} // namespace fittings
