// The window `Form14`.
#pragma once

#include "forms/form.h"

class StormSegmentListForm : public forms::Form {
    Q_OBJECT
public:
    StormSegmentListForm();
};
