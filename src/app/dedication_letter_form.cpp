#include "app/dedication_letter_form.h"

#include "app/dedication_picture_form.h"
#include "forms/fitted_text.h"
#include "app/pictures.h"
#include "app/windows.h"
#include "forms/application.h"
#include "textio/numtext.h"
#include "forms/platform.h"
#include "forms/handler.h"

using namespace Qt::StringLiterals;

DedicationLetterForm& Form4()
{
    return forms::defaultInstance<DedicationLetterForm>();
}

DedicationLetterForm::DedicationLetterForm()
    : forms::Form(QStringLiteral("※ 献给若兰 ※"), 4740, 3930, forms::BorderStyle::FixedSingle)
{
    setObjectName(QStringLiteral("Form4"));

    put(Frame1, nullptr, {"Frame1", 45, -45, 4650, 3930});
    Frame1->setBackColor(0xFFC0C0);

    put(Label1, Frame1, {"Label1", 80, 100, 4500, 20000});
    Label1->setForeColor(forms::vbBlue);
    Label1->setFont(forms::fontFor(u"隶书"_s, 14.25));

    put(Picture1, Frame1, {"Picture1", 1335, 20400, 1995, 1995});

    put(Label6, Frame1, {"Label6", 742, 3240, 3165, 375, u"愿天下有情人终成眷属"_s});
    Label6->setForeColor(0xFF00FF);
    Label6->setFont(forms::fontFor(u"华文彩云"_s, 15.75));
    Label6->hide();

    // The two frames of the animation, kept out of sight.
    put(Picture2, nullptr, {"Picture2", 5000, 0, 1920, 1920});
    Picture2->setPicture(pictures::heartBeating());
    Picture2->hide();
    put(Picture3, nullptr, {"Picture3", 5000, 2000, 1920, 1920});
    Picture3->setPicture(pictures::heartAtRest());
    Picture3->hide();
    Picture1->setPicture(Picture3->pixmap());

    put(Text1, nullptr, {"Text1", 5000, 4000, 600})->setText(u"0"_s);
    Text1->hide();
    put(Text2, nullptr, {"Text2", 5700, 4000, 600})->setText(u"0"_s);
    Text2->hide();
    put(Text3, nullptr, {"Text3", 6400, 4000, 600})->setText(u"Text3"_s);

    putTimer(Timer1, "Timer1", 100);
    Timer1->setEnabled(false);
    putTimer(Timer2, "Timer2", 500);

    forms::connectHandler(Timer1, &forms::Timer::Tick, this, &DedicationLetterForm::Timer1_Timer);
    forms::connectHandler(Timer2, &forms::Timer::Tick, this, &DedicationLetterForm::Timer2_Timer);
    forms::connectHandler(Label1, &forms::Label::Click, this, &DedicationLetterForm::Label1_Click);
    forms::connectHandler(this, &forms::Form::Click, this, &DedicationLetterForm::Form_Click);
    forms::connectHandler(Picture1, &forms::PictureBox::Click, this, &DedicationLetterForm::Picture1_Click);
    forms::connectHandler(Label6, &forms::Label::Click, this, &DedicationLetterForm::Label6_Click);
}

QString DedicationLetterForm::salutation()
{
    return QStringLiteral("若兰：");
}

QStringList DedicationLetterForm::paragraphs()
{
    return {
        QStringLiteral(
            "时间过得真快，转眼之间我们相识已经整整五年了。还记得第一次见到你，是在那个下着小雨的秋天的傍晚，你撑着一把淡蓝色的雨伞站在设计院门口的梧桐树下，静静地等着公交车。"
            "那时我刚刚参加工作，每天对着图板和计算书忙到深夜，心里总有些说不出的迷茫。是你让我明白，平凡的日子里也藏着许多值得珍惜的东西。"
            "这几年来，我画过许多给水排水施工图，算过数不清的管道流量、水头损失和管径坡度，常常一张图改了又改，一份计算书核了又核。"
            "每当加班到很晚，推开家门总能看见桌上为我留着的一盏灯和一碗热汤，那是我一天里最温暖的时刻。"
            "你从来不抱怨我陪你的时间太少，反而常常笑着说，能把一件事情认认真真做好的人，才是最可靠的人。"
            "这套小小的计算工具，就是在那些安静的夜晚里一点一点写出来的。最初只是为了自己查表方便，把常用的给水管道、排水管道和雨水管道的计算编成几个小程序；"
            "后来同事们用着觉得顺手，又陆续加上了管件尺寸、防水套管、消火栓、灭火器和化粪池的计算。"
            "每增加一个功能，你都是第一个听我讲解的人，虽然那些公式和规范条文对你来说枯燥无味，你却耐心地听完，还会认真地问我哪里还可以做得更好。"
            "有时程序出了错，我对着屏幕发愁，你就悄悄地在一旁陪着，给我倒一杯茶，或者讲一个刚听来的笑话，让我紧皱的眉头舒展开来。"
            "我常常想，如果没有你的理解和支持，这些零零碎碎的想法大概只会停留在笔记本里，不会变成今天这个样子。"
            "我们也有过争吵，有过误会，有过各自沉默的夜晚，可是每一次，都是你先伸出手来，轻轻地说一句“没事了”。"),
        QStringLiteral(
            "生活并不总是一帆风顺的。去年冬天你生病住院的那些日子，我每天下班后赶到医院，看着你苍白的脸，第一次真正懂得了什么叫做牵挂。你却总是反过来安慰我，说等病好了，我们就去看海。"
            "那时我就暗暗发誓，今后无论多忙，都要好好照顾你，不让你再受一点委屈。春天来时，我们真去了海边。"),
        QStringLiteral(
            "如今这个软件终于可以拿出来与大家分享了。我把它送给所有需要它的同行，也把它献给你。谢谢你，陪我走过那些平凡而珍贵的日子，谢谢你一直这样信任我、鼓励我。"
            "也许它只是一些枯燥的数字和表格，但每一行代码里都有你陪伴的影子。"
            "在这个程序里藏着一个小小的角落，只有你知道怎样才能打开它，就像我的心里永远有一个只属于你的地方。"
            "愿我们的日子像流水一样平静而绵长，愿你每天都开开心心、健健康康。余生很长，我会一直牵着你的手，走过每一个春夏秋冬，直到我们白发苍苍。"),
    };
}

QString DedicationLetterForm::closingLine()
{
    return QStringLiteral("谨以此软件献给我最亲爱的若兰");
}

void DedicationLetterForm::Form_Load()
{
    Text1->setText(QStringLiteral("0"));
    Label1->Move(80, 100);
    const QString indent = QStringLiteral("    ");
    const QChar lf(10);
    Label1->setCaption(salutation());
    for (const QString& paragraph : paragraphs())
        Label1->setCaption(Label1->Caption() + lf + indent + paragraph);
    Label1->setCaption(Label1->Caption() + lf + indent + closingLine());
    Picture1->setLeft((Width() - Picture1->Width()) / 2);
    Picture1->setTop(Label1->Top() + Label1->Height() + 300);
}

void DedicationLetterForm::Form_Unload(int&)
{
    form3().Show();
    Hide();
}

namespace {

// The scroll compares positions as the letter always did, to single
// precision: a position is rounded so before it is compared.
double singlePrecision(double twips)
{
    return static_cast<double>(static_cast<float>(twips));
}

} // namespace

bool DedicationLetterForm::letterShowing() const
{
    return singlePrecision(-Label1->Height()) < Label1->Top();
}

void DedicationLetterForm::Timer1_Timer()
{
    if (!letterShowing()) {
        Timer1->setEnabled(false);
        return;
    }
    const double middle = singlePrecision((Frame1->Height() - Picture1->Height()) / 2);
    if (middle < Picture1->Top()) {
        Picture1->setTop(Picture1->Top() - kScrollStep);
    } else {
        // The heart has reached the middle and stays; the proverb stands under it.
        Label6->setTop(Picture1->Top() + Picture1->Height() + 300);
        Label6->setLeft((Frame1->Width() - Label6->Width()) / 2);
        Label6->setVisible(true);
    }
    Label1->setTop(Label1->Top() - kScrollStep);
}

void DedicationLetterForm::Timer2_Timer()
{
    // Only this handler writes the tick count, always with a whole number.
    const double ticks = textio::readNumber(Text2->Text()).value_or(0) + 1;
    Text2->setText(textio::generalNumberText(ticks));
    Text3->setText(QString::number(static_cast<qint64>(ticks) % 2));
    if (Text3->Text() == QStringLiteral("0"))
        Picture1->setPicture(Picture3->pixmap());
    else
        Picture1->setPicture(Picture2->pixmap());
}

void DedicationLetterForm::Label1_Click()
{
    Timer1->setEnabled(!Timer1->Enabled());
}

void DedicationLetterForm::Form_Click()
{
    if (letterShowing())
        Timer1->setEnabled(!Timer1->Enabled());
    else
        endShow();
}

void DedicationLetterForm::Picture1_Click()
{
    if (!Timer1->Enabled())
        endShow();
}

void DedicationLetterForm::Label6_Click()
{
    endShow();
}

void DedicationLetterForm::endShow()
{
    forms::MsgBox(QStringLiteral("显示完成！点击“确定”退出"), forms::vbOKOnly, QStringLiteral("确认"));
    form3().Show();
    Hide();
    Text1->setText(QStringLiteral("1"));
}
