// The window `Login`.
#pragma once

#include "forms/form.h"

class LoginForm : public forms::Form {
    Q_OBJECT
public:
    LoginForm();
};
