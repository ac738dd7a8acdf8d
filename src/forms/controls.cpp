#include "forms/controls.h"

#include "forms/handler.h"
#include "forms/platform.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>

namespace forms {

namespace {

// Takes out the line ends a paste brought into a one-line field: a line end
// at either end goes (a spreadsheet copies a cell as its text and a line
// end); one between two texts keeps them apart as a blank.
void dropLineEnds(QLineEdit& edit)
{
    // CR, LF and the other line and paragraph ends a clipboard may carry.
    const auto isLineEnd = [](QChar c) {
        switch (c.unicode()) {
        case u'\n':
        case u'\v':
        case u'\f':
        case u'\r':
        case 0x0085:
        case QChar::LineSeparator:
        case QChar::ParagraphSeparator:
            return true;
        default:
            return false;
        }
    };
    const QString typed = edit.text();
    if (std::none_of(typed.begin(), typed.end(), isLineEnd))
        return;
    qsizetype start = 0;
    while (start < typed.size() && isLineEnd(typed[start]))
        ++start;
    qsizetype end = typed.size();
    while (end > start && isLineEnd(typed[end - 1]))
        --end;
    // The text from `start` up to `until` (at most `end`), each run of line
    // ends inside it a blank.
    const auto kept = [&](qsizetype until) {
        QString text;
        bool inLineEnds = false;
        for (qsizetype i = start; i < std::min(until, end); ++i) {
            const bool lineEnd = isLineEnd(typed[i]);
            if (!lineEnd)
                text += typed[i];
            else if (!inLineEnds)
                text += QLatin1Char(' ');
            inLineEnds = lineEnd;
        }
        return text;
    };
    const qsizetype cursor = edit.cursorPosition();
    edit.setText(kept(end));
    edit.setCursorPosition(static_cast<int>(kept(cursor).size()));
}

} // namespace

void paintInLogicalPixels(QWidget& widget, const std::function<void(QPainter&)>& draw)
{
    // Drawn at one device pixel to a logical pixel, then laid over the
    // widget: each logical pixel of the picture covers at least one device
    // pixel, wherever the widget's edge falls between them.
    QImage picture(widget.size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    {
        QPainter p(&picture);
        draw(p);
    }
    QPainter(&widget).drawImage(widget.rect(), picture);
}

QColor color(quint32 runtimeColor)
{
    if (runtimeColor & 0x80000000u) {
        const QPalette p = QApplication::palette();
        switch (runtimeColor & 0xFFu) {
        case 0x05: // window background
            return p.color(QPalette::Base);
        case 0x08: // window text
            return p.color(QPalette::Text);
        case 0x0D: // highlight
            return p.color(QPalette::Highlight);
        case 0x0E: // highlight text
            return p.color(QPalette::HighlightedText);
        case 0x10: // button shadow
            return p.color(QPalette::Dark);
        case 0x11: // grey text
            return p.color(QPalette::Disabled, QPalette::Text);
        case 0x12: // button text
            return p.color(QPalette::ButtonText);
        case 0x14: // 3D highlight
            return p.color(QPalette::Light);
        case 0x0F: // button face
        default:
            return p.color(QPalette::Button);
        }
    }
    return QColor(int(runtimeColor & 0xFF), int((runtimeColor >> 8) & 0xFF),
                  int((runtimeColor >> 16) & 0xFF));
}

// --- Label ------------------------------------------------------------------

Label::Label(QWidget* parent)
    : Control<QLabel>(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(true);
    setTransparent(true);
}

void Label::setCaption(const QString& caption)
{
    setText(caption);
    applyBox();
}

void Label::setAutoSize(bool on)
{
    m_autoSize = on;
    applyBox();
}

QRect Label::placement(const TwipsBox& box) const
{
    QRect r = box.toPixels();
    const QFontMetrics fm(font());
    if (m_autoSize)
        r.setWidth(qMax(r.width(), fm.horizontalAdvance(text()) + 1));
    if (!text().isEmpty())
        r.setHeight(qMax(r.height(), fm.height()));
    return r;
}

void Label::changeEvent(QEvent* e)
{
    QLabel::changeEvent(e);
    if (e->type() == QEvent::FontChange)
        runHandler([this] { applyBox(); });
}

void Label::setTransparent(bool on)
{
    setAutoFillBackground(!on);
}

void Label::mousePressEvent(QMouseEvent* e)
{
    e->accept();
    m_clicks.pressed();
}

void Label::mouseReleaseEvent(QMouseEvent* e)
{
    e->accept();
    if (m_clicks.releaseIsClick() && rect().contains(e->position().toPoint()))
        Q_EMIT Click();
}

void Label::mouseDoubleClickEvent(QMouseEvent* e)
{
    e->accept();
    m_clicks.doubleClicked();
    Q_EMIT DblClick();
}

void showCaptionOn(OptionButton* option, Label* label, CaptionClicks clicks)
{
    QPalette unseen = option->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
            unseen.setColor(group, role, Qt::transparent);
    }
    option->setPalette(unseen);
    label->setCaption(option->Caption());
    label->setWordWrap(false);
    if (clicks == CaptionClicks::ReachOption)
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
}

// --- TextBox ----------------------------------------------------------------

TextBox::TextBox(QWidget* parent)
    : Control<QLineEdit>(parent)
{
    connect(this, &QLineEdit::textEdited, this, [this] {
        runHandler([this] {
            dropLineEnds(*this);
            Q_EMIT Change();
        });
    });
    keepDisabledTextReadable();
}

void TextBox::changeEvent(QEvent* e)
{
    QLineEdit::changeEvent(e);
    if (e->type() == QEvent::PaletteChange)
        runHandler([this] { keepDisabledTextReadable(); });
}

void TextBox::keepDisabledTextReadable()
{
    // The style's disabled text is a light grey, hardly readable on the
    // field's background; a result field is disabled only to refuse input.
    QPalette p = palette();
    const QColor text = p.color(QPalette::Active, QPalette::Text);
    if (p.color(QPalette::Disabled, QPalette::Text) == text)
        return;
    p.setColor(QPalette::Disabled, QPalette::Text, text);
    setPalette(p);
}

void TextBox::setText(const QString& text)
{
    if (text == QLineEdit::text())
        return;
    QLineEdit::setText(text);
    // A text written by code shows from its start, not scrolled to its end.
    setCursorPosition(0);
    Q_EMIT Change();
}

void TextBox::setPasswordChar(bool on)
{
    setEchoMode(on ? Password : Normal);
    setStyleSheet(on ? QStringLiteral("lineedit-password-character: 42;") : QString());
}

void TextBox::mousePressEvent(QMouseEvent* e)
{
    QLineEdit::mousePressEvent(e);
    m_clicks.pressed();
}

void TextBox::mouseReleaseEvent(QMouseEvent* e)
{
    QLineEdit::mouseReleaseEvent(e);
    if (m_clicks.releaseIsClick() && e->button() == Qt::LeftButton && isEnabled())
        Q_EMIT Click();
}

void TextBox::mouseDoubleClickEvent(QMouseEvent* e)
{
    QLineEdit::mouseDoubleClickEvent(e);
    m_clicks.doubleClicked();
    if (e->button() == Qt::LeftButton && isEnabled())
        Q_EMIT DblClick();
}

void TextBox::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
    Q_EMIT GotFocus();
}

void TextBox::focusOutEvent(QFocusEvent* e)
{
    QLineEdit::focusOutEvent(e);
    Q_EMIT LostFocus();
}

// --- MultiLineTextBox -------------------------------------------------------

namespace {

QString toLf(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

MultiLineTextBox::MultiLineTextBox(QWidget* parent)
    : Control<WholePixelFrame<QPlainTextEdit>>(parent)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_settingText)
            Q_EMIT Change();
    });
}

QString MultiLineTextBox::Text() const
{
    QString text = toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

void MultiLineTextBox::setText(const QString& text)
{
    const QString lf = toLf(text);
    if (lf == toPlainText())
        return;
    m_settingText = true;
    setPlainText(lf);
    m_settingText = false;
    Q_EMIT Change();
}

void MultiLineTextBox::focusInEvent(QFocusEvent* e)
{
    QPlainTextEdit::focusInEvent(e);
    Q_EMIT GotFocus();
}

void MultiLineTextBox::focusOutEvent(QFocusEvent* e)
{
    QPlainTextEdit::focusOutEvent(e);
    Q_EMIT LostFocus();
}

void MultiLineTextBox::mousePressEvent(QMouseEvent* e)
{
    QPlainTextEdit::mousePressEvent(e);
    m_clicks.pressed();
}

void MultiLineTextBox::mouseReleaseEvent(QMouseEvent* e)
{
    QPlainTextEdit::mouseReleaseEvent(e);
    if (m_clicks.releaseIsClick())
        Q_EMIT Click();
}

void MultiLineTextBox::mouseDoubleClickEvent(QMouseEvent* e)
{
    QPlainTextEdit::mouseDoubleClickEvent(e);
    m_clicks.doubleClicked();
    Q_EMIT DblClick();
}

// --- ComboBox ---------------------------------------------------------------

ComboBox::ComboBox(Style style, QWidget* parent)
    : Control<QComboBox>(parent)
    , m_style(style)
{
    setMaxVisibleItems(8);
    if (style == Style::Editable) {
        setEditable(true);
        setInsertPolicy(QComboBox::NoInsert);
        setCompleter(nullptr);
        setDuplicatesEnabled(true);
        // Typing is a change of the text, never a pick.
        connect(lineEdit(), &QLineEdit::textEdited, this, [this] {
            runHandler([this] {
                dropLineEnds(*lineEdit());
                m_listIndex = -1;
                Q_EMIT Change();
            });
        });
        // Enter in the text part is no pick (Qt would pick a matching entry).
        lineEdit()->installEventFilter(this);
        // Nor is leaving the list after typing an entry's text: Qt would
        // select the matching entry and report it as activated.
        disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
    }
    // A pick by mouse or arrow keys, the entry already shown included.
    connect(this, &QComboBox::activated, this, [this](int index) { runHandler([&] { pick(index); }); });
    // No item is current until the list's own code or the user picks one.
    showIndexSilently(-1);
}

void ComboBox::showIndexSilently(int index)
{
    const QSignalBlocker blocker(this);
    if (isEditable()) {
        const QString text = lineEdit()->text();
        setCurrentIndex(index);
        if (index < 0)
            setEditTextSilently(text);
    } else {
        setCurrentIndex(index);
    }
}

void ComboBox::setEditTextSilently(const QString& text)
{
    if (!isEditable())
        return;
    const QSignalBlocker blocker(this);
    const QSignalBlocker editBlocker(lineEdit());
    lineEdit()->setText(text);
    // A text written by code or picked shows from its start, as in text
    // boxes: an entry longer than the field shows its beginning.
    lineEdit()->setCursorPosition(0);
}

void ComboBox::AddItem(const QString& item)
{
    const QString text = Text();
    {
        const QSignalBlocker blocker(this);
        addItem(item);
    }
    // Adding the first entry neither selects it nor replaces the prompt.
    showIndexSilently(m_listIndex);
    if (isEditable())
        setEditTextSilently(text);
}

void ComboBox::RemoveItem(int index)
{
    if (index < 0 || index >= count())
        return;
    const QString text = Text();
    {
        const QSignalBlocker blocker(this);
        removeItem(index);
    }
    if (index == m_listIndex)
        m_listIndex = -1;
    else if (index < m_listIndex)
        --m_listIndex;
    showIndexSilently(m_listIndex);
    if (isEditable())
        setEditTextSilently(text);
}

void ComboBox::Clear()
{
    {
        const QSignalBlocker blocker(this);
        clear();
    }
    m_listIndex = -1;
    showIndexSilently(-1);
    setEditTextSilently(QString());
}

QString ComboBox::List(int index) const
{
    if (index < 0 || index >= count())
        return QString();
    return itemText(index);
}

void ComboBox::setList(int index, const QString& item)
{
    if (index < 0 || index >= count())
        return;
    const QString text = Text();
    {
        const QSignalBlocker blocker(this);
        setItemText(index, item);
    }
    if (isEditable())
        setEditTextSilently(text);
}

void ComboBox::setListIndex(int index)
{
    if (index < -1 || index >= count())
        return;
    if (m_style == Style::PickOnly) {
        m_listIndex = index;
        showIndexSilently(index);
        Q_EMIT Click();
        return;
    }
    const QString newText = index >= 0 ? itemText(index) : QString();
    const bool changed = newText != Text();
    m_listIndex = index;
    showIndexSilently(index);
    setEditTextSilently(newText);
    if (changed)
        Q_EMIT Change();
}

QString ComboBox::Text() const
{
    if (isEditable())
        return lineEdit()->text();
    return m_listIndex >= 0 ? itemText(m_listIndex) : QString();
}

void ComboBox::setText(const QString& text)
{
    const int match = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (m_style == Style::PickOnly) {
        if (match < 0)
            return;
        setListIndex(match);
        return;
    }
    if (text == Text()) {
        m_listIndex = match;
        return;
    }
    m_listIndex = match;
    showIndexSilently(match);
    setEditTextSilently(text);
    Q_EMIT Change();
}

void ComboBox::pick(int index)
{
    if (index < 0 || index >= count() || !isEnabled())
        return;
    m_listIndex = index;
    showIndexSilently(index);
    setEditTextSilently(itemText(index));
    Q_EMIT Click();
}

// The entry whose text the list shows becomes Qt's current entry, so that
// the arrow keys, the wheel and the open list move on from it, also when code
// wrote the text before the entries were filled. ListIndex stays as the
// list's own code left it.
void ComboBox::makeShownEntryCurrent()
{
    const QString shown = Text();
    int index = m_listIndex;
    if (index < 0 || itemText(index) != shown)
        index = findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0 || index == currentIndex())
        return;
    showIndexSilently(index);
    setEditTextSilently(shown);
}

void ComboBox::showPopup()
{
    makeShownEntryCurrent();
    QAbstractItemView* list = view();
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = qMax(widest, list->sizeHintForIndex(model()->index(i, modelColumn())).width());
    const int scrollBar =
        count() > maxVisibleItems() ? list->verticalScrollBar()->sizeHint().width() : 0;
    // A few pixels spare, so that the widest entry stands clear of the edge.
    constexpr int kSpare = 6;
    list->setMinimumWidth(widest + kSpare + scrollBar + 2 * list->frameWidth());
    QComboBox::showPopup();
}

void ComboBox::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        runHandler([this] { makeShownEntryCurrent(); });
        break;
    default:
        break;
    }
    QComboBox::keyPressEvent(e);
}

void ComboBox::wheelEvent(QWheelEvent* e)
{
    runHandler([this] { makeShownEntryCurrent(); });
    QComboBox::wheelEvent(e);
}

bool ComboBox::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == lineEdit() && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true;
    }
    return QComboBox::eventFilter(watched, e);
}

void ComboBox::focusInEvent(QFocusEvent* e)
{
    QComboBox::focusInEvent(e);
    Q_EMIT GotFocus();
}

void ComboBox::focusOutEvent(QFocusEvent* e)
{
    QComboBox::focusOutEvent(e);
    Q_EMIT LostFocus();
}

// --- ListBox ----------------------------------------------------------------

ListBox::ListBox(QWidget* parent)
    : Control<WholePixelFrame<QListWidget>>(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::currentRowChanged, this, [this](int) {
        if (!m_silent)
            Q_EMIT Click();
    });
    connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem*) { Q_EMIT DblClick(); });
}

void ListBox::AddItem(const QString& item)
{
    m_silent = true;
    const int row = currentRow();
    addItem(item);
    setCurrentRow(row);
    m_silent = false;
}

void ListBox::RemoveItem(int index)
{
    if (index < 0 || index >= count())
        return;
    m_silent = true;
    int row = currentRow();
    if (row == index)
        row = -1;
    else if (row > index)
        --row;
    delete takeItem(index);
    setCurrentRow(row);
    if (row < 0)
        clearSelection();
    m_silent = false;
}

void ListBox::Clear()
{
    m_silent = true;
    clear();
    m_silent = false;
}

QString ListBox::List(int index) const
{
    const QListWidgetItem* it = item(index);
    return it ? it->text() : QString();
}

void ListBox::setList(int index, const QString& text)
{
    if (QListWidgetItem* it = item(index))
        it->setText(text);
}

void ListBox::setListIndex(int index)
{
    if (index < -1 || index >= count())
        return;
    setCurrentRow(index);
    if (index < 0)
        clearSelection();
}

void ListBox::clickLine(int index)
{
    setListIndex(index);
}

void ListBox::doubleClickLine(int index)
{
    if (item(index)) {
        setListIndex(index);
        Q_EMIT DblClick();
    }
}

// --- OptionButton -----------------------------------------------------------

OptionButton::OptionButton(QWidget* parent)
    : Control<QRadioButton>(parent)
{
    connect(this, &QAbstractButton::toggled, this, [this](bool on) {
        if (on)
            Q_EMIT Click();
    });
}

void OptionButton::setValue(bool on)
{
    if (on) {
        setChecked(true);
        return;
    }
    if (!isChecked())
        return;
    setAutoExclusive(false);
    setChecked(false);
    setAutoExclusive(true);
}

CheckBox::CheckBox(QWidget* parent)
    : Control<QCheckBox>(parent)
{
    connect(this, &QAbstractButton::clicked, this, [this] { Q_EMIT Click(); });
}

// --- Frame ------------------------------------------------------------------

Frame::Frame(QWidget* parent)
    : Control<QGroupBox>(parent)
{
}

int Frame::borderTop() const
{
    return title().isEmpty() ? 0 : QFontMetrics(font()).height() / 2;
}

void Frame::paintEvent(QPaintEvent*)
{
    // The etched border: a shadow line with a light line inside it.
    const QRect border = rect().adjusted(0, borderTop(), -1, -1);
    paintInLogicalPixels(*this, [&](QPainter& p) {
        p.setPen(palette().color(QPalette::Mid));
        p.drawRect(border.adjusted(0, 0, -1, -1));
        p.setPen(palette().color(QPalette::Light));
        p.drawRect(border.adjusted(1, 1, 0, 0));
    });
    const QString caption = title();
    if (caption.isEmpty())
        return;
    QPainter p(this);
    // The caption on the border line, which is left out behind it.
    const QFontMetrics fm(font());
    const QRect text(px(kCaptionInsetTwips), 0, fm.size(Qt::TextShowMnemonic, caption).width(),
                     fm.height());
    p.fillRect(text.adjusted(-2, 0, 2, 0), palette().window());
    style()->drawItemText(&p, text, Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, palette(),
                          isEnabled(), caption, QPalette::WindowText);
}

void Frame::mousePressEvent(QMouseEvent* e)
{
    e->accept();
}

void Frame::mouseReleaseEvent(QMouseEvent* e)
{
    e->accept();
    if (rect().contains(e->position().toPoint()))
        Q_EMIT Click();
}

// --- Line -------------------------------------------------------------------

Line::Line(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Line::setPoints(double x1, double y1, double x2, double y2)
{
    m_x1 = x1;
    m_y1 = y1;
    m_x2 = x2;
    m_y2 = y2;
    const QRect r = QRect(QPoint(px(qMin(x1, x2)), px(qMin(y1, y2))),
                          QPoint(px(qMax(x1, x2)), px(qMax(y1, y2))));
    setGeometry(r.adjusted(0, 0, 1, 1));
    update();
}

void Line::setLineColor(quint32 runtimeColor)
{
    m_color = color(runtimeColor);
    update();
}

void Line::paintEvent(QPaintEvent*)
{
    const QPoint origin = geometry().topLeft();
    paintInLogicalPixels(*this, [&](QPainter& p) {
        p.setPen(m_color);
        p.drawLine(QPoint(px(m_x1), px(m_y1)) - origin, QPoint(px(m_x2), px(m_y2)) - origin);
    });
}

// --- PictureBox -------------------------------------------------------------

PictureBox::PictureBox(QWidget* parent)
    : Label(parent)
{
    setWordWrap(false);
}

// --- CommandButton ----------------------------------------------------------

CommandButton::CommandButton(QWidget* parent)
    : Control<QPushButton>(parent)
{
    setAutoDefault(false);
    connect(this, &QAbstractButton::clicked, this, [this] { Q_EMIT Click(); });
}

void CommandButton::press()
{
    if (isEnabled())
        click();
}

// --- Timer ------------------------------------------------------------------

Timer::Timer(QObject* parent)
    : QObject(parent)
{
    connect(&m_timer, &QTimer::timeout, this, [this] { Q_EMIT Tick(); });
}

void Timer::setInterval(int ms)
{
    m_interval = ms;
    sync();
}

void Timer::setEnabled(bool on)
{
    m_enabled = on;
    sync();
}

void Timer::sync()
{
    if (m_enabled && m_interval > 0 && platform().timersRun())
        m_timer.start(m_interval);
    else
        m_timer.stop();
}

} // namespace forms
