// The water supply pipe calculator `form0`: Hazen-Williams head loss with a
// water temperature factor, the mean velocity, and the head loss over a pipe
// segment, for a pipe picked from the supply pipe catalogue.
#pragma once

#include "app/calculator_form.h"
#include "hydraulics/supply_pipe_flow.h"

class WaterSupplyPipeForm : public CalculatorForm {
    Q_OBJECT
public:
    WaterSupplyPipeForm();

    void Form_Load() override;
    // A material picked: coefficient, size lists and temperature choice.
    void Combo1_Click();
    // A size picked: its inner diameter.
    void Combo2_Click();
    // A temperature picked: its factor.
    void Combo4_Click();
    // The factor list's text changed: the factor in use follows it.
    void Combo5_Change();
    // Double-clicks choose which flow field is the input.
    void Text1_DblClick();
    void Text2_DblClick();
    void Text3_Click();
    // "计 算" ("退出" is the calculators' own).
    void Command1_Click();
    // "清零".
    void Command3_Click();

    forms::Frame* Frame1; // 设计参数
    forms::Frame* Frame2; // 计算结果
    forms::ComboBox* Combo1; // material
    forms::TextBox* Text1;   // flow, L/s
    forms::TextBox* Text2;   // flow, t/h
    forms::ComboBox* Combo2; // nominal size
    forms::TextBox* Text3;   // segment length, m
    forms::ComboBox* Combo4; // water temperature
    forms::TextBox* Text9;   // Hazen-Williams coefficient C
    forms::TextBox* Text7;   // temperature correction factor in use
    forms::TextBox* Text4;   // velocity, m/s
    forms::TextBox* Text6;   // unit head loss i
    forms::TextBox* Text5;   // head loss over the length
    forms::CommandButton* Command1; // 计 算
    forms::CommandButton* Command3; // 清零
    forms::CommandButton* Command2; // 退出
    forms::ComboBox* Combo3; // hidden: inner diameters, parallel to Combo2
    forms::ComboBox* Combo5; // hidden: factors, parallel to Combo4
    forms::TextBox* Text10;  // hidden: flow input mode, "1" L/s, "2" t/h

    forms::Label* Label1;  // 请选择管材
    forms::Label* Label2;  // 流量
    forms::Label* Label3;  // L/s
    forms::Label* Label4;  // t/h
    forms::Label* Label5;  // 请选择管径
    forms::Label* Label6;  // 管段长度
    forms::Label* Label7;  // 水温℃
    forms::Label* Label8;  // m
    forms::Label* Label9;  // 海澄-威廉系数C
    forms::Label* Label10; // subscript h
    forms::Label* Label11; // 温度修正系数
    forms::Label* Label12; // 流速
    forms::Label* Label13; // 单位水头损失i
    forms::Label* Label14; // 沿程水头损失iL
    forms::Label* Label15; // m/s
    forms::Label* Label16; // 米水柱/米
    forms::Label* Label17; // 米水柱
    forms::Label* Label18; // credit line
    forms::Label* Label19; // credit line

private:
    // Connects the controls' events to their handlers, once the window is built.
    void connectHandlers();
};
