#include "app/about_form.h"
#include "app/run_state.h"

#include "forms/fitted_text.h"
#include "app/login_form.h"
#include "app/pictures.h"
#include "app/splash_form.h"
#include "app/windows.h"
#include "forms/application.h"
#include "textio/numtext.h"
#include "hydraulics/water_supply_pipe_form.h"
#include "forms/handler.h"

#include <QPainter>

using namespace Qt::StringLiterals;

AboutForm& About()
{
    return forms::defaultInstance<AboutForm>();
}

namespace {

const QString kDesignCaption = QStringLiteral("Vantor_Tools");

// A line drawn two pixels wide: the light half of the etched separator.
class DoubleWidthLine : public forms::Line {
public:
    using forms::Line::Line;
    void setPoints(double x1, double y1, double x2, double y2, quint32 runtimeColor)
    {
        forms::Line::setPoints(x1, y1, x2, y2);
        setLineColor(runtimeColor);
        m_colour = forms::color(runtimeColor);
        setGeometry(geometry().adjusted(0, 0, 0, 1));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), m_colour);
    }

private:
    QColor m_colour;
};

} // namespace

AboutForm::AboutForm()
    : forms::Form(kDesignCaption, 5730, 3690, forms::BorderStyle::FixedDialog)
{
    setObjectName(QStringLiteral("About"));

    put(picIcon, nullptr, {"picIcon", 240, 145, 480, 480});
    picIcon->setPicture(pictures::programIcon());

    put(lblTitle, nullptr, {"lblTitle", 1050, 145, 3525, 480, u"万拓计算工具集"_s});
    lblTitle->setForeColor(forms::vbBlue);
    lblTitle->setFont(forms::fontFor(u"华文彩云"_s, 21.75));

    put(lblVersion, nullptr, {"lblVersion", 4590, 406, 915, 225, u"版本："_s});

    // The disclaimer takes the room from the title down to the separator,
    // so that its lines keep the font's own spacing.
    put(Description, nullptr, {"Description", 245, 720, 5271, 1680});

    auto* etchDark = new forms::Line(client());
    etchDark->setObjectName(QStringLiteral("Line1"));
    etchDark->setLineColor(0x808080);
    etchDark->setPoints(90, 2445, 5654, 2445);
    etchDark->show();
    Line1.insert(0, etchDark);
    auto* etchLight = new DoubleWidthLine(client());
    etchLight->setObjectName(QStringLiteral("Line1"));
    etchLight->setPoints(105, 2460, 5654, 2460, 0xFFFFFF);
    etchLight->show();
    Line1.insert(1, etchLight);

    put(alert, nullptr, {"alert", 245, 2625, 3993, 970});

    put(cmdOK, nullptr, {"cmdOK", 4446, 2625, 1180, 345, u"确  定(&Y)"_s});
    put(cmdSysInfo, nullptr, {"cmdSysInfo", 4460, 3187, 1179, 345, u"系统信息(&I)"_s});
    setDefaultButton(cmdOK);
    setCancelButton(cmdOK);

    forms::connectHandler(cmdOK, &forms::CommandButton::Click, this, &AboutForm::cmdOK_Click);
    forms::connectHandler(cmdSysInfo, &forms::CommandButton::Click, this, &AboutForm::cmdSysInfo_Click);
    forms::connectHandler(alert, &forms::Label::Click, this, &AboutForm::alert_Click);
}

QString AboutForm::disclaimerText()
{
    return QStringLiteral("    本软件为免费提供，不包含任何使用保证，作者亦不对您或别的用户使用此软件所带来的理论上或实际的损失负责。"
                          "您可以任意复制、传播、修改本软件，但不得用于任何商业目的！如果您不同意以上任何一点，请立即停止使用本软件。")
        + QChar(10) + QStringLiteral("    在使用本软件过程中您有任何建议或意见，欢迎随时与作者联系，以便完善。谢谢!  ");
}

QString AboutForm::contactText()
{
    const QChar lf(10);
    return QStringLiteral("作者：万拓  手机：13900000000") + lf
        + QStringLiteral("即时通讯：10000000  电话：60000000-100") + lf
        + QStringLiteral("邮编：100000") + QChar(3) + QStringLiteral(" 地址：北京市建设路1号") + lf
        + QStringLiteral("某市建筑设计研究院") + lf
        + QStringLiteral("电子邮件：vantor@example.com");
}

void AboutForm::Form_Load()
{
    // Composed from the designed caption, so that it carries the version once.
    setCaption(versionedCaption(kDesignCaption + QStringLiteral(" ")));
    lblVersion->setCaption(QStringLiteral("Ver ") + RunState::version());
    Description->setCaption(disclaimerText());
    alert->setCaption(contactText());
}

void AboutForm::Form_Unload(int&)
{
    form0().Show();
    Hide();
}

void AboutForm::cmdOK_Click()
{
    form0().Show();
    Unload();
}

void AboutForm::cmdSysInfo_Click()
{
    // When the window comes back from the information screen, Enter
    // presses 确定, not 系统信息 again.
    cmdOK->SetFocus();
    logo().Show();
    Hide();
}

void AboutForm::alert_Click()
{
    // The counter lives in the splash window, so it survives this window's
    // unloading; only its own writes ever put a number there.
    const double clicks = RunState::aboutClicks() + 1;
    RunState::setAboutClicks(clicks);
    if (RunState::aboutClicks() > 3) {
        Hide();
        Login().Show();
        RunState::setAboutClicks(0);
    }
}
