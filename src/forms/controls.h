// The controls of the windows: labels, text boxes, drop-down lists, list
// boxes, option buttons, frames, lines, pictures, buttons, timers and control
// arrays. Each raises its events synchronously, the way the calculators'
// handlers expect them: a text written by code raises Change at once, a pick
// from a list raises Click, and so on.
#pragma once

#include "forms/geometry.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QCheckBox>
#include <QTimer>

#include <functional>
#include <map>

class QPainter;

namespace forms {

// Colours as the runtime writes them: 0x00BBGGRR, or a system colour
// 0x800000nn (nn = system colour index).
QColor color(quint32 runtimeColor);

// Paints what `draw` draws over `widget` in whole logical pixels, each
// shown at least one device pixel wide at any scale. A line or border drawn
// with a one-pixel pen straight onto a widget at a fractional scale (125 %,
// 150 %) may fall between the widget's device pixels and not show at all.
void paintInLogicalPixels(QWidget& widget, const std::function<void(QPainter&)>& draw);

// A framed view (a list, a multi-line text) whose border is painted over
// what it drew in whole logical pixels, so that it shows at any scale.
template <class View>
class WholePixelFrame : public View {
public:
    using View::View;

protected:
    bool event(QEvent* e) override
    {
        const bool handled = View::event(e);
        if (e->type() == QEvent::Paint)
            paintInLogicalPixels(*this, [this](QPainter& p) { this->drawFrame(&p); });
        return handled;
    }
};

// Common colours of the layouts.
inline constexpr quint32 vbWhite = 0xFFFFFF;
inline constexpr quint32 vbRed = 0x0000FF;
inline constexpr quint32 vbBlue = 0xFF0000;
inline constexpr quint32 vbWindowBackground = 0x80000005;
inline constexpr quint32 vbWindowText = 0x80000008;
inline constexpr quint32 vbButtonText = 0x80000012;
inline constexpr quint32 vbGrayText = 0x80000011;

// Position, size, visibility and colours shared by every control. `Base` is
// the Qt widget the control is drawn with.
template <class Base>
class Control : public Base {
public:
    using Base::Base;

    // Position and size in twips, relative to the container.
    double Left() const { return m_box.left; }
    double Top() const { return m_box.top; }
    double Width() const { return m_box.width; }
    double Height() const { return m_box.height; }
    void setLeft(double v) { m_box.left = v; applyBox(); }
    void setTop(double v) { m_box.top = v; applyBox(); }
    void setWidth(double v) { m_box.width = v; applyBox(); }
    void setHeight(double v) { m_box.height = v; applyBox(); }
    void Move(double left, double top, double width, double height)
    {
        m_box = TwipsBox{left, top, width, height};
        applyBox();
    }
    void Move(double left, double top) { Move(left, top, m_box.width, m_box.height); }

    // The control's own Visible flag (true even while its window is hidden).
    bool Visible() const { return !this->isHidden(); }
    bool Enabled() const { return this->QWidget::isEnabled(); }

    void SetFocus() { this->setFocus(Qt::OtherFocusReason); }

    void setBackColor(quint32 runtimeColor)
    {
        QPalette p = this->palette();
        const QColor c = color(runtimeColor);
        p.setColor(QPalette::Window, c);
        p.setColor(QPalette::Base, c);
        p.setColor(QPalette::Button, c);
        this->setPalette(p);
        this->setAutoFillBackground(true);
    }
    void setForeColor(quint32 runtimeColor)
    {
        QPalette p = this->palette();
        const QColor c = color(runtimeColor);
        p.setColor(QPalette::WindowText, c);
        p.setColor(QPalette::Text, c);
        p.setColor(QPalette::ButtonText, c);
        this->setPalette(p);
    }
    QColor ForeColor() const { return this->palette().color(QPalette::WindowText); }
    QColor BackColor() const { return this->palette().color(QPalette::Window); }

protected:
    // The pixels a control takes for its twips box.
    virtual QRect placement(const TwipsBox& box) const { return box.toPixels(); }
    void applyBox() { this->setGeometry(placement(m_box)); }

private:
    TwipsBox m_box;
};

// Tells a click from the second half of a double click: the runtime raises
// Click, then DblClick, and no second Click for the release that ends the
// double click.
class ClickSequence {
public:
    // A mouse release: true when it completes a click.
    bool releaseIsClick()
    {
        const bool click = !m_inDoubleClick;
        m_inDoubleClick = false;
        return click;
    }
    void doubleClicked() { m_inDoubleClick = true; }
    // A new press starts a new click, whatever came before.
    void pressed() { m_inDoubleClick = false; }

private:
    bool m_inDoubleClick = false;
};

// Places a new control named `name` inside `container` at twips.
template <class C, class... Args>
C* makeControl(QWidget* container, const char* name, double left, double top, double width,
               double height, Args&&... args)
{
    auto* c = new C(std::forward<Args>(args)..., container);
    c->setObjectName(QString::fromUtf8(name));
    c->Move(left, top, width, height);
    c->show();
    return c;
}

// ---------------------------------------------------------------------------

class Label : public Control<QLabel> {
    Q_OBJECT
public:
    explicit Label(QWidget* parent = nullptr);

    QString Caption() const { return text(); }
    void setCaption(const QString& caption);
    // Transparent background (the runtime's BackStyle 0); labels are
    // transparent unless a back colour is given.
    void setTransparent(bool on);
    // Grows the label's width to its caption (the runtime's AutoSize).
    void setAutoSize(bool on);

Q_SIGNALS:
    void Click();
    void DblClick();

protected:
    // A label is at least one line of its font high: the CJK fonts in use
    // are taller than the layouts' fonts, and a line must not lose its
    // lower part.
    QRect placement(const TwipsBox& box) const override;
    void changeEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    ClickSequence m_clicks;
    bool m_autoSize = false;
};

// Single-line text box. A disabled box takes no focus, clicks or typing but
// shows its text in its own colour, as readable as an enabled one: the
// windows disable their result fields.
class TextBox : public Control<QLineEdit> {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);

    QString Text() const { return text(); }
    // Writes the text; raises Change when it differs from the present text.
    void setText(const QString& text);
    // Read-only with the normal look; still takes the focus.
    void setLocked(bool on) { setReadOnly(on); }
    bool Locked() const { return isReadOnly(); }
    // Shows every character as "*", as the runtime's password fields do.
    void setPasswordChar(bool on);
    // Selects the whole text (the "{Home}+{End}" key strokes).
    void SelectAll() { selectAll(); }

Q_SIGNALS:
    void Change();
    void Click();
    void DblClick();
    void GotFocus();
    void LostFocus();

protected:
    void changeEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    // The disabled text colour made the enabled one.
    void keepDisabledTextReadable();

    ClickSequence m_clicks;
};

// Multi-line text box with scroll bars.
class MultiLineTextBox : public Control<WholePixelFrame<QPlainTextEdit>> {
    Q_OBJECT
public:
    explicit MultiLineTextBox(QWidget* parent = nullptr);

    // The text with the runtime's line breaks (CR LF).
    QString Text() const;
    // Writes the text (CR LF, CR or LF break the line); raises Change when it
    // differs from the present text.
    void setText(const QString& text);
    void setLocked(bool on) { setReadOnly(on); }
    bool Locked() const { return isReadOnly(); }
    void SelectAll() { selectAll(); }

Q_SIGNALS:
    void Change();
    void Click();
    void DblClick();
    void GotFocus();
    void LostFocus();

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    bool m_settingText = false;
    ClickSequence m_clicks;
};

// Drop-down list. An editable list shows a prompt text until a choice is
// made and accepts typing; it raises Click only when the user picks an entry
// (mouse or arrow keys, the entry already shown included) and Change when its
// text changes by typing or by code, never on a pick. A pick-only list raises
// Click on a user's pick and whenever code selects an entry.
class ComboBox : public Control<QComboBox> {
    Q_OBJECT
public:
    enum class Style { Editable, PickOnly };
    explicit ComboBox(Style style, QWidget* parent = nullptr);

    Style style() const { return m_style; }

    void AddItem(const QString& item);
    void RemoveItem(int index);
    // Empties the entries; the text becomes empty without a Change event.
    void Clear();
    int ListCount() const { return count(); }
    // Entry i, or "" when i is out of range.
    QString List(int index) const;
    void setList(int index, const QString& item);

    int ListIndex() const { return m_listIndex; }
    // Selects entry i (-1: none). Pick-only: raises Click. Editable: writes
    // the entry's text, raising Change when the text changes.
    void setListIndex(int index);

    QString Text() const;
    // Editable: writes the text (Change when it differs). Pick-only: selects
    // the entry of that text and raises Click; a text that is no entry
    // changes nothing.
    void setText(const QString& text);

    // The user's pick of entry `index`, as by mouse or keyboard (for tests
    // and for the popup).
    void pick(int index);

    // Opens the list, at least as wide as its widest entry, on the entry
    // the list shows.
    void showPopup() override;

Q_SIGNALS:
    void Click();
    void Change();
    void GotFocus();
    void LostFocus();

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    void showIndexSilently(int index);
    void makeShownEntryCurrent();
    void setEditTextSilently(const QString& text);

    Style m_style;
    int m_listIndex = -1;
};

class ListBox : public Control<WholePixelFrame<QListWidget>> {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent = nullptr);

    void AddItem(const QString& item);
    void RemoveItem(int index);
    void Clear();
    int ListCount() const { return count(); }
    QString List(int index) const;
    void setList(int index, const QString& item);
    int ListIndex() const { return currentRow(); }
    void setListIndex(int index);
    // The user's click on line `index`, and double-click.
    void clickLine(int index);
    void doubleClickLine(int index);

Q_SIGNALS:
    void Click();
    void DblClick();

private:
    bool m_silent = false;
};

class OptionButton : public Control<QRadioButton> {
    Q_OBJECT
public:
    explicit OptionButton(QWidget* parent = nullptr);

    QString Caption() const { return text(); }
    void setCaption(const QString& c) { setText(c); }
    bool Value() const { return isChecked(); }
    // True on an unselected option selects it, clears its sisters and raises
    // Click; false clears it, which may leave the group with none selected.
    void setValue(bool on);

Q_SIGNALS:
    void Click();
};

// Whether a click on a label that shows an option's caption reaches the
// option, or stays with the label for the window to handle.
enum class CaptionClicks { ReachOption, StayOnLabel };

// Lets `label`, standing over `option`'s caption, show that caption: the
// option draws its own caption unseen, so the two texts never show through
// each other, and the label takes the option's caption on one line.
void showCaptionOn(OptionButton* option, Label* label,
                   CaptionClicks clicks = CaptionClicks::ReachOption);

class CheckBox : public Control<QCheckBox> {
    Q_OBJECT
public:
    explicit CheckBox(QWidget* parent = nullptr);
    int Value() const { return isChecked() ? 1 : 0; }
    void setValue(int v) { setChecked(v != 0); }
Q_SIGNALS:
    void Click();
};

// A frame groups controls; it clips its children and may sit at a negative
// top. Its etched border runs through the middle of the caption's line, and
// the caption stands on the border a small inset from the frame's left, so
// that controls placed at the layouts' twips lie inside it. An empty caption
// draws the border alone, from the frame's top.
class Frame : public Control<QGroupBox> {
    Q_OBJECT
public:
    explicit Frame(QWidget* parent = nullptr);
    QString Caption() const { return title(); }
    void setCaption(const QString& c) { setTitle(c); }

    // Inset of the caption from the frame's left, in twips.
    static constexpr double kCaptionInsetTwips = 105;
    // Pixels from the frame's top to its border line.
    int borderTop() const;

Q_SIGNALS:
    void Click();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
};

// A straight line between two points of its container, in twips.
class Line : public QWidget {
    Q_OBJECT
public:
    explicit Line(QWidget* parent = nullptr);
    void setPoints(double x1, double y1, double x2, double y2);
    void setLineColor(quint32 runtimeColor);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    double m_x1 = 0, m_y1 = 0, m_x2 = 0, m_y2 = 0;
    QColor m_color = Qt::black;
};

// A picture (drawn by the program itself) that can be clicked and
// double-clicked like a label.
class PictureBox : public Label {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);
    void setPicture(const QPixmap& picture) { setPixmap(picture); }
};

class CommandButton : public Control<QPushButton> {
    Q_OBJECT
public:
    explicit CommandButton(QWidget* parent = nullptr);
    // The caption exactly as written, access-key "&" included.
    QString Caption() const { return text(); }
    void setCaption(const QString& c) { setText(c); }
    // Presses the button as a click would (only when enabled).
    void press();

Q_SIGNALS:
    void Click();
};

// A timer that ticks on the event loop while enabled, also while its window
// is hidden. Under the scripted test platform it never ticks by itself.
class Timer : public QObject {
    Q_OBJECT
public:
    explicit Timer(QObject* parent = nullptr);
    int Interval() const { return m_interval; }
    void setInterval(int ms);
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool on);
    // Whether the timer counts on the wall clock now: enabled, with an
    // interval, on a platform whose timers run.
    bool isCounting() const { return m_timer.isActive(); }

Q_SIGNALS:
    void Tick();

private:
    void sync();

    QTimer m_timer;
    int m_interval = 0;
    bool m_enabled = true;
};

// Elements of one control array, by index; elements can be added at run time.
template <class T>
class ControlArray {
public:
    void insert(int index, T* element) { m_items[index] = element; }
    T& operator()(int index) const { return *m_items.at(index); }
    T* at(int index) const
    {
        auto it = m_items.find(index);
        return it == m_items.end() ? nullptr : it->second;
    }
    bool contains(int index) const { return m_items.count(index) != 0; }
    int Count() const { return static_cast<int>(m_items.size()); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    std::map<int, T*> m_items;
};

} // namespace forms
