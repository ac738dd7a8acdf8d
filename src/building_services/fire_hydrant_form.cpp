#include "building_services/fire_hydrant_form.h"

#include "app/windows.h"

FireHydrantForm& Form11()
{
    return forms::defaultInstance<FireHydrantForm>();
}

FireHydrantForm::FireHydrantForm()
    : CalculatorForm(QStringLiteral("消火栓水力计算"), 4515, 3810, Calculator::FireHydrant)
{
    setObjectName(QStringLiteral("Form11"));
}

void FireHydrantForm::Form_Load()
{
    appendVersionToCaption(QStringLiteral("消火栓水力计算"));
}
