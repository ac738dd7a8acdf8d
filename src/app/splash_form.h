// The start-up splash `logo`: shows the program's name and version for
// three ticks of half a second (or until clicked), then opens the water
// supply calculator. It stays loaded, hidden, for the whole run: its hidden
// fields hold the version text and the run's counters.
#pragma once

#include "forms/form.h"

class SplashForm : public forms::Form {
    Q_OBJECT
public:
    SplashForm();

    void Form_Load() override;
    // The splash holds the run's state and stays loaded until the program
    // ends: closing it from the keyboard (Alt+F4) is refused.
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Timer1_Timer();
    // A click anywhere on the visible splash.
    void Form_Click();
    // Puts right the files of saves that died part-way in an earlier run
    // and tells the engineer of each, at the start before the splash shows.
    void tellInterruptedSaves();
    void Frame1_Click() { Form_Click(); }
    void title_Click() { Form_Click(); }
    void title_Ver_Click() { Form_Click(); }
    void Label1_Click() { Form_Click(); }
    void Label2_Click() { Form_Click(); }
    void Label3_Click() { Form_Click(); }
    void lblCopyright_Click() { Form_Click(); }

    forms::Frame* Frame1;
    forms::Label* title;
    forms::Label* title_Ver;
    forms::Label* Label1;
    forms::Label* Label2;
    forms::Label* Label3;
    forms::Label* lblCopyright;
    forms::Timer* Timer1;

    // The run state, in the strip below the frame that never shows.
    forms::TextBox* ver;   // version text "1.4"
    forms::TextBox* Text1; // splash timer ticks so far
    forms::TextBox* Text4; // password attempts left
    forms::TextBox* Text5; // clicks on the About window's contact lines
    forms::TextBox* Text6; // clicks on the dedication picture window
};
