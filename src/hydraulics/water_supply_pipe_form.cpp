#include "hydraulics/water_supply_pipe_form.h"

#include "app/windows.h"

WaterSupplyPipeForm& form0()
{
    return forms::defaultInstance<WaterSupplyPipeForm>();
}

WaterSupplyPipeForm::WaterSupplyPipeForm()
    : CalculatorForm(QStringLiteral("给水管道水力计算"), 4515, 3810, Calculator::WaterSupply)
{
    setObjectName(QStringLiteral("form0"));
}

void WaterSupplyPipeForm::Form_Load()
{
    appendVersionToCaption(QStringLiteral("给水管道水力计算"));
}
