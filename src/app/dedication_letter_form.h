// The dedication window `Form4`: a letter scrolls up inside a light blue
// frame, followed by a beating heart that comes to rest in the middle with
// a proverb under it. Its tick handlers are the show's only clock.
#pragma once

#include "forms/form.h"

namespace forms {
class FittedLabel;
}

class DedicationLetterForm : public forms::Form {
    Q_OBJECT
public:
    DedicationLetterForm();

    // Twips the letter and the heart move up at each scroll tick: a speed
    // factor of 0.75 times a base step of 50.
    static constexpr double kScrollStep = 0.75 * 50;

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    // Scroll tick, every 100 ms while `Timer1` is enabled.
    void Timer1_Timer();
    // Picture swap tick, every 500 ms while the window is loaded.
    void Timer2_Timer();
    void Label1_Click();
    void Form_Click();
    void Picture1_Click();
    void Label6_Click();

    // The letter's pieces, as the load handler puts them together.
    static QString salutation();
    static QStringList paragraphs();
    static QString closingLine();

    forms::Frame* Frame1;
    forms::FittedLabel* Label1;          // the letter
    forms::PictureBox* Picture1;  // the heart shown
    forms::FittedLabel* Label6;          // the proverb line
    forms::PictureBox* Picture2;  // frame of the heart beating
    forms::PictureBox* Picture3;  // frame of the heart at rest
    forms::TextBox* Text1;        // "1" once the show has run to its end
    forms::TextBox* Text2;        // picture swap ticks so far
    forms::TextBox* Text3;        // parity of the swap ticks
    forms::Timer* Timer1;         // scroll
    forms::Timer* Timer2;         // picture swap

private:
    // True while the letter has not yet left the frame at the top.
    bool letterShowing() const;
    // Message, back to the picture window, and the flag for the way home.
    void endShow();
};
