// The 钢制套管 window `form7`.
#pragma once

#include "app/calculator_form.h"

class WaterproofSleeveForm : public CalculatorForm {
    Q_OBJECT
public:
    WaterproofSleeveForm();

    void Form_Load() override;
};
