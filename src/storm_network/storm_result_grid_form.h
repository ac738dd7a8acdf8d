// The result table window `Form15` of the storm sewer network design.
#pragma once

#include "forms/form.h"

class StormResultGridForm : public forms::Form {
    Q_OBJECT
public:
    StormResultGridForm();

    void Form_Load() override;
};
