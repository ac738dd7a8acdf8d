#include "fittings/drainage_fitting_drawings_view.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <initializer_list>
#include <utility>

namespace fittings::drainage {

namespace {

const QColor kWall(30, 30, 30);
const QColor kBody(214, 220, 226);
const QColor kHub(188, 196, 204);
const QColor kCentre(200, 40, 40);
const QColor kDimension(0, 0, 200);

// x of the dimension line, left of every fitting.
constexpr double kDimX = 12;

QPainterPath box(double x, double y, double w, double h)
{
    QPainterPath p;
    p.addRect(QRectF(x, y, w, h));
    return p;
}

// A closed outline through `corners`.
QPainterPath polygon(std::initializer_list<QPointF> corners)
{
    QPainterPath p;
    p.addPolygon(QPolygonF(QList<QPointF>(corners)));
    p.closeSubpath();
    return p;
}

class Sketch {
public:
    explicit Sketch(QPainter& painter)
        : p(painter)
    {
    }

    // The fitting's body: one outline around the union of its parts.
    void body(const QPainterPath& outline)
    {
        p.setPen(QPen(kWall, 1.2));
        p.setBrush(kBody);
        p.drawPath(outline.simplified());
    }

    // A socket end: a band a little wider than the pipe.
    void hub(double x, double y, double w, double h)
    {
        p.setPen(QPen(kWall, 1));
        p.setBrush(kHub);
        p.drawRect(QRectF(x, y, w, h));
    }

    void centreLine(QPointF a, QPointF b)
    {
        QPen pen(kCentre, 0.8, Qt::DashDotLine);
        p.setPen(pen);
        p.drawLine(a, b);
    }

    void extension(double y, double toX)
    {
        p.setPen(QPen(kDimension, 0.7));
        p.drawLine(QPointF(kDimX - 3, y), QPointF(toX, y));
    }

    // A vertical dimension line made of `parts` (top and bottom y of each),
    // with arrowheads at both ends of every part and its label beside it.
    void dimension(std::initializer_list<std::pair<double, double>> parts,
                   std::initializer_list<const char*> labels)
    {
        QFont font = p.font();
        font.setPixelSize(10);
        font.setBold(true);
        p.setFont(font);
        auto label = labels.begin();
        for (const auto& [top, bottom] : parts) {
            p.setPen(QPen(kDimension, 0.9));
            p.drawLine(QPointF(kDimX, top), QPointF(kDimX, bottom));
            arrow(top, +1);
            arrow(bottom, -1);
            if (label != labels.end()) {
                const double mid = (top + bottom) / 2;
                p.setPen(kDimension);
                p.drawText(QRectF(kDimX + 2, mid - 12, 20, 12), Qt::AlignLeft | Qt::AlignBottom,
                           QString::fromLatin1(*label));
                ++label;
            }
        }
    }

private:
    // An arrowhead touching `y`, pointing up (direction -1) or down (+1)
    // towards it from inside the part.
    void arrow(double y, int inward)
    {
        QPainterPath head;
        head.moveTo(kDimX, y);
        head.lineTo(kDimX - 2.2, y + inward * 5);
        head.lineTo(kDimX + 2.2, y + inward * 5);
        head.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(kDimension);
        p.drawPath(head);
    }

    QPainter& p;
};

// A swept join: the fillet between a branch's lower wall at `branchY` and a
// vertical wall at `wallX`, curving down `drop` pixels; `towards` is +1 for
// a branch on the right of the wall, -1 on the left.
QPainterPath sweep(double wallX, double branchY, double drop, int towards)
{
    QPainterPath p;
    p.moveTo(wallX, branchY);
    p.lineTo(wallX + towards * drop, branchY);
    p.quadTo(wallX, branchY, wallX, branchY + drop);
    p.closeSubpath();
    return p;
}

void drawTee(Sketch& s)
{
    // Main run x 44..64 (centre 54), y 6..82; branch centre y 40.
    QPainterPath outline = box(44, 6, 20, 76);
    outline = outline.united(box(64, 33, 42, 14));
    outline = outline.united(sweep(64, 47, 14, +1));
    s.body(outline);
    s.hub(42, 6, 24, 6);
    s.hub(42, 76, 24, 6);
    s.hub(100, 31, 6, 18);
    s.centreLine(QPointF(54, 2), QPointF(54, 86));
    s.centreLine(QPointF(kDimX - 3, 40), QPointF(110, 40));
    s.extension(6, 42);
    s.extension(82, 42);
    s.dimension({{6, 40}, {40, 82}}, {"L1", "L2"});
}

void drawCross(Sketch& s)
{
    // Main run x 54..74 (centre 64); branches on both sides, centre y 40.
    QPainterPath outline = box(54, 6, 20, 76);
    outline = outline.united(box(30, 33, 24, 14));
    outline = outline.united(box(74, 33, 32, 14));
    outline = outline.united(sweep(54, 47, 12, -1));
    outline = outline.united(sweep(74, 47, 12, +1));
    s.body(outline);
    s.hub(52, 6, 24, 6);
    s.hub(52, 76, 24, 6);
    s.hub(30, 31, 6, 18);
    s.hub(100, 31, 6, 18);
    s.centreLine(QPointF(64, 2), QPointF(64, 86));
    s.centreLine(QPointF(kDimX - 3, 40), QPointF(110, 40));
    s.extension(6, 52);
    s.extension(82, 52);
    s.dimension({{6, 40}, {40, 82}}, {"L1", "L2"});
}

void drawQuarterBend(Sketch& s)
{
    // Horizontal end from the right at centre y 24, turning down into a
    // vertical end, centre x 50, that ends at y 82.
    QPainterPath outline;
    outline.moveTo(106, 14);
    outline.lineTo(62, 14);
    outline.quadTo(40, 14, 40, 38);
    outline.lineTo(40, 82);
    outline.lineTo(60, 82);
    outline.lineTo(60, 40);
    outline.quadTo(60, 34, 66, 34);
    outline.lineTo(106, 34);
    outline.closeSubpath();
    s.body(outline);
    s.hub(100, 12, 6, 24);
    s.hub(38, 76, 24, 6);
    s.centreLine(QPointF(kDimX - 3, 24), QPointF(110, 24));
    s.centreLine(QPointF(50, 20), QPointF(50, 86));
    s.extension(82, 38);
    s.dimension({{24, 82}}, {"L2"});
}

void drawOffsetBend(Sketch& s)
{
    // Vertical end at the top, centre x 40, a 45° diagonal, and a horizontal
    // end to the right at centre y 66.
    s.body(polygon({{30, 6}, {30, 30}, {66, 66}, {66, 76}, {106, 76}, {106, 56}, {76, 56}, {50, 30},
                    {50, 6}}));
    s.hub(28, 6, 24, 6);
    s.hub(100, 54, 6, 24);
    s.centreLine(QPointF(40, 2), QPointF(40, 34));
    s.centreLine(QPointF(kDimX - 3, 66), QPointF(110, 66));
    s.extension(6, 28);
    s.dimension({{6, 66}}, {"L1"});
}

void drawSweptInlet(Sketch& s)
{
    // A horizontal run across at centre y 62, and an inlet from the top,
    // centre x 58, swept into it towards the right.
    QPainterPath outline = box(24, 52, 82, 20);
    outline = outline.united(box(48, 6, 20, 46));
    QPainterPath fillet;
    fillet.moveTo(68, 30);
    fillet.quadTo(68, 52, 90, 52);
    fillet.lineTo(68, 52);
    fillet.closeSubpath();
    outline = outline.united(fillet);
    s.body(outline);
    s.hub(46, 6, 24, 6);
    s.hub(24, 50, 6, 24);
    s.hub(100, 50, 6, 24);
    s.centreLine(QPointF(58, 2), QPointF(58, 50));
    s.centreLine(QPointF(kDimX - 3, 62), QPointF(110, 62));
    s.extension(6, 46);
    s.dimension({{6, 62}}, {"L1"});
}

void drawPvcuReducer(Sketch& s)
{
    // Narrow socket up, one step out to the wide socket down.
    QPainterPath outline = box(50, 8, 20, 32);
    outline = outline.united(box(44, 40, 32, 40));
    s.body(outline);
    s.hub(48, 8, 24, 5);
    s.hub(42, 75, 36, 5);
    s.centreLine(QPointF(60, 3), QPointF(60, 85));
    s.extension(8, 48);
    s.extension(80, 42);
    s.dimension({{8, 80}}, {"L1"});
}

void drawCastIronReducer(Sketch& s)
{
    // Narrow end up, a cone, the wide spigot down.
    s.body(polygon({{51, 8}, {51, 28}, {44, 54}, {44, 80}, {76, 80}, {76, 54}, {69, 28}, {69, 8}}));
    s.hub(48, 8, 24, 8);
    s.centreLine(QPointF(60, 3), QPointF(60, 85));
    s.extension(8, 48);
    s.extension(80, 44);
    s.dimension({{8, 80}}, {"L1"});
}

} // namespace

QPixmap fittingDrawing(FittingDrawing which)
{
    QImage image(kFittingDrawingWidth, kFittingDrawingHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    Sketch s(painter);
    switch (which) {
    case FittingDrawing::Tee:
        drawTee(s);
        break;
    case FittingDrawing::Cross:
        drawCross(s);
        break;
    case FittingDrawing::QuarterBend:
        drawQuarterBend(s);
        break;
    case FittingDrawing::OffsetBend:
        drawOffsetBend(s);
        break;
    case FittingDrawing::SweptInlet:
        drawSweptInlet(s);
        break;
    case FittingDrawing::PvcuReducer:
        drawPvcuReducer(s);
        break;
    case FittingDrawing::CastIronReducer:
        drawCastIronReducer(s);
        break;
    }
    painter.end();
    return QPixmap::fromImage(image);
}

} // namespace fittings::drainage
