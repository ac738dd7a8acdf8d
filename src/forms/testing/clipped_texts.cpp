#include "forms/testing/clipped_texts.h"

#include "forms/controls.h"
#include "forms/fitted_text.h"

#include <QDir>
#include <QFontMetrics>
#include <QPixmap>

namespace forms::testing {

QStringList clippedTexts(const QWidget& window)
{
    QStringList clipped;
    for (const auto* label : window.findChildren<forms::Label*>()) {
        if (label->Caption().isEmpty() || !label->isVisibleTo(&window))
            continue;
        // Fitted labels close up their lines to fit by themselves.
        if (qobject_cast<const forms::FittedLabel*>(label))
            continue;
        const QFontMetrics fm(label->font());
        QString shown = label->Caption();
        if (label->buddy())
            shown.remove(QLatin1Char('&')); // drawn as an underlined access key
        const QRect need = fm.boundingRect(QRect(0, 0, label->width(), 10000),
                                           Qt::TextWordWrap, shown);
        // The CJK fonts' descent below Latin text may overhang a line by a
        // few pixels without hiding any glyph.
        if (need.height() > label->height() + fm.descent() || need.width() > label->width())
            clipped << label->objectName() + QStringLiteral(": ") + label->Caption() + QStringLiteral(" (%1x%2 in %3x%4)").arg(need.width()).arg(need.height()).arg(label->width()).arg(label->height());
    }
    for (const auto* box : window.findChildren<forms::TextBox*>()) {
        if (!box->isVisibleTo(&window))
            continue;
        const QFontMetrics fm(box->font());
        if (fm.horizontalAdvance(box->Text()) > box->width() - 8 || fm.ascent() > box->height() - 4)
            clipped << box->objectName() + QStringLiteral(": ") + box->Text();
    }
    for (const auto* button : window.findChildren<forms::CommandButton*>()) {
        const QFontMetrics fm(button->font());
        QString text = button->Caption();
        text.remove(QLatin1Char('&'));
        if (fm.horizontalAdvance(text) > button->width() - 4 || fm.height() > button->height())
            clipped << button->objectName() + QStringLiteral(": ") + text;
    }
    for (const auto* combo : window.findChildren<forms::ComboBox*>()) {
        if (!combo->isVisibleTo(&window))
            continue;
        const QFontMetrics fm(combo->font());
        // Room left of the drop-down arrow.
        if (fm.horizontalAdvance(combo->Text()) > combo->width() - 22)
            clipped << combo->objectName() + QStringLiteral(": ") + combo->Text();
    }
    return clipped;
}

void snapshot(QWidget& window, const QString& name)
{
    const QString dir = qEnvironmentVariable("VT_SNAPSHOT_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    window.grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

} // namespace forms::testing
