// The window `About`.
#pragma once

#include "forms/form.h"

class AboutForm : public forms::Form {
    Q_OBJECT
public:
    AboutForm();
};
