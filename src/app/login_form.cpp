#include "app/login_form.h"
#include "app/run_state.h"

#include "app/calculator_form.h"
#include "app/dedication_picture_form.h"
#include "app/windows.h"
#include "textio/numtext.h"
#include "forms/platform.h"
#include "hydraulics/water_supply_pipe_form.h"
#include "forms/handler.h"

#include <array>

using namespace Qt::StringLiterals;

LoginForm& Login()
{
    return forms::defaultInstance<LoginForm>();
}

LoginForm::LoginForm()
    : forms::Form(QStringLiteral("身份确认"), 3750, 1545, forms::BorderStyle::FixedDialog)
{
    setObjectName(QStringLiteral("Login"));

    forms::Label* userLabel = nullptr;
    put(userLabel, nullptr, {"lblLabels", 105, 150, 1080, 270, u"用户名称(&U):"_s});
    lblLabels.insert(0, userLabel);
    put(txtUserName, nullptr, {"txtUserName", 1290, 135, 2325, 345});
    // The access key of a label moves the focus to the field beside it.
    userLabel->setBuddy(txtUserName);

    forms::Label* passwordLabel = nullptr;
    put(passwordLabel, nullptr, {"lblLabels", 105, 540, 1080, 270, u"密码(&P):"_s});
    lblLabels.insert(1, passwordLabel);
    put(txtPassword, nullptr, {"txtPassword", 1290, 525, 2325, 345});
    passwordLabel->setBuddy(txtPassword);
    txtPassword->setPasswordChar(true);
    txtPassword->setAttribute(Qt::WA_InputMethodEnabled, false);

    put(cmdOK, nullptr, {"cmdOK", 495, 1020, 1140, 390, u"确定"_s});
    put(cmdCancel, nullptr, {"cmdCancel", 2100, 1020, 1140, 390, u"取消"_s});
    setDefaultButton(cmdOK);
    setCancelButton(cmdCancel);

    QWidget::setTabOrder(txtUserName, txtPassword);
    QWidget::setTabOrder(txtPassword, cmdOK);
    QWidget::setTabOrder(cmdOK, cmdCancel);
    txtUserName->setFocus();

    forms::connectHandler(cmdOK, &forms::CommandButton::Click, this, &LoginForm::cmdOK_Click);
    forms::connectHandler(cmdCancel, &forms::CommandButton::Click, this, &LoginForm::cmdCancel_Click);
}

double LoginForm::areaPassword()
{
    static constexpr std::array<int, 9> digits = {5, 2, 0, 6, 1, 3, 1, 4, 9};
    QString text;
    for (int d : digits)
        text += QString::number(d);
    return textio::readNumber(text).value_or(0);
}

void LoginForm::cmdOK_Click()
{
    if (txtPassword->Text().isEmpty())
        txtPassword->setText(QStringLiteral("0"));
    // The typed number against the password's number; a text that is no
    // number is a wrong password like any other.
    const std::optional<double> typed = textio::readNumber(txtPassword->Text());
    if (typed && *typed == areaPassword()) {
        Hide();
        form3().Show();
        txtPassword->setText(QString());
        return;
    }

    const double left = RunState::passwordAttemptsLeft() - 1;
    RunState::setPasswordAttemptsLeft(left);
    if (left > 0) {
        Hide();
        forms::MsgBox(QStringLiteral("无效的密码，请重试!剩余次数") + textio::generalNumberText(left),
                      forms::vbOKOnly, QStringLiteral("登录"));
        Show();
        txtPassword->SetFocus();
        txtPassword->setText(QString());
        txtPassword->SelectAll();
        return;
    }
    Hide();
    // The text field is emptied like after every check; the program ends
    // here without asking any other window anything.
    txtPassword->setText(QString());
    forms::MsgBox(QStringLiteral("您试图进入未经授权的区域，程序保护性错误，请按“确定”退出！"), forms::vbOKOnly,
                  QStringLiteral("错误"));
    forms::endProgram();
}

void LoginForm::cmdCancel_Click()
{
    Hide();
    form0().Show();
}

void LoginForm::Form_Unload(int& cancel)
{
    // As closing a calculator: unsaved work is offered for saving first,
    // and the box stays when the engineer keeps the program running.
    CalculatorForm::endProgramAfterAsking();
    cancel = 1;
}
