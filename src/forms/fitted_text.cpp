#include "forms/fitted_text.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QStyleOptionGroupBox>
#include <QStylePainter>
#include <QTextLayout>

#include <algorithm>

namespace forms {

namespace {

// Share of the em square above the baseline taken by CJK characters.
constexpr double kIdeographAscent = 0.88;

QTextOption wrapping()
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return option;
}

} // namespace

FittedLabel::FittedLabel(QWidget* parent)
    : Label(parent)
{
}

QString FittedLabel::layoutText() const
{
    QString text = Caption();
    // Character 10 breaks the line; other control characters show as a blank.
    for (QChar& c : text) {
        if (c == QChar(10))
            c = QChar::LineSeparator;
        else if (c.unicode() < 32)
            c = QLatin1Char(' ');
    }
    return text;
}

int FittedLabel::lineCount() const
{
    QTextLayout layout(layoutText(), font());
    layout.setTextOption(wrapping());
    layout.beginLayout();
    int lines = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width());
        ++lines;
    }
    layout.endLayout();
    return lines;
}

double FittedLabel::lineStep() const
{
    const QFontMetricsF fm(font());
    const int lines = std::max(1, lineCount());
    if (lines * fm.lineSpacing() <= height())
        return fm.lineSpacing();
    const double em = QFontInfo(font()).pixelSize();
    return std::max(em, static_cast<double>(height()) / lines);
}

void FittedLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const QFontMetricsF fm(font());
    const double step = lineStep();
    const bool natural = step >= fm.lineSpacing();
    const double em = QFontInfo(font()).pixelSize();

    QTextLayout layout(layoutText(), font());
    layout.setTextOption(wrapping());
    layout.beginLayout();
    int n = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine(), ++n) {
        line.setLineWidth(width());
        const double top = n * step;
        // Closed-up lines keep the characters' em box inside the line.
        const double baseline = natural ? top + line.ascent()
                                        : top + (step - em) / 2 + em * kIdeographAscent;
        line.setPosition(QPointF(0, baseline - line.ascent()));
    }
    layout.endLayout();
    layout.draw(&painter, QPointF(0, 0));
}

FittedFrame::FittedFrame(QWidget* parent)
    : Frame(parent)
{
}

void FittedFrame::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.subControls &= ~QStyle::SC_GroupBoxLabel;
    painter.drawComplexControl(QStyle::CC_GroupBox, option);
    if (caption.isEmpty())
        return;

    QString shown = caption;
    shown.remove(QLatin1Char('&'));
    const QRect labelBox = style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);
    const double em = QFontInfo(font()).pixelSize();
    const QFontMetricsF fm(font());
    painter.fillRect(QRectF(labelBox.left(), 0, fm.horizontalAdvance(shown) + 2, em + 2), palette().window());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QPointF(labelBox.left() + 1, 1 + em * kIdeographAscent), shown);
}

} // namespace forms
