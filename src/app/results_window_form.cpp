#include "app/results_window_form.h"

#include "app/windows.h"

ResultsWindowForm& Form9()
{
    return forms::defaultInstance<ResultsWindowForm>();
}

ResultsWindowForm::ResultsWindowForm()
    : forms::Form(QStringLiteral("Vantor_Tools输出程序"), 6780, 6450, forms::BorderStyle::Sizable)
{
    setObjectName(QStringLiteral("Form9"));
}
