#include "forms/testing/contrast.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace forms::testing {

namespace {

double relativeLuminance(const QColor& c)
{
    const auto linear = [](double channel) {
        return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

double contrastRatio(const QColor& a, const QColor& b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

double textContrast(QWidget& control)
{
    const QImage image = control.grab().toImage();
    // Inside the border and its shading.
    const QRect inside = image.rect().adjusted(3, 3, -3, -3);
    QHash<QRgb, int> counts;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            ++counts[image.pixel(x, y)];
    if (counts.isEmpty())
        return 1;
    // The colour of the most pixels.
    QRgb background = 0;
    int backgroundCount = 0;
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it)
        if (it.value() > backgroundCount) {
            background = it.key();
            backgroundCount = it.value();
        }
    double most = 1;
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it)
        most = std::max(most, contrastRatio(QColor(it.key()), QColor(background)));
    return most;
}

} // namespace forms::testing
