// Twips: the unit of every position and size in the window layouts
// (1/1440 inch; 15 twips to a logical pixel at 96 dpi).
#pragma once

#include <QRect>
#include <QtMath>

namespace forms {

inline constexpr double kTwipsPerPixel = 15.0;

// Twips to whole pixels, rounding half away from zero.
inline int px(double twips)
{
    return qRound(twips / kTwipsPerPixel);
}

inline double twipsOf(int pixels)
{
    return pixels * kTwipsPerPixel;
}

inline QRect pxRect(double left, double top, double width, double height)
{
    return QRect(px(left), px(top), qMax(0, px(width)), qMax(0, px(height)));
}

// Holds a control's position and size in twips exactly as the window's code
// set them (fractions of a pixel included, so that step-wise moves such as
// 37.5 twips a tick add up), and places the widget at the nearest pixels.
class TwipsBox {
public:
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    QRect toPixels() const { return pxRect(left, top, width, height); }
};

} // namespace forms
