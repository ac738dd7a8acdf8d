// What every calculator window shares: the calculator menu bar, the version
// text after its caption, and closing it ends the whole program.
#pragma once

#include "app/calculator_menu_bar.h"
#include "forms/form.h"

class CalculatorForm : public forms::Form {
    Q_OBJECT
public:
    CalculatorForm(const QString& caption, double clientWidth, double clientHeight,
                   Calculator which);

    // The calculator menu bar of this window.
    CalculatorMenuBar* menu() const { return m_menu; }

    // Closing a calculator window ends the program at once; no other
    // window is asked anything.
    void Form_Unload(int& cancel) override;

protected:
    // Sets the caption to `designCaption` followed by "V" and the version
    // text kept by the splash window.
    void appendVersionToCaption(const QString& designCaption);

private:
    CalculatorMenuBar* m_menu;
};
