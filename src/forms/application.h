// Program-wide set-up of the forms layer: the application object that keeps
// the program running when a handler fails, Chinese button texts of Qt's own
// dialogs, the CJK fonts standing in for the layouts' font names (the
// program's font and colours kept whatever a desktop theme sets), Enter and
// Esc as default and cancel buttons in every window, working fields the user
// never sees kept out of reach (seenByUser()), and no implicit end of the
// program when the last window is hidden.
#pragma once

#include <QApplication>
#include <QFont>
#include <QString>

namespace forms {

// The program's application object. An exception that escapes the handler of
// an event (a failed allocation, a fault of the handler) does not end the
// program: the user is told in a critical message box that the operation did
// not complete, and the program goes on with the next event. Each handler is
// itself responsible for writing nothing before it has all it needs.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The message shown when a handler failed for `reason` ("内存不足。", or
    // the exception's own text).
    static QString failedOperationMessage(const QString& reason);

Q_SIGNALS:
    // A handler failed; emitted before the user is told. The random UI test
    // reports it as a fault.
    void handlerFailed(const QString& reason);

private:
    void reportFailedHandler(const QString& reason);
};

// The title of the program's own messages.
inline const QString kProgramTitle = QStringLiteral("Vantor_Tools");

// Installs the forms layer's behaviour on `app`. Call once, before the first
// window is referenced.
void setUpApplication(QApplication& app);

// The installed font standing in for a layout's font name ("宋体", "隶书",
// "华文彩云", "黑体", ...), at `points` size.
QFont fontFor(const QString& face, double points, bool bold = false);

// The families tried, in order, for a layout's font name.
QStringList fontFamiliesFor(const QString& face);

} // namespace forms
