// The About window: its texts at every load, its way back to the water
// supply calculator, the information screen, and the click counter that
// opens the password box.
#include "app/about_form.h"
#include "forms/fitted_text.h"
#include "app/login_form.h"
#include "app/pictures.h"
#include "hydraulics/water_supply_pipe_form.h"
#include "shell_test_support.h"
#include "version/version.h"

#include <QPointer>
#include <QSet>

using forms::testing::FormsTest;
using namespace shell_test;

namespace {

class AboutFormTest : public FormsTest {
protected:
    void SetUp() override
    {
        FormsTest::SetUp();
        startRun();
    }

    // Opens the About window from the water supply calculator's menu.
    AboutForm& openAbout()
    {
        form0().menu()->本软件->click();
        return About();
    }
};

TEST_F(AboutFormTest, EveryLoadComposesTheCaptionOnce)
{
    for (int opening = 0; opening < 3; ++opening) {
        SCOPED_TRACE(opening);
        AboutForm& about = openAbout();
        EXPECT_TRUE(about.isVisible());
        EXPECT_EQ(about.Caption(), QStringLiteral("Vantor_Tools V") + kVersionText);
        EXPECT_EQ(about.lblVersion->Caption(), QStringLiteral("Ver ") + kVersionText);
        EXPECT_EQ(about.lblTitle->Caption(), QStringLiteral("万拓计算工具集"));
        EXPECT_EQ(about.cmdOK->Caption(), QStringLiteral("确  定(&Y)"));
        EXPECT_EQ(about.cmdSysInfo->Caption(), QStringLiteral("系统信息(&I)"));
        QPointer<AboutForm> shown = &about;
        if (opening % 2 == 0)
            about.cmdOK->press();
        else
            about.close();
        EXPECT_TRUE(forms::testing::goneOrUnloaded(shown));
        EXPECT_EQ(visibleCalculators(), QStringList{QStringLiteral("form0")});
    }
}

TEST_F(AboutFormTest, DisclaimerAndContactLines)
{
    AboutForm& about = openAbout();
    EXPECT_EQ(about.Description->Caption(),
              QStringLiteral("    本软件为免费提供，不包含任何使用保证，作者亦不对您或别的用户使用此软件所带来的理论上或实际的损失负责。"
                             "您可以任意复制、传播、修改本软件，但不得用于任何商业目的！如果您不同意以上任何一点，请立即停止使用本软件。\n"
                             "    在使用本软件过程中您有任何建议或意见，欢迎随时与作者联系，以便完善。谢谢!  "));
    const QStringList lines = about.alert->Caption().split(QChar(10));
    ASSERT_EQ(lines.size(), 5);
    // Postcode, character 3, then the address beginning with a blank.
    const qsizetype mark = lines[2].indexOf(QChar(3));
    ASSERT_GT(mark, 0);
    EXPECT_EQ(lines[2].mid(mark + 1, 1), QStringLiteral(" "));
    for (int i : {0, 1})
        EXPECT_EQ(lines[i].count(QStringLiteral("：")), 2) << i;
    EXPECT_FALSE(lines[3].contains(QStringLiteral("：")));
    EXPECT_EQ(lines[4].count(QStringLiteral("：")), 1);
}

TEST_F(AboutFormTest, LongTextsShowWholeInTheirBoxes)
{
    AboutForm& about = openAbout();
    for (forms::FittedLabel* label : {about.Description, about.alert, about.lblTitle, about.lblVersion}) {
        SCOPED_TRACE(label->objectName().toStdString());
        EXPECT_LE(label->lineCount() * label->lineStep(), label->height() + 0.5);
    }
}

TEST_F(AboutFormTest, EnterAndEscPressOk)
{
    for (int key : {int(Qt::Key_Return), int(Qt::Key_Escape)}) {
        SCOPED_TRACE(key);
        AboutForm& opened = openAbout();
        QPointer<AboutForm> about = &opened;
        EXPECT_TRUE(opened.pressKey(key));
        EXPECT_TRUE(forms::testing::goneOrUnloaded(about));
        EXPECT_TRUE(form0().isVisible());
    }
}

TEST_F(AboutFormTest, SystemInformationShowsTheSplashWhoseClickBringsAboutBack)
{
    AboutForm& about = openAbout();
    about.alert_Click(); // state of this showing
    about.cmdSysInfo->setFocus(); // as a click on it leaves it
    about.cmdSysInfo->press();
    EXPECT_TRUE(logo().isVisible());
    EXPECT_FALSE(about.isVisible());
    EXPECT_FALSE(logo().Timer1->Enabled());
    EXPECT_EQ(logo().Text1->Text(), QStringLiteral("0"));

    logo().lblCopyright_Click();
    EXPECT_FALSE(logo().isVisible());
    EXPECT_EQ(&About(), &about);
    EXPECT_TRUE(about.isVisible());
    EXPECT_FALSE(form0().isVisible());
    EXPECT_EQ(logo().Text5->Text(), QStringLiteral("1"));
    // Back from the information screen, Enter presses 确定.
    EXPECT_TRUE(about.pressKey(Qt::Key_Return));
    EXPECT_TRUE(form0().isVisible());
}

TEST_F(AboutFormTest, ClicksAreCountedInTheSplashAcrossUnloads)
{
    AboutForm& first = openAbout();
    for (int i = 1; i <= 3; ++i) {
        first.alert_Click();
        EXPECT_EQ(logo().Text5->Text(), QString::number(i));
        EXPECT_TRUE(first.isVisible());
    }
    first.cmdOK->press();

    AboutForm& second = openAbout();
    EXPECT_FALSE(Login().isVisible());
    second.alert_Click();
    EXPECT_FALSE(second.isVisible());
    EXPECT_FALSE(second.isUnloaded());
    EXPECT_TRUE(Login().isVisible());
    EXPECT_EQ(logo().Text5->Text(), QStringLiteral("0"));

    // The next opening of the password box takes four clicks again.
    Login().cmdCancel->press();
    AboutForm& third = openAbout();
    for (int i = 0; i < 3; ++i)
        third.alert_Click();
    EXPECT_FALSE(Login().isVisible());
    third.alert_Click();
    EXPECT_TRUE(Login().isVisible());
    EXPECT_TRUE(boxes().empty());
}

TEST_F(AboutFormTest, IconIsThirtyTwoPixelsInSixteenColours)
{
    AboutForm& about = openAbout();
    const QImage icon = about.picIcon->pixmap().toImage();
    EXPECT_EQ(icon.size(), QSize(32, 32));
    EXPECT_EQ(about.picIcon->width(), 32);
    QSet<QRgb> colours;
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            if (qAlpha(icon.pixel(x, y)) != 0)
                colours.insert(icon.pixel(x, y));
        }
    }
    EXPECT_LE(colours.size(), 16);
    EXPECT_GE(colours.size(), 4);
}

} // namespace
