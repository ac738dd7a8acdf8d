// The 给水管道水力计算 window `form0`.
#pragma once

#include "app/calculator_form.h"

class WaterSupplyPipeForm : public CalculatorForm {
    Q_OBJECT
public:
    WaterSupplyPipeForm();

    void Form_Load() override;
};
