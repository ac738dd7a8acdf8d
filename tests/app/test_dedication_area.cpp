// The hidden dedication area: the password box and its three attempts, the
// picture window's click count, and the dedication show driven tick by tick.
#include "app/about_form.h"
#include "app/dedication_letter_form.h"
#include "app/dedication_picture_form.h"
#include "forms/fitted_text.h"
#include "app/login_form.h"
#include "app/pictures.h"
#include "app/results_window_form.h"
#include "textio/numtext.h"
#include "hydraulics/water_supply_pipe_form.h"
#include "shell_test_support.h"

#include <QPointer>

using forms::testing::FormsTest;
using namespace shell_test;

namespace {

const QString kRetry = QStringLiteral("无效的密码，请重试!剩余次数");
const QString kLockedOut = QStringLiteral("您试图进入未经授权的区域，程序保护性错误，请按“确定”退出！");
const QString kShowDone = QStringLiteral("显示完成！点击“确定”退出");

QString rightPassword()
{
    return textio::generalNumberText(LoginForm::areaPassword());
}

class DedicationAreaTest : public FormsTest {
protected:
    void SetUp() override
    {
        FormsTest::SetUp();
        startRun();
    }

    // The way in: four clicks on the About window's contact lines.
    LoginForm& openLogin()
    {
        form0().menu()->本软件->click();
        for (int i = 0; i < 4; ++i)
            About().alert_Click();
        return Login();
    }

    // Types a password and presses 确定; true when the program ended.
    bool tryPassword(const QString& password)
    {
        Login().txtPassword->setText(password);
        return endsProgram([] { Login().cmdOK_Click(); });
    }

    // From the password box to the picture window.
    DedicationPictureForm& reachPicture()
    {
        openLogin();
        EXPECT_FALSE(tryPassword(rightPassword()));
        return form3();
    }

    // Seven clicks on the picture window start the show.
    DedicationLetterForm& startShow()
    {
        DedicationPictureForm& picture = reachPicture();
        for (int i = 0; i < 7; ++i)
            picture.Form_Click();
        return Form4();
    }

    static void tick(DedicationLetterForm& f, int times)
    {
        for (int i = 0; i < times; ++i)
            f.Timer1_Timer();
    }

    static bool sameImage(const QPixmap& a, const QPixmap& b) { return a.toImage() == b.toImage(); }
};

TEST_F(DedicationAreaTest, ThreeWrongPasswordsEndTheProgram)
{
    struct Row {
        QString typed;
        QString left;
    };
    const std::vector<Row> rows = {{QStringLiteral("123"), QStringLiteral("2")},
                                   {QStringLiteral("abc"), QStringLiteral("1")}};
    LoginForm& login = openLogin();
    EXPECT_EQ(logo().Text4->Text(), QStringLiteral("3"));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed.toStdString());
        platform().answerMessageBox(forms::vbOK);
        EXPECT_FALSE(tryPassword(row.typed));
        EXPECT_EQ(logo().Text4->Text(), row.left);
        EXPECT_EQ(boxes().back().text, kRetry + row.left);
        EXPECT_EQ(boxes().back().title, QStringLiteral("登录"));
        EXPECT_EQ(boxes().back().style, forms::vbOKOnly);
        EXPECT_TRUE(login.isVisible());
        EXPECT_TRUE(login.txtPassword->Text().isEmpty());
    }
    // An unsaved result is lost without the save question.
    Form9().Show();
    Form9().Text1->setText(QStringLiteral("建筑面积为1000平方米。"));
    login.Show();
    platform().answerMessageBox(forms::vbOK);
    EXPECT_TRUE(tryPassword(QStringLiteral("999")));
    EXPECT_TRUE(platform().fileDialogs().empty());
    EXPECT_EQ(boxes().back().text, kLockedOut);
    EXPECT_EQ(boxes().back().title, QStringLiteral("错误"));
    EXPECT_EQ(boxes().back().style, forms::vbOKOnly);
    EXPECT_FALSE(login.isVisible());
    EXPECT_EQ(boxes().size(), 3u);
}

TEST_F(DedicationAreaTest, AttemptsAreSharedByEveryOpeningInTheRun)
{
    openLogin();
    platform().answerMessageBox(forms::vbOK);
    EXPECT_FALSE(tryPassword(QStringLiteral("1")));
    Login().txtUserName->setText(QStringLiteral("若兰"));
    Login().cmdCancel->press();
    EXPECT_FALSE(Login().isVisible());
    EXPECT_TRUE(form0().isVisible());
    EXPECT_EQ(logo().Text4->Text(), QStringLiteral("2"));
    EXPECT_EQ(Login().txtUserName->Text(), QStringLiteral("若兰"));

    // A right password in between restores nothing.
    openLogin();
    EXPECT_FALSE(tryPassword(rightPassword()));
    EXPECT_TRUE(form3().isVisible());
    EXPECT_EQ(logo().Text4->Text(), QStringLiteral("2"));
    form3().close();

    openLogin();
    platform().answerMessageBox(forms::vbOK);
    EXPECT_FALSE(tryPassword(QString()));
    EXPECT_EQ(boxes().back().text, kRetry + QStringLiteral("1"));
    platform().answerMessageBox(forms::vbOK);
    EXPECT_TRUE(tryPassword(QStringLiteral("0")));
    EXPECT_EQ(boxes().back().text, kLockedOut);
}

TEST_F(DedicationAreaTest, RightPasswordInAnyNumberWriting)
{
    const QString digits = rightPassword();
    ASSERT_EQ(digits.size(), 9);
    const QStringList writings = {digits, QStringLiteral("  0") + digits + QStringLiteral(" "),
                                  digits + QStringLiteral(".0"), QStringLiteral("+") + digits};
    for (const QString& typed : writings) {
        SCOPED_TRACE(typed.toStdString());
        LoginForm& login = openLogin();
        EXPECT_FALSE(tryPassword(typed));
        EXPECT_FALSE(login.isVisible());
        EXPECT_TRUE(form3().isVisible());
        EXPECT_TRUE(login.txtPassword->Text().isEmpty());
        form3().close();
    }
    EXPECT_EQ(logo().Text4->Text(), QStringLiteral("3"));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(DedicationAreaTest, NeighboursOfThePasswordAreWrong)
{
    const double password = LoginForm::areaPassword();
    openLogin();
    platform().answerMessageBox(forms::vbOK);
    EXPECT_FALSE(tryPassword(textio::generalNumberText(password + 1)));
    platform().answerMessageBox(forms::vbOK);
    EXPECT_FALSE(tryPassword(textio::generalNumberText(password) + QStringLiteral(".000001")));
    EXPECT_EQ(logo().Text4->Text(), QStringLiteral("1"));
}

TEST_F(DedicationAreaTest, ClosingThePasswordBoxEndsTheProgramSilently)
{
    LoginForm& login = openLogin();
    EXPECT_TRUE(endsProgram([&] { login.Unload(); }));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(DedicationAreaTest, ClosingThePasswordBoxAsksTheResultWindowFirst)
{
    LoginForm& login = openLogin();
    Form9().Show();
    Form9().Text1->setText(QStringLiteral("建筑面积为1000平方米。"));
    // Cancel keeps the program, the password box and the result.
    platform().answerMessageBox(forms::vbCancel);
    EXPECT_FALSE(endsProgram([&] { login.Unload(); }));
    EXPECT_FALSE(login.isUnloaded());
    EXPECT_NE(forms::loadedInstance<ResultsWindowForm>(), nullptr);
    platform().answerMessageBox(forms::vbNo);
    EXPECT_TRUE(endsProgram([&] { login.Unload(); }));
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[1].text, QStringLiteral("是否保存计算结果？"));
}

TEST_F(DedicationAreaTest, SeventhClickOnThePictureStartsTheShow)
{
    DedicationPictureForm& picture = reachPicture();
    EXPECT_EQ(picture.ScaleWidth(), 7425);
    EXPECT_EQ(picture.ScaleHeight(), 5055);
    for (int i = 1; i <= 6; ++i) {
        picture.Form_Click();
        EXPECT_EQ(logo().Text6->Text(), QString::number(i));
        EXPECT_TRUE(picture.isVisible());
    }
    // The first click loaded the dedication window hidden, its picture timer running.
    DedicationLetterForm& letter = Form4();
    EXPECT_FALSE(letter.isVisible());
    EXPECT_TRUE(letter.Timer2->Enabled());
    EXPECT_FALSE(letter.Timer1->Enabled());

    picture.Form_Click();
    EXPECT_TRUE(letter.isVisible());
    EXPECT_TRUE(letter.Timer1->Enabled());
    EXPECT_FALSE(picture.isVisible());
    EXPECT_EQ(logo().Text6->Text(), QStringLiteral("0"));
}

TEST_F(DedicationAreaTest, ClosingThePictureWindowForgetsTheClicks)
{
    QPointer<DedicationPictureForm> picture = &reachPicture();
    for (int i = 0; i < 5; ++i)
        picture->Form_Click();
    picture->close();
    EXPECT_TRUE(forms::testing::goneOrUnloaded(picture));
    EXPECT_EQ(logo().Text6->Text(), QStringLiteral("0"));
    EXPECT_TRUE(form0().isVisible());
}

TEST_F(DedicationAreaTest, LoadPlacesTheLetterAndThePicture)
{
    DedicationLetterForm& f = startShow();
    EXPECT_EQ(f.ScaleWidth(), 4740);
    EXPECT_EQ(f.ScaleHeight(), 3930);
    EXPECT_EQ(f.Label1->Left(), 80);
    EXPECT_EQ(f.Label1->Top(), 100);
    EXPECT_EQ(f.Label1->Height(), 20000);
    EXPECT_EQ(f.Picture1->Left(), (f.Width() - 1995) / 2);
    EXPECT_EQ(f.Picture1->Top(), 20400);
    EXPECT_FALSE(f.Label6->Visible());
    EXPECT_EQ(f.Text1->Text(), QStringLiteral("0"));
    EXPECT_EQ(f.Timer1->Interval(), 100);
    EXPECT_EQ(f.Timer2->Interval(), 500);
    EXPECT_TRUE(sameImage(f.Picture1->pixmap(), f.Picture3->pixmap()));
}

TEST_F(DedicationAreaTest, LetterHasItsFiveLinesAndFitsItsLabel)
{
    DedicationLetterForm& f = startShow();
    const QStringList lines = f.Label1->Caption().split(QChar(10));
    ASSERT_EQ(lines.size(), 5);
    const std::vector<qsizetype> lengths = {3, 636, 136, 225, 18};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(lines[i].size(), lengths[static_cast<std::size_t>(i)]) << i;
        if (i > 0) {
            EXPECT_TRUE(lines[i].startsWith(QStringLiteral("    ")) && lines[i][4] != QLatin1Char(' ')) << i;
        }
    }
    const QString name = lines[0].left(2);
    EXPECT_EQ(lines[0], name + QStringLiteral("："));
    EXPECT_EQ(f.Caption(), QStringLiteral("※ 献给") + name + QStringLiteral(" ※"));
    EXPECT_TRUE(form3().Caption().endsWith(name));
    EXPECT_EQ(f.Label6->Caption(), QStringLiteral("愿天下有情人终成眷属"));
    EXPECT_LE(f.Label1->lineCount() * f.Label1->lineStep(), f.Label1->height() + 0.5);
    EXPECT_LE(f.Label6->lineCount(), 1);
}

TEST_F(DedicationAreaTest, ScrollStepsAndStops)
{
    struct Row {
        int ticks;        // ticks so far
        double letterTop;
        double pictureTop;
        bool proverbShown;
        bool scrolling;
    };
    const std::vector<Row> rows = {
        {1, 62.5, 20362.5, false, true},
        {518, -19325, 975, false, true},
        {519, -19362.5, 937.5, false, true},
        {520, -19400, 937.5, true, true},
        {536, -20000, 937.5, true, true},
        {537, -20000, 937.5, true, false},
        {600, -20000, 937.5, true, false},
    };
    DedicationLetterForm& f = startShow();
    int done = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.ticks);
        tick(f, row.ticks - done);
        done = row.ticks;
        EXPECT_EQ(f.Label1->Top(), row.letterTop);
        EXPECT_EQ(f.Picture1->Top(), row.pictureTop);
        EXPECT_EQ(f.Label6->Visible(), row.proverbShown);
        EXPECT_EQ(f.Timer1->Enabled(), row.scrolling);
        if (row.proverbShown) {
            EXPECT_EQ(f.Label6->Top(), 937.5 + 1995 + 300);
            EXPECT_EQ(f.Label6->Left(), (4650 - 3165) / 2.0);
        }
    }
}

TEST_F(DedicationAreaTest, PictureAlternatesEveryHalfSecond)
{
    DedicationLetterForm& f = startShow();
    EXPECT_TRUE(sameImage(f.Picture2->pixmap(), pictures::heartBeating()));
    EXPECT_TRUE(sameImage(f.Picture3->pixmap(), pictures::heartAtRest()));
    EXPECT_EQ(f.Picture2->pixmap().size(), QSize(128, 128));
    EXPECT_EQ(f.Picture3->pixmap().size(), QSize(128, 128));
    for (int t = 1; t <= 4; ++t) {
        SCOPED_TRACE(t);
        f.Timer2_Timer();
        EXPECT_EQ(f.Text2->Text(), QString::number(t));
        EXPECT_EQ(f.Text3->Text(), QString::number(t % 2));
        const QPixmap& expected = t % 2 ? f.Picture2->pixmap() : f.Picture3->pixmap();
        EXPECT_TRUE(sameImage(f.Picture1->pixmap(), expected));
    }
}

TEST_F(DedicationAreaTest, PauseResumeAndEndWithOneClickBackHome)
{
    DedicationLetterForm& f = startShow();
    tick(f, 10);
    // A click on the picture while the letter scrolls does nothing.
    f.Picture1_Click();
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(f.Timer1->Enabled());
    f.Label1_Click();
    EXPECT_FALSE(f.Timer1->Enabled());
    f.Form_Click();
    EXPECT_TRUE(f.Timer1->Enabled());
    f.Form_Click();
    EXPECT_FALSE(f.Timer1->Enabled());
    EXPECT_TRUE(boxes().empty());

    platform().answerMessageBox(forms::vbOK);
    f.Picture1_Click();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes().back().text, kShowDone);
    EXPECT_EQ(boxes().back().title, QStringLiteral("确认"));
    EXPECT_EQ(boxes().back().style, forms::vbOKOnly);
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(form3().isVisible());
    EXPECT_EQ(f.Text1->Text(), QStringLiteral("1"));

    form3().Form_Click();
    EXPECT_TRUE(form0().isVisible());
    EXPECT_FALSE(form3().isVisible());
    EXPECT_EQ(f.Text1->Text(), QStringLiteral("0"));
}

TEST_F(DedicationAreaTest, EndingClicksOnceTheLetterHasGone)
{
    struct Row {
        const char* name;
        void (DedicationLetterForm::*click)();
    };
    const std::vector<Row> rows = {{"outside the frame", &DedicationLetterForm::Form_Click},
                                   {"picture", &DedicationLetterForm::Picture1_Click},
                                   {"proverb", &DedicationLetterForm::Label6_Click}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FormsTest::TearDown();
        FormsTest::SetUp();
        DedicationLetterForm& f = startShow();
        tick(f, 537);
        platform().answerMessageBox(forms::vbOK);
        (f.*row.click)();
        EXPECT_EQ(boxes().size(), 1u);
        EXPECT_TRUE(form3().isVisible());
        EXPECT_EQ(f.Text1->Text(), QStringLiteral("1"));
    }
}

TEST_F(DedicationAreaTest, SecondShowingInTheRunStartsAtRest)
{
    DedicationLetterForm& f = startShow();
    tick(f, 530);
    platform().answerMessageBox(forms::vbOK);
    f.Label6_Click();
    form3().Form_Click(); // home
    ASSERT_TRUE(form0().isVisible());

    // Password again, seven clicks again.
    DedicationLetterForm& again = startShow();
    EXPECT_EQ(&again, &f);
    EXPECT_TRUE(again.isVisible());
    EXPECT_EQ(again.Label1->Top(), 100 - 530 * 37.5);
    tick(again, 6);
    EXPECT_EQ(again.Label1->Top(), -20000);
    tick(again, 1);
    EXPECT_FALSE(again.Timer1->Enabled());
    EXPECT_TRUE(again.Label6->Visible());
    EXPECT_EQ(again.Picture1->Top(), 937.5);
}

TEST_F(DedicationAreaTest, ClosingTheDedicationReturnsToThePictureWithoutTheFlag)
{
    QPointer<DedicationLetterForm> f = &startShow();
    tick(*f, 100);
    f->close();
    EXPECT_TRUE(forms::testing::goneOrUnloaded(f));
    EXPECT_TRUE(form3().isVisible());
    EXPECT_TRUE(boxes().empty());

    // Seven more clicks load the letter afresh from its start.
    for (int i = 0; i < 7; ++i)
        form3().Form_Click();
    DedicationLetterForm& fresh = Form4();
    EXPECT_NE(&fresh, f.data());
    EXPECT_TRUE(fresh.isVisible());
    EXPECT_EQ(fresh.Label1->Top(), 100);
    EXPECT_EQ(fresh.Picture1->Top(), 20400);
}

TEST_F(DedicationAreaTest, PictureWindowBackgroundFitsItsClientArea)
{
    const QPixmap sea = pictures::seaAtSunset();
    EXPECT_EQ(sea.size(), QSize(500, 339));
    DedicationPictureForm& picture = reachPicture();
    // About as large as the client area, which it covers from the top left.
    EXPECT_GE(sea.width(), picture.client()->width());
    EXPECT_GE(sea.height(), picture.client()->height());
}

TEST_F(DedicationAreaTest, PasswordShowsAStarForEveryCharacter)
{
    LoginForm& login = openLogin();
    for (const QString& typed : {QStringLiteral("1"), QStringLiteral("520abc")}) {
        login.txtPassword->setText(typed);
        EXPECT_EQ(login.txtPassword->displayText(), QString(typed.size(), QLatin1Char('*')));
    }
    login.txtPassword->setText(QString());
    EXPECT_EQ(login.Caption(), QStringLiteral("身份确认"));
    EXPECT_EQ(login.lblLabels(0).Caption(), QStringLiteral("用户名称(&U):"));
    EXPECT_EQ(login.lblLabels(1).Caption(), QStringLiteral("密码(&P):"));
    EXPECT_EQ(login.cmdOK->Caption(), QStringLiteral("确定"));
    EXPECT_EQ(login.cmdCancel->Caption(), QStringLiteral("取消"));
    EXPECT_EQ(login.defaultButton(), login.cmdOK);
    EXPECT_EQ(login.cancelButton(), login.cmdCancel);
}

} // namespace
