#include "storm_network/storm_segment_adjust_dialog.h"

#include "app/windows.h"

StormSegmentAdjustDialog& Form10()
{
    return forms::defaultInstance<StormSegmentAdjustDialog>();
}

StormSegmentAdjustDialog::StormSegmentAdjustDialog()
    : forms::Form(QStringLiteral("管段调整"), 4500, 3000, forms::BorderStyle::FixedDialog)
{
    setObjectName(QStringLiteral("Form10"));
}
