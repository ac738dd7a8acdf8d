// Program-wide set-up of the forms layer: Chinese button texts of Qt's own
// dialogs, the CJK fonts standing in for the layouts' font names, Enter and
// Esc as default and cancel buttons in every window, working fields the user
// never sees kept out of reach (seenByUser()), and no implicit end of the
// program when the last window is hidden.
#pragma once

#include <QFont>
#include <QString>

class QApplication;

namespace forms {

// Installs the forms layer's behaviour on `app`. Call once, before the first
// window is referenced.
void setUpApplication(QApplication& app);

// The installed font standing in for a layout's font name ("宋体", "隶书",
// "华文彩云", "黑体", ...), at `points` size.
QFont fontFor(const QString& face, double points, bool bold = false);

// The families tried, in order, for a layout's font name.
QStringList fontFamiliesFor(const QString& face);

} // namespace forms
