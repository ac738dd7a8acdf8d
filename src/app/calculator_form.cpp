#include "app/calculator_form.h"
#include "app/run_state.h"

#include "app/windows.h"
#include "forms/handler.h"
#include "forms/platform.h"

CalculatorForm::CalculatorForm(const QString& caption, double clientWidth, double clientHeight,
                               Calculator which)
    : forms::Form(caption, clientWidth, clientHeight, forms::BorderStyle::FixedSingle)
    , m_designCaption(caption)
    , m_menu(new CalculatorMenuBar(*this, which))
{
}

void CalculatorForm::Form_Unload(int&)
{
    forms::endProgram();
}

void CalculatorForm::appendVersionToCaption(const QString& designCaption)
{
    setCaption(versionedCaption(designCaption));
}

void CalculatorForm::Exit_Click()
{
    forms::endProgram();
}

void CalculatorForm::putButtonBlock(forms::CommandButton*& calculate, const forms::ControlRow& calculateRow,
                                    forms::CommandButton*& clear, const forms::ControlRow& clearRow,
                                    forms::CommandButton*& exit, const forms::ControlRow& exitRow)
{
    const auto captioned = [](forms::ControlRow row, const QString& caption) {
        row.caption = caption;
        return row;
    };
    put(calculate, nullptr, captioned(calculateRow, QStringLiteral("计 算")));
    put(clear, nullptr, captioned(clearRow, QStringLiteral("清零")));
    put(exit, nullptr, captioned(exitRow, QStringLiteral("退出")));
    setDefaultButton(calculate);
    setCancelButton(exit);
    forms::connectHandler(exit, &forms::CommandButton::Click, this, &CalculatorForm::Exit_Click);
}
