// The 雨水管道水力计算 window `form13`.
#pragma once

#include "app/calculator_form.h"

class StormSewerNetworkForm : public CalculatorForm {
    Q_OBJECT
public:
    StormSewerNetworkForm();

    void Form_Load() override;
};
