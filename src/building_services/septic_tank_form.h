// The 化粪池设计计算 window `form12`: a septic tank for a building from its
// users, use, drainage system, quota, retention time and cleaning period;
// its volume, standard tank, type code, the largest number of users the tank
// serves and its outline size, and the users any standard tank picked by
// hand serves under the same inputs.
#pragma once

#include "app/calculator_form.h"
#include "building_services/septic_tank_design.h"
#include "forms/refusal_view.h"

#include <optional>

class SepticTankForm : public CalculatorForm {
    Q_OBJECT
public:
    SepticTankForm();

    void Form_Load() override;

    // Input lists.
    void Combo1_Click();  // building use: usage factor and quota list
    void Combo2_Click();  // drainage system: sludge constant
    void Combo3_Click();  // quota
    void Combo4_Click();  // cleaning period
    void Combo5_Click();  // usage factor
    void Combo6_Click();  // retention time
    void Combo7_Click();  // groundwater
    void Combo8_Click();  // vehicles
    void Combo9_Click();  // cover soil
    void Text1_DblClick();
    // "计 算".
    void Command1_Click();
    // A standard tank picked by hand.
    void Combo10_Click();
    // 退出 is the calculators' own.
    // "返回".
    void Command3_Click();

    // 设计参数
    forms::Frame* Frame1;
    forms::Label* Label1;
    forms::TextBox* Text1;     // N, design users
    forms::Label* Label2;
    forms::ComboBox* Combo5;   // α, usage factor
    forms::Label* Label3;
    forms::ComboBox* Combo1;   // building use
    forms::Label* Label4;
    forms::ComboBox* Combo3;   // q, sewage quota, L per user per day
    forms::Label* Label5;
    forms::Label* Label6;
    forms::ComboBox* Combo6;   // t, retention time, h
    forms::Label* Label7;
    forms::ComboBox* Combo2;   // drainage system
    forms::Label* Label8;
    forms::ComboBox* Combo4;   // T, cleaning period, d
    forms::Label* Label9;
    forms::ComboBox* Combo11;  // tank material
    forms::Label* Label10;
    forms::ComboBox* Combo7;   // groundwater
    forms::ComboBox* Combo8;   // vehicles
    forms::ComboBox* Combo9;   // cover soil

    // 计算结果
    forms::Frame* Frame2;
    forms::Label* Label11;
    forms::TextBox* Text9;     // type code
    forms::ComboBox* Combo10;  // standard tank picked by hand
    forms::Label* Label12;
    forms::TextBox* Text7;     // largest number of users
    forms::Label* Label13;
    forms::TextBox* Text14;    // outline size L×B, mm

    forms::CommandButton* Command1;  // 计 算
    forms::CommandButton* Command2;  // 退出
    forms::CommandButton* Command3;  // 返回

    // Working values, below the client area and never shown.
    forms::TextBox* Text2;   // s, sludge constant
    forms::TextBox* Text3;   // V1, sewage part
    forms::TextBox* Text4;   // V2, sludge part
    forms::TextBox* Text6;   // V, the standard tank's volume (or the computed one)
    forms::TextBox* Text10;  // V2/V, sludge share
    forms::TextBox* Text5;   // largest number of users, unrounded
    forms::TextBox* Text11;  // groundwater letter
    forms::TextBox* Text12;  // vehicle letter
    forms::TextBox* Text13;  // cover soil letter
    forms::TextBox* Text15;  // material letter

private:
    // Connects the controls' events to their handlers, once the window is built.
    void connectHandlers();
    // The design inputs as the fields hold them.
    building_services::SepticTankInputTexts inputTexts() const;
    // The control each input a calculation or hand pick refuses means.
    forms::FieldControls<building_services::SepticField> fieldControls() const;
    // The site conditions as the condition lists show them.
    building_services::SiteConditions siteConditions() const;
    // Puts the hand-pick list back to its prompt.
    void resetHandPick();
};
