// The 排水管道水力计算 window `Form1`.
#pragma once

#include "app/calculator_form.h"

class DrainagePipeForm : public CalculatorForm {
    Q_OBJECT
public:
    DrainagePipeForm();

    void Form_Load() override;
};
