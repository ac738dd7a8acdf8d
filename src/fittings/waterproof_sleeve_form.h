// The 钢制套管 window `form7`: dimensions of rigid waterproof wall sleeves.
//
// The engineer chooses sleeve type A (steel pipe) or B or C (cast-iron and
// ductile-iron pipe) and picks a size; the window shows D1, D2, D3 and d in
// mm, in one column for type A and two (铸铁管, 球铁管) for types B and C,
// which differ only in D1.
#pragma once

#include "app/calculator_form.h"
#include "fittings/sleeve_tables.h"

#include <optional>

class WaterproofSleeveForm : public CalculatorForm {
    Q_OBJECT
public:
    WaterproofSleeveForm();

    // Fills the size list with the type A sizes.
    void Form_Load() override;
    // Sleeve type A, B or C: the type's sizes, headers and columns, all
    // fields emptied.
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    // A size picked from the list.
    void Combo1_Click();
    // "返  回": back to the water supply calculator; this window keeps its state.
    void Command1_Click();

    // The type whose option is selected, options tested in order A, B, C.
    std::optional<fittings::SleeveType> selectedType() const;

    forms::PictureBox* Picture1;
    forms::ComboBox* Combo1;
    forms::CommandButton* Command1;

    forms::Frame* Frame2; // 套管类型
    forms::OptionButton* Option1;
    forms::OptionButton* Option2;
    forms::OptionButton* Option3;
    // Texts standing at the options' captions.
    forms::Label* Label7;
    forms::Label* Label8;
    forms::Label* Label9;

    forms::Frame* Frame1; // 管件参数
    forms::Label* Label2; // column 1 header: 钢 管 or 铸铁管
    forms::Label* Label4; // column 2 header: 球铁管
    forms::Label* Label1; // D1=
    forms::Label* Label3; // D2=
    forms::Label* Label5; // D3=
    forms::Label* Label11; // d=
    // Column 1: D1, D2, D3, d and their units.
    forms::TextBox* Text1;
    forms::TextBox* Text2;
    forms::TextBox* Text3;
    forms::TextBox* Text4;
    forms::Label* Label16;
    forms::Label* Label10;
    forms::Label* Label6;
    forms::Label* Label17;
    // Column 2 (ductile-iron pipe): D1, D2, D3, d and their units.
    forms::TextBox* Text7;
    forms::TextBox* Text6;
    forms::TextBox* Text5;
    forms::TextBox* Text8;
    forms::Label* Label14;
    forms::Label* Label13;
    forms::Label* Label12;
    forms::Label* Label15;

private:
    // Connects the controls' events to their handlers, once the window is built.
    void connectHandlers();
    void showType(fittings::SleeveType type);
};
