// The 钢制套管 window `form7`: dimensions of rigid waterproof wall sleeves.
#pragma once

#include "app/calculator_form.h"

class WaterproofSleeveForm : public CalculatorForm {
    Q_OBJECT
public:
    WaterproofSleeveForm();

    void Form_Load() override;
    // "返  回": back to the water supply calculator; this window keeps its state.
    void Command1_Click();

    forms::CommandButton* Command1;
};
