// Program-wide set-up of the forms layer: the application object that tells
// when a handler failed, Chinese button texts of Qt's own dialogs, the CJK
// fonts standing in for the layouts' font names (the program's font and
// colours kept whatever a desktop theme sets), Enter and
// Esc as default and cancel buttons in every window, working fields the user
// never sees kept out of reach (seenByUser()), and no implicit end of the
// program when the last window is hidden.
#pragma once

#include <QApplication>
#include <QFont>
#include <QString>

namespace forms {

// The program's application object. No exception reaches it: every handler
// runs inside the boundary of forms/handler.h, which reports a failure here
// before it tells the user.
class Application : public QApplication {
    Q_OBJECT
public:
    // Where no display Qt would open (an X display or a Wayland compositor)
    // answers within seconds, or none is named, or no installed plugin serves
    // the platform asked for, the program says so in one line on the error
    // output and ends with kNoDisplayStatus before Qt is started.
    Application(int& argc, char** argv);

Q_SIGNALS:
    // A handler failed; emitted before the user is told. The random UI test
    // reports it as a fault.
    void handlerFailed(const QString& reason);
};

// The exit status of a start where no display could be opened.
inline constexpr int kNoDisplayStatus = 3;

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
