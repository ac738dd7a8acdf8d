// The 灭火器配置计算 window `Form5`: portable fire extinguishers for a building
// area by GBJ140-90, for all five sizes at once (automatic) or for one chosen
// size with the code's checks (manual), and the report sentences it writes
// into the result window.
#pragma once

#include "app/calculator_form.h"
#include "building_services/extinguisher_rules.h"
#include "building_services/fire_protection_inputs.h"
#include "forms/refusal_view.h"

#include <QStringList>

#include <array>

class ExtinguisherConfigForm : public CalculatorForm {
    Q_OBJECT
public:
    ExtinguisherConfigForm();

    void Form_Load() override;
    // Fire class.
    void Option1_Click();
    void Option2_Click();
    // Hazard level.
    void Option5_Click();
    void Option6_Click();
    void Option7_Click();
    // Below or above ground.
    void Option3_Click();
    void Option4_Click();
    // Fixed fire protection: the reduction factor K.
    void Option9_Click();
    void Option10_Click();
    void Option8_Click();
    void Option11_Click();
    void Option12_Click();
    // Automatic or manual configuration.
    void Option13_Click();
    void Option14_Click();
    // Double-clicks empty the area and points fields.
    void Text1_DblClick();
    void Text5_DblClick();
    // "计 算".
    void Command1_Click();
    // "查 看": the manual sentence into the result window.
    void Command2_Click();
    // 退出 is the calculators' own.

    forms::Frame* Frame1; // 火灾种类：
    forms::Frame* Frame2; // 危险等级：
    forms::Frame* Frame3; // 灭火设施配置情况及修正系数：
    forms::Frame* Frame4; // 地上或地下建筑：
    forms::Frame* Frame5; // 设计参数
    forms::Frame* Frame6; // 灭火器选择：
    forms::Frame* Frame7; // 计算结果：

    forms::TextBox* Text1; // protected area S, m²
    forms::TextBox* Text5; // placement points N
    forms::Label* Label1;  // 保护面积：
    forms::Label* Label2;  // 平方米
    forms::Label* Label3;  // 设置点数：
    forms::Label* Label4;  // 处

    forms::OptionButton* Option1;  // A类火灾
    forms::OptionButton* Option2;  // B类火灾
    forms::OptionButton* Option5;  // 严重危险
    forms::OptionButton* Option6;  // 中危险
    forms::OptionButton* Option7;  // 轻危险
    forms::OptionButton* Option3;  // 地下建筑
    forms::OptionButton* Option4;  // 地上建筑
    forms::OptionButton* Option9;  // K 0.7
    forms::OptionButton* Option10; // K 1
    forms::OptionButton* Option8;  // K 0.5
    forms::OptionButton* Option11; // K 0.3
    forms::OptionButton* Option12; // K 0.3
    forms::OptionButton* Option13; // 自动配置灭火器
    forms::OptionButton* Option14; // 手动配置灭火器
    // The captions beside the options.
    forms::Label* Label7;
    forms::Label* Label8;
    forms::Label* Label9;
    forms::Label* Label12;
    forms::Label* Label13;
    forms::Label* Label10;
    forms::Label* Label11;
    forms::Label* Label16;
    forms::Label* Label14;
    forms::Label* Label17;
    forms::Label* Label15;
    forms::Label* Label18;
    forms::Label* Label35;
    forms::Label* Label36;
    forms::ComboBox* Combo1; // extinguisher size of manual mode

    forms::CommandButton* Command1; // 计 算
    forms::CommandButton* Command2; // 查 看
    forms::CommandButton* Command3; // 退出

    // Results: row label, field, unit.
    forms::Label* Label19;  // 配 置 基 准 ：
    forms::TextBox* Text2;  // base area per unit of rating U
    forms::Label* Label20;  // 平米/A
    forms::Label* Label23;  // 保 护 距 离 ：
    forms::TextBox* Text4;  // maximum protection distance, m
    forms::Label* Label24;  // 米
    forms::Label* Label34;  // 每具最小配置：
    forms::TextBox* Text36; // minimum rating of one extinguisher
    forms::Label* Label37;  // A
    forms::Label* Label32;  // 灭 火 级 别 ：
    forms::TextBox* Text9;  // required rating per point
    forms::Label* Label33;  // A
    forms::Label* Label30;  // 每 处 配 置 ：
    forms::TextBox* Text8;  // manual: extinguishers per point
    forms::Label* Label31;  // 具
    forms::Label* Label27;  // 实际配置级别：
    forms::TextBox* Text7;  // manual: actual rating per point
    forms::Label* Label29;  // A
    forms::Label* Label26;  // 总 计 配 置 ：
    forms::TextBox* Text12; // manual: extinguishers in all
    forms::Label* Label28;  // 具
    forms::Label* Label21;  // 每具灭火级别：
    forms::TextBox* Text3;  // manual: rating of one extinguisher
    forms::Label* Label22;  // A

    // Hidden: the current choices.
    forms::TextBox* Text10; // fire class text
    forms::TextBox* Text11; // hazard level text
    forms::TextBox* Text14; // reduction factor K
    forms::TextBox* Text15; // location factor
    // Hidden: automatic mode, per size 1, 2, 3, 4 and 6 kg.
    forms::TextBox* Text17; // per point
    forms::TextBox* Text19;
    forms::TextBox* Text21;
    forms::TextBox* Text23;
    forms::TextBox* Text25;
    forms::TextBox* Text16; // actual rating per point
    forms::TextBox* Text18;
    forms::TextBox* Text20;
    forms::TextBox* Text22;
    forms::TextBox* Text24;
    forms::TextBox* Text26; // in all
    forms::TextBox* Text27;
    forms::TextBox* Text28;
    forms::TextBox* Text29;
    forms::TextBox* Text30;
    forms::TextBox* Text31; // remark
    forms::TextBox* Text32;
    forms::TextBox* Text33;
    forms::TextBox* Text34;
    forms::TextBox* Text35; // remark of 6 kg and of the manual sentence

private:
    // Connects the controls' events to their handlers, once the window is built.
    void connectHandlers();
    // The hidden fields of one size in automatic mode.
    struct SizeFields {
        forms::TextBox* perPoint;
        forms::TextBox* ratingPerPoint;
        forms::TextBox* total;
        forms::TextBox* remark;
    };
    std::array<SizeFields, 5> sizeFields() const;

    // The class's rating unit on the unit labels.
    void showRatingUnit(building_services::FireClass fireClass);
    // The reduction factor of the protection into its hidden field.
    void showReductionFactor(building_services::FixedProtection protection);
    // The fixed fire protection of the option selected.
    building_services::FixedProtection fixedProtection() const;
    // The texts the figures derive from: area, points, class, hazard level,
    // location, K, size and mode.
    QStringList inputTexts() const;
    bool automatic() const;
    // The opening of the report sentences, from the fields and unit labels.
    building_services::ExtinguisherReportHead reportHead() const;
    // The control each input a calculation refuses means.
    forms::FieldControls<building_services::ExtinguisherField> fieldControls() const;
    // The field of each manual figure a report refuses.
    forms::FieldControls<building_services::ManualFigure> figureControls() const;
    // Automatic mode: the hidden per-size fields and the sentence into the
    // result window.
    void showAutomaticFigures(const building_services::ExtinguisherResults& r);
    // Manual mode: the chosen size's figures, the code's marks and warning.
    void showManualFigures(const building_services::ExtinguisherResults& r);

    // The inputs of the last calculation; none before the first one and
    // after a mode switch emptied the results.
    building_services::CalculatedInputs m_calculated;
};
