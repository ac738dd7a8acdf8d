// The segment adjustment dialog `Form10` ("雨水数据修改程序") of the storm
// sewer network design: a diameter and a slope imposed on one segment of the
// result table, opened by a click on a 设计管径 or 水力坡度 cell in the
// table's adjustment mode. "确  定" rewrites that segment and, when its
// capacity carries its design flow, designs every segment below it again
// (segment_adjustment.h) with the network window's parameters in force;
// "取  消" hides the dialog. It stays open beside the table, which remains
// usable: a click on another segment's cell loads that segment.
#pragma once

#include "forms/form.h"
#include "storm_network/result_table.h"

class StormSegmentAdjustDialog : public forms::Form {
    Q_OBJECT
public:
    StormSegmentAdjustDialog();

    void Form_Load() override;

    // Typing replaces the whole text.
    void Text1_GotFocus();
    void Text2_GotFocus();
    // 确  定 and 取  消.
    void Command1_Click();
    void Command2_Click();

    // Loads segment row `row` of the result table, the focus on its
    // diameter (kDiameter) or its slope (kSlope): what a click on one of its
    // cells does once the dialog is shown.
    void loadRow(int row, storm_network::ResultColumn focus);

    forms::Label* Label1;
    forms::Label* Label2;
    forms::TextBox* Text1;  // diameter, mm
    forms::TextBox* Text2;  // slope, ‰
    // The row being adjusted, counted from 0, as decimal text; never shown.
    forms::TextBox* Text3;
    forms::CommandButton* Command1;  // 确  定(&S), the default button
    forms::CommandButton* Command2;  // 取  消(&C), the cancel button

private:
    // Connects the controls' events to their handlers, once the window is built.
    void connectHandlers();
};
