#include "app/splash_form.h"

#include "version/version.h"

#include "app/about_form.h"
#include "app/windows.h"
#include "forms/application.h"
#include "textio/numtext.h"
#include "hydraulics/water_supply_pipe_form.h"
#include "forms/handler.h"
#include "forms/platform.h"
#include "textio/save_journal.h"

#include <QFontMetrics>

#include <algorithm>

using namespace Qt::StringLiterals;

SplashForm& logo()
{
    return forms::defaultInstance<SplashForm>();
}

SplashForm::SplashForm()
    : forms::Form(QString(), 5580, 4830, forms::BorderStyle::FixedDialogNoTitle)
{
    setObjectName(QStringLiteral("logo"));
    put(Frame1, nullptr, {"Frame1", 45, -45, 5500, 3500});
    put(title, Frame1, {"title", 650, 900, 4200, 540, u"万拓计算工具集"_s});
    title->setFont(forms::fontFor(u"华文彩云"_s, 26.25));
    title->setForeColor(forms::vbBlue);
    title->setAutoSize(true);
    put(title_Ver, Frame1, {"title_Ver", 4290, 1500, 500, 210, u"Ver "_s});
    title_Ver->setFont(forms::fontFor(u"宋体"_s, 10.5));
    title_Ver->setAutoSize(true);
    // The title is wider in the font in use than it was designed: the
    // version keeps clear of its last character.
    constexpr double kVersionGap = 150;
    const int titleAdvance = QFontMetrics(title->font()).horizontalAdvance(title->Caption());
    title_Ver->setLeft(std::max(title_Ver->Left(),
                                title->Left() + forms::twipsOf(titleAdvance) + kVersionGap));
    put(Label1, Frame1, {"Label1", 200, 2200, 2700, 200, u"Vantor_Tools"_s});
    put(Label2, Frame1, {"Label2", 200, 2500, 2700, 200, u"Win98/Me/2000/XP"_s});
    put(Label3, Frame1, {"Label3", 200, 2800, 2600, 200, u"版权所有 保留一切权利"_s});
    put(lblCopyright, Frame1, {"lblCopyright", 200, 3100, 4500, 200, u"联系作者：请见“关于本软件”"_s});

    // Below the frame, out of sight: the version text and the counters.
    put(ver, nullptr, {"ver", 120, 3600, 600})->setText(kVersionText);
    put(Text1, nullptr, {"Text1", 840, 3600, 600})->setText(u"0"_s);
    put(Text4, nullptr, {"Text4", 1560, 3600, 600})->setText(u"3"_s);
    put(Text5, nullptr, {"Text5", 2280, 3600, 600})->setText(u"0"_s);
    put(Text6, nullptr, {"Text6", 3000, 3600, 600})->setText(u"0"_s);
    putTimer(Timer1, "Timer1", 500);

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
    tellInterruptedSaves();
    Show();
}

void SplashForm::tellInterruptedSaves()
{
    // Saves that died part-way in an earlier run are put right before any
    // window can save again; the countdown waits while the engineer reads.
    const bool counting = Timer1->Enabled();
    Timer1->setEnabled(false);
    for (const QString& message : textio::recoverInterruptedSaves())
        forms::MsgBox(message, forms::vbOKOnly | forms::vbExclamation, QStringLiteral("提示"));
    Timer1->setEnabled(counting);
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
