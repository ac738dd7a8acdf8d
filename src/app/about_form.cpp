#include "app/about_form.h"

#include "app/windows.h"

AboutForm& About()
{
    return forms::defaultInstance<AboutForm>();
}

AboutForm::AboutForm()
    : forms::Form(QStringLiteral("Vantor_Tools"), 5730, 3690, forms::BorderStyle::FixedDialog)
{
    setObjectName(QStringLiteral("About"));
}
