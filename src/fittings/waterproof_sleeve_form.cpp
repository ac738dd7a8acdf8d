#include "fittings/waterproof_sleeve_form.h"

#include "app/windows.h"
#include "forms/application.h"
#include "hydraulics/water_supply_pipe_form.h"

WaterproofSleeveForm& form7()
{
    return forms::defaultInstance<WaterproofSleeveForm>();
}

WaterproofSleeveForm::WaterproofSleeveForm()
    : CalculatorForm(QStringLiteral("钢制套管"), 6000, 4500, Calculator::WaterproofSleeve)
{
    setObjectName(QStringLiteral("form7"));
    Command1 = add<forms::CommandButton>("Command1", 360, 3720, 1500, 495);
    Command1->setCaption(QStringLiteral("返  回"));
    Command1->setFont(forms::fontFor(QStringLiteral("隶书"), 14.25));
    connect(Command1, &forms::CommandButton::Click, this, &WaterproofSleeveForm::Command1_Click);
}

void WaterproofSleeveForm::Form_Load()
{
    // The caption stays the designed one, without the version text.
}

void WaterproofSleeveForm::Command1_Click()
{
    form0().Show();
    Hide();
}
