// The start-up splash: its countdown, its clicks and the run state it keeps.
#include "app/about_form.h"
#include "app/splash_form.h"
#include "app/windows.h"
#include "forms/testing/fixture.h"
#include "hydraulics/water_supply_pipe_form.h"
#include "textio/save_journal.h"
#include "version/version.h"

#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

using forms::testing::FormsTest;

namespace {

class SplashFormTest : public FormsTest {};

TEST_F(SplashFormTest, LoadingShowsVersionAndTheRunState)
{
    SplashForm& s = logo();
    EXPECT_TRUE(s.isVisible());
    EXPECT_EQ(s.Height(), 3570);
    EXPECT_EQ(s.title_Ver->Caption(), QStringLiteral("Ver ") + kVersionText);
    EXPECT_EQ(s.Label1->Caption(), QStringLiteral("Vantor_Tools Ver") + kVersionText);
    EXPECT_EQ(s.title->Caption(), QStringLiteral("万拓计算工具集"));
    EXPECT_EQ(s.Caption(), QString());
    const QStringList state = {s.ver->Text(), s.Text1->Text(), s.Text4->Text(), s.Text5->Text(),
                               s.Text6->Text()};
    EXPECT_EQ(state, (QStringList{kVersionText, "0", "3", "0", "0"}));
    EXPECT_TRUE(s.Timer1->Enabled());
    EXPECT_EQ(s.Timer1->Interval(), 500);
    // Centred on the screen at the height it shows with.
    EXPECT_DOUBLE_EQ(s.Top(), (forms::Form::ScreenHeight() - s.Height()) / 2);
    EXPECT_DOUBLE_EQ(s.Left(), (forms::Form::ScreenWidth() - s.Width()) / 2);
    // The run-state strip lies below the visible part of the window.
    EXPECT_GE(s.ver->Top(), s.ScaleHeight());
}

TEST_F(SplashFormTest, ThirdTickOpensTheWaterSupplyCalculator)
{
    SplashForm& s = logo();
    s.Timer1_Timer();
    s.Timer1_Timer();
    EXPECT_TRUE(s.isVisible());
    EXPECT_EQ(s.Text1->Text(), QStringLiteral("2"));
    s.Timer1_Timer();
    EXPECT_EQ(s.Text1->Text(), QStringLiteral("3"));
    EXPECT_FALSE(s.isVisible());
    EXPECT_FALSE(s.Timer1->Enabled());
    EXPECT_TRUE(form0().isVisible());
    s.Timer1_Timer();
    EXPECT_EQ(s.Text1->Text(), QStringLiteral("3")) << "the count stays for the rest of the run";
}

TEST_F(SplashFormTest, EveryClickBeforeTheFirstTickOpensTheCalculatorAtOnce)
{
    const std::vector<std::pair<const char*, void (SplashForm::*)()>> clicks = {
        {"Form", &SplashForm::Form_Click},       {"Frame1", &SplashForm::Frame1_Click},
        {"title", &SplashForm::title_Click},     {"title_Ver", &SplashForm::title_Ver_Click},
        {"Label1", &SplashForm::Label1_Click},   {"Label2", &SplashForm::Label2_Click},
        {"Label3", &SplashForm::Label3_Click},   {"lblCopyright", &SplashForm::lblCopyright_Click},
    };
    for (const auto& [name, click] : clicks) {
        SCOPED_TRACE(name);
        FormsTest::TearDown();
        FormsTest::SetUp();
        SplashForm& s = logo();
        (s.*click)();
        EXPECT_FALSE(s.isVisible());
        EXPECT_FALSE(s.Timer1->Enabled());
        EXPECT_EQ(s.Text1->Text(), QStringLiteral("0"));
        EXPECT_TRUE(form0().isVisible());
        // The timer is off: the count stays where it was.
        s.Timer1_Timer();
        EXPECT_EQ(s.Text1->Text(), QStringLiteral("0"));
    }
}

TEST_F(SplashFormTest, ClosingTheSplashKeepsTheRunState)
{
    SplashForm& s = logo();
    s.Timer1_Timer();
    s.Text5->setText(QStringLiteral("2"));
    EXPECT_FALSE(s.close());
    EXPECT_FALSE(s.isUnloaded());
    EXPECT_EQ(&logo(), &s);
    EXPECT_EQ(s.Text1->Text(), QStringLiteral("1"));
    EXPECT_EQ(s.Text5->Text(), QStringLiteral("2"));
    EXPECT_TRUE(s.Timer1->Enabled());
}

TEST_F(SplashFormTest, ClickOnALabelReachesTheClickHandler)
{
    SplashForm& s = logo();
    Q_EMIT s.Label2->Click();
    EXPECT_FALSE(s.isVisible());
    EXPECT_TRUE(form0().isVisible());
}

TEST_F(SplashFormTest, ShownAgainItWaitsAndAClickOpensTheAboutWindow)
{
    SplashForm& s = logo();
    s.Form_Click();
    form0().Hide();
    s.Show();
    EXPECT_FALSE(s.Timer1->Enabled());
    // However long one waits, the splash stays up and opens nothing.
    for (int tick = 0; tick < 4; ++tick)
        s.Timer1_Timer();
    EXPECT_TRUE(s.isVisible());
    EXPECT_FALSE(form0().isVisible());
    EXPECT_EQ(s.Text1->Text(), QStringLiteral("0"));
    s.Form_Click();
    EXPECT_FALSE(s.isVisible());
    EXPECT_TRUE(About().isVisible());
    EXPECT_FALSE(form0().isVisible());
    EXPECT_EQ(s.Label1->Caption(), QStringLiteral("Vantor_Tools Ver") + kVersionText);
}

// A save that died part-way in an earlier run is put right at the start,
// before the splash shows, and the engineer is told which file.
TEST_F(SplashFormTest, AtTheStartASaveThatDiedIsPutRightAndTold)
{
    QTemporaryDir dir;
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("data"))));
    const QString file = dir.filePath(QStringLiteral("storm_out.txt"));
    {
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old report\r\n");
    }
    {
        // The journal of a save killed after its first bytes.
        const int fd = ::open(QFile::encodeName(file).constData(), O_RDWR | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        textio::SaveJournal journal;
        ASSERT_EQ(journal.begin(file, fd, "old report\r\n", "new"), std::nullopt);
        ASSERT_EQ(::pwrite(fd, "ne", 2, 0), 2);
        ::close(fd);
    }
    platform().answerMessageBox(forms::vbOK);
    logo();
    qputenv("XDG_DATA_HOME", dataHome);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].title, QStringLiteral("提示"));
    EXPECT_TRUE(boxes()[0].text.contains(file)) << boxes()[0].text.toStdString();
    QFile restored(file);
    ASSERT_TRUE(restored.open(QIODevice::ReadOnly));
    EXPECT_EQ(restored.readAll(), QByteArray("old report\r\n"));
}

} // namespace
