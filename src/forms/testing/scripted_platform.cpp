#include "forms/testing/scripted_platform.h"

#include <gtest/gtest.h>

namespace forms::testing {

void ScriptedPlatform::reset()
{
    m_msgAnswers.clear();
    m_dialogAnswers.clear();
    m_msgCalls.clear();
    m_dialogCalls.clear();
    m_launchCalls.clear();
    m_programs.clear();
    m_startSucceeds = true;
    m_ended = false;
    m_endings = 0;
    m_msgFallback = nullptr;
    m_dialogFallback = nullptr;
}

int ScriptedPlatform::messageBox(const QString& text, int style, const QString& title)
{
    m_msgCalls.push_back({text, style, title});
    if (m_msgAnswers.empty() && m_msgFallback)
        return m_msgFallback(m_msgCalls.back());
    if (m_msgAnswers.empty()) {
        ADD_FAILURE() << "unexpected message box: \"" << text.toStdString() << "\" titled \""
                      << title.toStdString() << "\" style " << style;
        // The first button of the box.
        switch (style & 7) {
        case vbAbortRetryIgnore:
            return vbAbort;
        case vbYesNoCancel:
        case vbYesNo:
            return vbYes;
        case vbRetryCancel:
            return vbRetry;
        default:
            return vbOK;
        }
    }
    const int answer = m_msgAnswers.front();
    m_msgAnswers.pop_front();
    return answer;
}

std::optional<QString> ScriptedPlatform::fileDialog(const FileDialogRequest& request)
{
    m_dialogCalls.push_back(request);
    if (m_dialogAnswers.empty() && m_dialogFallback)
        return m_dialogFallback(request);
    if (m_dialogAnswers.empty()) {
        ADD_FAILURE() << "unexpected file dialog titled \"" << request.title.toStdString() << "\"";
        return std::nullopt;
    }
    const DialogAnswer answer = m_dialogAnswers.front();
    m_dialogAnswers.pop_front();
    if (answer.cancelled)
        return std::nullopt;
    return answer.path;
}

QString ScriptedPlatform::findProgram(const QString& name)
{
    return m_programs.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
}

bool ScriptedPlatform::startDetached(const QString& program, const QStringList& arguments)
{
    m_launchCalls.push_back({program, arguments});
    return m_startSucceeds;
}

void ScriptedPlatform::endProgram()
{
    m_ended = true;
    ++m_endings;
    throw ProgramEnded();
}

ScriptedPlatform& scripted()
{
    static ScriptedPlatform instance;
    return instance;
}

} // namespace forms::testing
