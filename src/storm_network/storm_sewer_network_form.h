// The 雨水管道水力计算 window `form13`: segment-by-segment design of a storm
// sewer run. Its option "自动计算" switches back to the storm water window
// `form2`, whose option "手工逐段计算" leads here.
#pragma once

#include "app/calculator_form.h"

class StormSewerNetworkForm : public CalculatorForm {
    Q_OBJECT
public:
    StormSewerNetworkForm();

    void Form_Load() override;
    void Option3_Click();

    // 计算方式
    forms::Frame* Frame6;
    forms::OptionButton* Option3;  // 自动计算: back to the storm water window
    forms::OptionButton* Option4;  // 手工逐段计算: this window's own mode
};
