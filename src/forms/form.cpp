#include "forms/form.h"

#include "forms/handler.h"
#include "forms/platform.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>

#include <vector>

namespace forms {

namespace {

// Twips of the frame around the client area, as the layouts reckon them.
constexpr double kBorderTwips = 60;       // each side of a framed window
constexpr double kThinBorderTwips = 45;   // each side of a dialog without title
constexpr double kTitleTwips = 230;       // title bar
// The title bar of a resizable window stands taller: its layouts give a
// window 6900 twips high a client area 6450 high.
constexpr double kSizableTitleTwips = 330;
constexpr double kMenuTwips = 300;        // each row of the menu bar
constexpr int kMenuItemPadding = 4;       // pixels left and right of a menu caption

std::vector<std::function<void()>>& instanceSlots()
{
    static std::vector<std::function<void()>> slots;
    return slots;
}

} // namespace

namespace detail {
void registerDefaultInstance(std::function<void()> forget)
{
    instanceSlots().push_back(std::move(forget));
}
} // namespace detail

void destroyAllDefaultInstances()
{
    for (const auto& forget : instanceSlots())
        forget();
}

bool seenByUser(const QWidget* widget)
{
    const QWidget* window = widget->window();
    if (!widget->isVisibleTo(window))
        return false;
    // The widget's area, clipped by each container in turn.
    QRect area = widget->rect();
    for (const QWidget* w = widget; w != window; w = w->parentWidget()) {
        area.translate(w->pos());
        area &= w->parentWidget()->rect();
        if (area.isEmpty())
            return false;
    }
    return true;
}

// --- MenuItem ---------------------------------------------------------------

MenuItem::MenuItem(QAction* action, QObject* parent)
    : QObject(parent)
    , m_action(action)
{
    connect(action, &QAction::triggered, this, [this] { Q_EMIT Click(); });
}

QString MenuItem::Caption() const
{
    return m_action->text();
}

void MenuItem::click()
{
    if (m_action->isEnabled())
        m_action->trigger();
}

// --- Form -------------------------------------------------------------------

Form::Form(const QString& caption, double clientWidth, double clientHeight, BorderStyle style)
    : QWidget(nullptr)
    , m_style(style)
{
    Qt::WindowFlags flags = Qt::Window;
    switch (style) {
    case BorderStyle::Sizable:
        flags |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
            | Qt::WindowCloseButtonHint;
        break;
    case BorderStyle::FixedSingle:
        flags |= Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
        break;
    case BorderStyle::FixedDialog:
        flags |= Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint;
        break;
    case BorderStyle::FixedDialogNoTitle:
        // No title bar and no task bar entry.
        flags = Qt::Tool | Qt::FramelessWindowHint;
        break;
    }
    setWindowFlags(flags);
    setWindowTitle(caption);
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    m_width = clientWidth + nonClientWidth();
    m_height = clientHeight + nonClientHeight();
    centre();
}

Form::~Form() = default;

Timer* Form::putTimer(Timer*& timer, const char* name, int intervalMs)
{
    timer = new Timer(this);
    timer->setObjectName(QString::fromUtf8(name));
    timer->setInterval(intervalMs);
    return timer;
}

void Form::load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    runHandler([this] { Form_Load(); });
}

double Form::nonClientWidth() const
{
    return m_style == BorderStyle::FixedDialogNoTitle ? 2 * kThinBorderTwips : 2 * kBorderTwips;
}

double Form::nonClientHeight() const
{
    if (m_style == BorderStyle::FixedDialogNoTitle)
        return 2 * kThinBorderTwips;
    const double title = m_style == BorderStyle::Sizable ? kSizableTitleTwips : kTitleTwips;
    return 2 * kBorderTwips + title + menuHeight();
}

double Form::menuHeight() const
{
    return kMenuTwips * static_cast<double>(m_menuRows.size());
}

double Form::ScreenWidth()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? twipsOf(screen->geometry().width()) : 1024 * kTwipsPerPixel;
}

double Form::ScreenHeight()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? twipsOf(screen->geometry().height()) : 768 * kTwipsPerPixel;
}

void Form::centre()
{
    m_left = (ScreenWidth() - m_width) / 2;
    m_top = (ScreenHeight() - m_height) / 2;
    applyGeometry();
}

void Form::setLeft(double v)
{
    m_left = v;
    applyGeometry();
}

void Form::setTop(double v)
{
    m_top = v;
    applyGeometry();
}

void Form::setWidth(double v)
{
    m_width = v;
    applyGeometry();
    resized();
}

void Form::setHeight(double v)
{
    m_height = v;
    applyGeometry();
    resized();
}

void Form::Move(double left, double top)
{
    m_left = left;
    m_top = top;
    applyGeometry();
}

void Form::applyGeometry()
{
    m_applying = true;
    const int clientW = qMax(0, px(ScaleWidth()));
    const int clientH = qMax(0, px(ScaleHeight()));
    const int menuH = px(menuHeight());
    for (int i = 0; i < m_menuRows.size(); ++i)
        m_menuRows[i]->setGeometry(0, px(kMenuTwips * i), clientW, px(kMenuTwips * (i + 1)) - px(kMenuTwips * i));
    m_client->setGeometry(0, menuH, clientW, clientH);
    const QSize size(clientW, clientH + menuH);
    if (m_style == BorderStyle::Sizable) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        resize(size);
    } else {
        setFixedSize(size);
    }
    move(onScreen(QRect(px(m_left), px(m_top), px(m_width), px(m_height))));
    m_applying = false;
}

QPoint Form::onScreen(const QRect& outer)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return outer.topLeft();
    // A window larger than the screen (a scaled display) keeps its title
    // bar and its left edge on the screen.
    const QRect area = screen->availableGeometry();
    const int x = qMax(area.left(), qMin(outer.left(), area.right() + 1 - outer.width()));
    const int y = qMax(area.top(), qMin(outer.top(), area.bottom() + 1 - outer.height()));
    return QPoint(x, y);
}

void Form::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    if (!m_applying)
        runHandler([this] { followResize(); });
}

void Form::followResize()
{
    // A resize by the user: the model follows the window.
    const int clientW = px(ScaleWidth());
    const int clientH = px(ScaleHeight()) + px(menuHeight());
    if (width() == clientW && height() == clientH)
        return;
    m_width = twipsOf(width()) + nonClientWidth();
    m_height = twipsOf(height() - px(menuHeight())) + nonClientHeight();
    for (int i = 0; i < m_menuRows.size(); ++i)
        m_menuRows[i]->setGeometry(0, px(kMenuTwips * i), width(), px(kMenuTwips * (i + 1)) - px(kMenuTwips * i));
    m_client->setGeometry(0, px(menuHeight()), width(), height() - px(menuHeight()));
    resized();
}

void Form::resized()
{
    if (m_loaded)
        runHandler([this] { Form_Resize(); });
}

void Form::Show()
{
    if (m_unloaded)
        return;
    if (!isVisible()) {
        applyGeometry();
        show();
    }
    platform().raiseWindow(*this);
    activateWindow();
}

void Form::Hide()
{
    hide();
}

bool Form::runUnloadHandlers(int mode)
{
    // A handler that failed, or ended the program, keeps the window.
    int cancel = 0;
    if (!runHandler([&] { Form_QueryUnload(cancel, mode); }) || cancel)
        return false;
    return runHandler([&] { Form_Unload(cancel); }) && cancel == 0;
}

void Form::finishUnload()
{
    m_unloaded = true;
    hide();
    deleteLater();
}

bool Form::Unload()
{
    if (m_unloaded)
        return true;
    if (!runUnloadHandlers(vbFormCode))
        return false;
    finishUnload();
    return true;
}

void Form::Form_QueryUnload(int&, int) {}

void Form::Form_Unload(int&) {}

void Form::closeEvent(QCloseEvent* e)
{
    // A window whose unloading failed stays.
    e->ignore();
    runHandler([this, e] {
        if (!m_unloaded) {
            if (!runUnloadHandlers(vbFormControlMenu))
                return;
            finishUnload();
        }
        e->accept();
    });
}

void Form::mousePressEvent(QMouseEvent* e)
{
    e->accept();
}

void Form::mouseReleaseEvent(QMouseEvent* e)
{
    e->accept();
    Q_EMIT Click();
}

void Form::tabOrder(std::initializer_list<QWidget*> chain)
{
    QWidget* before = nullptr;
    for (QWidget* control : chain) {
        if (before)
            QWidget::setTabOrder(before, control);
        before = control;
    }
}

bool Form::pressKey(int key)
{
    CommandButton* target = nullptr;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // Enter on a focused button presses that button; elsewhere the
        // window's default button.
        target = qobject_cast<CommandButton*>(focusWidget());
        if (!target)
            target = m_defaultButton;
    } else if (key == Qt::Key_Escape) {
        target = m_cancelButton;
    }
    if (!target || !target->isEnabled() || !target->isVisibleTo(this))
        return false;
    target->press();
    return true;
}

QMenuBar* Form::addMenuRow()
{
    auto* row = new QMenuBar(this);
    row->setNativeMenuBar(false);
    // Rows as low as the runtime's, with items close together.
    row->setStyleSheet(QStringLiteral("QMenuBar { padding: 0px; } QMenuBar::item { padding: 0px %1px; }")
                           .arg(kMenuItemPadding));
    row->setGeometry(0, 0, px(ScaleWidth()), px(kMenuTwips));
    row->setObjectName(QStringLiteral("menuRow%1").arg(m_menuRows.size() + 1));
    row->show();
    m_menuRows.append(row);
    // The menu rows take their height from the window, not the client area,
    // and the window stays centred.
    m_height += kMenuTwips;
    m_top -= kMenuTwips / 2;
    applyGeometry();
    return row;
}

void Form::placeMenuAction(QAction* action)
{
    QMenuBar* row = m_menuRows.isEmpty() ? addMenuRow() : m_menuRows.constLast();
    row->addAction(action);
    // The menu bar lays its items out in its own width; an item it cannot
    // place there goes to a new row.
    row->ensurePolished();
    const QRect place = row->actionGeometry(action);
    if (row->actions().size() > 1 && (place.isEmpty() || place.right() >= row->width())) {
        row->removeAction(action);
        addMenuRow()->addAction(action);
    }
}

MenuItem* Form::addMenuItem(const QString& name, const QString& caption)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    placeMenuAction(action);
    auto* item = new MenuItem(action, this);
    item->setObjectName(name);
    return item;
}

QMenu* Form::addMenuHeading(const QString& name, const QString& caption)
{
    auto* menu = new QMenu(caption, this);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    placeMenuAction(menu->menuAction());
    return menu;
}

MenuItem* Form::addMenuItem(QMenu* heading, const QString& name, const QString& caption)
{
    QAction* action = heading->addAction(caption);
    action->setObjectName(name);
    auto* item = new MenuItem(action, this);
    item->setObjectName(name);
    return item;
}

} // namespace forms
