#include "building_services/septic_tank_form.h"

#include "app/windows.h"

SepticTankForm& form12()
{
    return forms::defaultInstance<SepticTankForm>();
}

SepticTankForm::SepticTankForm()
    : CalculatorForm(QStringLiteral("化粪池设计计算"), 4515, 4755, Calculator::SepticTank)
{
    setObjectName(QStringLiteral("form12"));
}

void SepticTankForm::Form_Load()
{
    appendVersionToCaption(QStringLiteral("化粪池设计计算"));
}
