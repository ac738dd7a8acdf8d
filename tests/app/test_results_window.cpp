// The result window: its size rule, and saving its text when it is closed.
#include "forms/fitted_text.h"
#include "app/results_window_form.h"
#include "textio/write_fault.h"
#include "textio/cp936.h"
#include "shell_test_support.h"
#include "version/version.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTemporaryDir>

using forms::testing::FormsTest;

namespace {

const QString kSentence = QStringLiteral("充实水柱长度 Hm= 12 m，栓口所需压力 Hxh= 0.2 MPa。");

class ResultsWindowTest : public FormsTest {
protected:
    void SetUp() override
    {
        FormsTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        shell_test::startRun();
    }

    // A writer puts its sentence into the window and shows it.
    ResultsWindowForm& showResult(const QString& text)
    {
        ResultsWindowForm& w = Form9();
        w.Show();
        w.Text1->setText(text);
        return w;
    }

    // The engineer closes the window by its close box; true when it closed.
    bool closeByUser(ResultsWindowForm& w)
    {
        w.close();
        return w.isUnloaded();
    }

    static QByteArray bytesOf(const QString& path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return QByteArray("<missing>");
        return f.readAll();
    }

    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    void expectSaveQuestion(std::size_t index = 0)
    {
        ASSERT_GT(boxes().size(), index);
        EXPECT_EQ(boxes()[index].text, QStringLiteral("是否保存计算结果？"));
        EXPECT_EQ(boxes()[index].title, QStringLiteral("Vantor_Tools"));
        EXPECT_EQ(boxes()[index].style, forms::vbYesNoCancel | forms::vbCritical);
    }

    QTemporaryDir dir;
};

TEST_F(ResultsWindowTest, OpensAtItsSizeWithTheVersionOnce)
{
    for (int opening = 0; opening < 2; ++opening) {
        SCOPED_TRACE(opening);
        ResultsWindowForm& w = showResult(kSentence);
        EXPECT_EQ(w.Caption(), QStringLiteral("Vantor_Tools输出程序V") + kVersionText);
        EXPECT_EQ(w.Width(), 6900);
        EXPECT_EQ(w.Height(), 6900);
        EXPECT_EQ(w.Frame1->Caption(), QStringLiteral("结果输出："));
        EXPECT_EQ(QRectF(w.Frame1->Left(), w.Frame1->Top(), w.Frame1->Width(), w.Frame1->Height()),
                  QRectF(0, 100, 6800, 6400));
        EXPECT_EQ(QRectF(w.Text1->Left(), w.Text1->Top(), w.Text1->Width(), w.Text1->Height()),
                  QRectF(100, 250, 6600, 6000));
        EXPECT_TRUE(w.Text1->Locked());
        platform().answerMessageBox(forms::vbNo);
        EXPECT_TRUE(closeByUser(w));
    }
}

TEST_F(ResultsWindowTest, TheFrameRunsPastTheWindowsRightAndBottomEdgesAroundTheWholeText)
{
    ResultsWindowForm& w = showResult(kSentence);
    // 6900 twips outside are 6780 x 6450 inside: the frame, 6800 x 6400 from
    // top 100, ends 20 twips past the right edge and 50 past the bottom one,
    // so that neither of those edges of it shows.
    EXPECT_EQ(w.ScaleWidth(), 6780);
    EXPECT_EQ(w.ScaleHeight(), 6450);
    const QWidget* client = w.Frame1->parentWidget();
    const QRect frame = w.Frame1->geometry();
    EXPECT_GE(frame.right(), client->width()) << frame.right() << " " << client->width();
    EXPECT_GE(frame.bottom(), client->height()) << frame.bottom() << " " << client->height();
    EXPECT_TRUE(client->rect().contains(w.Text1->geometry().translated(frame.topLeft())));
    platform().answerMessageBox(forms::vbNo);
    EXPECT_TRUE(closeByUser(w));
}

TEST_F(ResultsWindowTest, ResizingFollowsTheMarginsAndNeverGoesBelowZero)
{
    struct Row {
        double width, height;
        double frameWidth, frameHeight, textWidth, textHeight;
    };
    // Each row resizes the window left by the row before.
    const std::vector<Row> rows = {
        {8000, 7000, 7900, 6500, 7700, 6100},
        {300, 900, 200, 400, 0, 0},
        {299, 899, 200, 400, 0, 0},   // below the margins: last sizes kept
        {120, 450, 200, 400, 0, 0},   // minimised to its border
        {5000, 899, 4900, 400, 4700, 0},
        {299, 3000, 4900, 2500, 4700, 2100},
        {6900, 6900, 6800, 6400, 6600, 6000},
    };
    ResultsWindowForm& w = showResult(kSentence);
    for (const Row& r : rows) {
        SCOPED_TRACE(QStringLiteral("%1 x %2").arg(r.width).arg(r.height).toStdString());
        w.setWidth(r.width);
        w.setHeight(r.height);
        EXPECT_EQ(w.Frame1->Width(), r.frameWidth);
        EXPECT_EQ(w.Frame1->Height(), r.frameHeight);
        EXPECT_EQ(w.Text1->Width(), r.textWidth);
        EXPECT_EQ(w.Text1->Height(), r.textHeight);
        EXPECT_EQ(w.Frame1->Left(), 0);
        EXPECT_EQ(w.Frame1->Top(), 100);
        EXPECT_EQ(w.Text1->Left(), 100);
        EXPECT_EQ(w.Text1->Top(), 250);
    }
}

TEST_F(ResultsWindowTest, YesSavesTheTextInCodePage936WithCrLf)
{
    struct Row {
        const char* name;
        QString text;
        QString fileName;
    };
    const std::vector<Row> rows = {
        {"sentence", kSentence, QStringLiteral("hydrant.txt")},
        {"two lines", QStringLiteral("建筑面积为1000平方米，\r\n配置MF/ABC4灭火器2具。"), QStringLiteral("ext.dat")},
        {"empty", QString(), QStringLiteral("empty.txt")},
        {"no extension", kSentence, QStringLiteral("result")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = dir.filePath(row.fileName);
        ResultsWindowForm& w = showResult(row.text);
        platform().answerMessageBox(forms::vbYes);
        platform().answerFileDialog(path);
        EXPECT_TRUE(closeByUser(w));
        const QByteArray expected = textio::encodeCp936(row.text).bytes + QByteArrayLiteral("\r\n");
        EXPECT_EQ(bytesOf(path), expected);
    }
    EXPECT_EQ(bytesOf(dir.filePath(QStringLiteral("empty.txt"))), QByteArrayLiteral("\r\n"));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("result.txt"))));

    ASSERT_EQ(platform().fileDialogs().size(), rows.size());
    const forms::FileDialogRequest& request = platform().fileDialogs().front();
    EXPECT_EQ(request.mode, forms::FileDialogRequest::Mode::Save);
    EXPECT_EQ(request.filter, QStringLiteral("(*.txt)|*.txt|(*.dat)|*.dat"));
    EXPECT_EQ(request.filterIndex, 1);
    EXPECT_EQ(request.initialDir, QCoreApplication::applicationDirPath());
    EXPECT_TRUE(request.fileName.isEmpty());
    EXPECT_TRUE(request.overwritePrompt);
    for (std::size_t i = 0; i < rows.size(); ++i)
        expectSaveQuestion(i);
}

TEST_F(ResultsWindowTest, SavingOverAReadOnlyFileReplacesItAndClearsTheAttribute)
{
    const QString readOnly = dir.filePath(QStringLiteral("locked.txt"));
    writeFile(readOnly, QByteArrayLiteral("old result\r\n"));
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    ResultsWindowForm& w = showResult(kSentence);
    platform().answerMessageBox(forms::vbYes);
    platform().answerFileDialog(readOnly);
    EXPECT_TRUE(closeByUser(w));
    EXPECT_EQ(bytesOf(readOnly), textio::encodeCp936(kSentence).bytes + QByteArrayLiteral("\r\n"));
    EXPECT_TRUE(QFile::permissions(readOnly).testFlag(QFileDevice::WriteOwner));

    // A writable file keeps its permissions.
    const QString plain = dir.filePath(QStringLiteral("plain.txt"));
    writeFile(plain, QByteArrayLiteral("old\r\n"));
    const QFileDevice::Permissions before = QFile::permissions(plain);
    ResultsWindowForm& again = showResult(kSentence);
    platform().answerMessageBox(forms::vbYes);
    platform().answerFileDialog(plain);
    EXPECT_TRUE(closeByUser(again));
    EXPECT_EQ(QFile::permissions(plain), before);
}

TEST_F(ResultsWindowTest, CancelAndNo)
{
    // Cancel in the question: the window stays with its text.
    ResultsWindowForm& w = showResult(kSentence);
    platform().answerMessageBox(forms::vbCancel);
    EXPECT_FALSE(closeByUser(w));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.Text1->Text(), kSentence);
    EXPECT_TRUE(platform().fileDialogs().empty());

    // Cancel in the file dialog after Yes: the result is kept as well.
    platform().answerMessageBox(forms::vbYes);
    platform().answerFileDialog(std::nullopt);
    EXPECT_FALSE(closeByUser(w));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.Text1->Text(), kSentence);
    EXPECT_EQ(boxes().size(), 2u);

    // No: the window closes without a file.
    platform().answerMessageBox(forms::vbNo);
    EXPECT_TRUE(closeByUser(w));
    EXPECT_EQ(platform().fileDialogs().size(), 1u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

TEST_F(ResultsWindowTest, AFailedSaveSaysSoAndKeepsTheWindowAndTheFile)
{
    struct Row {
        const char* name;
        QString text;
        QString path;
    };
    const QString existing = dir.filePath(QStringLiteral("existing.txt"));
    writeFile(existing, QByteArrayLiteral("kept\r\n"));
    ASSERT_TRUE(QFile::setPermissions(existing, QFileDevice::ReadOwner));
    const std::vector<Row> rows = {
        {"folder missing", kSentence, dir.filePath(QStringLiteral("no/such/folder/result.txt"))},
        {"folder is the name", kSentence, dir.path()},
        {"character outside the code page", QStringLiteral("压力 0.2 MPa \U0001F600"), existing},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ResultsWindowForm& w = showResult(row.text);
        const std::size_t before = boxes().size();
        platform().answerMessageBox(forms::vbYes);
        platform().answerFileDialog(row.path);
        platform().answerMessageBox(forms::vbOK);
        EXPECT_FALSE(closeByUser(w));
        ASSERT_EQ(boxes().size(), before + 2);
        const auto& failure = boxes().back();
        EXPECT_TRUE(failure.text.endsWith(QStringLiteral("计算结果未保存。"))) << failure.text.toStdString();
        EXPECT_EQ(failure.title, QStringLiteral("Vantor_Tools"));
        EXPECT_EQ(failure.style, forms::vbCritical);
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(w.Text1->Text(), row.text);
    }
    // The refused text touched neither the file nor its read-only state.
    EXPECT_EQ(bytesOf(existing), QByteArrayLiteral("kept\r\n"));
    EXPECT_FALSE(QFile::permissions(existing).testFlag(QFileDevice::WriteOwner));

    // With a text the code page holds, saving to a writable place closes it.
    Form9().Text1->setText(kSentence);
    platform().answerMessageBox(forms::vbYes);
    platform().answerFileDialog(dir.filePath(QStringLiteral("fine.txt")));
    EXPECT_TRUE(closeByUser(Form9()));
}

TEST_F(ResultsWindowTest, SavingOnAFullDiskKeepsTheOldFileAndSaysWhy)
{
    const QString existing = dir.filePath(QStringLiteral("result.txt"));
    writeFile(existing, QByteArrayLiteral("old result\r\n"));
    const QString fresh = dir.filePath(QStringLiteral("fresh.txt"));
    for (const QString& path : {existing, fresh}) {
        SCOPED_TRACE(path.toStdString());
        ResultsWindowForm& w = showResult(kSentence);
        platform().answerMessageBox(forms::vbYes);
        platform().answerFileDialog(path);
        platform().answerMessageBox(forms::vbOK);
        {
            const textio::ScopedWriteFault full(textio::WriteFault::NoSpace, 10);
            EXPECT_FALSE(closeByUser(w));
        }
        const auto& failure = boxes().back();
        EXPECT_TRUE(failure.text.contains(QStringLiteral("磁盘已满"))) << failure.text.toStdString();
        EXPECT_TRUE(failure.text.contains(QFileInfo(path).fileName())) << failure.text.toStdString();
        EXPECT_FALSE(failure.text.contains(QStringLiteral("未知错误")));
        EXPECT_EQ(failure.title, QStringLiteral("Vantor_Tools"));
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(w.Text1->Text(), kSentence);
    }
    EXPECT_EQ(bytesOf(existing), QByteArrayLiteral("old result\r\n"));
    EXPECT_FALSE(QFile::exists(fresh));
}

TEST_F(ResultsWindowTest, ReopenedAfterClosingItStartsAfresh)
{
    QPointer<ResultsWindowForm> first = &showResult(kSentence);
    first->setWidth(9000);
    platform().answerMessageBox(forms::vbNo);
    EXPECT_TRUE(closeByUser(*first));
    ResultsWindowForm& second = showResult(QStringLiteral("建筑面积为500平方米。"));
    EXPECT_NE(&second, first.data());
    EXPECT_EQ(second.Width(), 6900);
    EXPECT_EQ(second.Caption(), QStringLiteral("Vantor_Tools输出程序V") + kVersionText);
    EXPECT_EQ(second.Text1->Text(), QStringLiteral("建筑面积为500平方米。"));
}

TEST_F(ResultsWindowTest, OpensCentredOnTheScreen)
{
    ResultsWindowForm& w = showResult(kSentence);
    EXPECT_DOUBLE_EQ(w.Left(), (forms::Form::ScreenWidth() - 6900) / 2);
    EXPECT_DOUBLE_EQ(w.Top(), (forms::Form::ScreenHeight() - 6900) / 2);
    platform().answerMessageBox(forms::vbNo);
    EXPECT_TRUE(closeByUser(w));
}

} // namespace
