// The window `Form15`.
#pragma once

#include "forms/form.h"

class StormResultGridForm : public forms::Form {
    Q_OBJECT
public:
    StormResultGridForm();
};
