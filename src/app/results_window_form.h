// The window `Form9`.
#pragma once

#include "forms/form.h"

class ResultsWindowForm : public forms::Form {
    Q_OBJECT
public:
    ResultsWindowForm();
};
