#include "forms/testing/drawn_lines.h"

#include "forms/column_list_box.h"
#include "forms/controls.h"

#include <QImage>
#include <QWidget>

#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

namespace forms::testing {

namespace {

// How far a side may stand in from its control's edge (a frame's border
// runs through the middle of its caption's line).
constexpr int kSideReach = 12;

QImage renderedAt(QWidget& window, double scale)
{
    const QSize devicePixels(static_cast<int>(std::ceil(window.width() * scale)),
                             static_cast<int>(std::ceil(window.height() * scale)));
    QImage image(devicePixels, QImage::Format_ARGB32);
    image.fill(window.palette().color(QPalette::Window));
    image.setDevicePixelRatio(scale);
    window.render(&image);
    return image;
}

int distance(const QColor& a, const QColor& b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green())
        + std::abs(a.blue() - b.blue());
}

// The device pixels whose centres lie in logical pixel `logical` at `scale`.
std::pair<int, int> devicePixelsOf(int logical, double scale)
{
    return {static_cast<int>(std::ceil(logical * scale - 0.5)),
            static_cast<int>(std::ceil((logical + 1) * scale - 0.5))};
}

// Whether a device pixel of logical pixel `at` shows `side` nearer than
// `background`.
bool shows(const QImage& image, double scale, QPoint at, const QColor& side,
           const QColor& background)
{
    const auto [left, right] = devicePixelsOf(at.x(), scale);
    const auto [top, bottom] = devicePixelsOf(at.y(), scale);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if (!image.valid(x, y))
                continue;
            const QColor c = image.pixelColor(x, y);
            if (distance(c, side) < distance(c, background))
                return true;
        }
    }
    return false;
}

// Whether window pixel `at` lies inside every container of `control`.
bool withinContainers(const QWidget& control, QWidget& window, QPoint at)
{
    for (const QWidget* c = control.parentWidget(); c && c != window.parentWidget();
         c = c->parentWidget()) {
        if (!c->rect().contains(c->mapFrom(&window, at)))
            return false;
    }
    return true;
}

struct Side {
    const char* name;
    QPoint from;  // the control's edge, in window pixels
    QPoint inward;
};

} // namespace

QStringList linesLostAt(QWidget& window, double scale)
{
    const QImage reference = renderedAt(window, 1.0);
    const QImage scaled = renderedAt(window, scale);
    const QColor background = window.palette().color(QPalette::Window);
    std::vector<QWidget*> drawn;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (qobject_cast<forms::Line*>(w) || qobject_cast<forms::Frame*>(w)
            || qobject_cast<forms::TextBox*>(w) || qobject_cast<forms::ComboBox*>(w)
            || qobject_cast<forms::ListBox*>(w) || qobject_cast<forms::ColumnListBox*>(w)
            || qobject_cast<forms::MultiLineTextBox*>(w))
            drawn.push_back(w);
    }
    QStringList lost;
    for (QWidget* w : drawn) {
        if (!w->isVisibleTo(&window))
            continue;
        const QRect r(w->mapTo(&window, QPoint(0, 0)), w->size());
        const int across = r.left() + r.width() * 3 / 4;
        const int down = r.top() + r.height() * 3 / 4;
        const Side sides[] = {{"top", {across, r.top()}, {0, 1}},
                              {"bottom", {across, r.bottom()}, {0, -1}},
                              {"left", {r.left(), down}, {1, 0}},
                              {"right", {r.right(), down}, {-1, 0}}};
        for (const Side& side : sides) {
            // A side placed outside its container (a frame moved up to hide
            // its border) is not drawn.
            if (!withinContainers(*w, window, side.from))
                continue;
            // The side: the first pixel in from the edge that stands out,
            // drawn by the control itself rather than by a control inside it.
            std::optional<QPoint> at;
            for (int step = 0; step < kSideReach && !at; ++step) {
                const QPoint p = side.from + side.inward * step;
                if (reference.valid(p) && !w->childAt(w->mapFrom(&window, p))
                    && distance(reference.pixelColor(p), background) > 24)
                    at = p;
            }
            if (at && !shows(scaled, scale, *at, reference.pixelColor(*at), background))
                lost << w->objectName() + QStringLiteral(": ") + QString::fromLatin1(side.name);
        }
    }
    return lost;
}

} // namespace forms::testing
