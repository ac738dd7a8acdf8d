// Windows with one default instance each. The default instance is created
// and loaded (its Form_Load runs, nested inside whatever referred to it) on
// first reference and lives until it is unloaded; the next reference after
// an unload creates and loads a fresh one.
#pragma once

#include "forms/controls.h"

#include <QMenuBar>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <initializer_list>
#include <type_traits>

class QMenu;
class QAction;

namespace forms {

// How a window is framed.
enum class BorderStyle {
    Sizable,            // normal resizable window with a title bar
    FixedSingle,        // fixed size, title bar, minimise box
    FixedDialog,        // fixed dialog frame, title bar, no minimise box
    FixedDialogNoTitle, // fixed dialog frame without a title bar (splash)
};

// Why a window is being unloaded, as the query-unload handler is told.
enum UnloadMode : int {
    vbFormControlMenu = 0, // the close box
    vbFormCode = 1,        // Unload from code
};

// A menu item that acts when clicked, or a heading with a drop-down.
class MenuItem : public QObject {
    Q_OBJECT
public:
    MenuItem(QAction* action, QObject* parent);
    QString Caption() const;
    QAction* action() const { return m_action; }
    // The user's click on the item.
    void click();

Q_SIGNALS:
    void Click();

private:
    QAction* m_action;
};

// Row heights of the layouts, in twips: a label's line and a field's.
inline constexpr double kLabelRowTwips = 240;
inline constexpr double kFieldRowTwips = 300;

// One row of a window's control table: the control's name, its rectangle in
// twips inside its container, and its caption (labels, frames, buttons,
// options) or, for a kind without a caption (text box, drop-down list), its
// initial text. A height of 0 takes the row height of the control's kind.
struct ControlRow {
    const char* name;
    double left;
    double top;
    double width;
    double height = 0;
    QString caption = {};
};

// The row height of a control kind: a label's line, a field's (text box,
// drop-down list, option, check box); 0 where the row must give it.
template <class C>
constexpr double rowHeightOf()
{
    if constexpr (std::is_same_v<C, Label>)
        return kLabelRowTwips;
    else if constexpr (std::is_same_v<C, TextBox> || std::is_same_v<C, ComboBox>
                       || std::is_same_v<C, OptionButton> || std::is_same_v<C, CheckBox>)
        return kFieldRowTwips;
    else
        return 0;
}

// Places the control of `row` into `control` in `container` (a window's
// client area, a frame or a view of its own), with its caption or initial
// text; `args` go before the parent to the control's constructor.
template <class C, class... Args>
C* putIn(C*& control, QWidget* container, const ControlRow& row, Args&&... args)
{
    const double height = row.height > 0 ? row.height : rowHeightOf<C>();
    control = makeControl<C>(container, row.name, row.left, row.top, row.width, height,
                             std::forward<Args>(args)...);
    if constexpr (requires { control->setCaption(row.caption); }) {
        if (!row.caption.isEmpty())
            control->setCaption(row.caption);
    } else if constexpr (requires { control->setText(row.caption); }) {
        if (!row.caption.isEmpty())
            control->setText(row.caption);
    }
    return control;
}

class Form : public QWidget {
    Q_OBJECT
public:
    // `clientWidth` and `clientHeight` are the designed client area in twips.
    Form(const QString& caption, double clientWidth, double clientHeight,
         BorderStyle style = BorderStyle::FixedSingle);
    ~Form() override;

    // Runs the load handler once, right after construction (done by
    // defaultInstance()).
    void load();

    QString Caption() const { return windowTitle(); }
    void setCaption(const QString& caption) { setWindowTitle(caption); }

    // Outer position and size in twips (border and title bar included).
    double Left() const { return m_left; }
    double Top() const { return m_top; }
    double Width() const { return m_width; }
    double Height() const { return m_height; }
    void setLeft(double v);
    void setTop(double v);
    void setWidth(double v);
    void setHeight(double v);
    void Move(double left, double top);
    // Client area in twips.
    double ScaleWidth() const { return m_width - nonClientWidth(); }
    double ScaleHeight() const { return m_height - nonClientHeight(); }
    // Twips taken by border, title bar and menu bar.
    double nonClientWidth() const;
    double nonClientHeight() const;
    // The screen, in twips.
    static double ScreenWidth();
    static double ScreenHeight();
    // Centres the window on the screen.
    void centre();

    void Show();
    void Hide();
    bool Visible() const { return isVisible(); }
    // Unloads the window from code; its query-unload and unload handlers may
    // cancel. Returns true when the window was unloaded.
    bool Unload();
    bool isUnloaded() const { return m_unloaded; }

    // The area that holds the controls, below the menu bar.
    QWidget* client() const { return m_client; }

    // Enter presses the default button and Esc the cancel button, from any
    // control of the window.
    void setDefaultButton(CommandButton* button) { m_defaultButton = button; }
    void setCancelButton(CommandButton* button) { m_cancelButton = button; }
    CommandButton* defaultButton() const { return m_defaultButton; }
    CommandButton* cancelButton() const { return m_cancelButton; }
    // Handles Enter or Esc for this window; true when a button was pressed.
    bool pressKey(int key);

    // Menu bar: top-level items that act on click, and headings with a
    // drop-down of items.
    MenuItem* addMenuItem(const QString& name, const QString& caption);
    QMenu* addMenuHeading(const QString& name, const QString& caption);
    MenuItem* addMenuItem(QMenu* heading, const QString& name, const QString& caption);
    // The menu bar wraps onto further rows when its items do not fit the
    // window's width, as the runtime's menu bars do.
    QList<QMenuBar*> menuBars() const { return m_menuRows; }

    // Places the control of `row` into `control`, in `container` (the
    // client area when null), with its caption; `args` go before the parent
    // to the control's constructor (a drop-down list's style).
    template <class C, class... Args>
    C* put(C*& control, QWidget* container, const ControlRow& row, Args&&... args)
    {
        return putIn(control, container ? container : m_client, row, std::forward<Args>(args)...);
    }

    // Places a timer named `name` into `timer`, ticking every `intervalMs`
    // milliseconds while it is enabled.
    Timer* putTimer(Timer*& timer, const char* name, int intervalMs);

    // The Tab key's order: each control of `chain` follows the one before it.
    static void tabOrder(std::initializer_list<QWidget*> chain);

    // Places a new control named `name` in the client area at twips.
    template <class C, class... Args>
    C* add(const char* name, double left, double top, double width, double height, Args&&... args)
    {
        return makeControl<C>(m_client, name, left, top, width, height, std::forward<Args>(args)...);
    }
    // The same in `container`, a frame or the client area itself.
    template <class C, class... Args>
    C* addIn(QWidget* container, const char* name, double left, double top, double width,
             double height, Args&&... args)
    {
        return makeControl<C>(container, name, left, top, width, height, std::forward<Args>(args)...);
    }

    // The same for a control with a caption (label, frame, button, option),
    // which it shows from the start.
    template <class C>
    C* addWithCaption(const char* name, double left, double top, double width, double height,
                      const QString& caption)
    {
        C* control = add<C>(name, left, top, width, height);
        control->setCaption(caption);
        return control;
    }
    template <class C>
    C* addInWithCaption(QWidget* container, const char* name, double left, double top,
                        double width, double height, const QString& caption)
    {
        C* control = addIn<C>(container, name, left, top, width, height);
        control->setCaption(caption);
        return control;
    }

    // The window's own handlers; the forms layer runs each inside the
    // boundary of forms/handler.h.
    virtual void Form_Load() {}
    // May set `cancel` to keep the window.
    virtual void Form_QueryUnload(int& cancel, int unloadMode);
    virtual void Form_Unload(int& cancel);
    virtual void Form_Resize() {}

Q_SIGNALS:
    // A click on the window's own client area.
    void Click();

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    bool runUnloadHandlers(int mode);
    // A resize by the user: the window's twips follow it.
    void followResize();
    void resized();
    void finishUnload();
    void applyGeometry();
    // Where a window of `outer` pixels (border and title bar included)
    // stands: where its twips put it, moved inside the screen's available
    // area as far as it fits.
    static QPoint onScreen(const QRect& outer);
    double menuHeight() const;
    // The menu row that takes `action`, opening a new row when the last one
    // has no room left for it.
    void placeMenuAction(QAction* action);
    QMenuBar* addMenuRow();

    BorderStyle m_style;
    QWidget* m_client = nullptr;
    QList<QMenuBar*> m_menuRows;
    QPointer<CommandButton> m_defaultButton;
    QPointer<CommandButton> m_cancelButton;
    double m_left = 0;
    double m_top = 0;
    double m_width = 0;
    double m_height = 0;
    bool m_loaded = false;
    bool m_unloaded = false;
    bool m_applying = false;
};

namespace detail {
void registerDefaultInstance(std::function<void()> forget);
}

namespace detail {
// Where the default instance of window class T is held.
template <class T>
QPointer<T>& defaultInstanceSlot()
{
    static QPointer<T> instance;
    static bool registered = false;
    if (!registered) {
        registered = true;
        registerDefaultInstance([] {
            delete instance.data();
            instance = nullptr;
        });
    }
    return instance;
}
} // namespace detail

// The default instance of window class T: created and loaded on first
// reference, and again after it was unloaded.
template <class T>
T& defaultInstance()
{
    QPointer<T>& instance = detail::defaultInstanceSlot<T>();
    T* current = instance.data();
    if (current == nullptr || current->isUnloaded()) {
        current = new T();
        instance = current;
        current->load();
    }
    return *current;
}

// The default instance of window class T while it is loaded; null when it
// was never created or has been unloaded. Creates nothing.
template <class T>
T* loadedInstance()
{
    T* current = detail::defaultInstanceSlot<T>().data();
    return current != nullptr && !current->isUnloaded() ? current : nullptr;
}

// Destroys every default instance without running any handler: the state of
// a new run. For tests.
void destroyAllDefaultInstances();

// Whether the user can see `widget`: it and its containers are shown, and
// some part of it lies inside every container up to its window (a control
// placed below a window's client area, or outside its frame, is not seen).
// Working fields that the user never sees take no focus, keys, pastes or
// clicks (setUpApplication() enforces it for every window).
bool seenByUser(const QWidget* widget);

} // namespace forms
