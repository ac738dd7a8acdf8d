// The program started where no display answers: it says so in one Chinese
// line and ends with a status of its own, never by Qt's abort or by waiting
// for ever, and nothing another library writes comes before the line. Where
// one of the platforms asked for can be used, it starts: on an X display that
// answers too, also where its caller ignores SIGCHLD.
#include "forms/application.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace {

// A local X display number that nothing listens on.
QString silentDisplay()
{
    for (int n = 99;; ++n) {
        if (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)))
            return QStringLiteral(":%1").arg(n);
    }
}

// An X display of the test's own on the loopback, at the first free display
// number from 50 on. It takes every connection; one that never answers
// leaves the connections waiting, one that refuses answers each setup
// request with a refused authorisation and its reason in English, as a
// display does that the program has no authorisation for.
class LoopbackXDisplay {
public:
    enum class Answer { Never, RefusesAuthorisation };

    explicit LoopbackXDisplay(Answer answer)
        : m_socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0))
    {
        for (m_number = 50; m_number < 400; ++m_number) {
            sockaddr_in address{};
            address.sin_family = AF_INET;
            address.sin_port = qToBigEndian(static_cast<quint16>(6000 + m_number));
            address.sin_addr.s_addr = qToBigEndian(quint32{INADDR_LOOPBACK});
            if (::bind(m_socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
                break;
        }
        ::listen(m_socket, 16);
        if (answer == Answer::RefusesAuthorisation)
            m_server = std::thread([this] { refuseEach(); });
    }

    ~LoopbackXDisplay()
    {
        ::shutdown(m_socket, SHUT_RDWR); // ends the waiting accept()
        if (m_server.joinable())
            m_server.join();
        ::close(m_socket);
    }

    LoopbackXDisplay(const LoopbackXDisplay&) = delete;
    LoopbackXDisplay& operator=(const LoopbackXDisplay&) = delete;

    QString display() const { return QStringLiteral("127.0.0.1:%1").arg(m_number); }

private:
    void refuseEach() const
    {
        for (;;) {
            const int connection = ::accept(m_socket, nullptr, nullptr);
            if (connection < 0)
                return;
            // The setup request: byte order, protocol version, the lengths
            // of an authorisation the client has none of.
            char request[12];
            ::recv(connection, request, sizeof request, MSG_WAITALL);
            // "Failed", the reason's length, version 11.0, the reason's
            // length in 4-byte units, the reason: in the client's byte order
            // ('l', little-endian).
            const char reason[] = "Authorization required, but no authorization protocol specified\n";
            const std::size_t length = sizeof reason - 1;
            std::vector<char> reply(8 + (length + 3) / 4 * 4, '\0');
            reply[1] = static_cast<char>(length);
            reply[2] = 11;
            reply[6] = static_cast<char>((length + 3) / 4);
            std::memcpy(reply.data() + 8, reason, length);
            ::send(connection, reply.data(), reply.size(), MSG_NOSIGNAL);
            // Closed once the client has read the answer and gone.
            ::shutdown(connection, SHUT_WR);
            while (::recv(connection, request, sizeof request, 0) > 0) {
            }
            ::close(connection);
        }
    }

    int m_socket;
    int m_number = 0;
    std::thread m_server;
};

// An X display that answers: an X server of the test's own (Xvfb) on a
// display number the server picks itself and writes to a pipe once it takes
// connections (-displayfd), so the test waits for no more than that. It
// takes local connections without an authorisation, as the programs have
// none, and does not reset when its last client leaves (a program's display
// check connects and leaves before the program connects for good, and a
// server resetting meanwhile refuses the connection). Ended with the test.
class AnsweringXDisplay {
public:
    AnsweringXDisplay()
    {
        int ready[2];
        if (::pipe2(ready, O_CLOEXEC) != 0) {
            m_failure = QStringLiteral("pipe2: ") + QString::fromLocal8Bit(std::strerror(errno));
            return;
        }
        const int serverEnd = ready[1];
        m_server.setProcessChannelMode(QProcess::MergedChannels);
        // The server's end stays open across the server's exec, and in no
        // other program.
        m_server.setChildProcessModifier([serverEnd] { ::fcntl(serverEnd, F_SETFD, 0); });
        m_server.start(QStringLiteral("Xvfb"),
                       {QStringLiteral("-displayfd"), QString::number(serverEnd), QStringLiteral("-nolisten"),
                        QStringLiteral("tcp"), QStringLiteral("-auth"), QStringLiteral("/dev/null"),
                        QStringLiteral("-noreset")});
        ::close(serverEnd);
        // The number and a newline; the end of the pipe when the server
        // did not start or ended.
        QByteArray number;
        pollfd readable{ready[0], POLLIN, 0};
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!number.endsWith('\n')) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                break;
            const int polled = ::poll(&readable, 1, static_cast<int>(left.count()));
            if (polled < 0 && errno == EINTR)
                continue;
            if (polled <= 0)
                break;
            char chunk[16];
            const ssize_t got = ::read(ready[0], chunk, sizeof chunk);
            if (got <= 0)
                break;
            number.append(chunk, got);
        }
        ::close(ready[0]);
        if (number.endsWith('\n')) {
            m_display = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
            return;
        }
        m_server.waitForFinished(1000);
        m_failure = QStringLiteral("Xvfb gave no display number (%1): %2")
                        .arg(m_server.errorString(), QString::fromLocal8Bit(m_server.readAll()));
    }

    ~AnsweringXDisplay()
    {
        if (m_server.state() == QProcess::NotRunning)
            return;
        m_server.terminate(); // removes its socket and lock file
        if (!m_server.waitForFinished(10'000)) {
            m_server.kill();
            m_server.waitForFinished(10'000);
        }
    }

    AnsweringXDisplay(const AnsweringXDisplay&) = delete;
    AnsweringXDisplay& operator=(const AnsweringXDisplay&) = delete;

    // The display, as DISPLAY names it; empty where the server did not start.
    const QString& display() const { return m_display; }
    const QString& failure() const { return m_failure; }

private:
    QProcess m_server;
    QString m_display;
    QString m_failure;
};

// A Wayland compositor's socket at `path` that takes every connection and
// never answers.
class SilentWaylandSocket {
public:
    explicit SilentWaylandSocket(const QString& path)
        : m_socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0))
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(path);
        std::memcpy(address.sun_path, name.constData(),
                    std::min(sizeof address.sun_path - 1, static_cast<std::size_t>(name.size())));
        ::bind(m_socket, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        ::listen(m_socket, 16);
    }
    ~SilentWaylandSocket() { ::close(m_socket); }
    SilentWaylandSocket(const SilentWaylandSocket&) = delete;
    SilentWaylandSocket& operator=(const SilentWaylandSocket&) = delete;

private:
    int m_socket;
};

TEST(StartWithoutDisplay, SaysSoInOneChineseLineAndEndsWithoutAbort)
{
    // (Started first: the display number that nothing listens on is then
    // one the server did not take either.)
    const AnsweringXDisplay answeringX;
    ASSERT_FALSE(answeringX.display().isEmpty())
        << answeringX.failure().toStdString() << " (scripts/install-deps.sh installs Xvfb)";
    const QString display = silentDisplay();
    const QTemporaryDir runtime; // XDG_RUNTIME_DIR, where Wayland sockets are named
    ASSERT_TRUE(runtime.isValid());
    const QString silentCompositor = runtime.filePath(QStringLiteral("wayland-silent"));
    const SilentWaylandSocket silentWayland(silentCompositor);
    const LoopbackXDisplay silentX(LoopbackXDisplay::Answer::Never);
    const LoopbackXDisplay refusingX(LoopbackXDisplay::Answer::RefusesAuthorisation);
    const QString waylandDead = QStringLiteral("wayland-9");

    struct Case {
        const char* name;
        QStringList environment; // NAME=value, beside a display and platform cleared
        QStringList arguments;
        std::optional<QString> named; // the displays the line names; nothing: the program starts
        bool childEndsIgnored = false; // started with SIGCHLD ignored, as `trap '' CHLD` does
    };
    const Case cases[] = {
        {"the platform left to Qt", {QStringLiteral("DISPLAY=") + display}, {},
         QStringLiteral("DISPLAY=") + display},
        {"the X platform asked for",
         {QStringLiteral("DISPLAY=") + display, QStringLiteral("QT_QPA_PLATFORM=xcb")}, {},
         QStringLiteral("DISPLAY=") + display},
        {"the X platform asked for in capitals",
         {QStringLiteral("DISPLAY=") + display, QStringLiteral("QT_QPA_PLATFORM=XCB")}, {},
         QStringLiteral("DISPLAY=") + display},
        {"the display given on the command line", {QStringLiteral("DISPLAY=:0.0x")},
         {QStringLiteral("-display"), display}, QStringLiteral("DISPLAY=") + display},
        {"an X display that takes the connection and never answers",
         {QStringLiteral("DISPLAY=") + silentX.display()}, {},
         QStringLiteral("DISPLAY=") + silentX.display()},
        {"an X display that refuses the authorisation",
         {QStringLiteral("DISPLAY=") + refusingX.display()}, {},
         QStringLiteral("DISPLAY=") + refusingX.display()},
        {"a Wayland compositor named that is not there, no X display",
         {QStringLiteral("WAYLAND_DISPLAY=") + waylandDead}, {},
         QStringLiteral("WAYLAND_DISPLAY=") + waylandDead},
        {"a Wayland compositor that takes the connection and never answers",
         {QStringLiteral("WAYLAND_DISPLAY=") + silentCompositor}, {},
         QStringLiteral("WAYLAND_DISPLAY=") + silentCompositor},
        {"the Wayland platform asked for in capitals",
         {QStringLiteral("WAYLAND_DISPLAY=") + waylandDead, QStringLiteral("QT_QPA_PLATFORM=Wayland")},
         {}, QStringLiteral("WAYLAND_DISPLAY=") + waylandDead},
        {"neither platform of a list answers",
         {QStringLiteral("WAYLAND_DISPLAY=") + waylandDead, QStringLiteral("DISPLAY=") + display,
          QStringLiteral("QT_QPA_PLATFORM=wayland;xcb")},
         {}, QStringLiteral("WAYLAND_DISPLAY=%1，DISPLAY=%2").arg(waylandDead, display)},
        {"a caller that ignores SIGCHLD", {QStringLiteral("DISPLAY=") + display}, {},
         QStringLiteral("DISPLAY=") + display, true},
        {"a platform no plugin serves", {QStringLiteral("QT_QPA_PLATFORM=bogus")}, {},
         QStringLiteral("未安装平台bogus")},
        {"a platform no plugin serves, with options, on the command line",
         {QStringLiteral("QT_QPA_PLATFORM=offscreen")},
         {QStringLiteral("-platform"), QStringLiteral("Bogus:option=1")}, QStringLiteral("未安装平台Bogus")},
        {"the last of two platforms on the command line",
         {}, {QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("-platform"),
              QStringLiteral("bogus")},
         QStringLiteral("未安装平台bogus")},
        {"no platform of a list installed or answering",
         {QStringLiteral("WAYLAND_DISPLAY=") + waylandDead, QStringLiteral("QT_QPA_PLATFORM=bogus;wayland")},
         {}, QStringLiteral("未安装平台bogus，WAYLAND_DISPLAY=") + waylandDead},
        {"a list with a platform no plugin serves before one that starts",
         {QStringLiteral("QT_QPA_PLATFORM=bogus;offscreen")}, {}, std::nullopt},
        {"a platform asked for with a space before it", {QStringLiteral("QT_QPA_PLATFORM= offscreen")},
         {}, std::nullopt},
        {"an X display that answers", {QStringLiteral("DISPLAY=") + answeringX.display()}, {}, std::nullopt},
        {"an X display that answers to a caller that ignores SIGCHLD",
         {QStringLiteral("DISPLAY=") + answeringX.display()}, {}, std::nullopt, true},
    };
    // All started at once: the displays that never answer are waited for
    // side by side.
    std::vector<std::unique_ptr<QProcess>> programs;
    for (const Case& c : cases) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* cleared : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "DISPLAY",
                                    "XDG_SESSION_TYPE"})
            environment.remove(QString::fromLatin1(cleared));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        environment.insert(QStringLiteral("XAUTHORITY"), runtime.filePath(QStringLiteral("none")));
        // (What a program that starts keeps stays in the test's folder.)
        for (const char* folder : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
            environment.insert(QString::fromLatin1(folder), runtime.filePath(QString::fromLatin1(folder)));
        for (const QString& setting : c.environment)
            environment.insert(setting.section(QLatin1Char('='), 0, 0),
                               setting.section(QLatin1Char('='), 1));
        auto& program = programs.emplace_back(std::make_unique<QProcess>());
        program->setProcessEnvironment(environment);
        if (c.childEndsIgnored)
            program->setChildProcessModifier([] { ::signal(SIGCHLD, SIG_IGN); });
        program->start(QStringLiteral(VT_PROGRAM), c.arguments);
    }
    for (std::size_t i = 0; i < programs.size(); ++i) {
        const Case& c = cases[i];
        QProcess& program = *programs[i];
        if (!c.named)
            continue; // looked at below, once the others have ended
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(program.waitForFinished(60'000)) << program.errorString().toStdString();

        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), forms::kNoDisplayStatus);
        EXPECT_EQ(QString::fromUtf8(program.readAllStandardError()).toStdString(),
                  QStringLiteral("无法打开显示器（%1），请在桌面会话中启动本程序。\n")
                      .arg(*c.named)
                      .toStdString());
        EXPECT_TRUE(program.readAllStandardOutput().isEmpty());
    }
    // A program that starts is still running once the displays that never
    // answer have been waited for, well after Qt would have aborted.
    for (std::size_t i = 0; i < programs.size(); ++i) {
        const Case& c = cases[i];
        QProcess& program = *programs[i];
        if (c.named)
            continue;
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(program.waitForFinished(0))
            << "ended with status " << program.exitCode() << ": "
            << QString::fromUtf8(program.readAllStandardError()).toStdString();
        program.kill();
        program.waitForFinished(60'000);
    }
}

}  // namespace
