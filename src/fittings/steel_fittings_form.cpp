#include "fittings/steel_fittings_form.h"

#include "app/windows.h"

SteelFittingsForm& Form6()
{
    return forms::defaultInstance<SteelFittingsForm>();
}

SteelFittingsForm::SteelFittingsForm()
    : CalculatorForm(QStringLiteral("钢制管件"), 8025, 5910, Calculator::SteelFittings)
{
    setObjectName(QStringLiteral("Form6"));
}

void SteelFittingsForm::Form_Load()
{
}
