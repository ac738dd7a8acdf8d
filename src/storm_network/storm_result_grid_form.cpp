#include "storm_network/storm_result_grid_form.h"
#include "app/run_state.h"

#include "app/windows.h"

StormResultGridForm& Form15()
{
    return forms::defaultInstance<StormResultGridForm>();
}

namespace {
const QString kDesignCaption = QStringLiteral("雨水计算输出程序");
}

StormResultGridForm::StormResultGridForm()
    : forms::Form(kDesignCaption, 11475, 8310, forms::BorderStyle::FixedSingle)
{
    setObjectName(QStringLiteral("Form15"));
}

void StormResultGridForm::Form_Load()
{
    setCaption(versionedCaption(kDesignCaption));
}
