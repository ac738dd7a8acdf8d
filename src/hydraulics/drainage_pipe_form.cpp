#include "hydraulics/drainage_pipe_form.h"

#include "app/windows.h"

DrainagePipeForm& Form1()
{
    return forms::defaultInstance<DrainagePipeForm>();
}

DrainagePipeForm::DrainagePipeForm()
    : CalculatorForm(QStringLiteral("排水管道水力计算"), 4515, 4500, Calculator::Drainage)
{
    setObjectName(QStringLiteral("Form1"));
}

void DrainagePipeForm::Form_Load()
{
    appendVersionToCaption(QStringLiteral("排水管道水力计算"));
}
