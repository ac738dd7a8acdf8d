// The random UI test: drives the program's windows with random user actions
// delivered as Qt events (typing, pastes, picks, clicks, double clicks, menu
// items, list rows, keys, the close box) and calls the timers' tick handlers,
// answering every message box and file dialog at random through the platform
// seam. After every action it checks that no field or caption shows "nan",
// "inf" or a number in exponent form, that no modal window was left open, that the program ended only
// where a close or exit was asked for, and that the version text of every
// caption is unchanged. One seed decides every choice, so a run replays.
//
// Windows and controls are found generically: the windows from a table (for
// the program, every default instance that src/app/windows.h declares), the
// controls by their forms-layer type, so that a new window is driven as soon
// as it is declared there.
#pragma once

#include "forms/form.h"

#include <QPointer>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <vector>

class QTemporaryDir;

namespace monkey {

class RandomInput;

// A window the monkey may bring up, by the name its default instance goes by.
struct Window {
    QString name;
    std::function<forms::Form&()> instance;
};

// The program's windows: every default instance src/app/windows.h declares.
std::vector<Window> programWindows();

// What a run checks after each action.
enum class FaultKind {
    NumberNotPlain,   // a field, caption or message shows "nan", "inf" or "2E+20"
    ModalLeftOpen,    // a modal window opened and was not closed
    UnaskedEnd,       // the program ended where no close or exit was asked for
    VersionChanged,   // the version text, or a caption's version, changed
    HandlerThrew,     // a handler let an exception other than the end escape
    NoWindowShown,    // nothing left on screen to act on or to close
};

const char* kindName(FaultKind kind);

struct Fault {
    FaultKind kind;
    long action = 0; // 1 for the first action
    QString detail;
};

struct Options {
    std::uint64_t seed = 1;
    long actions = 1000;
    // Starts a run as the program starts (the splash for the program).
    std::function<void()> startRun;
    // The version text every caption carries; none for a run without one.
    std::function<QString()> versionText;
    // Every action as it is done, when given.
    std::ostream* log = nullptr;
};

class Monkey {
public:
    Monkey(std::vector<Window> windows, Options options);
    ~Monkey();

    // Runs the actions; the first fault found ends the run.
    std::optional<Fault> run();

    long actionsDone() const { return m_action; }
    // Runs that ended where the user asked for it, and began again.
    long programEnds() const { return m_programEnds; }
    // Actions done on each window, by its name.
    const std::map<QString, long>& actionsPerWindow() const { return m_perWindow; }
    // The last actions, oldest first.
    const std::deque<QString>& recentActions() const { return m_recent; }
    const Options& options() const { return m_options; }

private:
    // One random action; its description.
    QString act();
    QString actOnControl(forms::Form& form);
    QString actOnTextField(forms::Form& form, QWidget* field);
    QString actOnList(forms::Form& form, QWidget* combo);
    QString actOnListBox(QWidget* list);
    QString typeInto(forms::Form& form, QWidget* field);
    QString pressKey(forms::Form& form);
    QString clickMenuItem(forms::Form& form);
    QString tickTimer();
    QString showWindow();
    QString click(QWidget* widget, bool twice);

    void startRun();
    void settle();
    std::optional<Fault> check();
    std::optional<QString> shownNumberNotPlain(const QWidget& widget) const;
    bool asksForEnd(const QString& caption) const;
    void allowEndIfExitButton(forms::Form& form);
    void count(const forms::Form& form);
    // Logs an action (or, with `action` false, an answer given during one).
    void remember(const QString& description, bool action = true);
    void noteTyped(QWidget* field);
    QString controlName(const QWidget* widget) const;

    int answerMessageBox(const QString& text, int style);
    std::optional<QString> answerFileDialog();
    void createFiles();

    std::vector<Window> m_windows;
    Options m_options;
    std::unique_ptr<RandomInput> m_random;
    std::unique_ptr<QTemporaryDir> m_files;
    std::vector<QString> m_filePool;

    long m_action = 0;
    long m_programEnds = 0;
    std::size_t m_nextWindow = 0;
    bool m_endAllowed = false;
    std::optional<QString> m_modalOpened;
    std::optional<QString> m_messageFault;
    // What a handler threw, caught by the application where events are
    // delivered (the user was told; the handler is still at fault).
    std::optional<QString> m_handlerFailure;
    QString m_version;
    // Per run: texts the user typed or pasted, and whether each window's
    // caption carried the version when it was first seen.
    std::set<QString> m_typed;
    // The lines of the files the file dialogs are answered with.
    std::set<QString> m_fileLines;
    std::map<QString, bool> m_captionHadVersion;
    std::map<QString, long> m_perWindow;
    std::deque<QString> m_recent;
};

// Writes a fault: what it is, the action that showed it, the actions before
// it, and how to replay the run.
void report(std::ostream& out, const Fault& fault, const Monkey& monkey);

} // namespace monkey
