// The window `Form10`.
#pragma once

#include "forms/form.h"

class StormSegmentAdjustDialog : public forms::Form {
    Q_OBJECT
public:
    StormSegmentAdjustDialog();
};
