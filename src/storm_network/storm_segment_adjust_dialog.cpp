#include "storm_network/storm_segment_adjust_dialog.h"

#include "app/run_state.h"
#include "app/windows.h"
#include "forms/platform.h"
#include "forms/refusal_view.h"
#include "storm_network/segment_adjustment.h"
#include "storm_network/storm_result_grid_form.h"
#include "storm_network/storm_sewer_network_form.h"
#include "textio/numtext.h"
#include "forms/handler.h"

#include <cmath>

using namespace storm_network;
using namespace Qt::StringLiterals;

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
    put(Label1, nullptr, {"Label1", 255, 135, 1305, 0, u"设计管径(mm)"_s});
    put(Label2, nullptr, {"Label2", 2055, 135, 1305, 0, u"水力坡度(‰)"_s});
    put(Text1, nullptr, {"Text1", 270, 495, 1005, 350});
    put(Text2, nullptr, {"Text2", 2070, 495, 1005, 350});
    // Beyond the right edge of the window: never seen, never reached by Tab.
    put(Text3, nullptr, {"Text3", 3780, 405, 1095, 375, u"0"_s});
    Text3->hide();
    put(Command1, nullptr, {"Command1", 255, 990, 1000, 375, u"确  定(&S)"_s});
    put(Command2, nullptr, {"Command2", 2070, 990, 1000, 375, u"取  消(&C)"_s});
    setDefaultButton(Command1);
    setCancelButton(Command2);

    tabOrder({Text1, Text2, Command1, Command2});

    connectHandlers();
}

void StormSegmentAdjustDialog::connectHandlers()
{
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
    const AdjustmentOutcome outcome = AdjustSegment(grid.table(), rowOf(Text3->Text()),
                                                    Text1->Text(), Text2->Text(), form13().parameters());
    if (outcome.refusal) {
        // The dialog stays open with what was typed, the focus where it
        // was; the table is as it was.
        forms::MsgBox(outcome.refusal->message, forms::vbOKOnly, outcome.refusal->title);
        return;
    }

    Hide();
    grid.showAdjustment(outcome.values.changed);
    if (outcome.values.capacityShort) {
        forms::showNotice(*outcome.values.capacityShort);
        Show();
    }
}
