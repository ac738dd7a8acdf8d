// The random UI test's own tests: a fault of each kind injected into a window
// is reported, with the seed and the action that replay it; what the user
// typed and ends the user asked for are not faults; and every window of the
// program is driven.
#include "monkey.h"

#include "app/run_state.h"
#include "app/splash_form.h"
#include "app/windows.h"
#include "forms/platform.h"
#include "forms/testing/fixture.h"

#include <QDialog>

#include <csignal>
#include <set>
#include <sstream>
#include <stdexcept>

using forms::testing::FormsTest;

namespace {

// What the window's "计 算" does wrong.
enum class Inject {
    Nothing,
    NanShown,
    ExponentShown,
    ModalShown,
    ModalRun,
    EndWithoutExit,
    VersionField,
    CaptionVersion,
    Throw,
    HideLastWindow,
    Crash,
};

Inject g_inject = Inject::Nothing;

// A small calculator: a field, a result label, "计 算" and "退出"; closing it
// or "退出" ends the program, as closing a calculator does.
class FaultyForm : public forms::Form {
public:
    FaultyForm()
        : forms::Form(QString(), 3000, 1500)
    {
        setObjectName(QStringLiteral("Faulty"));
        Text1 = add<forms::TextBox>("Text1", 120, 120, 1200, 300);
        Label1 = add<forms::Label>("Label1", 1500, 165, 1200, 240);
        Label1->setCaption(QStringLiteral("流量"));
        Command1 = add<forms::CommandButton>("Command1", 120, 900, 900, 360);
        Command1->setCaption(QStringLiteral("计 算"));
        Command2 = add<forms::CommandButton>("Command2", 1200, 900, 900, 360);
        Command2->setCaption(QStringLiteral("退出"));
        connect(Command1, &forms::CommandButton::Click, this, &FaultyForm::Command1_Click);
        connect(Command2, &forms::CommandButton::Click, this, [] { forms::endProgram(); });
    }
    void Form_Load() override { setCaption(versionedCaption(QStringLiteral("探针"))); }
    void Form_Unload(int&) override { forms::endProgram(); }

    void Command1_Click()
    {
        switch (g_inject) {
        case Inject::Nothing:
            Label1->setCaption(QStringLiteral("流量 2"));
            break;
        case Inject::NanShown:
            Label1->setCaption(QStringLiteral("流量 NaN"));
            break;
        case Inject::ExponentShown:
            Label1->setCaption(QStringLiteral("流量 2E+20"));
            break;
        case Inject::ModalShown: {
            auto* dialog = new QDialog(this);
            dialog->setAttribute(Qt::WA_DeleteOnClose);
            dialog->setModal(true);
            dialog->show();
            break;
        }
        case Inject::ModalRun: {
            QDialog dialog(this);
            dialog.exec();
            break;
        }
        case Inject::EndWithoutExit:
            forms::endProgram();
        case Inject::VersionField:
            logo().ver->setText(QStringLiteral("8.09E-291") + logo().ver->Text());
            break;
        case Inject::CaptionVersion:
            setCaption(QStringLiteral("探针V9.9"));
            break;
        case Inject::Throw:
            throw std::runtime_error("injected");
        case Inject::HideLastWindow:
            Hide();
            break;
        case Inject::Crash:
            std::raise(SIGSEGV);
            break;
        }
    }

    forms::TextBox* Text1;
    forms::Label* Label1;
    forms::CommandButton* Command1;
    forms::CommandButton* Command2;
};

constexpr std::uint64_t kSeed = 5;

class MonkeyTest : public FormsTest {
protected:
    void SetUp() override
    {
        FormsTest::SetUp();
        g_inject = Inject::Nothing;
    }

    // A run over the faulty window alone, started as the program starts
    // (the splash holds the version), with the splash's countdown stopped.
    static monkey::Monkey faultyRun(long actions)
    {
        monkey::Options options;
        options.seed = kSeed;
        options.actions = actions;
        options.startRun = [] {
            logo().Timer1->setEnabled(false);
            logo().Hide();
            forms::defaultInstance<FaultyForm>().Show();
        };
        options.versionText = [] { return RunState::version(); };
        return monkey::Monkey(
            {{QStringLiteral("Faulty"), []() -> forms::Form& { return forms::defaultInstance<FaultyForm>(); }}},
            options);
    }
};

TEST_F(MonkeyTest, InjectedFaultsAreReportedWithTheirReplay)
{
    struct Row {
        const char* name;
        Inject inject;
        monkey::FaultKind kind;
    };
    const Row rows[] = {
        {"nan in a label", Inject::NanShown, monkey::FaultKind::NumberNotPlain},
        {"exponent in a label", Inject::ExponentShown, monkey::FaultKind::NumberNotPlain},
        {"modal dialog shown", Inject::ModalShown, monkey::FaultKind::ModalLeftOpen},
        {"modal dialog run", Inject::ModalRun, monkey::FaultKind::ModalLeftOpen},
        {"end from 计 算", Inject::EndWithoutExit, monkey::FaultKind::UnaskedEnd},
        {"version field written", Inject::VersionField, monkey::FaultKind::VersionChanged},
        {"caption's version", Inject::CaptionVersion, monkey::FaultKind::VersionChanged},
        {"exception", Inject::Throw, monkey::FaultKind::HandlerThrew},
        {"last window hidden", Inject::HideLastWindow, monkey::FaultKind::NoWindowShown},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        g_inject = row.inject;
        monkey::Monkey run = faultyRun(400);
        const std::optional<monkey::Fault> fault = run.run();
        ASSERT_TRUE(fault.has_value());
        EXPECT_EQ(fault->kind, row.kind) << monkey::kindName(fault->kind) << ": " << fault->detail.toStdString();
        EXPECT_EQ(fault->action, run.actionsDone());
        // The report names the action that showed the fault and replays it.
        std::ostringstream report;
        monkey::report(report, *fault, run);
        EXPECT_NE(report.str().find("Command1"), std::string::npos) << report.str();
        EXPECT_NE(report.str().find("replay: scripts/monkey.sh " + std::to_string(fault->action) + " "
                                    + std::to_string(kSeed)),
                  std::string::npos)
            << report.str();
    }
}

TEST_F(MonkeyTest, ASeedReplaysTheSameRun)
{
    g_inject = Inject::NanShown;
    monkey::Monkey first = faultyRun(400);
    const std::optional<monkey::Fault> a = first.run();
    monkey::Monkey second = faultyRun(400);
    const std::optional<monkey::Fault> b = second.run();
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->action, b->action);
    EXPECT_EQ(first.recentActions(), second.recentActions());
}

TEST_F(MonkeyTest, ACrashIsReportedWithTheActionAndTheSeed)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    g_inject = Inject::Crash;
    EXPECT_DEATH(faultyRun(400).run(),
                 "monkey: crashed in action [0-9]+ of seed 5: .*Command1.*replay: scripts/monkey.sh [0-9]+ 5");
}

// Typed "inf" is the user's text, "退出" and the close box end the program
// as asked, and the run goes on from a new start.
TEST_F(MonkeyTest, TypedTextsAndAskedForEndsAreNoFaults)
{
    monkey::Monkey run = faultyRun(1500);
    const std::optional<monkey::Fault> fault = run.run();
    EXPECT_FALSE(fault.has_value()) << monkey::kindName(fault->kind) << ": " << fault->detail.toStdString();
    EXPECT_EQ(run.actionsDone(), 1500);
    EXPECT_GT(run.programEnds(), 0);
}

// Every default instance src/app/windows.h declares is in the table and is
// driven within a short run, found by its controls' types alone.
TEST_F(MonkeyTest, EveryWindowOfTheProgramIsDriven)
{
    const std::vector<monkey::Window> windows = monkey::programWindows();
    std::set<QString> names;
    for (const monkey::Window& w : windows)
        names.insert(w.name);
    for (const char* name : {"logo", "form0", "Form1", "form2", "form13", "Form14", "Form15", "Form10",
                             "Form6", "form7", "Form8", "Form11", "Form5", "form12", "About", "Form9",
                             "Login", "form3", "Form4"})
        EXPECT_TRUE(names.count(QString::fromLatin1(name))) << name;

    monkey::Options options;
    options.seed = kSeed;
    options.actions = 1000;
    options.startRun = [] { logo(); };
    options.versionText = [] { return RunState::version(); };
    monkey::Monkey run(windows, options);
    const std::optional<monkey::Fault> fault = run.run();
    if (fault) {
        std::ostringstream report;
        monkey::report(report, *fault, run);
        ADD_FAILURE() << report.str();
    }
    for (const monkey::Window& w : windows)
        EXPECT_GT(run.actionsPerWindow().count(w.name) ? run.actionsPerWindow().at(w.name) : 0, 1)
            << w.name.toStdString();
}

} // namespace
