#include "forms/platform.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>

namespace forms {

Platform::~Platform() = default;

namespace {

QtPlatform& qtPlatform()
{
    static QtPlatform instance;
    return instance;
}

Platform* g_platform = nullptr;

struct BoxButton {
    QMessageBox::StandardButton button;
    int result;
};

QList<BoxButton> buttonsOf(int style)
{
    switch (style & 7) {
    case vbOKCancel:
        return {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}};
    case vbAbortRetryIgnore:
        return {{QMessageBox::Abort, vbAbort}, {QMessageBox::Retry, vbRetry}, {QMessageBox::Ignore, vbIgnore}};
    case vbYesNoCancel:
        return {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}, {QMessageBox::Cancel, vbCancel}};
    case vbYesNo:
        return {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}};
    case vbRetryCancel:
        return {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}};
    default:
        return {{QMessageBox::Ok, vbOK}};
    }
}

QMessageBox::Icon iconOf(int style)
{
    switch (style & 0x70) {
    case vbCritical:
        return QMessageBox::Critical;
    case vbQuestion:
        return QMessageBox::Question;
    case vbExclamation:
        return QMessageBox::Warning;
    case vbInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

Platform& platform()
{
    return g_platform ? *g_platform : qtPlatform();
}

Platform* setPlatform(Platform* p)
{
    Platform* previous = g_platform;
    g_platform = p;
    return previous;
}

int MsgBox(const QString& text, int style, const QString& title)
{
    return platform().messageBox(text, style, title);
}

void endProgram()
{
    platform().endProgram();
    // A platform that returns from endProgram() breaks its contract; the
    // program must not go on with a handler that expected to end.
    std::abort();
}

QStringList dialogFilters(const QString& runtimeFilter)
{
    QStringList result;
    const QStringList parts = runtimeFilter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        result << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return result;
}

void prepareMessageBox(QMessageBox& box, const QString& text, int style, const QString& title)
{
    box.setIcon(iconOf(style));
    const QString caption = title.isEmpty() ? QCoreApplication::applicationName() : title;
    box.setWindowTitle(caption);
    box.setText(text);
    const QList<BoxButton> buttons = buttonsOf(style);
    for (const BoxButton& choice : buttons)
        box.addButton(choice.button);
    const int defaultIndex = (style & 0x300) >> 8;
    if (defaultIndex < buttons.size())
        box.setDefaultButton(buttons[defaultIndex].button);
    // Esc answers Cancel where the box has one; a box with OK alone closes
    // with OK.
    for (const BoxButton& choice : buttons) {
        if (choice.result == vbCancel)
            box.setEscapeButton(choice.button);
    }
    if (buttons.size() == 1)
        box.setEscapeButton(buttons.front().button);
    // The box sizes itself to its layout: a strut across the layout's
    // columns makes the room for the title and the title bar's icon and
    // buttons.
    constexpr int kTitleBarExtra = 120;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        const int titleWidth = QFontMetrics(QApplication::font()).horizontalAdvance(caption);
        grid->addItem(new QSpacerItem(titleWidth + kTitleBarExtra, 0, QSizePolicy::Minimum,
                                      QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
}

int QtPlatform::messageBox(const QString& text, int style, const QString& title)
{
    QMessageBox box(QApplication::activeWindow());
    prepareMessageBox(box, text, style, title);
    box.exec();
    const QList<BoxButton> buttons = buttonsOf(style);
    const auto clicked = box.standardButton(box.clickedButton());
    for (const BoxButton& choice : buttons) {
        if (choice.button == clicked)
            return choice.result;
    }
    return buttons.size() == 1 ? buttons.front().result : vbCancel;
}

void prepareFileDialog(QFileDialog& dialog, const FileDialogRequest& request)
{
    dialog.setWindowTitle(request.title);
    if (!request.initialDir.isEmpty())
        dialog.setDirectory(request.initialDir);
    // The runtime's descriptions already name their patterns.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    const QStringList filters = dialogFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    // The runtime's dialog adds no suffix to a typed name.
    dialog.setDefaultSuffix(QString());
    if (request.mode == FileDialogRequest::Mode::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (!request.overwritePrompt)
            dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
}

std::optional<QString> QtPlatform::fileDialog(const FileDialogRequest& request)
{
    QFileDialog dialog(QApplication::activeWindow());
    prepareFileDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

QString QtPlatform::findProgram(const QString& name)
{
    return QStandardPaths::findExecutable(name);
}

bool QtPlatform::startDetached(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

void QtPlatform::raiseWindow(QWidget& window)
{
    // The offscreen platform of headless runs has no window stacking.
    if (QGuiApplication::platformName() != QStringLiteral("offscreen"))
        window.raise();
}

void QtPlatform::endProgram()
{
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace forms
