#include "forms/application.h"

#include "forms/form.h"
#include "forms/platform.h"

#include <QKeyEvent>
#include <QLibraryInfo>
#include <QPlainTextEdit>
#include <QStyle>
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

// Working fields that the user never sees (placed outside the client area or
// a frame, or not visible) take no focus, keys, pastes, drops or clicks. The
// focus given to one, by the keyboard, by code or when its window is
// activated, passes on to the next control the user sees.
class UnseenControlGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!isUserInput(event->type()) || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (!qobject_cast<Form*>(widget->window()) || seenByUser(widget))
            return false;
        if (event->type() == QEvent::FocusIn)
            passFocusOn(widget, static_cast<QFocusEvent*>(event)->reason());
        return true;
    }

private:
    static bool isUserInput(QEvent::Type type)
    {
        switch (type) {
        case QEvent::FocusIn:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::InputMethod:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return true;
        default:
            return false;
        }
    }

    static bool takesTabFocus(const QWidget* w, const QWidget* window)
    {
        return w->window() == window && w->isEnabled() && !w->focusProxy()
            && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && seenByUser(w);
    }

    // Gives the focus to the next control the user sees, in tab order
    // (backwards after a back-tab); with none, the window keeps no focus.
    static void passFocusOn(QWidget* from, Qt::FocusReason reason)
    {
        const bool backwards = reason == Qt::BacktabFocusReason;
        const QWidget* window = from->window();
        for (QWidget* w = from;;) {
            w = backwards ? w->previousInFocusChain() : w->nextInFocusChain();
            if (w == from || w == nullptr)
                break;
            if (takesTabFocus(w, window)) {
                w->setFocus(reason);
                return;
            }
        }
        from->clearFocus();
    }
};

// The layouts are fixed in twips for the program's own font, and its
// colours are the style's own: a desktop theme that sets the application's
// font or palette once the event loop runs (or on a theme change) is
// overruled at once.
class ProgramLookKeeper : public QObject {
public:
    ProgramLookKeeper(const QFont& font, const QPalette& palette, QObject* parent)
        : QObject(parent)
        , m_font(font)
        , m_palette(palette)
    {
        QApplication::setFont(m_font);
        QApplication::setPalette(m_palette);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != QCoreApplication::instance())
            return false;
        switch (event->type()) {
        case QEvent::ApplicationFontChange:
            if (!(QApplication::font() == m_font))
                QApplication::setFont(m_font);
            break;
        case QEvent::ApplicationPaletteChange:
        case QEvent::ThemeChange:
            if (!(QApplication::palette() == m_palette))
                QApplication::setPalette(m_palette);
            if (!(QApplication::font() == m_font))
                QApplication::setFont(m_font);
            break;
        default:
            break;
        }
        return false;
    }

private:
    const QFont m_font;
    const QPalette m_palette;
};

} // namespace

Application::Application(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const ProgramEnding&) {
        throw; // ends the program where it is run, as it was asked to
    } catch (const std::bad_alloc&) {
        reportFailedHandler(QStringLiteral("内存不足。"));
    } catch (const std::exception& e) {
        reportFailedHandler(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        reportFailedHandler(QStringLiteral("程序内部出错。"));
    }
    // The event was dealt with, if not to the end: no other widget takes it.
    return true;
}

QString Application::failedOperationMessage(const QString& reason)
{
    return QStringLiteral("操作未能完成：") + reason;
}

void Application::reportFailedHandler(const QString& reason)
{
    // With memory short, even the message may fail; the program goes on
    // without it.
    try {
        Q_EMIT handlerFailed(reason);
        MsgBox(failedOperationMessage(reason), vbOKOnly | vbCritical, kProgramTitle);
    } catch (const ProgramEnding&) {
        throw;
    } catch (...) {
    }
}

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
    app.setApplicationName(kProgramTitle);
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_zh_CN"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(translator);
    app.installEventFilter(new ProgramLookKeeper(fontFor(QStringLiteral("宋体"), 9),
                                                 QApplication::style()->standardPalette(), &app));
    app.installEventFilter(new ButtonKeyFilter(&app));
    // Installed last, so it sees the events first.
    app.installEventFilter(new UnseenControlGuard(&app));
}

} // namespace forms
