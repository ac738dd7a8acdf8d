// What every calculator window shares: the calculator menu bar, the version
// text after its caption, and closing it ends the whole program once
// unsaved work was offered for saving.
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

    // Closing a calculator window ends the program (endProgramAfterAsking);
    // when the engineer keeps it running, the window stays.
    void Form_Unload(int& cancel) override;

    // 退出: ends the program (endProgramAfterAsking).
    void Exit_Click();

    // Ends the program, at once where nothing unsaved would be lost. First
    // the result window, while it holds a text, asks its own question as
    // when it is closed; then the segment list, while it holds segments
    // not yet exported, asks whether to save them. Returns, with nothing
    // lost, when the engineer keeps the program running (Cancel, or a
    // save cancelled or failed).
    static void endProgramAfterAsking();

protected:
    // Sets the caption to `designCaption` followed by "V" and the version
    // text kept by the splash window.
    void appendVersionToCaption(const QString& designCaption);
    // The same with the caption the window was made with.
    void appendVersionToCaption() { appendVersionToCaption(m_designCaption); }

    // The 计 算 / 清零 / 退出 block: Enter presses 计 算 and Esc 退出, whose
    // click ends the program. The window connects 计 算 and 清零.
    void putButtonBlock(forms::CommandButton*& calculate, const forms::ControlRow& calculateRow,
                        forms::CommandButton*& clear, const forms::ControlRow& clearRow,
                        forms::CommandButton*& exit, const forms::ControlRow& exitRow);

private:
    QString m_designCaption;
    CalculatorMenuBar* m_menu;
};
