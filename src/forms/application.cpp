#include "forms/application.h"

#include "forms/form.h"

#include <QKeyEvent>
#include <QLibraryInfo>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTranslator>

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

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

// The value of Qt's command-line option `name` ("-platform", "-display"),
// or nothing.
std::optional<QByteArray> option(int argc, char** argv, const char* name)
{
    for (int i = 1; i + 1 < argc; ++i) {
        // Qt takes "--platform" for "-platform" too.
        const char* given = argv[i][0] == '-' && argv[i][1] == '-' ? argv[i] + 1 : argv[i];
        if (std::strcmp(given, name) == 0)
            return QByteArray(argv[i + 1]);
    }
    return std::nullopt;
}

// Ends the program with one line of its own when Qt would open an X display
// that does not answer: Qt would abort with a hint in English. The display
// is opened and closed again as Qt's X platform opens it. Any other
// platform, and a Wayland session when none is asked for, is Qt's to open.
int& requireDisplay(int& argc, char** argv)
{
    QByteArray platform = option(argc, argv, "-platform").value_or(qgetenv("QT_QPA_PLATFORM"));
    // "xcb:options" or a list of platforms to try, "wayland;xcb".
    for (const char end : {';', ':'}) {
        if (const qsizetype at = platform.indexOf(end); at >= 0)
            platform.truncate(at);
    }
    platform = platform.trimmed();
    if (!platform.isEmpty() && platform != "xcb")
        return argc;
    if (platform.isEmpty() && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return argc;
    const QByteArray display = option(argc, argv, "-display").value_or(qgetenv("DISPLAY"));
    xcb_connection_t* connection =
        xcb_connect(display.isEmpty() ? nullptr : display.constData(), nullptr);
    const bool opened = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    if (opened)
        return argc;
    const QString said = display.isEmpty()
        ? QStringLiteral("无法打开显示器（未设置DISPLAY），请在桌面会话中启动本程序。")
        : QStringLiteral("无法打开显示器（DISPLAY=%1），请在桌面会话中启动本程序。")
              .arg(QString::fromLocal8Bit(display));
    std::fputs((said + QLatin1Char('\n')).toUtf8().constData(), stderr);
    std::exit(kNoDisplayStatus);
}

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
    : QApplication(requireDisplay(argc, argv), argv)
{
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
