#include "app/splash_form.h"

#include "version/version.h"

#include "app/about_form.h"
#include "app/windows.h"
#include "forms/application.h"
#include "textio/numtext.h"
#include "hydraulics/water_supply_pipe_form.h"
#include "forms/handler.h"

#include <QFontMetrics>

#include <algorithm>

SplashForm& logo()
{
    return forms::defaultInstance<SplashForm>();
}

SplashForm::SplashForm()
    : forms::Form(QString(), 5580, 4830, forms::BorderStyle::FixedDialogNoTitle)
{
    setObjectName(QStringLiteral("logo"));
    Frame1 = add<forms::Frame>("Frame1", 45, -45, 5500, 3500);
    title = addInWithCaption<forms::Label>(Frame1, "title", 650, 900, 4200, 540,
                                           QStringLiteral("万拓计算工具集"));
    title->setFont(forms::fontFor(QStringLiteral("华文彩云"), 26.25));
    title->setForeColor(forms::vbBlue);
    title->setAutoSize(true);
    title_Ver = addInWithCaption<forms::Label>(Frame1, "title_Ver", 4290, 1500, 500, 210,
                                               QStringLiteral("Ver "));
    title_Ver->setFont(forms::fontFor(QStringLiteral("宋体"), 10.5));
    title_Ver->setAutoSize(true);
    // The title is wider in the font in use than it was designed: the
    // version keeps clear of its last character.
    constexpr double kVersionGap = 150;
    const int titleAdvance = QFontMetrics(title->font()).horizontalAdvance(title->Caption());
    title_Ver->setLeft(std::max(title_Ver->Left(),
                                title->Left() + forms::twipsOf(titleAdvance) + kVersionGap));
    Label1 = addInWithCaption<forms::Label>(Frame1, "Label1", 200, 2200, 2700, 200,
                                            QStringLiteral("Vantor_Tools"));
    Label2 = addInWithCaption<forms::Label>(Frame1, "Label2", 200, 2500, 2700, 200,
                                            QStringLiteral("Win98/Me/2000/XP"));
    Label3 = addInWithCaption<forms::Label>(Frame1, "Label3", 200, 2800, 2600, 200,
                                            QStringLiteral("版权所有 保留一切权利"));
    lblCopyright = addInWithCaption<forms::Label>(Frame1, "lblCopyright", 200, 3100, 4500, 200,
                                                  QStringLiteral("联系作者：请见“关于本软件”"));

    ver = add<forms::TextBox>("ver", 120, 3600, 600, 300);
    ver->setText(kVersionText);
    Text1 = add<forms::TextBox>("Text1", 840, 3600, 600, 300);
    Text1->setText(QStringLiteral("0"));
    Text4 = add<forms::TextBox>("Text4", 1560, 3600, 600, 300);
    Text4->setText(QStringLiteral("3"));
    Text5 = add<forms::TextBox>("Text5", 2280, 3600, 600, 300);
    Text5->setText(QStringLiteral("0"));
    Text6 = add<forms::TextBox>("Text6", 3000, 3600, 600, 300);
    Text6->setText(QStringLiteral("0"));

    Timer1 = new forms::Timer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);

    forms::connectHandler(Timer1, &forms::Timer::Tick, this, &SplashForm::Timer1_Timer);
    forms::connectHandler(this, &forms::Form::Click, this, &SplashForm::Form_Click);
    forms::connectHandler(Frame1, &forms::Frame::Click, this, &SplashForm::Frame1_Click);
    forms::connectHandler(title, &forms::Label::Click, this, &SplashForm::title_Click);
    forms::connectHandler(title_Ver, &forms::Label::Click, this, &SplashForm::title_Ver_Click);
    forms::connectHandler(Label1, &forms::Label::Click, this, &SplashForm::Label1_Click);
    forms::connectHandler(Label2, &forms::Label::Click, this, &SplashForm::Label2_Click);
    forms::connectHandler(Label3, &forms::Label::Click, this, &SplashForm::Label3_Click);
    forms::connectHandler(lblCopyright, &forms::Label::Click, this, &SplashForm::lblCopyright_Click);
}

void SplashForm::Form_Load()
{
    // Only the upper part, the frame with the labels, shows; the window is
    // centred on the screen at the height it is shown with.
    setHeight(3570);
    centre();
    title_Ver->setCaption(QStringLiteral("Ver ") + ver->Text());
    Label1->setCaption(Label1->Caption() + QStringLiteral(" Ver") + ver->Text());
    Show();
}

void SplashForm::Form_QueryUnload(int& cancel, int unloadMode)
{
    if (unloadMode == forms::vbFormControlMenu)
        cancel = 1;
}

void SplashForm::Timer1_Timer()
{
    // Only the countdown counts: once the timer is stopped (by a click or
    // by the third tick) a late tick changes nothing.
    if (!Timer1->Enabled())
        return;
    // The counter field only ever holds a number written here.
    const double ticks = textio::readNumber(Text1->Text()).value_or(0) + 1;
    Text1->setText(textio::generalNumberText(ticks));
    if (ticks > 2) {
        Hide();
        Timer1->setEnabled(false);
        form0().Show();
    }
}

void SplashForm::Form_Click()
{
    if (Timer1->Enabled()) {
        Timer1->setEnabled(false);
        form0().Show();
    } else {
        ::About().Show();
    }
    Hide();
}
