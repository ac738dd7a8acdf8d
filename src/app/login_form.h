// The password box `Login` in front of the hidden dedication area. Three
// wrong passwords in one run end the program; the attempts left are kept in
// the splash window.
#pragma once

#include "forms/form.h"

class LoginForm : public forms::Form {
    Q_OBJECT
public:
    LoginForm();

    void cmdOK_Click();
    void cmdCancel_Click();
    // The close box ends the whole program, once unsaved work was offered
    // for saving (CalculatorForm::endProgramAfterAsking).
    void Form_Unload(int& cancel) override;

    // The area password's number. It is never stored whole: it is put
    // together from its nine digits each time it is needed.
    static double areaPassword();

    forms::ControlArray<forms::Label> lblLabels;
    forms::TextBox* txtUserName;
    forms::TextBox* txtPassword;
    forms::CommandButton* cmdOK;
    forms::CommandButton* cmdCancel;
};
