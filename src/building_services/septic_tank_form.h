// The 化粪池设计计算 window `form12`.
#pragma once

#include "app/calculator_form.h"

class SepticTankForm : public CalculatorForm {
    Q_OBJECT
public:
    SepticTankForm();

    void Form_Load() override;
};
