// The 雨水管道水力计算 window `form2`: design storm intensity of one catchment
// from its city's formula, its design flow by the rational method, the choice
// of the outlet pipe by material, and a full-pipe check of a chosen pipe in a
// panel below the main area. Its option "手工逐段计算" switches to the storm
// sewer network window `form13`.
#pragma once

#include "app/calculator_form.h"
#include "storm/storm_city_view.h"
#include "storm/storm_pipe_sizing.h"
#include "storm/storm_water_design.h"

class StormWaterForm : public CalculatorForm, public StormCityView {
    Q_OBJECT
public:
    StormWaterForm();

    // Outer height of the window with the check panel closed, and what the
    // panel adds to it (twips).
    static constexpr double kClosedHeight = 6500;
    static constexpr double kPanelHeight = 2400;

    void Form_Load() override;

    // City and formula display.
    void Combo6_Click();
    void Combo3_Click();
    // Design parameters.
    void Combo4_Click();
    void Option1_Click();
    void Option2_Click();
    void Option4_Click();
    void Text11_DblClick();
    void Text12_DblClick();
    // Design flow and outlet pipe.
    void Command1_Click();  // 退出 is the calculators' own
    // Full-pipe check panel.
    void Command3_Click();
    void Command5_Click();
    void Combo1_Click();
    void Combo2_Click();
    void Command4_Click();
    void Command6_Click();

    // True from 校核 opening the check panel until 返回 closes it.
    bool checkPanelOpen() const { return m_checkPanelOpen; }

    // 选择城市 and 计算方式: the panel's controls (StormCityView).

    // 设计参数
    forms::Frame* Frame4;
    forms::Label* Label1;
    forms::TextBox* Text12;  // return period P, years
    forms::Label* Label2;
    forms::Label* Label3;
    forms::TextBox* Text11;  // rainfall duration t, minutes
    forms::Label* Label4;
    forms::Label* Label7;
    forms::TextBox* Text13;  // catchment area F, m²
    forms::Label* Label8;
    forms::Label* Label10;
    forms::TextBox* Text9;   // number of outlet pipes N
    forms::ComboBox* Combo4; // surface type
    forms::Label* Label11;
    forms::TextBox* Text14;  // runoff coefficient Ψ
    forms::OptionButton* Option1;  // 屋面(单斗)
    forms::OptionButton* Option2;  // 室外
    forms::Label* Label12;
    forms::ComboBox* Combo5; // pipe material

    // 计算结果
    forms::Frame* Frame1;
    forms::Label* Label13;
    forms::TextBox* Text2;   // storm intensity q, L/(s·ha)
    forms::Label* Label14;
    forms::Label* Label15;
    forms::TextBox* Text10;  // total design flow, L/s
    forms::Label* Label16;
    forms::Label* Label17;
    forms::TextBox* Text4;   // design flow per outlet pipe, L/s
    forms::Label* Label19;
    forms::Label* Label21;
    forms::TextBox* Text3;   // outlet pipe diameter
    forms::Label* Label20;
    forms::TextBox* Text5;   // design slope, ‰
    forms::Label* Label30;

    forms::Label* Label28;   // title
    forms::CommandButton* Command1;  // 计 算
    forms::CommandButton* Command3;  // 校核
    forms::CommandButton* Command2;  // 退出

    // Full-pipe check panel, below the client area until 校核 opens it.
    forms::Frame* Frame2;
    forms::ComboBox* Combo1;  // diameter
    forms::Label* Label9;
    forms::ComboBox* Combo2;  // slope, ‰
    forms::Frame* Frame5;
    forms::Label* Label18;
    forms::TextBox* Text19;   // full-pipe velocity, m/s
    forms::Label* Label23;
    forms::Label* Label24;
    forms::TextBox* Text20;   // full-pipe flow, L/s
    forms::Label* Label25;
    forms::CommandButton* Command4;  // 计 算
    forms::CommandButton* Command6;  // 清零
    forms::CommandButton* Command5;  // 返回

    // Never shown.
    forms::TextBox* Text1;  // design flow per outlet pipe, m³/h
    forms::TextBox* Text6;  // checked diameter, m
    forms::TextBox* Text7;  // minimum slope of the checked diameter, ‰

protected:
    // Shown by any way, the window is in its own mode, "自动计算".
    void showEvent(QShowEvent* e) override;

private:
    // Connects the controls' events to their handlers, once the window is built.
    void connectHandlers();
    // The outlet pipe chosen for the flow per pipe, or the warning that
    // HDPE cannot carry it.
    void showOutletPipe(const storm::OutletPipeChoice& choice);
    // Fills the material list with the outlet kind's pipe materials.
    void fillMaterials(storm::OutletKind kind);

    // Whether 校核 has grown the window to show the check panel. Kept apart
    // from the window's height, which also depends on how many rows the menu
    // bar takes.
    bool m_checkPanelOpen = false;
};
