#include "app/run_state.h"

#include "app/splash_form.h"
#include "app/windows.h"
#include "textio/numtext.h"

namespace {

// The counter fields only ever hold numbers written here; a field that holds
// none counts as 0.
double counter(const forms::TextBox* field)
{
    return textio::readNumber(field->Text()).value_or(0);
}

void setCounter(forms::TextBox* field, double value)
{
    field->setText(textio::generalNumberText(value));
}

} // namespace

namespace RunState {

QString version()
{
    return logo().ver->Text();
}

double passwordAttemptsLeft()
{
    return counter(logo().Text4);
}

void setPasswordAttemptsLeft(double attempts)
{
    setCounter(logo().Text4, attempts);
}

double aboutClicks()
{
    return counter(logo().Text5);
}

void setAboutClicks(double clicks)
{
    setCounter(logo().Text5, clicks);
}

double dedicationViews()
{
    return counter(logo().Text6);
}

void setDedicationViews(double views)
{
    setCounter(logo().Text6, views);
}

} // namespace RunState

QString versionedCaption(const QString& designCaption)
{
    return designCaption + QStringLiteral("V") + RunState::version();
}
