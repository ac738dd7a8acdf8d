#include "forms/application.h"

#include "forms/form.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QPlainTextEdit>
#include <QTranslator>

namespace forms {

namespace {

// Enter and Esc reach a window's default and cancel buttons from whichever
// control has the focus; Qt would otherwise let line edits and editable
// drop-down lists act on them (an editable list picks an entry on Enter).
class ButtonKeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const int k = key->key();
        if (k != Qt::Key_Return && k != Qt::Key_Enter && k != Qt::Key_Escape)
            return false;
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget)
            return false;
        if (k != Qt::Key_Escape && qobject_cast<QPlainTextEdit*>(widget))
            return false; // a line break in a multi-line text
        auto* form = qobject_cast<Form*>(widget->window());
        if (!form)
            return false;
        return form->pressKey(k);
    }
};

} // namespace

QStringList fontFamiliesFor(const QString& face)
{
    const QStringList serif = {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC"),
                               QStringLiteral("WenQuanYi Micro Hei")};
    const QStringList sans = {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei"),
                              QStringLiteral("Noto Serif CJK SC")};
    if (face == QStringLiteral("宋体") || face == QStringLiteral("隶书")
        || face == QStringLiteral("楷体_GB2312") || face == QStringLiteral("仿宋_GB2312"))
        return serif;
    return sans;
}

QFont fontFor(const QString& face, double points, bool bold)
{
    QFont font;
    font.setFamilies(fontFamiliesFor(face));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void setUpApplication(QApplication& app)
{
    app.setQuitOnLastWindowClosed(false);
    app.setApplicationName(QStringLiteral("Vantor_Tools"));
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_zh_CN"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(translator);
    app.setFont(fontFor(QStringLiteral("宋体"), 9));
    app.installEventFilter(new ButtonKeyFilter(&app));
}

} // namespace forms
