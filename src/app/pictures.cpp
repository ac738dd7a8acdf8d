#include "app/pictures.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <climits>
#include <cmath>

namespace pictures {

namespace {

// The 16 standard colours of an icon.
const QList<QRgb>& standardColours()
{
    static const QList<QRgb> colours = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),     qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128),   qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),     qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255),   qRgb(0, 255, 255), qRgb(255, 255, 255),
    };
    return colours;
}

// A heart `width` wide with its centre at `centre`.
QPainterPath heartPath(QPointF centre, double width)
{
    const double w = width;
    const double h = width * 0.9;
    const double x = centre.x();
    const double y = centre.y() - h / 2;
    QPainterPath p;
    p.moveTo(x, y + h * 0.28);
    p.cubicTo(x, y + h * 0.02, x - w * 0.5, y - h * 0.02, x - w * 0.5, y + h * 0.32);
    p.cubicTo(x - w * 0.5, y + h * 0.6, x - w * 0.1, y + h * 0.78, x, y + h);
    p.cubicTo(x + w * 0.1, y + h * 0.78, x + w * 0.5, y + h * 0.6, x + w * 0.5, y + h * 0.32);
    p.cubicTo(x + w * 0.5, y - h * 0.02, x, y + h * 0.02, x, y + h * 0.28);
    p.closeSubpath();
    return p;
}

// A four-pointed sparkle.
void drawSparkle(QPainter& p, QPointF c, double r, const QColor& colour)
{
    QPainterPath star;
    star.moveTo(c.x(), c.y() - r);
    star.quadTo(c, QPointF(c.x() + r, c.y()));
    star.quadTo(c, QPointF(c.x(), c.y() + r));
    star.quadTo(c, QPointF(c.x() - r, c.y()));
    star.quadTo(c, QPointF(c.x(), c.y() - r));
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(star);
}

QPixmap heartFrame(double heartWidth, bool sparkles)
{
    QImage image(128, 128, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(64, 66);
    const QPainterPath heart = heartPath(centre, heartWidth);

    // Soft shadow, then the heart with light falling from the upper left.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 0, 30, 60));
    p.drawPath(heart.translated(3, 4));
    QRadialGradient body(centre.x() - heartWidth * 0.18, centre.y() - heartWidth * 0.2, heartWidth * 0.75);
    body.setColorAt(0.0, QColor(255, 120, 140));
    body.setColorAt(0.45, QColor(230, 20, 60));
    body.setColorAt(1.0, QColor(150, 0, 30));
    p.setBrush(body);
    p.setPen(QPen(QColor(120, 0, 25), 1.5));
    p.drawPath(heart);

    // Highlight on the left lobe.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(QPointF(centre.x() - heartWidth * 0.25, centre.y() - heartWidth * 0.2),
                  heartWidth * 0.09, heartWidth * 0.05);

    if (sparkles) {
        drawSparkle(p, QPointF(16, 18), 10, QColor(255, 215, 0));
        drawSparkle(p, QPointF(112, 22), 8, QColor(255, 240, 120));
        drawSparkle(p, QPointF(110, 108), 7, QColor(255, 215, 0));
        drawSparkle(p, QPointF(18, 106), 6, QColor(255, 240, 120));
    }
    p.end();
    return QPixmap::fromImage(image);
}

} // namespace

QPixmap programIcon()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        const QColor black(0, 0, 0);
        const QColor grey(128, 128, 128);
        const QColor silver(192, 192, 192);
        const QColor white(255, 255, 255);
        const QColor blue(0, 0, 255);
        const QColor navy(0, 0, 128);
        const QColor cyan(0, 255, 255);

        // The pipe: a silver barrel with a dark edge and two flanges.
        p.fillRect(2, 22, 28, 7, silver);
        p.fillRect(2, 23, 28, 1, white);
        p.fillRect(2, 27, 28, 1, grey);
        p.fillRect(2, 21, 28, 1, black);
        p.fillRect(2, 29, 28, 1, black);
        for (int x : {2, 26}) {
            p.fillRect(x, 19, 4, 13, grey);
            p.fillRect(x, 19, 1, 13, silver);
            p.fillRect(x + 3, 19, 1, 13, black);
            p.fillRect(x, 19, 4, 1, black);
            p.fillRect(x, 31, 4, 1, black);
        }

        // The drop: pointed at the top, round at the bottom.
        p.setRenderHint(QPainter::Antialiasing, false);
        QPainterPath drop;
        drop.moveTo(16, 1);
        drop.cubicTo(18, 6, 23, 10, 23, 14);
        drop.cubicTo(23, 18.5, 19.5, 20, 16, 20);
        drop.cubicTo(12.5, 20, 9, 18.5, 9, 14);
        drop.cubicTo(9, 10, 14, 6, 16, 1);
        p.setPen(navy);
        p.setBrush(blue);
        p.drawPath(drop);
        p.setPen(Qt::NoPen);
        p.setBrush(cyan);
        p.drawRect(12, 12, 2, 4);
        p.drawRect(13, 10, 1, 2);
        p.setBrush(white);
        p.drawRect(12, 13, 1, 2);
    }
    // Only the 16 standard colours (and transparency) remain.
    QImage indexed(32, 32, QImage::Format_Indexed8);
    QList<QRgb> table = standardColours();
    table.append(qRgba(0, 0, 0, 0));
    indexed.setColorTable(table);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QRgb c = image.pixel(x, y);
            if (qAlpha(c) < 128) {
                indexed.setPixel(x, y, 16);
                continue;
            }
            int best = 0;
            int bestDistance = INT_MAX;
            for (int i = 0; i < 16; ++i) {
                const QRgb s = table[i];
                const int dr = qRed(c) - qRed(s);
                const int dg = qGreen(c) - qGreen(s);
                const int db = qBlue(c) - qBlue(s);
                const int d = dr * dr + dg * dg + db * db;
                if (d < bestDistance) {
                    bestDistance = d;
                    best = i;
                }
            }
            indexed.setPixel(x, y, static_cast<uint>(best));
        }
    }
    return QPixmap::fromImage(indexed);
}

QPixmap seaAtSunset()
{
    constexpr int width = 500;
    constexpr int height = 339;
    constexpr double horizon = 190;
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Evening sky.
    QLinearGradient sky(0, 0, 0, horizon);
    sky.setColorAt(0.0, QColor(44, 54, 112));
    sky.setColorAt(0.45, QColor(150, 90, 150));
    sky.setColorAt(0.75, QColor(236, 124, 132));
    sky.setColorAt(1.0, QColor(255, 184, 110));
    p.fillRect(QRectF(0, 0, width, horizon), sky);

    // A few evening clouds.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 200, 200, 70));
    p.drawEllipse(QRectF(40, 70, 150, 18));
    p.drawEllipse(QRectF(90, 60, 90, 16));
    p.drawEllipse(QRectF(320, 100, 170, 16));
    p.drawEllipse(QRectF(360, 92, 80, 14));

    // The setting sun, half below the horizon.
    p.save();
    p.setClipRect(QRectF(0, 0, width, horizon));
    QRadialGradient glow(250, horizon, 110);
    glow.setColorAt(0.0, QColor(255, 230, 150, 200));
    glow.setColorAt(1.0, QColor(255, 180, 110, 0));
    p.setBrush(glow);
    p.drawEllipse(QPointF(250, horizon), 110, 110);
    QRadialGradient sun(250, horizon - 10, 40);
    sun.setColorAt(0.0, QColor(255, 250, 200));
    sun.setColorAt(0.7, QColor(255, 200, 80));
    sun.setColorAt(1.0, QColor(255, 150, 60));
    p.setBrush(sun);
    p.drawEllipse(QPointF(250, horizon), 38, 38);
    p.restore();

    // Two gulls.
    p.setPen(QPen(QColor(60, 40, 70), 2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (const QPointF& g : {QPointF(130, 120), QPointF(158, 108)}) {
        QPainterPath gull;
        gull.moveTo(g.x() - 10, g.y() - 3);
        gull.quadTo(g.x() - 5, g.y() - 7, g.x(), g.y());
        gull.quadTo(g.x() + 5, g.y() - 7, g.x() + 10, g.y() - 3);
        p.drawPath(gull);
    }

    // The sea.
    QLinearGradient sea(0, horizon, 0, 280);
    sea.setColorAt(0.0, QColor(214, 128, 120));
    sea.setColorAt(0.35, QColor(90, 96, 150));
    sea.setColorAt(1.0, QColor(40, 70, 120));
    p.setPen(Qt::NoPen);
    p.fillRect(QRectF(0, horizon, width, height - horizon), sea);

    // The sun's path on the water.
    for (int i = 0; i < 12; ++i) {
        const double y = horizon + 4 + i * 6.5;
        const double half = 34 - i * 2.2 + (i % 2) * 6;
        p.setBrush(QColor(255, 220, 140, 200 - i * 12));
        p.drawRoundedRect(QRectF(250 - half, y, 2 * half, 2.5), 1.2, 1.2);
    }

    // The beach with the last wave's foam.
    QPainterPath beach;
    beach.moveTo(0, 268);
    for (int x = 0; x <= width; x += 10)
        beach.lineTo(x, 266 + 5 * std::sin(x / 37.0) + 3 * std::sin(x / 13.0));
    beach.lineTo(width, height);
    beach.lineTo(0, height);
    beach.closeSubpath();
    QLinearGradient sand(0, 262, 0, height);
    sand.setColorAt(0.0, QColor(238, 208, 160));
    sand.setColorAt(1.0, QColor(212, 176, 124));
    p.setBrush(sand);
    p.drawPath(beach);
    QPainterPath foam;
    foam.moveTo(0, 266);
    for (int x = 0; x <= width; x += 10)
        foam.lineTo(x, 265 + 5 * std::sin(x / 37.0) + 3 * std::sin(x / 13.0));
    p.setPen(QPen(QColor(255, 255, 255, 210), 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(foam);

    // A heart drawn in the sand, and a few shells.
    p.setPen(QPen(QColor(176, 136, 84), 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(heartPath(QPointF(385, 300), 72));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 236, 220));
    p.drawEllipse(QRectF(90, 300, 9, 6));
    p.drawEllipse(QRectF(190, 318, 7, 5));
    p.setBrush(QColor(240, 196, 180));
    p.drawEllipse(QRectF(150, 290, 8, 5));
    p.end();
    return QPixmap::fromImage(image);
}

QPixmap heartAtRest()
{
    return heartFrame(84, false);
}

QPixmap heartBeating()
{
    return heartFrame(106, true);
}

} // namespace pictures
