// The 排水管件连接计算 window `Form8`: a vertical drainage stack built from six
// fitting types of PVC-U or cast iron, top of the riser first, and its
// connection height between the outermost horizontal pipes.
//
// The engineer picks a size for a fitting, which shows its build lengths L1
// and L2, then adds the fitting below the stack by double-clicking its
// drawing (a single click for the reducer 管件6). A double-click on a line of
// the stack deletes it. "计 算" checks the sizes and connections of
// neighbouring fittings and writes the height and the fitting count.
#pragma once

#include "app/calculator_form.h"
#include "fittings/drainage_fitting_tables.h"

#include <array>
#include <optional>

class DrainageFittingStackForm : public CalculatorForm {
    Q_OBJECT
public:
    DrainageFittingStackForm();

    void Form_Load() override;

    // Pipe material: PVC-U, cast iron.
    void Option1_Click();
    void Option2_Click();
    // A size picked for 管件1 ... 管件6.
    void Combo1_Click();
    void Combo2_Click();
    void Combo3_Click();
    void Combo4_Click();
    void Combo5_Click();
    void Combo6_Click();
    // Adds 管件1 ... 管件5 below the stack; 管件6 on a single click.
    void Picture1_DblClick();
    void Picture2_DblClick();
    void Picture3_DblClick();
    void Picture4_DblClick();
    void Picture5_DblClick();
    void Picture6_Click();
    // Deletes the line double-clicked; nothing without a selected line.
    void List1_DblClick();
    // 清除列表, 清除全部, 计 算 (退 出 ends the program).
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    // One blink of the notice: red after an odd number of ticks, blue after
    // an even one.
    void Timer1_Timer();

    // The pipe material whose option is selected.
    fittings::drainage::PipeMaterial material() const;

    // The controls of one fitting type.
    struct FittingColumn {
        forms::Label* caption = nullptr;
        forms::PictureBox* picture = nullptr;
        forms::ComboBox* size = nullptr;
        forms::Label* l1Label = nullptr;
        forms::TextBox* l1 = nullptr;
        forms::Label* l1Unit = nullptr;
        forms::Label* l2Label = nullptr;
        forms::TextBox* l2 = nullptr;
        forms::Label* l2Unit = nullptr;
    };
    const FittingColumn& column(fittings::drainage::FittingType type) const;

    forms::Label* Label21; // 管件1
    forms::Label* Label5;  // 管件2
    forms::Label* Label12; // 管件3
    forms::Label* Label9;  // 管件4
    forms::Label* Label37; // 管件5
    forms::Label* Label16; // 管件6
    forms::PictureBox* Picture1;
    forms::PictureBox* Picture2;
    forms::PictureBox* Picture3;
    forms::PictureBox* Picture4;
    forms::PictureBox* Picture5;
    forms::PictureBox* Picture6;
    // Hidden: the PVC-U and the cast-iron drawing of 管件6.
    forms::PictureBox* Picture7;
    forms::PictureBox* Picture8;
    forms::ComboBox* Combo1;
    forms::ComboBox* Combo2;
    forms::ComboBox* Combo3;
    forms::ComboBox* Combo4;
    forms::ComboBox* Combo5;
    forms::ComboBox* Combo6;
    // L1 and L2 of 管件1 ... 管件6.
    forms::TextBox* Text1;
    forms::TextBox* Text2;
    forms::TextBox* Text3;
    forms::TextBox* Text4;
    forms::TextBox* Text5;
    forms::TextBox* Text6;
    forms::TextBox* Text7;
    forms::TextBox* Text8;
    forms::TextBox* Text9;
    forms::TextBox* Text10;
    forms::TextBox* Text13;
    forms::TextBox* Text14;

    forms::Frame* Frame1; // 管材选择
    forms::OptionButton* Option1;
    forms::OptionButton* Option2;

    forms::Label* Label26; // 管件列表
    // The stack, one line per fitting, top first: "管件1&110X50".
    forms::ListBox* List1;
    // Outside the visible area: the real L1 and L2 of each line, two entries
    // per line in stack order.
    forms::ListBox* List2;

    forms::Frame* Frame2; // 计算结果
    forms::Label* Label30;
    forms::TextBox* Text11; // connection height, mm
    forms::Label* Label29;
    forms::Label* Label17;
    forms::TextBox* Text15; // number of fittings
    forms::Label* Label31;

    forms::CommandButton* Command1; // 清除列表
    forms::CommandButton* Command2; // 清除全部
    forms::CommandButton* Command3; // 计 算
    forms::CommandButton* Command4; // 退 出

    forms::Label* Label32;  // the blinking notice
    forms::TextBox* Text12; // hidden tick counter of the blink
    forms::Timer* Timer1;

private:
    // Connects the controls' events to their handlers, once the window is built.
    void connectHandlers();
    // Where a fitting column stands, in twips.
    struct ColumnPlace {
        fittings::drainage::FittingType type;
        double left;
        double top;
        double width;
    };
    // A control member of the window and its name.
    template <class C>
    struct Named {
        C*& control;
        const char* name;
    };
    // Places the column of a fitting type under its caption label: the
    // drawing, the size list and the rows of L1 and L2.
    FittingColumn putColumn(const ColumnPlace& place, forms::Label* caption,
                            Named<forms::PictureBox> picture, Named<forms::ComboBox> size,
                            Named<forms::TextBox> l1, Named<forms::TextBox> l2);
    void switchMaterial(fittings::drainage::PipeMaterial material);
    // Writes the lengths of the size shown for `type` into its fields, "0"
    // when the size has none.
    void lookUpSize(fittings::drainage::FittingType type);
    void showLengths(fittings::drainage::FittingType type,
                     const std::optional<fittings::drainage::DrainageFittingTables::FittingLengths>& found);
    void addFitting(fittings::drainage::FittingType type);

    std::array<FittingColumn, 6> m_columns;
};
