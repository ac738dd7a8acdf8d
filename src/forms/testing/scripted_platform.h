// A platform for tests: every message box, file dialog, program start and
// program end is recorded, and answered from queues the test fills. A modal
// that the test did not expect fails the test at once (it never waits for a
// person). Ending the program is recorded and throws ProgramEnded, so that
// the handler that ended it goes no further; the handler's boundary stops it
// quietly.
#pragma once

#include "forms/platform.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace forms::testing {

struct MessageBoxCall {
    QString text;
    int style = 0;
    QString title;
};

struct LaunchCall {
    QString program;
    QStringList arguments;
};

// Thrown by endProgram() under the scripted platform.
struct ProgramEnded : ProgramEnding {};

class ScriptedPlatform final : public Platform {
public:
    // Queues the answer of the next message box (vbOK, vbYes, ...).
    void answerMessageBox(int answer) { m_msgAnswers.push_back(answer); }
    // Queues the answer of the next file dialog: a path, or nothing (cancel).
    void answerFileDialog(const std::optional<QString>& path)
    {
        m_dialogAnswers.push_back({!path.has_value(), path.value_or(QString())});
    }
    // Answers a message box or file dialog for which no answer is queued,
    // instead of failing the test (the random UI test answers at random).
    using MessageBoxAnswerer = std::function<int(const MessageBoxCall&)>;
    using FileDialogAnswerer = std::function<std::optional<QString>(const FileDialogRequest&)>;
    void setFallback(MessageBoxAnswerer messageBoxes, FileDialogAnswerer fileDialogs)
    {
        m_msgFallback = std::move(messageBoxes);
        m_dialogFallback = std::move(fileDialogs);
    }
    // Programs that findProgram() finds, by name.
    void setPrograms(const QStringList& names) { m_programs = names; }
    void setStartSucceeds(bool ok) { m_startSucceeds = ok; }

    const std::vector<MessageBoxCall>& messageBoxes() const { return m_msgCalls; }
    const std::vector<FileDialogRequest>& fileDialogs() const { return m_dialogCalls; }
    const std::vector<LaunchCall>& launches() const { return m_launchCalls; }
    bool programEnded() const { return m_ended; }
    // How often the program was ended since the last reset().
    int endings() const { return m_endings; }
    // Answers queued but not used.
    std::size_t pendingAnswers() const { return m_msgAnswers.size() + m_dialogAnswers.size(); }

    // Forgets every queued answer, record and fallback: a new test.
    void reset();

    int messageBox(const QString& text, int style, const QString& title) override;
    std::optional<QString> fileDialog(const FileDialogRequest& request) override;
    QString findProgram(const QString& name) override;
    bool startDetached(const QString& program, const QStringList& arguments) override;
    void endProgram() override;
    bool timersRun() const override { return false; }
    void raiseWindow(QWidget&) override {}

private:
    std::deque<int> m_msgAnswers;
    struct DialogAnswer {
        bool cancelled;
        QString path;
    };
    std::deque<DialogAnswer> m_dialogAnswers;
    std::vector<MessageBoxCall> m_msgCalls;
    std::vector<FileDialogRequest> m_dialogCalls;
    std::vector<LaunchCall> m_launchCalls;
    MessageBoxAnswerer m_msgFallback;
    FileDialogAnswerer m_dialogFallback;
    QStringList m_programs;
    bool m_startSucceeds = true;
    bool m_ended = false;
    int m_endings = 0;
};

// The scripted platform installed by the tests' main().
ScriptedPlatform& scripted();

} // namespace forms::testing
