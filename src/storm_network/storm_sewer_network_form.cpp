#include "storm_network/storm_sewer_network_form.h"

#include "app/windows.h"
#include "storm/storm_water_form.h"

StormSewerNetworkForm& form13()
{
    return forms::defaultInstance<StormSewerNetworkForm>();
}

namespace {
const QString kDesignCaption = QStringLiteral("雨水管道水力计算");
}

StormSewerNetworkForm::StormSewerNetworkForm()
    : CalculatorForm(kDesignCaption, 4515, 4320, Calculator::StormNetwork)
{
    setObjectName(QStringLiteral("form13"));

    Frame6 = add<forms::Frame>("Frame6", 0, 1050, 4500, 690);
    Frame6->setCaption(QStringLiteral("计算方式"));
    Option3 = addIn<forms::OptionButton>(Frame6, "Option3", 90, 315, 1320, 240);
    Option3->setCaption(QStringLiteral("自动计算"));
    Option4 = addIn<forms::OptionButton>(Frame6, "Option4", 1440, 315, 1920, 240);
    Option4->setCaption(QStringLiteral("手工逐段计算"));
    Option4->setValue(true);

    connect(Option3, &forms::OptionButton::Click, this, &StormSewerNetworkForm::Option3_Click);
}

void StormSewerNetworkForm::Form_Load()
{
    appendVersionToCaption(kDesignCaption);
}

void StormSewerNetworkForm::Option3_Click()
{
    // Back to the single-catchment window, at this window's place; this
    // window keeps every value for the return.
    StormWaterForm& storm = form2();
    storm.Option3->setValue(true);
    storm.setTop(Top());
    storm.setLeft(Left());
    storm.Show();
    Hide();
}
