// The picture window `form3` of the hidden dedication area: a picture and
// nothing else. Its seventh click starts the dedication; after the
// dedication one more click returns to the water supply calculator.
#pragma once

#include "forms/form.h"

class DedicationPictureForm : public forms::Form {
    Q_OBJECT
public:
    DedicationPictureForm();

    void Form_Click();
    // Closing returns to the water supply calculator and forgets the clicks.
    void Form_Unload(int& cancel) override;
};
