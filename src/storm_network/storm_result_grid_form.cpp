#include "storm_network/storm_result_grid_form.h"

#include "app/windows.h"

StormResultGridForm& Form15()
{
    return forms::defaultInstance<StormResultGridForm>();
}

StormResultGridForm::StormResultGridForm()
    : forms::Form(QStringLiteral("雨水管道水力计算表"), 9000, 6000, forms::BorderStyle::FixedSingle)
{
    setObjectName(QStringLiteral("Form15"));
}
