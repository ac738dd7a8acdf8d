#include "forms/refusal_view.h"

namespace forms {

void refuseInput(const QString& message, const QString& title, QWidget* control, int style)
{
    MsgBox(message, style, title);
    if (control && control->isEnabled())
        control->setFocus(Qt::OtherFocusReason);
}

} // namespace forms
