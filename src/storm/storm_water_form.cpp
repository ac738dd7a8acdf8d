#include "storm/storm_water_form.h"

#include "app/windows.h"

StormWaterForm& form2()
{
    return forms::defaultInstance<StormWaterForm>();
}

StormWaterForm::StormWaterForm()
    : CalculatorForm(QStringLiteral("雨水管道水力计算"), 4515, 5550, Calculator::StormWater)
{
    setObjectName(QStringLiteral("form2"));
}

void StormWaterForm::Form_Load()
{
    appendVersionToCaption(QStringLiteral("雨水管道水力计算"));
}
