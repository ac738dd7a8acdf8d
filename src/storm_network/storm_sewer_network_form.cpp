#include "storm_network/storm_sewer_network_form.h"

#include "app/windows.h"

StormSewerNetworkForm& form13()
{
    return forms::defaultInstance<StormSewerNetworkForm>();
}

StormSewerNetworkForm::StormSewerNetworkForm()
    : CalculatorForm(QStringLiteral("雨水管道水力计算"), 4515, 5550, Calculator::StormNetwork)
{
    setObjectName(QStringLiteral("form13"));
}

void StormSewerNetworkForm::Form_Load()
{
    appendVersionToCaption(QStringLiteral("雨水管道水力计算"));
}
