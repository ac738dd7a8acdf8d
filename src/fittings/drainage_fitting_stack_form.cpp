#include "fittings/drainage_fitting_stack_form.h"

#include "app/windows.h"

DrainageFittingStackForm& Form8()
{
    return forms::defaultInstance<DrainageFittingStackForm>();
}

DrainageFittingStackForm::DrainageFittingStackForm()
    : CalculatorForm(QStringLiteral("排水管件连接计算"), 7425, 5655, Calculator::DrainageFittings)
{
    setObjectName(QStringLiteral("Form8"));
}

void DrainageFittingStackForm::Form_Load()
{
    appendVersionToCaption(QStringLiteral("排水管件连接计算"));
}
