#include "building_services/extinguisher_config_form.h"

#include "app/windows.h"

ExtinguisherConfigForm& Form5()
{
    return forms::defaultInstance<ExtinguisherConfigForm>();
}

ExtinguisherConfigForm::ExtinguisherConfigForm()
    : CalculatorForm(QStringLiteral("灭火器配置计算"), 6000, 4500, Calculator::Extinguisher)
{
    setObjectName(QStringLiteral("Form5"));
}

void ExtinguisherConfigForm::Form_Load()
{
    appendVersionToCaption(QStringLiteral("灭火器配置计算"));
}
