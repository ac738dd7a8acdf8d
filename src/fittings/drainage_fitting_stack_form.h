// The 排水管件连接计算 window `Form8`.
#pragma once

#include "app/calculator_form.h"

class DrainageFittingStackForm : public CalculatorForm {
    Q_OBJECT
public:
    DrainageFittingStackForm();

    void Form_Load() override;
};
