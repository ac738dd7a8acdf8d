#include "fittings/steel_drawing_view.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLineF>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace fittings::drawing {

namespace {

constexpr double kArrowLength = 6;
constexpr double kArrowHalfWidth = 2.2;

QFont nameFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(12);
    return font;
}

// A filled arrow head with its tip at `tip`, pointing away from `from`.
void arrowHead(QPainter& p, QPointF from, QPointF tip, const QColor& colour)
{
    const QLineF shaft(from, tip);
    if (shaft.length() <= 0)
        return;
    const QPointF along = (tip - from) / shaft.length();
    const QPointF across(-along.y(), along.x());
    const QPointF base = tip - along * kArrowLength;
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(base + across * kArrowHalfWidth);
    head.lineTo(base - across * kArrowHalfWidth);
    head.closeSubpath();
    p.fillPath(head, colour);
}

} // namespace

QPixmap drawOnGrid(QSize size, const QColor& background, const std::function<void(QPainter&)>& draw)
{
    QPixmap picture(size);
    picture.fill(background);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const double scale = std::min(size.width(), size.height()) / kGridSize;
    p.translate((size.width() - kGridSize * scale) / 2, (size.height() - kGridSize * scale) / 2);
    p.scale(scale, scale);
    draw(p);
    return picture;
}

void centreLine(QPainter& p, QPointF from, QPointF to, const QColor& colour)
{
    QPen pen(colour, 0.8);
    pen.setDashPattern({8, 2.5, 1.5, 2.5});
    p.save();
    p.setPen(pen);
    p.drawLine(from, to);
    p.restore();
}

void extensionLine(QPainter& p, QPointF from, QPointF to, const QColor& colour)
{
    p.save();
    p.setPen(QPen(colour, 1.0));
    p.drawLine(from, to);
    p.restore();
}

void dimensionLine(QPainter& p, QPointF from, QPointF to, const QColor& colour)
{
    p.save();
    p.setPen(QPen(colour, 1.0));
    p.drawLine(from, to);
    arrowHead(p, to, from, colour);
    arrowHead(p, from, to, colour);
    p.restore();
}

void dimensionName(QPainter& p, QPointF centre, const QString& name, const QColor& colour,
                   const QColor& knockout)
{
    p.save();
    p.setFont(nameFont());
    const QFontMetricsF fm(p.font());
    const QSizeF box(fm.horizontalAdvance(name) + 2, fm.ascent() + fm.descent());
    const QRectF rect(centre - QPointF(box.width() / 2, box.height() / 2), box);
    if (knockout.isValid())
        p.fillRect(rect, knockout);
    p.setPen(colour);
    p.drawText(rect, Qt::AlignCenter, name);
    p.restore();
}

} // namespace fittings::drawing
