#include "app/login_form.h"

#include "app/windows.h"

LoginForm& Login()
{
    return forms::defaultInstance<LoginForm>();
}

LoginForm::LoginForm()
    : forms::Form(QStringLiteral("登录"), 3600, 1600, forms::BorderStyle::FixedDialog)
{
    setObjectName(QStringLiteral("Login"));
}
