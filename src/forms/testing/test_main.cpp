// Entry point shared by every test executable: a QApplication set up as the
// program's own, and the scripted platform, so no test can open a real modal
// dialog.
#include "forms/application.h"
#include "forms/testing/scripted_platform.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Tests never need a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    forms::setUpApplication(app);
    forms::setPlatform(&forms::testing::scripted());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
