#include "storm_network/storm_segment_list_form.h"

#include "app/windows.h"

StormSegmentListForm& Form14()
{
    return forms::defaultInstance<StormSegmentListForm>();
}

StormSegmentListForm::StormSegmentListForm()
    : forms::Form(QStringLiteral("雨水管道水力计算"), 4500, 2000, forms::BorderStyle::FixedSingle)
{
    setObjectName(QStringLiteral("Form14"));
}
