#include "forms/handler.h"

#include "forms/application.h"
#include "forms/platform.h"

#include <new>

namespace forms {

namespace {

// The message shown when a handler failed for `reason` ("内存不足。", or the
// exception's own text).
QString failedOperationMessage(const QString& reason)
{
    return QStringLiteral("操作未能完成：") + reason;
}

} // namespace

namespace detail {

void handlerStopped(std::exception_ptr reason) noexcept
{
    // With memory short, even the message may fail; the program goes on
    // without it.
    try {
        QString text;
        try {
            std::rethrow_exception(reason);
        } catch (const ProgramEnding&) {
            return; // the program has ended where it is run, as it was asked to
        } catch (const std::bad_alloc&) {
            text = QStringLiteral("内存不足。");
        } catch (const std::exception& e) {
            text = QString::fromLocal8Bit(e.what());
        } catch (...) {
            text = QStringLiteral("程序内部出错。");
        }
        if (auto* app = qobject_cast<Application*>(QCoreApplication::instance()))
            Q_EMIT app->handlerFailed(text);
        MsgBox(failedOperationMessage(text), vbOKOnly | vbCritical, kProgramTitle);
    } catch (...) {
    }
}

} // namespace detail

} // namespace forms
