// The 钢制管件 window `Form6`: dimensions of flanged steel pipe fittings.
//
// Four frames, each with a drawing, a size list and the fitting's dimension
// fields in mm: 弯头 (90° elbow), 三通 (tee or cross), 同心异径管 (concentric
// reducer) and 偏心异径管 (eccentric reducer). Picking a size from a list
// writes that size's dimensions into its frame's fields; typing a size runs
// no look-up, and no frame touches another's fields.
#pragma once

#include "app/calculator_form.h"
#include "fittings/steel_fitting_tables.h"

#include <optional>
#include <vector>

class SteelFittingsForm : public CalculatorForm {
    Q_OBJECT
public:
    SteelFittingsForm();

    // Fills the four lists and puts the caret in La.
    void Form_Load() override;
    // A size picked in the elbow, tee, concentric and eccentric list.
    void Combo1_Click();
    void Combo2_Click();
    void Combo3_Click();
    void Combo4_Click();

    // 弯头, top left.
    forms::Frame* Frame3;
    forms::PictureBox* Picture1;
    forms::ComboBox* Combo1;
    forms::Frame* Frame1;
    forms::TextBox* Text1; // La
    forms::TextBox* Text2; // d
    forms::TextBox* Text3; // D

    // 三通, top right.
    forms::Frame* Frame4;
    forms::PictureBox* Picture2;
    forms::ComboBox* Combo2;

    // 同心异径管, bottom left.
    forms::Frame* Frame6;
    forms::PictureBox* Picture3;
    forms::ComboBox* Combo3;

    // 偏心异径管, bottom right.
    forms::Frame* Frame5;
    forms::PictureBox* Picture4;
    forms::ComboBox* Combo4;

    // The output frames and fields shared by element: 0 the tee, 1 the
    // concentric reducer, 2 the eccentric reducer.
    forms::ControlArray<forms::Frame> Frame2;
    forms::ControlArray<forms::TextBox> Text4; // L1
    forms::ControlArray<forms::TextBox> Text6; // d1 (tee), d (reducers)
    forms::ControlArray<forms::TextBox> Text7; // D1
    forms::ControlArray<forms::TextBox> Text8; // D2
    // The tee's own fields (element 0 only).
    forms::ControlArray<forms::TextBox> Text5; // L2
    forms::ControlArray<forms::TextBox> Text9; // d2

private:
    // Connects the controls' events to their handlers, once the window is built.
    void connectHandlers();
    // A dimension row of an output frame: its name, its field and "mm".
    forms::TextBox* putDimensionRow(forms::Frame* output, int row, const QString& caption,
                                    const char* fieldName);
    // Writes a pick's texts into its fields, in order; nothing when the
    // pick shows nothing.
    static void showTexts(const std::vector<forms::TextBox*>& fields,
                          const std::optional<QStringList>& texts);
    void showReducer(int element, const std::optional<QStringList>& texts);

    int m_labelCount = 0;
};
