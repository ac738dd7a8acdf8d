#include "forms/application.h"

#include "forms/form.h"
#include "forms/handler.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QPlainTextEdit>
#include <QPluginLoader>
#include <QStyle>
#include <QTranslator>

#include <wayland-client-core.h>
#include <xcb/xcb.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <utility>

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
        if (event->type() == QEvent::FocusIn) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            runHandler([widget, reason] { passFocusOn(widget, reason); });
        }
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

// Where the value of Qt's command-line option `name` ("-platform",
// "-display") stands in `argv`, or nothing. Qt takes the last where the
// option is given twice.
std::optional<int> optionAt(int argc, char** argv, const char* name)
{
    std::optional<int> at;
    for (int i = 1; i + 1 < argc; ++i) {
        // Qt takes "--platform" for "-platform" too.
        const char* given = argv[i][0] == '-' && argv[i][1] == '-' ? argv[i] + 1 : argv[i];
        if (std::strcmp(given, name) == 0)
            at = ++i; // the value, not an option of its own
    }
    return at;
}

// The value of Qt's command-line option `name`, or nothing.
std::optional<QByteArray> option(int argc, char** argv, const char* name)
{
    if (const std::optional<int> at = optionAt(argc, argv, name))
        return QByteArray(argv[*at]);
    return std::nullopt;
}

// How long a display may take to take a connection and answer its first
// request before it counts as one that does not answer.
constexpr std::chrono::milliseconds kDisplayAnswerTime{4000};

// SIGCHLD at its default for as long as it lives, and then as the caller of
// the program set it. Where the caller ignores it (`trap '' CHLD`, some
// launchers), the system would reap a child by itself and waitpid() would
// find none to wait for.
class ChildEndSignalAtDefault {
public:
    ChildEndSignalAtDefault()
    {
        struct sigaction byDefault {};
        byDefault.sa_handler = SIG_DFL;
        sigemptyset(&byDefault.sa_mask);
        m_set = ::sigaction(SIGCHLD, &byDefault, &m_callers) == 0;
    }
    ~ChildEndSignalAtDefault()
    {
        if (m_set)
            ::sigaction(SIGCHLD, &m_callers, nullptr);
    }
    ChildEndSignalAtDefault(const ChildEndSignalAtDefault&) = delete;
    ChildEndSignalAtDefault& operator=(const ChildEndSignalAtDefault&) = delete;

private:
    struct sigaction m_callers {};
    bool m_set = false;
};

// Whether `opens()`, an opening of a display with its first exchange, ends
// well within kDisplayAnswerTime. It runs in a child process: a display that
// takes the connection and never answers would hold the program for ever,
// and the connection libraries write a refusing server's reason (in English)
// to the error output, which the child does not share. A child that cannot
// be waited for counts as a display that does not answer.
template <class Opens>
bool answersInTime(const Opens& opens)
{
    const ChildEndSignalAtDefault waitable;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return opens();
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ends[0]);
        const int quiet = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (quiet >= 0)
            ::dup2(quiet, STDERR_FILENO);
        ::_exit(opens() ? 0 : 1);
    }
    ::close(ends[1]);
    if (child < 0) {
        ::close(ends[0]);
        return opens();
    }
    // The child's end of the pipe closes when the child ends.
    pollfd childEnded{ends[0], POLLIN, 0};
    const auto deadline = std::chrono::steady_clock::now() + kDisplayAnswerTime;
    bool ended = false;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        const int ready = ::poll(&childEnded, 1, static_cast<int>(left.count()));
        if (ready > 0) {
            ended = true;
            break;
        }
        if (ready == 0 || errno != EINTR)
            break;
    }
    ::close(ends[0]);
    if (!ended)
        ::kill(child, SIGKILL);
    int status = 0;
    pid_t waited = 0;
    do {
        waited = ::waitpid(child, &status, 0);
    } while (waited < 0 && errno == EINTR);
    return ended && waited == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Whether the X display `display` (DISPLAY's when empty) takes a connection,
// as Qt's X platform opens it.
bool xDisplayOpens(const QByteArray& display)
{
    xcb_connection_t* connection =
        xcb_connect(display.isEmpty() ? nullptr : display.constData(), nullptr);
    const bool opened = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return opened;
}

// Whether the Wayland compositor of the environment (WAYLAND_DISPLAY, a path
// or a name in XDG_RUNTIME_DIR) takes a connection and answers a round trip,
// as Qt's Wayland platform opens it.
bool waylandDisplayOpens()
{
    wl_display* connection = wl_display_connect(nullptr);
    if (!connection)
        return false;
    const bool answered = wl_display_roundtrip(connection) >= 0;
    wl_display_disconnect(connection);
    return answered;
}

// The platforms (in lower case, as Qt matches them in any case) that the
// platform plugins installed where Qt looks for them serve: in
// `platformFolder` (-platformpluginpath or QT_QPA_PLATFORM_PLUGIN_PATH) and in
// "platforms" in each of Qt's library folders (QT_PLUGIN_PATH's, Qt's own
// plugin folder and the program's folder). Each plugin's keys are read from
// its metadata; none is loaded.
QStringList installedPlatforms(const QString& platformFolder)
{
    QStringList folders = {platformFolder};
    QStringList libraryFolders = QCoreApplication::libraryPaths();
    libraryFolders.append(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath());
    for (const QString& libraryFolder : std::as_const(libraryFolders))
        folders.append(libraryFolder + QStringLiteral("/platforms"));
    QStringList keys;
    for (const QString& folder : folders) {
        if (folder.isEmpty())
            continue;
        for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files)) {
            const QJsonObject plugin = QPluginLoader(file.absoluteFilePath()).metaData();
            if (plugin.value(QStringLiteral("IID")).toString()
                != QStringLiteral("org.qt-project.Qt.QPA.QPlatformIntegrationFactoryInterface.5.3"))
                continue;
            const QJsonArray served =
                plugin.value(QStringLiteral("MetaData")).toObject().value(QStringLiteral("Keys")).toArray();
            for (const QJsonValue& key : served)
                keys.append(key.toString().toLower());
        }
    }
    keys.removeDuplicates();
    return keys;
}

// Ends the program with one line of its own when Qt would open no display
// that answers: Qt would abort with a hint in English, or wait for ever on a
// display that takes the connection and never answers. The platforms Qt is
// asked for ("-platform" or QT_QPA_PLATFORM: a name with options,
// "xcb:option", or a list to try in order, "wayland;xcb"; Qt takes the names
// in any case) are tried in order: one that no installed plugin serves does
// not answer, and each X display and Wayland compositor is opened and closed
// again as Qt's platform opens it; Qt is then asked for the platforms from
// the first that answers on, their names trimmed (Qt takes a space as part of
// the name). Where no platform is asked for, that is the Wayland compositor
// named (when Qt's Wayland platform is installed), else the X display. Any
// other installed platform is Qt's to open.
int& requireDisplay(int& argc, char** argv)
{
    const std::optional<int> platformAt = optionAt(argc, argv, "-platform");
    const QByteArray asked = platformAt ? QByteArray(argv[*platformAt]) : qgetenv("QT_QPA_PLATFORM");
    const QByteArray xDisplay = option(argc, argv, "-display").value_or(qgetenv("DISPLAY"));
    const QByteArray waylandDisplay = qgetenv("WAYLAND_DISPLAY");
    const std::optional<QByteArray> platformFolder = option(argc, argv, "-platformpluginpath");
    const QStringList installed = installedPlatforms(
        platformFolder ? QFile::decodeName(*platformFolder) : qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH"));
    QList<QByteArray> platforms;
    for (const QByteArray& entry : asked.split(';')) {
        if (!entry.trimmed().isEmpty())
            platforms.append(entry.trimmed());
    }
    const bool leftToQt = platforms.isEmpty();
    if (leftToQt) {
        if (!waylandDisplay.isEmpty() && installed.contains(QStringLiteral("wayland")))
            platforms.append("wayland");
        if (!xDisplay.isEmpty() || platforms.isEmpty())
            platforms.append("xcb");
    }
    QStringList tried; // the displays that did not answer, as the line names them
    for (qsizetype i = 0; i < platforms.size(); ++i) {
        const QString given = QString::fromLocal8Bit(platforms[i].split(':').constFirst().trimmed());
        const QString name = given.toLower();
        bool answers = true;
        if (!installed.contains(name)) {
            answers = false;
            tried.append(QStringLiteral("未安装平台") + given);
        } else if (name == QStringLiteral("xcb")) {
            answers = answersInTime([&] { return xDisplayOpens(xDisplay); });
            if (!answers)
                tried.append(xDisplay.isEmpty() ? QStringLiteral("未设置DISPLAY")
                                                : QStringLiteral("DISPLAY=") + QString::fromLocal8Bit(xDisplay));
        } else if (name.startsWith(QStringLiteral("wayland")) && qEnvironmentVariableIsEmpty("WAYLAND_SOCKET")) {
            // (A compositor that handed over its connection in WAYLAND_SOCKET
            // is Qt's to use: a check would spend it.)
            answers = answersInTime(waylandDisplayOpens);
            if (!answers)
                tried.append(waylandDisplay.isEmpty()
                                 ? QStringLiteral("未设置WAYLAND_DISPLAY")
                                 : QStringLiteral("WAYLAND_DISPLAY=") + QString::fromLocal8Bit(waylandDisplay));
        }
        if (!answers)
            continue;
        static QByteArray chosen;
        chosen = platforms.mid(i).join(';');
        if (chosen == asked)
            return argc; // as asked
        if (platformAt)
            argv[*platformAt] = chosen.data();
        else
            qputenv("QT_QPA_PLATFORM", chosen);
        return argc;
    }
    tried.removeDuplicates();
    const QString said = QStringLiteral("无法打开显示器（%1），请在桌面会话中启动本程序。")
                             .arg(tried.join(QStringLiteral("，")));
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
        if (watched == QCoreApplication::instance())
            runHandler([this, event] { keepProgramLook(event->type()); });
        return false;
    }

private:
    void keepProgramLook(QEvent::Type type) const
    {
        switch (type) {
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
    }

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
