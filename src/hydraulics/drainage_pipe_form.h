// The 排水管道水力计算 window `Form1`: gravity drainage pipe flow by Manning's
// formula, full and part-full, for concrete, PE double-wall corrugated,
// cast-iron and PVC-U pipe, with the minimum slope (GBJ 14-87 §3.2.9) and
// maximum fullness (GBJ 14-87 §3.2.3) checks.
//
// The engineer picks a material and a flow mode, which load the diameter,
// slope and fullness lists of the gravity pipe catalogue; picking a diameter
// proposes a slope and a fullness; "计 算" writes the velocity and the flow.
#pragma once

#include "app/calculator_form.h"
#include "catalogues/gravity_pipe_catalogue.h"
#include "hydraulics/drainage_flow.h"

#include <optional>

class DrainagePipeForm : public CalculatorForm {
    Q_OBJECT
public:
    DrainagePipeForm();

    void Form_Load() override;

    // Materials.
    void Option4_Click(); // 混凝土圆管
    void Option3_Click(); // 聚乙烯双壁波纹管
    void Option6_Click(); // 铸铁管
    void Option7_Click(); // PVC-U排水管
    // Flow modes and the labels lying on their captions.
    void Option1_Click(); // 满  流
    void Option2_Click(); // 非满流
    void Label5_Click();
    void Label6_Click();
    // Diameter typed or written, diameter picked, diameter in metres changed,
    // slope picked.
    void Combo1_Change();
    void Combo1_Click();
    void Text11_Change();
    void Combo2_Click();
    // 计 算, 清零 (退出 is the calculators' own).
    void Command1_Click();
    void Command3_Click();

    // The material whose option is selected (concrete, PE, cast iron, PVC-U
    // tested in that order); none before the window has opened.
    std::optional<catalogues::DrainPipeMaterial> selectedMaterial() const;

    forms::Frame* Frame3;
    forms::OptionButton* Option4;
    forms::OptionButton* Option3;
    forms::OptionButton* Option6;
    forms::OptionButton* Option7;
    // Captions lying on the material options; clicks on them do nothing.
    forms::Label* Label10;
    forms::Label* Label11;
    forms::Label* Label12;
    forms::Label* Label13;

    forms::Frame* Frame1;
    forms::OptionButton* Option1;
    forms::OptionButton* Option2;
    forms::Label* Label5;
    forms::Label* Label6;
    forms::Label* Label1; // 管  径
    forms::Label* Label2; // 坡度(‰)
    forms::Label* Label3; // 充满度
    forms::ComboBox* Combo1;
    forms::ComboBox* Combo2;
    forms::ComboBox* Combo3;

    forms::Frame* Frame2;
    forms::Label* Label4; // 流速v
    forms::TextBox* Text1;
    forms::Label* Label7; // m/s
    forms::Label* Label8; // 流量Q
    forms::TextBox* Text2;
    forms::Label* Label9; // L/s

    forms::CommandButton* Command1; // 计 算
    forms::CommandButton* Command3; // 清零
    forms::CommandButton* Command2; // 退出

    // Credits at the foot of the window.
    forms::Label* Label14;
    forms::TextBox* Text3;

    // Hidden working fields.
    forms::TextBox* Text4;  // velocity as formatted, before the leading zero
    forms::TextBox* Text5;  // minimum slope of the picked diameter, ‰
    forms::TextBox* Text6;  // spare
    forms::TextBox* Text7;  // R/r of the part-full section
    forms::TextBox* Text9;  // half central angle α, degrees
    forms::TextBox* Text10; // water cross-section A, m²
    forms::TextBox* Text11; // diameter in metres
    forms::ComboBox* Combo4; // PVC-U inner diameters during a calculation

private:
    // Connects the controls' events to their handlers, once the window is built.
    void connectHandlers();
    void selectMaterial(catalogues::DrainPipeMaterial material);
    // Empties a list, shows its prompt and appends the catalogue's texts.
    static void loadList(forms::ComboBox* list, const QString& prompt, const QStringList* texts);
    // The calculation's working values into the hidden fields that keep
    // them between presses.
    void showWorkingValues(const hydraulics::DrainageCalculation::DrainageResults& results);
};
