// The one seam between the windows and the outside world: message boxes,
// the common file dialog, starting other programs, ending the program and
// the wall clock behind timers. The program runs on QtPlatform; tests install
// a scripted platform that answers from a queue and records every request.
#pragma once

#include <QString>
#include <QStringList>

#include <exception>
#include <optional>

class QFileDialog;
class QMessageBox;
class QWidget;

namespace forms {

// Message box styles and answers, as the forms runtime numbers them.
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton1 = 0,
    vbDefaultButton2 = 256,
};

enum MsgBoxResult : int {
    vbOK = 1,
    vbCancel = 2,
    vbAbort = 3,
    vbRetry = 4,
    vbIgnore = 5,
    vbYes = 6,
    vbNo = 7,
};

// One request to the common file dialog.
struct FileDialogRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString title;
    // Runtime filter string: "(*.txt)|*.txt|(*.dat)|*.dat|(*.*)|*.*".
    QString filter;
    int filterIndex = 1;
    QString initialDir;
    QString fileName;
    bool overwritePrompt = false;
};

class Platform {
public:
    virtual ~Platform();

    // Modal message box; returns one of MsgBoxResult.
    virtual int messageBox(const QString& text, int style, const QString& title) = 0;
    // Modal common file dialog; the chosen path, or nothing when cancelled.
    virtual std::optional<QString> fileDialog(const FileDialogRequest& request) = 0;
    // Full path of a program found on the search path, or empty.
    virtual QString findProgram(const QString& name) = 0;
    // Starts a program detached, without a shell; true when it started.
    virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;
    // Ends the program at once. Must not return normally.
    virtual void endProgram() = 0;
    // Whether timers tick on the wall clock (tests drive tick handlers instead).
    virtual bool timersRun() const = 0;
    // Brings `window` to the front of the others, where windows stack.
    virtual void raiseWindow(QWidget& window) = 0;
};

// The platform in force; QtPlatform unless another was installed.
Platform& platform();
// Installs `p` (not owned) and returns the one it replaces; nullptr restores
// the Qt platform.
Platform* setPlatform(Platform* p);

// The Qt implementation used by the program itself.
class QtPlatform final : public Platform {
public:
    int messageBox(const QString& text, int style, const QString& title) override;
    std::optional<QString> fileDialog(const FileDialogRequest& request) override;
    QString findProgram(const QString& name) override;
    bool startDetached(const QString& program, const QStringList& arguments) override;
    void endProgram() override;
    bool timersRun() const override { return true; }
    void raiseWindow(QWidget& window) override;
};

// The runtime's MsgBox: character 10 in `text` breaks the line.
int MsgBox(const QString& text, int style = vbOKOnly, const QString& title = QString());

// The runtime's End: ends the program at once; no window's unload handler
// runs and the calling handler does not go on.
[[noreturn]] void endProgram();

// Thrown by a platform whose endProgram() ends the program by unwinding
// (the tests' scripted platform, which records the end): the handler goes no
// further, and its boundary (forms/handler.h) returns quietly.
struct ProgramEnding : std::exception {
    const char* what() const noexcept override { return "program ended"; }
};

// Converts a runtime filter string "(*.txt)|*.txt|(*.*)|*.*" to Qt's form
// "(*.txt) (*.txt);;(*.*) (*.*)"; each pair becomes one filter.
QStringList dialogFilters(const QString& runtimeFilter);

// Sets `box` up as the runtime's MsgBox shows it: icon, title, text,
// buttons, default and Esc button. The box is at least as wide as its title
// in the program's font plus the title bar's icon and buttons, so that the
// title bar shows the title whole.
void prepareMessageBox(QMessageBox& box, const QString& text, int style, const QString& title);

// Sets `dialog` up for `request`: mode, title, folder, file name, and the
// filters, each shown by its description alone as the runtime shows it
// ("(*.txt)", not "(*.txt) (*.txt)").
void prepareFileDialog(QFileDialog& dialog, const FileDialogRequest& request);

} // namespace forms
