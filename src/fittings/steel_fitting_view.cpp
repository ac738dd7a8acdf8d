#include "fittings/steel_fitting_view.h"

#include "fittings/steel_drawing_view.h"

#include <QPainterPath>
#include <QPen>

#include <algorithm>

namespace fittings {

namespace {

using namespace drawing;

const QColor kGround = Qt::black;
const QColor kFitting = QColor(255, 0, 255);
const QColor kFittingBody = QColor(90, 0, 90);
const QColor kCentre = Qt::white;
const QColor kDimension = QColor(0, 255, 0);

constexpr double kFlangeThickness = 5;

void outline(QPainter& p)
{
    p.setPen(QPen(kFitting, 1.4, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(kFittingBody);
}

// A flange seen edge on: `face` is the middle of its outer face, `inwards`
// the unit direction from the face into the fitting, `halfWidth` half its
// outside diameter.
void flange(QPainter& p, QPointF face, QPointF inwards, double halfWidth)
{
    const QPointF across(-inwards.y(), inwards.x());
    QPolygonF shape;
    shape << face + across * halfWidth << face - across * halfWidth
          << face - across * halfWidth + inwards * kFlangeThickness
          << face + across * halfWidth + inwards * kFlangeThickness;
    outline(p);
    p.drawPolygon(shape);
}

// A reducer from a large end on the left to a small end on the right; the
// centre line of each end at its own height (equal for a concentric one).
void reducer(QPainter& p, double largeCentreY, double smallCentreY)
{
    const double largeFace = 18;
    const double smallFace = 132;
    const double largeRadius = 22;
    const double smallRadius = 12;
    const double coneStart = 48;
    const double coneEnd = 96;

    QPainterPath body;
    body.moveTo(largeFace + kFlangeThickness, largeCentreY - largeRadius);
    body.lineTo(coneStart, largeCentreY - largeRadius);
    body.lineTo(coneEnd, smallCentreY - smallRadius);
    body.lineTo(smallFace - kFlangeThickness, smallCentreY - smallRadius);
    body.lineTo(smallFace - kFlangeThickness, smallCentreY + smallRadius);
    body.lineTo(coneEnd, smallCentreY + smallRadius);
    body.lineTo(coneStart, largeCentreY + largeRadius);
    body.lineTo(largeFace + kFlangeThickness, largeCentreY + largeRadius);
    body.closeSubpath();
    outline(p);
    p.drawPath(body);
    p.drawLine(QPointF(coneStart, largeCentreY - largeRadius), QPointF(coneStart, largeCentreY + largeRadius));
    p.drawLine(QPointF(coneEnd, smallCentreY - smallRadius), QPointF(coneEnd, smallCentreY + smallRadius));
    const double largeFlange = largeRadius + 9;
    const double smallFlange = smallRadius + 9;
    flange(p, QPointF(largeFace, largeCentreY), QPointF(1, 0), largeFlange);
    flange(p, QPointF(smallFace, smallCentreY), QPointF(-1, 0), smallFlange);

    if (largeCentreY == smallCentreY) {
        centreLine(p, QPointF(10, largeCentreY), QPointF(140, largeCentreY), kCentre);
    } else {
        centreLine(p, QPointF(10, largeCentreY), QPointF(coneEnd, largeCentreY), kCentre);
        centreLine(p, QPointF(coneStart, smallCentreY), QPointF(140, smallCentreY), kCentre);
    }

    // L1 below, from flange face to flange face.
    const double bottom = std::max(largeCentreY + largeFlange, smallCentreY + smallFlange);
    const double dimY = bottom + 14;
    extensionLine(p, QPointF(largeFace, largeCentreY + largeFlange + 2), QPointF(largeFace, dimY + 4),
                  kDimension);
    extensionLine(p, QPointF(smallFace, smallCentreY + smallFlange + 2), QPointF(smallFace, dimY + 4),
                  kDimension);
    dimensionLine(p, QPointF(largeFace, dimY), QPointF(smallFace, dimY), kDimension);
    dimensionName(p, QPointF((largeFace + smallFace) / 2, dimY + 10), QStringLiteral("L1"), kDimension);
}

} // namespace

QPixmap elbowDrawing(QSize size)
{
    return drawOnGrid(size, kGround, [](QPainter& p) {
        // P: where the two legs' centre lines meet; R: radius of the bend.
        const QPointF P(100, 50);
        const double r = 13;
        const double R = 40;
        const double La = 78;
        const double flangeHalf = r + 9;
        const QPointF bendCentre(P.x() - R, P.y() + R);

        QPainterPath body;
        body.moveTo(P.x() - La + kFlangeThickness, P.y() - r);
        body.lineTo(bendCentre.x(), P.y() - r);
        body.arcTo(QRectF(bendCentre.x() - (R + r), bendCentre.y() - (R + r), 2 * (R + r), 2 * (R + r)),
                   90, -90);
        body.lineTo(P.x() + r, P.y() + La - kFlangeThickness);
        body.lineTo(P.x() - r, P.y() + La - kFlangeThickness);
        body.lineTo(P.x() - r, bendCentre.y());
        body.arcTo(QRectF(bendCentre.x() - (R - r), bendCentre.y() - (R - r), 2 * (R - r), 2 * (R - r)),
                   0, 90);
        body.lineTo(P.x() - La + kFlangeThickness, P.y() + r);
        body.closeSubpath();
        outline(p);
        p.drawPath(body);
        flange(p, QPointF(P.x() - La, P.y()), QPointF(1, 0), flangeHalf);
        flange(p, QPointF(P.x(), P.y() + La), QPointF(0, -1), flangeHalf);

        centreLine(p, QPointF(P.x() - La - 6, P.y()), QPointF(P.x() + 8, P.y()), kCentre);
        centreLine(p, QPointF(P.x(), P.y() - 8), QPointF(P.x(), P.y() + La + 6), kCentre);
        p.save();
        QPen bendLine(kCentre, 0.8);
        bendLine.setDashPattern({8, 2.5, 1.5, 2.5});
        p.setPen(bendLine);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(bendCentre.x() - R, bendCentre.y() - R, 2 * R, 2 * R), 0, 90 * 16);
        p.restore();

        // La along the horizontal leg, above it.
        const double topY = P.y() - flangeHalf - 10;
        extensionLine(p, QPointF(P.x() - La, P.y() - flangeHalf - 2), QPointF(P.x() - La, topY - 4), kDimension);
        extensionLine(p, QPointF(P.x(), P.y() - 10), QPointF(P.x(), topY - 4), kDimension);
        dimensionLine(p, QPointF(P.x() - La, topY), QPointF(P.x(), topY), kDimension);
        dimensionName(p, QPointF(P.x() - La / 2, topY - 9), QStringLiteral("La"), kDimension);

        // La along the vertical leg, right of it.
        const double rightX = P.x() + flangeHalf + 10;
        extensionLine(p, QPointF(P.x() + 10, P.y()), QPointF(rightX + 4, P.y()), kDimension);
        extensionLine(p, QPointF(P.x() + flangeHalf + 2, P.y() + La), QPointF(rightX + 4, P.y() + La),
                      kDimension);
        dimensionLine(p, QPointF(rightX, P.y()), QPointF(rightX, P.y() + La), kDimension);
        dimensionName(p, QPointF(rightX + 10, P.y() + La / 2), QStringLiteral("La"), kDimension);
    });
}

QPixmap teeDrawing(QSize size)
{
    return drawOnGrid(size, kGround, [](QPainter& p) {
        const double runY = 88;
        const double left = 15;
        const double right = 135;
        const double branchX = 75;
        const double branchFace = 30;
        const double r = 13;
        const double flangeHalf = r + 9;

        QPainterPath body;
        body.moveTo(left + kFlangeThickness, runY - r);
        body.lineTo(branchX - r, runY - r);
        body.lineTo(branchX - r, branchFace + kFlangeThickness);
        body.lineTo(branchX + r, branchFace + kFlangeThickness);
        body.lineTo(branchX + r, runY - r);
        body.lineTo(right - kFlangeThickness, runY - r);
        body.lineTo(right - kFlangeThickness, runY + r);
        body.lineTo(left + kFlangeThickness, runY + r);
        body.closeSubpath();
        outline(p);
        p.drawPath(body);
        flange(p, QPointF(left, runY), QPointF(1, 0), flangeHalf);
        flange(p, QPointF(right, runY), QPointF(-1, 0), flangeHalf);
        flange(p, QPointF(branchX, branchFace), QPointF(0, 1), flangeHalf);

        centreLine(p, QPointF(left - 6, runY), QPointF(right + 6, runY), kCentre);
        centreLine(p, QPointF(branchX, branchFace - 6), QPointF(branchX, runY + r + 6), kCentre);

        // L1 below the run.
        const double bottomY = runY + flangeHalf + 14;
        extensionLine(p, QPointF(left, runY + flangeHalf + 2), QPointF(left, bottomY + 4), kDimension);
        extensionLine(p, QPointF(right, runY + flangeHalf + 2), QPointF(right, bottomY + 4), kDimension);
        dimensionLine(p, QPointF(left, bottomY), QPointF(right, bottomY), kDimension);
        dimensionName(p, QPointF((left + right) / 2, bottomY + 10), QStringLiteral("L1"), kDimension);

        // L2 right of the branch, down to the run's centre line.
        const double sideX = branchX + flangeHalf + 16;
        extensionLine(p, QPointF(branchX + flangeHalf + 2, branchFace), QPointF(sideX + 4, branchFace),
                      kDimension);
        dimensionLine(p, QPointF(sideX, branchFace), QPointF(sideX, runY), kDimension);
        dimensionName(p, QPointF(sideX + 11, (branchFace + runY - r) / 2), QStringLiteral("L2"), kDimension);
    });
}

QPixmap concentricReducerDrawing(QSize size)
{
    return drawOnGrid(size, kGround, [](QPainter& p) { reducer(p, 66, 66); });
}

QPixmap eccentricReducerDrawing(QSize size)
{
    return drawOnGrid(size, kGround, [](QPainter& p) { reducer(p, 66, 76); });
}

} // namespace fittings
