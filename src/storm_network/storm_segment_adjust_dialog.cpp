#include "storm_network/storm_segment_adjust_dialog.h"
#include "app/run_state.h"

#include "app/windows.h"

StormSegmentAdjustDialog& Form10()
{
    return forms::defaultInstance<StormSegmentAdjustDialog>();
}

namespace {
const QString kDesignCaption = QStringLiteral("雨水数据修改程序");
}

StormSegmentAdjustDialog::StormSegmentAdjustDialog()
    : forms::Form(kDesignCaption, 3420, 1470, forms::BorderStyle::FixedDialog)
{
    setObjectName(QStringLiteral("Form10"));
}

void StormSegmentAdjustDialog::Form_Load()
{
    setCaption(versionedCaption(kDesignCaption));
}
