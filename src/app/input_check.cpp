#include "app/input_check.h"

#include <QWidget>

void refuseInput(const QString& message, const QString& title, QWidget* field, int style)
{
    forms::MsgBox(message, style, title);
    if (field && field->isEnabled())
        field->setFocus(Qt::OtherFocusReason);
}
