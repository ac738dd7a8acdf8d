#include "fittings/waterproof_sleeve_form.h"

#include "app/windows.h"

WaterproofSleeveForm& form7()
{
    return forms::defaultInstance<WaterproofSleeveForm>();
}

WaterproofSleeveForm::WaterproofSleeveForm()
    : CalculatorForm(QStringLiteral("钢制套管"), 6000, 4500, Calculator::WaterproofSleeve)
{
    setObjectName(QStringLiteral("form7"));
}

void WaterproofSleeveForm::Form_Load()
{
}
