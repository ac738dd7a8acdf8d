// Entry point shared by every test executable: a QApplication set up as the
// program's own, and the scripted platform, so no test can open a real modal
// dialog.
#include "forms/application.h"
#include "forms/testing/scripted_platform.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The offscreen platform says so whenever a window asks for stacking or size
// hints it has no use for; those lines only hide the tests' own output.
QtMessageHandler g_defaultHandler = nullptr;

void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith(QStringLiteral("This plugin does not support")))
        return;
    g_defaultHandler(type, context, message);
}

} // namespace

int main(int argc, char** argv)
{
    g_defaultHandler = qInstallMessageHandler(quietHandler);
    // Tests never need a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    forms::Application app(argc, argv);
    // Files the program keeps for itself go to a folder of the run's own,
    // never into the user's data folder; a test may point elsewhere still.
    QTemporaryDir dataHome;
    if (dataHome.isValid())
        qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    forms::setUpApplication(app);
    forms::setPlatform(&forms::testing::scripted());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
