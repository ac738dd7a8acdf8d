#include "app/results_window_form.h"
#include "app/run_state.h"

#include "forms/fitted_text.h"
#include "app/windows.h"
#include "forms/application.h"
#include "textio/cp936.h"
#include "forms/platform.h"
#include "textio/textfile.h"

#include <QCoreApplication>
#include <QFile>

using namespace Qt::StringLiterals;

ResultsWindowForm& Form9()
{
    return forms::defaultInstance<ResultsWindowForm>();
}

namespace {

// Margins of the frame and of the text inside it, in twips.
constexpr double kFrameWidthMargin = 100;
constexpr double kFrameHeightMargin = 500;
constexpr double kTextWidthMargin = 200;
constexpr double kTextHeightMargin = 400;

} // namespace

ResultsWindowForm::ResultsWindowForm()
    : forms::Form(QStringLiteral("Vantor_Tools输出程序"), 6780, 6450, forms::BorderStyle::Sizable)
{
    setObjectName(QStringLiteral("Form9"));
    put(Frame1, nullptr, {"Frame1", 0, 100, 6800, 6400, u"结果输出："_s});
    Frame1->setFont(forms::fontFor(u"隶书"_s, 12));
    put(Text1, Frame1, {"Text1", 100, 250, 6600, 6000});
    Text1->setFont(forms::fontFor(u"宋体"_s, 12));
    // Read-only for the engineer, who may still select and copy; long
    // sentences wrap at the field's width under a vertical scroll bar.
    Text1->setLocked(true);
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void ResultsWindowForm::Form_Load()
{
    setCaption(versionedCaption(Caption()));
    setWidth(6900);
    setHeight(6900);
    // The window opens centred on the screen at its opening size.
    centre();
}

void ResultsWindowForm::Form_Resize()
{
    // Below the margins (or minimised) a size would fall under zero: the
    // controls then keep their last sizes in that direction.
    const double frameWidth = Width() - kFrameWidthMargin;
    const double frameHeight = Height() - kFrameHeightMargin;
    if (frameWidth - kTextWidthMargin >= 0) {
        Frame1->setWidth(frameWidth);
        Text1->setWidth(frameWidth - kTextWidthMargin);
    }
    if (frameHeight - kTextHeightMargin >= 0) {
        Frame1->setHeight(frameHeight);
        Text1->setHeight(frameHeight - kTextHeightMargin);
    }
}

void ResultsWindowForm::Form_Unload(int& cancel)
{
    const int answer = forms::MsgBox(QStringLiteral("是否保存计算结果？"),
                                     forms::vbYesNoCancel | forms::vbCritical, forms::kProgramTitle);
    if (answer == forms::vbCancel) {
        cancel = 1;
        return;
    }
    if (answer != forms::vbYes)
        return;

    forms::FileDialogRequest request;
    request.mode = forms::FileDialogRequest::Mode::Save;
    request.title = QStringLiteral("另存为");
    request.filter = QStringLiteral("(*.txt)|*.txt|(*.dat)|*.dat");
    request.filterIndex = 1;
    request.initialDir = QCoreApplication::applicationDirPath();
    request.fileName = QString();
    request.overwritePrompt = true;
    const std::optional<QString> path = forms::platform().fileDialog(request);
    // Cancelling the dialog after "是" keeps the window and its text: the
    // engineer asked to keep the result.
    if (!path || path->isEmpty()) {
        cancel = 1;
        return;
    }
    if (!saveText(*path))
        cancel = 1;
}

bool ResultsWindowForm::saveText(const QString& path)
{
    const QString text = Text1->Text();
    auto refuse = [&](const QString& reason) {
        forms::MsgBox(reason + QChar(10) + QStringLiteral("计算结果未保存。"), forms::vbCritical, forms::kProgramTitle);
        return false;
    };

    // A text the code page cannot hold is refused before the file is touched.
    const textio::EncodeResult encoded = textio::encodeCp936(text);
    if (!encoded.ok())
        return refuse(QStringLiteral("无法保存文件“%1”：%2").arg(path, encoded.error->message));

    // An existing read-only file is made writable first; should the write
    // still fail, its former permissions are put back.
    if (const std::optional<QString> error =
            textio::overwriteFile(path, [&] { return textio::writeCp936Text(path, text); }))
        return refuse(*error);
    return true;
}
