#include "forms/refusal_view.h"

namespace forms {

// The engines name the styles of their notices by the runtime's numbers.
static_assert(textio::box_style::kOkOnly == vbOKOnly);
static_assert(textio::box_style::kOkCancel == vbOKCancel);
static_assert(textio::box_style::kCritical == vbCritical);
static_assert(textio::box_style::kExclamation == vbExclamation);
static_assert(textio::box_style::kDefaultButton2 == vbDefaultButton2);

void refuseInput(const QString& message, const QString& title, QWidget* control, int style)
{
    MsgBox(message, style, title);
    if (control && control->isEnabled())
        control->setFocus(Qt::OtherFocusReason);
}

int showNotice(const textio::Notice& notice)
{
    return MsgBox(notice.message, notice.style, notice.title);
}

} // namespace forms
