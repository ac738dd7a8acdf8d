#include "app/calculator_form.h"
#include "app/run_state.h"

#include "app/windows.h"
#include "forms/platform.h"

CalculatorForm::CalculatorForm(const QString& caption, double clientWidth, double clientHeight,
                               Calculator which)
    : forms::Form(caption, clientWidth, clientHeight, forms::BorderStyle::FixedSingle)
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
