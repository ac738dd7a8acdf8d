#include "app/dedication_picture_form.h"
#include "app/run_state.h"

#include "app/dedication_letter_form.h"
#include "app/pictures.h"
#include "app/windows.h"
#include "textio/numtext.h"
#include "hydraulics/water_supply_pipe_form.h"
#include "forms/handler.h"

DedicationPictureForm& form3()
{
    return forms::defaultInstance<DedicationPictureForm>();
}

DedicationPictureForm::DedicationPictureForm()
    : forms::Form(QStringLiteral("永远的若兰"), 7425, 5055, forms::BorderStyle::FixedSingle)
{
    setObjectName(QStringLiteral("form3"));
    // The picture is drawn unscaled from the top left corner of the window.
    QPalette p = client()->palette();
    p.setBrush(QPalette::Window, QBrush(pictures::seaAtSunset()));
    client()->setPalette(p);
    client()->setAutoFillBackground(true);

    forms::connectHandler(this, &forms::Form::Click, this, &DedicationPictureForm::Form_Click);
}

void DedicationPictureForm::Form_Click()
{
    // The first reading loads the dedication window, hidden.
    DedicationLetterForm& letter = Form4();
    if (textio::readNumber(letter.Text1->Text()).value_or(0) != 0) {
        form0().Show();
        Hide();
        letter.Text1->setText(QStringLiteral("0"));
        return;
    }
    const double clicks = RunState::dedicationViews();
    if (clicks < 6) {
        RunState::setDedicationViews(clicks + 1);
        return;
    }
    letter.Timer1->setEnabled(true);
    letter.Show();
    Hide();
    RunState::setDedicationViews(0);
}

void DedicationPictureForm::Form_Unload(int&)
{
    form0().Show();
    RunState::setDedicationViews(0);
}
