// Texts kept inside their designed boxes. The CJK fonts in use space their
// lines wider, and stand higher above the baseline, than the layouts' fonts
// did; these controls draw their characters' em box where the layouts put
// the text.
#pragma once

#include "forms/controls.h"

namespace forms {

// A label whose lines close up when its caption would not fit its height at
// the font's usual line spacing (a disclaimer, contact lines, a letter).
class FittedLabel : public Label {
    Q_OBJECT
public:
    explicit FittedLabel(QWidget* parent = nullptr);

    // Pixels from one line's top to the next one's as the label draws its
    // caption now; the font's line spacing when the caption fits with it.
    double lineStep() const;
    // Lines of the caption wrapped at the label's width.
    int lineCount() const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QString layoutText() const;
};

// A frame whose caption stands in the top strip of the frame, its characters
// from the top edge down, so that a control placed just under the strip
// does not cover the caption's lower part.
class FittedFrame : public Frame {
    Q_OBJECT
public:
    explicit FittedFrame(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* e) override;
};

} // namespace forms
