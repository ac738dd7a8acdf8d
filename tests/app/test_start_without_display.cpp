// The program started where no display answers: it says so in one Chinese
// line and ends with a status of its own, never by Qt's abort.
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

#include <gtest/gtest.h>

namespace {

// A local X display number that nothing listens on.
QString silentDisplay()
{
    for (int n = 99;; ++n) {
        if (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)))
            return QStringLiteral(":%1").arg(n);
    }
}

TEST(StartWithoutDisplay, SaysSoInOneChineseLineAndEndsWithoutAbort)
{
    const QString display = silentDisplay();
    struct Case {
        const char* name;
        const char* platform;  // QT_QPA_PLATFORM; none: unset
        QStringList arguments;
    };
    const Case cases[] = {
        {"the platform left to Qt", nullptr, {}},
        {"the X platform asked for", "xcb", {}},
        {"the display given on the command line", nullptr, {QStringLiteral("-display"), display}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("DISPLAY"),
                           c.arguments.isEmpty() ? display : QStringLiteral(":0.0x"));
        if (c.platform)
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QString::fromLatin1(c.platform));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(VT_PROGRAM), c.arguments);
        ASSERT_TRUE(program.waitForFinished(60'000)) << program.errorString().toStdString();

        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_NE(program.exitCode(), 0);
        EXPECT_EQ(QString::fromUtf8(program.readAllStandardError()).toStdString(),
                  QStringLiteral("无法打开显示器（DISPLAY=%1），请在桌面会话中启动本程序。\n")
                      .arg(display)
                      .toStdString());
        EXPECT_TRUE(program.readAllStandardOutput().isEmpty());
    }
}

}  // namespace
