// The 雨水管道水力计算 window `form2`.
#pragma once

#include "app/calculator_form.h"

class StormWaterForm : public CalculatorForm {
    Q_OBJECT
public:
    StormWaterForm();

    void Form_Load() override;
};
