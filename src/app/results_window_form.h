// The result window `Form9`: a plain-text window into which the fire
// protection calculators write their result sentence. Closing it offers to
// save the text (code page 936, CR LF) to a file of the engineer's choosing.
#pragma once

#include "forms/form.h"

namespace forms {
class FittedFrame;
}

class ResultsWindowForm : public forms::Form {
    Q_OBJECT
public:
    ResultsWindowForm();

    void Form_Load() override;
    void Form_Resize() override;
    // Asks whether to save; Cancel, a cancelled file dialog or a failed
    // save keep the window open with its text.
    void Form_Unload(int& cancel) override;

    forms::FittedFrame* Frame1;
    forms::MultiLineTextBox* Text1;

private:
    // Writes the text to `path`; on failure says so and returns false.
    bool saveText(const QString& path);
};
