// The head of the two storm windows: the 选择城市 block, with the province
// and city lists and the city's rainfall intensity formula drawn as a
// fraction ("q=" or "i=" left of the bar, numerator above, denominator
// below), and below it the 计算方式 frame with its two options "自动计算"
// (the storm water window) and "手工逐段计算" (the network window).
//
// A window takes the block as a second base, so the block's controls are the
// window's own under their names (`w.Combo3`), built by the block at the top
// of the window; the window calls the block from its handlers.
#pragma once

#include "forms/form.h"

class StormCityView {
public:
    // Which window the block heads: its option is the one selected.
    enum class Mode { Automatic, SegmentBySegment };

    // Builds the block's frames and controls at the top of `window`, `width`
    // twips wide (at least kWidth: the fraction takes what is wider);
    // `denominatorHeight` is the height of the denominator label in twips.
    StormCityView(forms::Form& window, double denominatorHeight, Mode mode,
                   double width = kWidth);

    StormCityView(const StormCityView&) = delete;
    StormCityView& operator=(const StormCityView&) = delete;

    // The caption of the storm windows.
    static inline const QString kCaption = QStringLiteral("雨水管道水力计算");

    // Top of what the window places below the block, and the block's
    // narrowest width (twips).
    static constexpr double kBottom = 1800;
    static constexpr double kWidth = 4500;

    // Fills the province list and selects 天津市, whose city and formula
    // are then shown.
    void loadCities();
    // A province chosen: its cities in the city list, the first one chosen.
    void provinceChosen();
    // A city chosen: its formula. A city without one (柳州) shows an empty
    // fraction, never the formula of the city chosen before it.
    void cityChosen();

    // 选择城市
    forms::Frame* Frame3;
    forms::ComboBox* Combo6;  // province
    forms::ComboBox* Combo3;  // city: its text is the city the calculations look up
    forms::Label* Label5;     // "q=" or "i="
    forms::Label* Label6;     // numerator
    forms::Line* Line1;       // fraction bar
    forms::Label* Label29;    // denominator

    // 计算方式
    forms::Frame* Frame6;
    forms::OptionButton* Option3;  // 自动计算: the storm water window
    forms::OptionButton* Option4;  // 手工逐段计算: the network window

protected:
    ~StormCityView() = default;

private:
    // The formula of `city` in the fraction.
    void showFormulaOf(const QString& city);
};
