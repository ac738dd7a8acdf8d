#include "monkey.h"

#include "random_input.h"

#include "forms/application.h"
#include "forms/column_list_box.h"
#include "forms/controls.h"
#include "forms/platform.h"
#include "forms/testing/scripted_platform.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>

#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

namespace monkey {

namespace {

// The action under way, for the report of a crash (written from a signal
// handler, so kept ready as plain bytes).
char g_current[1024] = "before the first action";

void writeCurrent()
{
    static const char prefix[] = "\nmonkey: crashed in ";
    if (::write(STDERR_FILENO, prefix, sizeof prefix - 1) < 0)
        return;
    if (::write(STDERR_FILENO, g_current, std::strlen(g_current)) < 0)
        return;
    if (::write(STDERR_FILENO, "\n", 1) < 0)
        return;
}

extern "C" void onFatalSignal(int signal)
{
    writeCurrent();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void installCrashReport()
{
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizers report the fault themselves; this adds the action.
    __sanitizer_set_death_callback(writeCurrent);
#else
    for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL})
        std::signal(signal, onFatalSignal);
#endif
    std::signal(SIGABRT, onFatalSignal);
}

// Qt's remarks on events nobody took, which random clicks and keys cause
// all the time.
QtMessageHandler g_previousHandler = nullptr;

void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QStringLiteral("not accepted by receiving widget"))
        || message.startsWith(QStringLiteral("This plugin does not support")))
        return;
    if (g_previousHandler)
        g_previousHandler(type, context, message);
}

// A number the program should never show: "nan" and "inf" as whole words,
// in any case ("NaN", "Inf", "-inf"), or a number in exponent form ("2E+20",
// "1.5e-11"): within the ranges the calculators accept every figure is
// written in plain digits.
const QRegularExpression& numberNotPlain()
{
    static const QRegularExpression re(QStringLiteral("(?<![A-Za-z])(nan|inf|infinity)(?![A-Za-z])|\\d[Ee][+-]?\\d"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

bool isControl(const QWidget* w)
{
    return qobject_cast<const forms::TextBox*>(w) || qobject_cast<const forms::MultiLineTextBox*>(w)
        || qobject_cast<const forms::ComboBox*>(w) || qobject_cast<const forms::ListBox*>(w)
        || qobject_cast<const forms::ColumnListBox*>(w)
        || qobject_cast<const forms::OptionButton*>(w) || qobject_cast<const forms::CheckBox*>(w)
        || qobject_cast<const forms::CommandButton*>(w) || qobject_cast<const forms::Label*>(w)
        || qobject_cast<const forms::Frame*>(w);
}

// The part of `w` the user sees, in its own coordinates.
QRect seenRect(const QWidget* w)
{
    QRect area = w->rect();
    QPoint offset;
    for (const QWidget* p = w; p != w->window(); p = p->parentWidget()) {
        offset += p->pos();
        area.translate(p->pos());
        area &= p->parentWidget()->rect();
    }
    return area.translated(-offset);
}

QList<forms::Form*> existingForms()
{
    QList<forms::Form*> forms;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* form = qobject_cast<forms::Form*>(w); form && !form->isUnloaded())
            forms << form;
    // A stable order, whatever order Qt keeps its windows in.
    std::sort(forms.begin(), forms.end(), [](const forms::Form* a, const forms::Form* b) {
        return a->objectName() < b->objectName();
    });
    return forms;
}

QList<forms::Form*> shownForms()
{
    QList<forms::Form*> shown;
    for (forms::Form* form : existingForms())
        if (form->isVisible())
            shown << form;
    return shown;
}

// A click, or a double click, as the window system delivers them: press,
// release, and for a double click a second press that arrives as the double
// click, and its release. A handler may delete the widget on the way.
void clickAt(QWidget* widget, QPoint at, bool twice)
{
    QPointer<QWidget> target = widget;
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, at);
    if (target)
        QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, at);
    if (twice && target) {
        QTest::mouseDClick(target, Qt::LeftButton, Qt::NoModifier, at);
        if (target)
            QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, at);
    }
}

QString shortText(const QString& text)
{
    QString shown = text.size() > 40 ? text.left(37) + QStringLiteral("…(%1)").arg(text.size()) : text;
    shown.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    shown.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return QLatin1Char('"') + shown + QLatin1Char('"');
}

QString caption(const QWidget* w)
{
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        return b->text();
    if (auto* l = qobject_cast<const QLabel*>(w))
        return l->text();
    return QString();
}

} // namespace

const char* kindName(FaultKind kind)
{
    switch (kind) {
    case FaultKind::NumberNotPlain:
        return "shows nan, inf or an exponent";
    case FaultKind::ModalLeftOpen:
        return "modal window left open";
    case FaultKind::UnaskedEnd:
        return "program ended without a close or exit";
    case FaultKind::VersionChanged:
        return "version text changed";
    case FaultKind::HandlerThrew:
        return "a handler threw";
    case FaultKind::NoWindowShown:
        return "no window left on screen";
    }
    return "fault";
}

Monkey::Monkey(std::vector<Window> windows, Options options)
    : m_windows(std::move(windows))
    , m_options(std::move(options))
    , m_random(std::make_unique<RandomInput>(m_options.seed))
{
}

Monkey::~Monkey() = default;

// --- the run -----------------------------------------------------------------

std::optional<Fault> Monkey::run()
{
    installCrashReport();
    g_previousHandler = qInstallMessageHandler(quietHandler);
    createFiles();
    startRun();
    std::optional<Fault> fault;
    // A modal window opened by an action runs its own event loop: this timer
    // ticks inside it, notes the window and closes it, so the action returns.
    QTimer watchdog;
    watchdog.setInterval(0);
    QObject::connect(&watchdog, &QTimer::timeout, &watchdog, [this] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            if (!m_modalOpened)
                m_modalOpened = QString::fromUtf8(modal->metaObject()->className()) + QStringLiteral(" \"")
                    + modal->windowTitle() + QLatin1Char('"');
            modal->close();
        }
    });
    // A handler that threw is a fault, though the application caught it.
    if (auto* app = qobject_cast<forms::Application*>(QCoreApplication::instance()))
        QObject::connect(app, &forms::Application::handlerFailed, &watchdog, [this](const QString& reason) {
            if (!m_handlerFailure)
                m_handlerFailure = reason;
        });
    while (m_action < m_options.actions) {
        ++m_action;
        m_endAllowed = false;
        m_modalOpened.reset();
        m_messageFault.reset();
        m_handlerFailure.reset();
        const int endingsBefore = forms::testing::scripted().endings();
        watchdog.start();
        try {
            act();
            settle();
        } catch (const forms::testing::ProgramEnded&) {
        } catch (const std::exception& e) {
            fault = Fault{FaultKind::HandlerThrew, m_action, QString::fromUtf8(e.what())};
        }
        watchdog.stop();
        const bool ended = forms::testing::scripted().endings() > endingsBefore;
        if (!fault && m_handlerFailure)
            fault = Fault{FaultKind::HandlerThrew, m_action, *m_handlerFailure};
        if (fault)
            break;
        if (m_modalOpened) {
            fault = Fault{FaultKind::ModalLeftOpen, m_action, *m_modalOpened};
        } else if (ended && !m_endAllowed) {
            fault = Fault{FaultKind::UnaskedEnd, m_action, QString()};
        } else if (m_messageFault) {
            fault = Fault{FaultKind::NumberNotPlain, m_action, *m_messageFault};
        } else if (ended) {
            ++m_programEnds;
            remember(QStringLiteral("-- the program ended; a new run starts"), false);
            startRun();
        } else {
            fault = check();
        }
        if (fault)
            break;
    }
    // Leave no window behind for whatever runs next in this process.
    forms::destroyAllDefaultInstances();
    settle();
    qInstallMessageHandler(g_previousHandler);
    return fault;
}

void Monkey::startRun()
{
    forms::destroyAllDefaultInstances();
    settle();
    forms::testing::ScriptedPlatform& platform = forms::testing::scripted();
    platform.reset();
    platform.setFallback(
        [this](const forms::testing::MessageBoxCall& call) { return answerMessageBox(call.text, call.style); },
        [this](const forms::FileDialogRequest&) { return answerFileDialog(); });
    platform.setPrograms({QStringLiteral("calc.exe")});
    m_typed.clear();
    m_captionHadVersion.clear();
    if (m_options.startRun)
        m_options.startRun();
    settle();
    m_version = m_options.versionText ? m_options.versionText() : QString();
}

void Monkey::settle()
{
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // A drop-down left open is closed, as a click elsewhere would.
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
}

void Monkey::remember(const QString& description, bool action)
{
    const QString line = QStringLiteral("#%1 %2").arg(m_action).arg(description);
    m_recent.push_back(line);
    if (m_recent.size() > 40)
        m_recent.pop_front();
    if (m_options.log)
        *m_options.log << line.toStdString() << std::endl;
    if (!action)
        return;
    const QByteArray current = QStringLiteral("action %1 of seed %2: %3 (replay: scripts/monkey.sh %1 %2)")
                                   .arg(m_action)
                                   .arg(m_options.seed)
                                   .arg(description)
                                   .toUtf8();
    std::snprintf(g_current, sizeof g_current, "%s", current.constData());
}

QString Monkey::controlName(const QWidget* widget) const
{
    // An editable list's text part goes by the list's name.
    if (widget->objectName().isEmpty() && widget->parentWidget())
        widget = widget->parentWidget();
    QString name = widget->window()->objectName() + QLatin1Char('.') + widget->objectName();
    const QString text = caption(widget);
    if (!text.isEmpty())
        name += QLatin1Char(' ') + shortText(text);
    return name;
}

void Monkey::count(const forms::Form& form)
{
    ++m_perWindow[form.objectName()];
}

// --- actions ----------------------------------------------------------------

QString Monkey::act()
{
    const QList<forms::Form*> shown = shownForms();
    const int roll = m_random->below(100);
    if (roll < 4 || shown.isEmpty())
        return showWindow();
    if (roll < 9) {
        const QString ticked = tickTimer();
        if (!ticked.isEmpty())
            return ticked;
    }
    forms::Form& form = *shown[m_random->below(static_cast<int>(shown.size()))];
    if (QApplication::activeWindow() != &form) {
        // The user brings the window to the front before working in it.
        form.activateWindow();
        QApplication::processEvents();
    }
    count(form);
    if (roll < 15) {
        const QString clicked = clickMenuItem(form);
        if (!clicked.isEmpty())
            return clicked;
    }
    if (roll < 17) {
        const QString what = form.objectName() + QStringLiteral(": close box");
        remember(what);
        m_endAllowed = true;
        form.close();
        return what;
    }
    if (roll < 29)
        return pressKey(form);
    return actOnControl(form);
}

QString Monkey::showWindow()
{
    // Round the table, so that every window comes up within a bounded run.
    const Window& window = m_windows[m_nextWindow++ % m_windows.size()];
    const QString what = window.name + QStringLiteral(": shown");
    remember(what);
    forms::Form& form = window.instance();
    ++m_perWindow[window.name];
    form.Show();
    return what;
}

QString Monkey::tickTimer()
{
    std::vector<QPointer<forms::Timer>> timers;
    for (forms::Form* form : existingForms())
        for (forms::Timer* timer : form->findChildren<forms::Timer*>())
            if (timer->Enabled())
                timers.emplace_back(timer);
    if (timers.empty())
        return QString();
    forms::Timer* timer = m_random->oneOf(timers);
    auto* form = qobject_cast<forms::Form*>(timer->parent());
    const QString what = (form ? form->objectName() : QString()) + QLatin1Char('.') + timer->objectName()
        + QStringLiteral(": tick");
    remember(what);
    if (form)
        count(*form);
    Q_EMIT timer->Tick();
    return what;
}

QString Monkey::clickMenuItem(forms::Form& form)
{
    std::vector<forms::MenuItem*> items;
    for (forms::MenuItem* item : form.findChildren<forms::MenuItem*>())
        if (item->action()->isVisible() && item->action()->isEnabled())
            items.push_back(item);
    if (items.empty())
        return QString();
    forms::MenuItem* item = m_random->oneOf(items);
    const QString what = form.objectName() + QStringLiteral(": menu ") + item->Caption();
    remember(what);
    if (asksForEnd(item->Caption()))
        m_endAllowed = true;
    item->click();
    return what;
}

bool Monkey::asksForEnd(const QString& caption) const
{
    // "退出", "退 出", "退出(&X)".
    QString plain = caption;
    plain.remove(QLatin1Char('&'));
    plain.remove(QRegularExpression(QStringLiteral("\\s")));
    return plain.contains(QStringLiteral("退出"));
}

void Monkey::allowEndIfExitButton(forms::Form& form)
{
    for (const forms::CommandButton* button : form.findChildren<forms::CommandButton*>())
        if (asksForEnd(button->Caption()) && button->isEnabled() && forms::seenByUser(button))
            m_endAllowed = true;
}

QString Monkey::pressKey(forms::Form& form)
{
    const Keystroke key = m_random->key();
    QWidget* target = form.focusWidget() ? form.focusWidget() : &form;
    const QString what = form.objectName() + QStringLiteral(": key ") + key.name + QStringLiteral(" in ")
        + target->objectName();
    remember(what);
    // Enter, Esc, Space and access keys may press an exit button.
    if (key.key == Qt::Key_Escape || key.key == Qt::Key_Return || key.key == Qt::Key_Enter
        || key.key == Qt::Key_Space || key.modifiers == Qt::AltModifier)
        allowEndIfExitButton(form);
    if (key.key == Qt::Key_V || key.key == Qt::Key_Insert)
        QGuiApplication::clipboard()->setText(m_random->text());
    QPointer<QWidget> field = target;
    QTest::sendKeyEvent(QTest::Click, target, Qt::Key(key.key), key.text, key.modifiers);
    // Keys that edit the text leave the user's text in the field.
    static const std::set<int> editing = {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Space, Qt::Key_V,
                                          Qt::Key_X,         Qt::Key_Z,      Qt::Key_Insert};
    if (field && editing.count(key.key) && !(key.modifiers & Qt::AltModifier))
        noteTyped(field);
    return what;
}

QString Monkey::actOnControl(forms::Form& form)
{
    // The controls the user sees, by kind: fields and lists are worked on
    // more than buttons, and buttons more than labels and frames.
    std::vector<QWidget*> fields, lists, buttons, options, others;
    for (QWidget* w : form.findChildren<QWidget*>()) {
        if (!isControl(w) || !forms::seenByUser(w))
            continue;
        if (qobject_cast<forms::TextBox*>(w) || qobject_cast<forms::MultiLineTextBox*>(w))
            fields.push_back(w);
        else if (qobject_cast<forms::ComboBox*>(w) || qobject_cast<forms::ListBox*>(w)
                 || qobject_cast<forms::ColumnListBox*>(w))
            lists.push_back(w);
        else if (qobject_cast<forms::CommandButton*>(w))
            buttons.push_back(w);
        else if (qobject_cast<forms::OptionButton*>(w) || qobject_cast<forms::CheckBox*>(w))
            options.push_back(w);
        else
            others.push_back(w);
    }
    others.push_back(&form);
    const std::vector<std::pair<int, const std::vector<QWidget*>*>> kinds = {
        {35, &fields}, {25, &lists}, {20, &buttons}, {10, &options}, {10, &others}};
    int roll = m_random->below(100);
    const std::vector<QWidget*>* chosen = &others;
    for (const auto& [weight, kind] : kinds) {
        if (roll < weight) {
            chosen = kind;
            break;
        }
        roll -= weight;
    }
    if (chosen->empty())
        chosen = &others;
    QWidget* control = m_random->oneOf(*chosen);
    if (qobject_cast<forms::TextBox*>(control) || qobject_cast<forms::MultiLineTextBox*>(control))
        return actOnTextField(form, control);
    if (qobject_cast<forms::ComboBox*>(control))
        return actOnList(form, control);
    if (qobject_cast<forms::ListBox*>(control) || qobject_cast<forms::ColumnListBox*>(control))
        return actOnListBox(control);
    if (auto* button = qobject_cast<forms::CommandButton*>(control)) {
        if (asksForEnd(button->Caption()))
            m_endAllowed = true;
        if (m_random->chance(0.1)) {
            const QString what = controlName(control) + QStringLiteral(": Space");
            remember(what);
            button->setFocus(Qt::TabFocusReason);
            QTest::keyClick(button, Qt::Key_Space);
            return what;
        }
        return click(control, m_random->chance(0.1));
    }
    // Option buttons, check boxes, labels, pictures, frames, the window.
    return click(control, m_random->chance(0.25));
}

QString Monkey::click(QWidget* control, bool twice)
{
    // A scroll area (a multi-line text) takes the mouse in its viewport.
    QWidget* widget = control;
    if (auto* area = qobject_cast<QAbstractScrollArea*>(control))
        widget = area->viewport();
    const QRect area = seenRect(widget);
    const QPoint at(area.left() + m_random->below(std::max(1, area.width())),
                    area.top() + m_random->below(std::max(1, area.height())));
    const QString what = controlName(control) + (twice ? QStringLiteral(": double click") : QStringLiteral(": click"));
    remember(what);
    clickAt(widget, at, twice);
    return what;
}

QString Monkey::actOnTextField(forms::Form& form, QWidget* field)
{
    const int roll = m_random->below(10);
    if (roll < 2)
        return click(field, false);
    if (roll < 3)
        return click(field, true);
    if (roll < 8)
        return typeInto(form, field);
    // A key in the field, after a click into it.
    click(field, false);
    if (!field->isVisible())
        return QString();
    return pressKey(form);
}

QString Monkey::typeInto(forms::Form& form, QWidget* field)
{
    const QString text = m_random->text();
    const bool replace = m_random->chance(0.6);
    const int how = m_random->below(3); // keys, an input method, a paste
    static const char* const ways[] = {"type", "enter by input method", "paste"};
    const QString what = controlName(field) + QLatin1String(": ") + QLatin1String(ways[how])
        + QLatin1Char(' ') + shortText(text) + (replace ? QStringLiteral(" over its text") : QString());
    remember(what);
    // The click that puts the cursor into the field (an editable list's
    // text part takes it).
    QWidget* clickTarget = field;
    if (auto* combo = qobject_cast<forms::ComboBox*>(field); combo && combo->lineEdit())
        clickTarget = combo->lineEdit();
    else if (auto* scrolled = qobject_cast<QAbstractScrollArea*>(field))
        clickTarget = scrolled->viewport();
    QPointer<QWidget> guard = field;
    const QRect area = seenRect(clickTarget);
    QTest::mouseClick(clickTarget, Qt::LeftButton, Qt::NoModifier, area.center());
    if (!guard)
        return what;
    QWidget* keyboard = form.focusWidget() ? form.focusWidget() : &form;
    QPointer<QWidget> keys = keyboard;
    if (replace)
        QTest::sendKeyEvent(QTest::Click, keyboard, Qt::Key_A, QString(), Qt::ControlModifier);
    if (!keys)
        return what;
    // An input method commits only into a widget that takes one (a locked
    // field does not).
    const bool inputMethod = keyboard->testAttribute(Qt::WA_InputMethodEnabled);
    if (how == 0 && text.size() <= 16) {
        for (const QChar c : text) {
            if (!keys)
                break;
            QTest::sendKeyEvent(QTest::Click, keyboard, Qt::Key(0), QString(c), Qt::NoModifier);
        }
    } else if (how <= 1 && inputMethod) {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(keyboard, &commit);
    } else {
        QGuiApplication::clipboard()->setText(text);
        QTest::sendKeyEvent(QTest::Click, keyboard, Qt::Key_V, QString(), Qt::ControlModifier);
    }
    // The text goes where the keyboard is, which need not be the field
    // clicked (a disabled field takes no focus).
    if (keys)
        noteTyped(keys);
    return what;
}

void Monkey::noteTyped(QWidget* field)
{
    // What the user made the field show is the user's, not the program's.
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        m_typed.insert(edit->text());
    else if (auto* combo = qobject_cast<QComboBox*>(field); combo && combo->isEditable())
        m_typed.insert(combo->currentText());
    else if (auto* text = qobject_cast<QPlainTextEdit*>(field))
        m_typed.insert(text->toPlainText());
    else if (auto* owner = qobject_cast<QComboBox*>(field->parentWidget()))
        m_typed.insert(owner->currentText());
}

QString Monkey::actOnList(forms::Form& form, QWidget* control)
{
    auto* combo = static_cast<forms::ComboBox*>(control);
    const int roll = m_random->below(10);
    if (roll < 5 && combo->count() > 0 && combo->isEnabled()) {
        // A pick from the open list: the highlight moved to an entry, then
        // Enter, as the list's own keyboard and mouse handling picks.
        const int index = m_random->below(combo->count());
        const QString what = controlName(control) + QStringLiteral(": pick ") + shortText(combo->itemText(index));
        remember(what);
        combo->showPopup();
        QAbstractItemView* view = combo->view();
        view->setCurrentIndex(view->model()->index(index, combo->modelColumn()));
        QTest::keyClick(view, Qt::Key_Return);
        return what;
    }
    if (roll < 7) {
        const bool down = m_random->chance(0.5);
        const QString what = controlName(control) + (down ? QStringLiteral(": Down") : QStringLiteral(": Up"));
        remember(what);
        combo->setFocus(Qt::MouseFocusReason);
        QWidget* keyboard = combo->lineEdit() ? static_cast<QWidget*>(combo->lineEdit()) : combo;
        QTest::keyClick(keyboard, down ? Qt::Key_Down : Qt::Key_Up);
        return what;
    }
    if (roll < 8) {
        const QString what = controlName(control) + QStringLiteral(": wheel");
        remember(what);
        const QPoint at = seenRect(combo).center();
        QWheelEvent wheel(at, combo->mapToGlobal(at), QPoint(), QPoint(0, m_random->chance(0.5) ? 120 : -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(combo, &wheel);
        return what;
    }
    if (combo->isEditable())
        return typeInto(form, control);
    return click(control, false);
}

QString Monkey::actOnListBox(QWidget* control)
{
    // A list box, or a column of a table shared by several list boxes.
    auto* list = static_cast<QListView*>(control);
    const int count = list->model()->rowCount();
    if (count == 0 || m_random->chance(0.1))
        return click(control, false);
    const int row = m_random->below(count);
    const QModelIndex line = list->model()->index(row, list->modelColumn());
    const bool twice = m_random->chance(0.3);
    const QString what = controlName(control) + (twice ? QStringLiteral(": double click row %1") : QStringLiteral(": click row %1")).arg(row);
    remember(what);
    list->scrollTo(line);
    const QPoint at = list->visualRect(line).center();
    clickAt(list->viewport(), at, twice);
    return what;
}

// --- answers ----------------------------------------------------------------

int Monkey::answerMessageBox(const QString& text, int style)
{
    if (text.contains(numberNotPlain()) && !m_messageFault)
        m_messageFault = QStringLiteral("message box ") + shortText(text);
    // A message that says the program ends when it is closed: the end is
    // one the user was told of.
    if (asksForEnd(text))
        m_endAllowed = true;
    static const std::vector<std::vector<int>> answers = {
        {forms::vbOK},
        {forms::vbOK, forms::vbCancel},
        {forms::vbAbort, forms::vbRetry, forms::vbIgnore},
        {forms::vbYes, forms::vbNo, forms::vbCancel},
        {forms::vbYes, forms::vbNo},
        {forms::vbRetry, forms::vbCancel},
    };
    const int buttons = style & 7;
    const int answer = m_random->oneOf(answers[static_cast<std::size_t>(buttons < 6 ? buttons : 0)]);
    remember(QStringLiteral("   message box ") + shortText(text) + QStringLiteral(" answered %1").arg(answer),
             false);
    return answer;
}

std::optional<QString> Monkey::answerFileDialog()
{
    if (m_random->chance(0.3)) {
        remember(QStringLiteral("   file dialog cancelled"), false);
        return std::nullopt;
    }
    const QString path = m_random->oneOf(m_filePool);
    remember(QStringLiteral("   file dialog answered ") + path, false);
    return path;
}

void Monkey::createFiles()
{
    m_files = std::make_unique<QTemporaryDir>();
    const QString dir = m_files->path();
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(dir + QLatin1Char('/') + name);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        // What the user's files hold is the user's text wherever it shows.
        for (const QByteArray& line : bytes.split('\n'))
            m_fileLines.insert(QString::fromLocal8Bit(line).trimmed());
        m_filePool.push_back(file.fileName());
    };
    // Three lines a segment (length, area, runoff coefficient), CR LF.
    write(QStringLiteral("segments.txt"), "120\r\n2.5\r\n0.65\r\n80\r\n1.2\r\n0.9\r\n");
    write(QStringLiteral("odd.txt"), "120\r\n2.5\r\n");
    write(QStringLiteral("numbers.txt"), "1e308\r\n-1e-320\r\nnan\r\ninf\r\n0\r\n0\r\n");
    write(QStringLiteral("gbk.txt"), QByteArray("\xc0\xfd\xcb\xae\r\n\xb9\xdc\xb5\xc0\r\n", 10));
    write(QStringLiteral("binary.dat"), QByteArray("\x00\xff\xfe\x01\x80\x81\r\r\n\n", 10));
    write(QStringLiteral("empty.txt"), QByteArray());
    write(QStringLiteral("long.txt"), QByteArray(100000, '9'));
    write(QStringLiteral("readonly.txt"), "1\r\n2\r\n3\r\n");
    QFile::setPermissions(dir + QStringLiteral("/readonly.txt"), QFileDevice::ReadOwner);
    for (const char* name : {"/new.txt", "/新建.dat", "", "/missing/folder/out.txt"})
        m_filePool.push_back(dir + QString::fromUtf8(name));
}

// --- checks -----------------------------------------------------------------

std::optional<QString> Monkey::shownNumberNotPlain(const QWidget& widget) const
{
    QStringList texts;
    if (auto* edit = qobject_cast<const QLineEdit*>(&widget)) {
        texts << edit->text();
    } else if (auto* text = qobject_cast<const QPlainTextEdit*>(&widget)) {
        texts << text->toPlainText();
    } else if (auto* label = qobject_cast<const QLabel*>(&widget)) {
        texts << label->text();
    } else if (auto* button = qobject_cast<const QAbstractButton*>(&widget)) {
        texts << button->text();
    } else if (auto* frame = qobject_cast<const QGroupBox*>(&widget)) {
        texts << frame->title();
    } else if (auto* combo = qobject_cast<const QComboBox*>(&widget)) {
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
    } else if (auto* view = qobject_cast<const QAbstractItemView*>(&widget)) {
        const QAbstractItemModel* model = view->model();
        for (int r = 0; model && r < model->rowCount(); ++r)
            for (int c = 0; c < model->columnCount(); ++c)
                texts << model->index(r, c).data().toString();
    }
    for (const QString& text : texts) {
        // The user's own texts may show anywhere a window takes them over
        // (a typed segment length goes into the segment list as typed); the
        // program's own spellings "Inf" and "NaN" are never typed.
        if (m_typed.count(text) || m_fileLines.count(text))
            continue;
        if (text.contains(numberNotPlain()))
            return shortText(text);
    }
    return std::nullopt;
}

std::optional<Fault> Monkey::check()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return Fault{FaultKind::ModalLeftOpen, m_action,
                     QString::fromUtf8(modal->metaObject()->className()) + QLatin1Char(' ') + modal->windowTitle()};
    const QList<forms::Form*> forms = existingForms();
    if (m_options.versionText) {
        const QString version = m_options.versionText();
        if (version != m_version)
            return Fault{FaultKind::VersionChanged, m_action,
                         QStringLiteral("from ") + shortText(m_version) + QStringLiteral(" to ") + shortText(version)};
    }
    const QString versioned = QStringLiteral("V") + m_version;
    for (const forms::Form* form : forms) {
        const QString name = form->objectName();
        const QString caption = form->Caption();
        if (caption.contains(numberNotPlain()))
            return Fault{FaultKind::NumberNotPlain, m_action, name + QStringLiteral(" caption ") + shortText(caption)};
        if (m_options.versionText) {
            const bool hasVersion = caption.endsWith(versioned);
            auto [known, added] = m_captionHadVersion.try_emplace(name, hasVersion);
            if (!added && known->second && !hasVersion)
                return Fault{FaultKind::VersionChanged, m_action, name + QStringLiteral(" caption ") + shortText(caption)};
        }
        for (const QWidget* w : form->findChildren<QWidget*>()) {
            if (!forms::seenByUser(w))
                continue;
            if (const std::optional<QString> shown = shownNumberNotPlain(*w))
                return Fault{FaultKind::NumberNotPlain, m_action, controlName(w) + QStringLiteral(" shows ") + *shown};
        }
    }
    if (shownForms().isEmpty())
        return Fault{FaultKind::NoWindowShown, m_action, QString()};
    return std::nullopt;
}

void report(std::ostream& out, const Fault& fault, const Monkey& monkey)
{
    out << "monkey: FAULT at action " << fault.action << " of seed " << monkey.options().seed << ": "
        << kindName(fault.kind);
    if (!fault.detail.isEmpty())
        out << ": " << fault.detail.toStdString();
    out << "\nmonkey: the actions before it:\n";
    for (const QString& line : monkey.recentActions())
        out << "  " << line.toStdString() << "\n";
    out << "monkey: replay: scripts/monkey.sh " << fault.action << " " << monkey.options().seed << std::endl;
}

} // namespace monkey
