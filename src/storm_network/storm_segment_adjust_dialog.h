// The segment adjustment dialog `Form10` of the storm sewer network design.
#pragma once

#include "forms/form.h"

class StormSegmentAdjustDialog : public forms::Form {
    Q_OBJECT
public:
    StormSegmentAdjustDialog();

    void Form_Load() override;
};
