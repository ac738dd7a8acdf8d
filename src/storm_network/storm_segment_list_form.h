// The segment list window `Form14` of the storm sewer network design: one
// row per segment, its length, catchment area and runoff coefficient held in
// step by the three list boxes `List1(0)`, `List1(1)` and `List1(2)`.
#pragma once

#include "forms/form.h"

class StormSegmentListForm : public forms::Form {
    Q_OBJECT
public:
    StormSegmentListForm();

    void Form_Load() override;
    // 返回程序: back to the network window; the rows stay.
    void 返回_Click();

    forms::Frame* Frame1;
    // 0: lengths (m), 1: catchment areas (m²), 2: runoff coefficients.
    forms::ControlArray<forms::ListBox> List1;

    forms::MenuItem* 导入;
    forms::MenuItem* 导出;
    forms::MenuItem* 清除;
    forms::MenuItem* 返回;
};
