#include "storm_network/storm_segment_adjust_dialog.h"

#include "app/run_state.h"
#include "app/windows.h"
#include "forms/platform.h"
#include "storm_network/segment_adjustment.h"
#include "storm_network/storm_result_grid_form.h"
#include "storm_network/storm_sewer_network_form.h"
#include "textio/numtext.h"
#include "forms/handler.h"

#include <cmath>

using namespace storm_network;

StormSegmentAdjustDialog& Form10()
{
    return forms::defaultInstance<StormSegmentAdjustDialog>();
}

namespace {

const QString kDesignCaption = QStringLiteral("雨水数据修改程序");

// The row index the hidden field holds, or -1.
int rowOf(const QString& text)
{
    const std::optional<double> value = textio::readNumber(text);
    if (!value || *value != std::floor(*value) || *value < 0 || *value > 1e9)
        return -1;
    return static_cast<int>(*value);
}

}  // namespace

StormSegmentAdjustDialog::StormSegmentAdjustDialog()
    : forms::Form(kDesignCaption, 3420, 1470, forms::BorderStyle::FixedDialog)
{
    setObjectName(QStringLiteral("Form10"));

    // The two headings are wider than laid out: the CJK face in use needs
    // more room than the layout's font for "(mm)" and "(‰)".
    Label1 = addWithCaption<forms::Label>("Label1", 255, 135, 1305, 240,
                                          QStringLiteral("设计管径(mm)"));
    Label2 = addWithCaption<forms::Label>("Label2", 2055, 135, 1305, 240,
                                          QStringLiteral("水力坡度(‰)"));
    Text1 = add<forms::TextBox>("Text1", 270, 495, 1005, 350);
    Text2 = add<forms::TextBox>("Text2", 2070, 495, 1005, 350);
    // Beyond the right edge of the window: never seen, never reached by Tab.
    Text3 = add<forms::TextBox>("Text3", 3780, 405, 1095, 375);
    Text3->setText(QStringLiteral("0"));
    Text3->hide();
    Command1 = addWithCaption<forms::CommandButton>("Command1", 255, 990, 1000, 375,
                                                    QStringLiteral("确  定(&S)"));
    Command2 = addWithCaption<forms::CommandButton>("Command2", 2070, 990, 1000, 375,
                                                    QStringLiteral("取  消(&C)"));
    setDefaultButton(Command1);
    setCancelButton(Command2);

    QWidget* const order[] = {Text1, Text2, Command1, Command2};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    forms::connectHandler(Text1, &forms::TextBox::GotFocus, this, &StormSegmentAdjustDialog::Text1_GotFocus);
    forms::connectHandler(Text2, &forms::TextBox::GotFocus, this, &StormSegmentAdjustDialog::Text2_GotFocus);
    forms::connectHandler(Command1, &forms::CommandButton::Click, this, &StormSegmentAdjustDialog::Command1_Click);
    forms::connectHandler(Command2, &forms::CommandButton::Click, this, &StormSegmentAdjustDialog::Command2_Click);
    // The result table shows the dialog on a click on an adjustable cell,
    // then asks for the row.
    forms::connectHandler(&Form15(), &StormResultGridForm::AdjustmentRequested, this,
            &StormSegmentAdjustDialog::loadRow);
}

void StormSegmentAdjustDialog::Form_Load()
{
    setCaption(versionedCaption(kDesignCaption));
}

void StormSegmentAdjustDialog::Text1_GotFocus()
{
    Text1->SelectAll();
}

void StormSegmentAdjustDialog::Text2_GotFocus()
{
    Text2->SelectAll();
}

void StormSegmentAdjustDialog::loadRow(int row, ResultColumn focus)
{
    const ResultTable& table = Form15().table();
    Text1->setText(table.text(row, kDiameter));
    Text2->setText(table.text(row, kSlope));
    forms::TextBox* field = focus == kSlope ? Text2 : Text1;
    field->SetFocus();
    // A field that had the focus already gets no second GotFocus: its new
    // text is selected all the same.
    field->SelectAll();
    Text3->setText(QString::number(row));
}

void StormSegmentAdjustDialog::Command2_Click()
{
    Hide();
}

void StormSegmentAdjustDialog::Command1_Click()
{
    StormResultGridForm& grid = Form15();
    const AdjustmentResult result = AdjustSegment(grid.table(), rowOf(Text3->Text()), Text1->Text(),
                                                  Text2->Text(), form13().parameters());
    if (result.outcome == AdjustmentOutcome::Refused) {
        // The dialog stays open with what was typed; the table is as it was.
        forms::MsgBox(result.message, forms::vbOKOnly, result.title);
        return;
    }

    Hide();
    grid.showAdjustment(result.changed);
    if (result.outcome == AdjustmentOutcome::CapacityBelowDesignFlow) {
        forms::MsgBox(result.message, forms::vbOKOnly, result.title);
        Show();
    }
}
