// The About window `About`: the program's name and version, the disclaimer
// and the author's contact lines. OK and the close box return to the water
// supply calculator; 系统信息 shows the splash again as the information
// screen. The fourth click on the contact lines opens the password box.
#pragma once

#include "forms/form.h"

namespace forms {
class FittedLabel;
}

class AboutForm : public forms::Form {
    Q_OBJECT
public:
    AboutForm();

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void alert_Click();

    // The disclaimer and the contact lines shown at load.
    static QString disclaimerText();
    static QString contactText();

    forms::PictureBox* picIcon;
    forms::FittedLabel* lblTitle;
    forms::FittedLabel* lblVersion;
    forms::FittedLabel* Description;
    forms::ControlArray<forms::Line> Line1;
    forms::FittedLabel* alert;
    forms::CommandButton* cmdOK;
    forms::CommandButton* cmdSysInfo;
};
