#include "app/calculator_form.h"
#include "app/run_state.h"

#include "app/results_window_form.h"
#include "app/windows.h"
#include "storm_network/storm_segment_list_form.h"
#include "forms/handler.h"
#include "forms/platform.h"

CalculatorForm::CalculatorForm(const QString& caption, double clientWidth, double clientHeight,
                               Calculator which)
    : forms::Form(caption, clientWidth, clientHeight, forms::BorderStyle::FixedSingle)
    , m_designCaption(caption)
    , m_menu(new CalculatorMenuBar(*this, which))
{
}

void CalculatorForm::Form_Unload(int& cancel)
{
    endProgramAfterAsking();
    cancel = 1;
}

void CalculatorForm::endProgramAfterAsking()
{
    // The result window asks as when it is closed; Yes saves, and Cancel,
    // a cancelled save dialog or a failed save keep it open.
    if (ResultsWindowForm* results = forms::loadedInstance<ResultsWindowForm>()) {
        if (!results->Text1->Text().isEmpty() && !results->Unload())
            return;
    }
    if (StormSegmentListForm* segments = forms::loadedInstance<StormSegmentListForm>()) {
        if (!segments->offerToSaveBeforeEnd())
            return;
    }
    forms::endProgram();
}

void CalculatorForm::appendVersionToCaption(const QString& designCaption)
{
    setCaption(versionedCaption(designCaption));
}

void CalculatorForm::Exit_Click()
{
    endProgramAfterAsking();
}

void CalculatorForm::putButtonBlock(forms::CommandButton*& calculate, const forms::ControlRow& calculateRow,
                                    forms::CommandButton*& clear, const forms::ControlRow& clearRow,
                                    forms::CommandButton*& exit, const forms::ControlRow& exitRow)
{
    const auto captioned = [](forms::ControlRow row, const QString& caption) {
        row.caption = caption;
        return row;
    };
    put(calculate, nullptr, captioned(calculateRow, QStringLiteral("计 算")));
    put(clear, nullptr, captioned(clearRow, QStringLiteral("清零")));
    put(exit, nullptr, captioned(exitRow, QStringLiteral("退出")));
    setDefaultButton(calculate);
    setCancelButton(exit);
    forms::connectHandler(exit, &forms::CommandButton::Click, this, &CalculatorForm::Exit_Click);
}
