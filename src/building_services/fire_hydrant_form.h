// The 消火栓水力计算 window `Form11`: nozzle pressure, hose loss, pressure at
// the hydrant outlet and jet flow of one indoor fire hydrant, and the report
// sentence it writes into the result window.
#pragma once

#include "app/calculator_form.h"
#include "building_services/fire_hydrant_hydraulics.h"
#include "building_services/fire_protection_inputs.h"
#include "forms/refusal_view.h"

#include <QStringList>


class FireHydrantForm : public CalculatorForm {
    Q_OBJECT
public:
    FireHydrantForm();

    void Form_Load() override;
    // A nozzle picked: B and φ, and the results emptied.
    void Combo1_Click();
    // A hose diameter or material picked: the hose resistance A.
    void Combo2_Click();
    void Combo3_Click();
    // "计 算".
    void Command1_Click();
    // "查看": the report sentence into the result window.
    void Command2_Click();
    // "返回": back to the water supply window.
    void Command3_Click();

    forms::Frame* Frame1; // 设计参数
    forms::Frame* Frame2; // 计算结果
    forms::ComboBox* Combo1; // nozzle diameter df, mm
    forms::TextBox* Text3;   // nozzle coefficient B
    forms::TextBox* Text4;   // effective water column Hm, m
    forms::TextBox* Text5;   // hose length Ld, m
    forms::ComboBox* Combo2; // hose diameter d, mm
    forms::ComboBox* Combo3; // hose material
    forms::TextBox* Text6;   // hose resistance A
    forms::TextBox* Text13;  // outlet loss Hsk, shown only
    forms::TextBox* Text10;  // nozzle pressure Hq, m
    forms::TextBox* Text11;  // hose loss Hd, m
    forms::TextBox* Text1;   // pressure at the hydrant outlet Hxh, m
    forms::TextBox* Text2;   // jet flow Q, L/s
    forms::TextBox* Text7;   // hidden: nozzle factor φ
    forms::TextBox* Text9;   // hidden: jet factor αf
    forms::CommandButton* Command1; // 计 算
    forms::CommandButton* Command2; // 查看
    forms::CommandButton* Command3; // 返回

    forms::Label* Label9;  // 喷嘴直径(mm)
    forms::Label* Label6;  // 特性系数B
    forms::Label* Label10; // 充实水柱(m)
    forms::Label* Label11; // 水带长度Ld(m)
    forms::Label* Label7;  // 水带口径(mm)
    forms::Label* Label12; // 水带材质
    forms::Label* Label15; // 水带比阻A
    forms::Label* Label18; // 栓口损失Hsk(m)
    forms::Label* Label17; // 喷嘴水压Hq
    forms::Label* Label16; // m
    forms::Label* Label14; // 水带损失Hd
    forms::Label* Label13; // m
    forms::Label* Label1;  // 栓口水压Hxh
    forms::Label* Label2;  // m
    forms::Label* Label3;  // 流    量Q
    forms::Label* Label4;  // L/s

private:
    // Connects the controls' events to their handlers, once the window is built.
    void connectHandlers();
    // The control each input a calculation or report refuses means.
    forms::FieldControls<building_services::HydrantField> fieldControls() const;
    // φ of the nozzle shown, into Text7.
    void writeNozzleFactor();
    // The texts the results derive from: Hm, df, Ld, d and the material.
    QStringList inputTexts() const;

    // The inputs of the last calculation; none before the first one and
    // after the results were emptied.
    building_services::CalculatedInputs m_calculated;
};
