// The head of the two storm windows: the 选择城市 block, with the province
// and city lists and the city's rainfall intensity formula drawn as a
// fraction ("q=" or "i=" left of the bar, numerator above, denominator
// below), and below it the 计算方式 frame with its two options "自动计算"
// (the storm water window) and "手工逐段计算" (the network window). It sits
// at the top of its window, which keeps the controls as its own members
// under the same names and calls the block from its handlers.
#pragma once

#include "forms/form.h"

class StormCityBlock {
public:
    // Which window the block heads: its option is the one selected.
    enum class Mode { Automatic, SegmentBySegment };

    // Builds the block's frames and controls in `window`;
    // `denominatorHeight` is the height of the denominator label in twips.
    StormCityBlock(forms::Form& window, double denominatorHeight, Mode mode);

    // Fills the province list and selects 天津市, whose city and formula
    // are then shown.
    void load();
    // A province chosen: its cities in the city list, the first one chosen.
    void provinceChosen();
    // A city chosen: its formula. A city without one (柳州) shows an empty
    // fraction, never the formula of the city chosen before it.
    void cityChosen();

    forms::Frame* Frame3;
    forms::ComboBox* Combo6;  // province
    forms::ComboBox* Combo3;  // city
    forms::Label* Label5;     // "q=" or "i="
    forms::Label* Label6;     // numerator
    forms::Line* Line1;       // fraction bar
    forms::Label* Label29;    // denominator

    // 计算方式
    forms::Frame* Frame6;
    forms::OptionButton* Option3;  // 自动计算
    forms::OptionButton* Option4;  // 手工逐段计算
};
