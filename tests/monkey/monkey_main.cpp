// The random UI test over every window of the program:
//   monkey [actions] [seed]
// Prints the seed first, so that any failure, a crash included, replays with
// the same two numbers. Exits with 1 on a fault.
#include "monkey.h"

#include "app/run_state.h"
#include "app/windows.h"
#include "forms/application.h"
#include "forms/testing/scripted_platform.h"

#include <QApplication>
#include <QTemporaryDir>

#include <chrono>
#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    const long actions = argc > 1 ? std::stol(argv[1]) : 2000;
    const std::uint64_t seed = argc > 2
        ? std::stoull(argv[2])
        : static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()) % 1000000007;
    const bool verbose = qEnvironmentVariableIsSet("MONKEY_VERBOSE");

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    forms::Application app(argc, argv);
    forms::setUpApplication(app);
    forms::setPlatform(&forms::testing::scripted());
    // Files the program keeps for itself go to a folder of the run's own.
    QTemporaryDir dataHome;
    if (dataHome.isValid())
        qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());

    std::cout << "monkey: " << actions << " actions, seed " << seed << " (replay: scripts/monkey.sh "
              << actions << " " << seed << ")" << std::endl;

    monkey::Options options;
    options.seed = seed;
    options.actions = actions;
    options.startRun = [] { logo(); };
    options.versionText = [] { return RunState::version(); };
    options.log = verbose ? &std::cout : nullptr;
    monkey::Monkey monkey(monkey::programWindows(), options);
    const std::optional<monkey::Fault> fault = monkey.run();
    if (fault) {
        monkey::report(std::cerr, *fault, monkey);
        return 1;
    }
    std::cout << "monkey: " << monkey.actionsDone() << " actions without a fault; the program ended "
              << monkey.programEnds() << " times on request; actions by window:";
    for (const auto& [window, count] : monkey.actionsPerWindow())
        std::cout << " " << window.toStdString() << " " << count;
    std::cout << std::endl;
    return 0;
}
