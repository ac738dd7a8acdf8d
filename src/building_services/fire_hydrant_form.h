// The 消火栓水力计算 window `Form11`.
#pragma once

#include "app/calculator_form.h"

class FireHydrantForm : public CalculatorForm {
    Q_OBJECT
public:
    FireHydrantForm();

    void Form_Load() override;
};
