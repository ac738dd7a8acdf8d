// The 钢制管件 window `Form6`.
#pragma once

#include "app/calculator_form.h"

class SteelFittingsForm : public CalculatorForm {
    Q_OBJECT
public:
    SteelFittingsForm();

    void Form_Load() override;
};
