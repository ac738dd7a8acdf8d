// The 灭火器配置计算 window `Form5`.
#pragma once

#include "app/calculator_form.h"

class ExtinguisherConfigForm : public CalculatorForm {
    Q_OBJECT
public:
    ExtinguisherConfigForm();

    void Form_Load() override;
};
