// Control events as the calculators' handlers rely on them.
#include "forms/controls.h"
#include "forms/platform.h"
#include "forms/testing/clipped_texts.h"
#include "forms/testing/fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <functional>
#include <memory>

using forms::ComboBox;
using forms::testing::FormsTest;

namespace {

struct Counter {
    int clicks = 0;
    int changes = 0;
};

class ControlsTest : public FormsTest {
protected:
    void SetUp() override
    {
        FormsTest::SetUp();
        host = std::make_unique<QWidget>();
    }
    void TearDown() override
    {
        host.reset();
        FormsTest::TearDown();
    }
    ComboBox* combo(ComboBox::Style style, Counter& c)
    {
        auto* box = forms::makeControl<ComboBox>(host.get(), "Combo1", 0, 0, 1500, 300, style);
        QObject::connect(box, &ComboBox::Click, host.get(), [&c] { ++c.clicks; });
        QObject::connect(box, &ComboBox::Change, host.get(), [&c] { ++c.changes; });
        return box;
    }
    std::unique_ptr<QWidget> host;
};

TEST_F(ControlsTest, TextBoxRaisesChangeOnlyWhenTheTextChanges)
{
    auto* t = forms::makeControl<forms::TextBox>(host.get(), "Text1", 0, 0, 900, 300);
    int changes = 0;
    QObject::connect(t, &forms::TextBox::Change, host.get(), [&] { ++changes; });
    t->setText(QStringLiteral("1"));
    t->setText(QStringLiteral("1"));
    t->setText(QString());
    EXPECT_EQ(changes, 2);
}

// A text written by code shows from its first character, the cursor at the
// start, whatever the box showed before and wherever its cursor stood.
TEST_F(ControlsTest, TextBoxShowsAWrittenTextFromItsStart)
{
    auto* t = forms::makeControl<forms::TextBox>(host.get(), "Text1", 0, 0, 600, 300);
    host->show();
    const QString longer = QStringLiteral("0.000123456789012345");
    const struct {
        const char* before;
        std::function<void()> prepare;
        QString text;
    } cases[] = {
        {"an empty box", [] {}, longer},
        {"another text, cursor at its end", [t] { t->end(false); }, QStringLiteral("12345.678901234")},
        {"typing in the box", [t] { t->setFocus(); QTest::keyClicks(t, QStringLiteral("98765432101234")); },
         longer},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        c.prepare();
        t->setText(c.text);
        t->grab(); // lays the text out as it is drawn
        EXPECT_EQ(t->cursorPosition(), 0);
        EXPECT_LT(t->inputMethodQuery(Qt::ImCursorRectangle).toRect().left(), 8);
    }
}

// A cell copied from a spreadsheet comes with a line end; a one-line field
// keeps none, so what it shows is what the handlers read.
TEST_F(ControlsTest, OneLineFieldsKeepNoPastedLineEnd)
{
    struct Case {
        const char* pasted;
        const char* kept;
    };
    const Case cases[] = {
        {"3\n", "3"}, {"2\r\n", "2"}, {"\r4.5\r", "4.5"}, {"1\n2", "1 2"}, {"7\r\n\r\n", "7"},
        {"8\u2028", "8"}, {"9\u2029\n", "9"}, {"6\u0085", "6"}, {"5\v", "5"}, {"1\f2", "1 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.pasted));
        QGuiApplication::clipboard()->setText(QString::fromUtf8(c.pasted));

        auto* t = forms::makeControl<forms::TextBox>(host.get(), "Text1", 0, 0, 900, 300);
        QString seen;
        QObject::connect(t, &forms::TextBox::Change, host.get(), [&] { seen = t->Text(); });
        t->paste();
        EXPECT_EQ(t->Text(), QString::fromLatin1(c.kept));
        EXPECT_EQ(seen, QString::fromLatin1(c.kept));
        delete t;

        // The text part of a list the engineer may type in (a slope, a
        // diameter, a temperature).
        auto* list = forms::makeControl<forms::ComboBox>(host.get(), "Combo1", 0, 0, 900, 300,
                                                        ComboBox::Style::Editable);
        QString listSeen;
        QObject::connect(list, &forms::ComboBox::Change, host.get(), [&] { listSeen = list->Text(); });
        list->lineEdit()->paste();
        EXPECT_EQ(list->Text(), QString::fromLatin1(c.kept));
        EXPECT_EQ(listSeen, QString::fromLatin1(c.kept));
        delete list;
    }
}

TEST_F(ControlsTest, EditableListKeepsItsPromptWhenFilled)
{
    Counter c;
    ComboBox* box = combo(ComboBox::Style::Editable, c);
    box->setText(QStringLiteral("请选择管径"));
    EXPECT_EQ(c.changes, 1);
    box->AddItem(QStringLiteral("d200"));
    box->AddItem(QStringLiteral("d300"));
    EXPECT_EQ(box->Text(), QStringLiteral("请选择管径"));
    EXPECT_EQ(box->ListIndex(), -1);
    EXPECT_EQ(box->ListCount(), 2);
    EXPECT_EQ(box->List(5), QString());
    EXPECT_EQ(c.clicks, 0);
    EXPECT_EQ(c.changes, 1);
}

TEST_F(ControlsTest, EditableListPickRaisesClickButNoChange)
{
    Counter c;
    ComboBox* box = combo(ComboBox::Style::Editable, c);
    box->AddItem(QStringLiteral("a"));
    box->AddItem(QStringLiteral("b"));
    box->pick(1);
    EXPECT_EQ(box->Text(), QStringLiteral("b"));
    EXPECT_EQ(box->ListIndex(), 1);
    box->pick(1); // the entry already shown
    EXPECT_EQ(c.clicks, 2);
    EXPECT_EQ(c.changes, 0);
    // A write from code raises Change and no Click.
    box->setText(QStringLiteral("typed"));
    EXPECT_EQ(c.changes, 1);
    EXPECT_EQ(c.clicks, 2);
    EXPECT_EQ(box->ListIndex(), -1);
    // Emptying keeps quiet; the next write is a change.
    box->Clear();
    EXPECT_EQ(box->Text(), QString());
    EXPECT_EQ(box->ListCount(), 0);
    EXPECT_EQ(c.changes, 1);
}

// Two materials that differ only near the end of their names must be told
// apart in a field narrower than the names.
TEST_F(ControlsTest, EditableListShowsAPickedOrWrittenTextFromItsStart)
{
    Counter c;
    ComboBox* box = combo(ComboBox::Style::Editable, c);
    box->setWidth(1000);
    const QString names[] = {QStringLiteral("PP-R冷水管PN1.25MPa"), QStringLiteral("PP-R热水管PN2.5MPa")};
    for (const QString& name : names)
        box->AddItem(name);
    host->show();
    const auto shownFromStart = [box] {
        box->grab(); // lays the text out as it is drawn
        return box->lineEdit()->cursorPosition() == 0
            && box->lineEdit()->inputMethodQuery(Qt::ImCursorRectangle).toRect().left() < 8;
    };
    box->pick(0);
    EXPECT_TRUE(shownFromStart()) << "pick";
    box->pick(1);
    EXPECT_TRUE(shownFromStart()) << "second pick";
    box->setText(names[0]);
    EXPECT_TRUE(shownFromStart()) << "write from code";
    box->setListIndex(1);
    EXPECT_TRUE(shownFromStart()) << "selection from code";
}

TEST_F(ControlsTest, EditableListIgnoresEnterAndActivationFromQt)
{
    Counter c;
    ComboBox* box = combo(ComboBox::Style::Editable, c);
    box->AddItem(QStringLiteral("a"));
    box->AddItem(QStringLiteral("b"));
    box->setText(QStringLiteral("a"));
    EXPECT_EQ(box->ListIndex(), 0);
    EXPECT_EQ(c.clicks, 0) << "a write that names an entry is no pick";

    host->show();
    box->setFocus();
    // Typing, then Enter: a change, and no pick of the matching entry.
    box->lineEdit()->clear();
    QTest::keyClicks(box->lineEdit(), QStringLiteral("b"));
    EXPECT_EQ(c.changes, 2);
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(c.clicks, 0);
    EXPECT_EQ(box->ListIndex(), -1);
    EXPECT_EQ(box->Text(), QStringLiteral("b"));
    // The arrow keys pick an entry, moving on from the entry the list shows.
    QTest::keyClick(box, Qt::Key_Up);
    EXPECT_EQ(c.clicks, 1);
    EXPECT_EQ(box->ListIndex(), 0);
    EXPECT_EQ(box->Text(), QStringLiteral("a"));
}

TEST_F(ControlsTest, EditableListTypedEntryIsNoPickWhenTheFocusLeaves)
{
    Counter c;
    ComboBox* box = combo(ComboBox::Style::Editable, c);
    auto* other = forms::makeControl<forms::TextBox>(host.get(), "Text1", 0, 400, 900, 300);
    box->AddItem(QStringLiteral("钢衬塑复合管"));
    box->AddItem(QStringLiteral("普通钢管"));
    box->setText(QStringLiteral("钢衬塑复合管"));
    host->show();
    host->activateWindow();
    box->setFocus();
    QApplication::processEvents();
    // Typing an entry's text and leaving the list is a change, not a pick.
    box->lineEdit()->selectAll();
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("普通钢管"));
    QApplication::sendEvent(box->lineEdit(), &typed);
    other->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(c.clicks, 0);
    EXPECT_EQ(c.changes, 2);
    EXPECT_EQ(box->Text(), QStringLiteral("普通钢管"));
    EXPECT_EQ(box->ListIndex(), -1);
}

TEST_F(ControlsTest, PickOnlyListRaisesClickWhenCodeSelects)
{
    Counter c;
    ComboBox* box = combo(ComboBox::Style::PickOnly, c);
    box->AddItem(QStringLiteral("天津市"));
    box->AddItem(QStringLiteral("河  北"));
    EXPECT_EQ(box->ListIndex(), -1);
    EXPECT_EQ(box->Text(), QString());
    box->setText(QStringLiteral("河  北"));
    EXPECT_EQ(box->ListIndex(), 1);
    box->setListIndex(0);
    box->pick(0);
    EXPECT_EQ(c.clicks, 3);
    box->setText(QStringLiteral("河北")); // no such entry
    EXPECT_EQ(box->Text(), QStringLiteral("天津市"));
    EXPECT_EQ(c.clicks, 3);
    EXPECT_EQ(c.changes, 0);
}

TEST_F(ControlsTest, ListBoxSelectionAndRemoval)
{
    auto* list = forms::makeControl<forms::ListBox>(host.get(), "List1", 0, 0, 1500, 1500);
    int clicks = 0;
    int doubles = 0;
    QObject::connect(list, &forms::ListBox::Click, host.get(), [&] { ++clicks; });
    QObject::connect(list, &forms::ListBox::DblClick, host.get(), [&] { ++doubles; });
    for (const char* s : {"30", "40", "50"})
        list->AddItem(QString::fromLatin1(s));
    EXPECT_EQ(list->ListIndex(), -1);
    EXPECT_EQ(clicks, 0);
    list->clickLine(1);
    EXPECT_EQ(clicks, 1);
    list->RemoveItem(1);
    EXPECT_EQ(list->ListIndex(), -1) << "removing the selected line leaves none selected";
    EXPECT_EQ(list->ListCount(), 2);
    list->setList(1, QStringLiteral("55"));
    EXPECT_EQ(list->List(1), QStringLiteral("55"));
    EXPECT_EQ(list->List(9), QString());
    list->doubleClickLine(0);
    EXPECT_EQ(doubles, 1);
    list->Clear();
    EXPECT_EQ(list->ListCount(), 0);
}

TEST_F(ControlsTest, OptionButtonsClickOnlyWhenSelectedAnew)
{
    auto* a = forms::makeControl<forms::OptionButton>(host.get(), "Option1", 0, 0, 1000, 300);
    auto* b = forms::makeControl<forms::OptionButton>(host.get(), "Option2", 0, 400, 1000, 300);
    int aClicks = 0;
    int bClicks = 0;
    QObject::connect(a, &forms::OptionButton::Click, host.get(), [&] { ++aClicks; });
    QObject::connect(b, &forms::OptionButton::Click, host.get(), [&] { ++bClicks; });
    a->setValue(true);
    a->setValue(true);
    EXPECT_EQ(aClicks, 1);
    b->setValue(true);
    EXPECT_FALSE(a->Value());
    EXPECT_EQ(bClicks, 1);
    b->setValue(false);
    EXPECT_FALSE(a->Value());
    EXPECT_FALSE(b->Value()) << "code may leave the group with none selected";
}

// The runtime draws a frame's border through the middle of its caption, so
// that fields placed a little below the frame's top lie inside it.
TEST_F(ControlsTest, FrameBorderRunsThroughTheMiddleOfItsCaption)
{
    auto* frame = forms::makeControl<forms::Frame>(host.get(), "Frame1", 0, 0, 3000, 1200);
    frame->setCaption(QStringLiteral("计算结果"));
    auto* field = forms::makeControl<forms::TextBox>(frame, "Text9", 1575, 225, 735, 300);
    host->resize(300, 100);
    host->show();
    const QImage image = frame->grab().toImage();
    const int background = frame->palette().color(QPalette::Window).lightness();
    const auto dark = [&](int x, int y) { return image.pixelColor(x, y).lightness() < background - 30; };
    const int middle = QFontMetrics(frame->font()).height() / 2;
    EXPECT_EQ(frame->borderTop(), middle);

    // The top line, right of the caption, is the first line drawn.
    const int right = image.width() - 5;
    int line = -1;
    for (int y = 0; y < image.height() && line < 0; ++y)
        if (dark(right, y))
            line = y;
    EXPECT_EQ(line, middle);
    EXPECT_LT(line, field->y()) << "the field lies inside the border";

    // The caption starts a small inset from the frame's left, on the line.
    int captionLeft = -1;
    for (int x = 2; x < image.width() / 2 && captionLeft < 0; ++x)
        for (int y = 0; y < middle * 2; ++y)
            if (y != line && dark(x, y)) {
                captionLeft = x;
                break;
            }
    EXPECT_GE(captionLeft, forms::px(forms::Frame::kCaptionInsetTwips));
    EXPECT_LE(captionLeft, forms::px(forms::Frame::kCaptionInsetTwips) + 3);

    // Without a caption the border starts at the top.
    frame->setCaption(QString());
    EXPECT_EQ(frame->borderTop(), 0);
    const QImage bare = frame->grab().toImage();
    EXPECT_LT(bare.pixelColor(right, 0).lightness(), background - 30);
}

TEST_F(ControlsTest, RuntimeColours)
{
    EXPECT_EQ(forms::color(0x00FF0000), QColor(0, 0, 255));
    EXPECT_EQ(forms::color(0x000000FF), QColor(255, 0, 0));
    EXPECT_EQ(forms::color(0x00808080), QColor(128, 128, 128));
    EXPECT_EQ(forms::color(0x8000000F), QApplication::palette().color(QPalette::Button));
}

// A platform on which timers run on the wall clock, as in the program.
class ClockPlatform final : public forms::Platform {
public:
    int messageBox(const QString&, int, const QString&) override { return forms::vbOK; }
    std::optional<QString> fileDialog(const forms::FileDialogRequest&) override { return std::nullopt; }
    QString findProgram(const QString&) override { return QString(); }
    bool startDetached(const QString&, const QStringList&) override { return false; }
    void endProgram() override {}
    bool timersRun() const override { return true; }
    void raiseWindow(QWidget&) override {}
};

// Under the tests' platform no timer counts, so a tick comes only from a
// test that calls the tick handler; on a platform whose timers run, the
// same timer counts while it is enabled.
TEST_F(ControlsTest, TimersDoNotTickUnderTests)
{
    forms::Timer timer;
    timer.setInterval(1);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_FALSE(timer.isCounting());

    ClockPlatform clock;
    forms::Platform* tests = forms::setPlatform(&clock);
    forms::Timer running;
    running.setInterval(500);
    const bool countsWhenEnabled = running.isCounting();
    running.setEnabled(false);
    const bool countsWhenDisabled = running.isCounting();
    forms::setPlatform(tests);
    EXPECT_TRUE(countsWhenEnabled);
    EXPECT_FALSE(countsWhenDisabled);
}

TEST_F(ControlsTest, RuntimeFileFiltersBecomeQtFilters)
{
    EXPECT_EQ(forms::dialogFilters(QStringLiteral("(*.txt)|*.txt|(*.dat)|*.dat|(*.*)|*.*")),
              (QStringList{"(*.txt) (*.txt)", "(*.dat) (*.dat)", "(*.*) (*.*)"}));
}

// The dialog's list of file types shows each runtime description once.
TEST_F(ControlsTest, FileDialogShowsEachFilterDescriptionOnce)
{
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    forms::FileDialogRequest request;
    request.mode = forms::FileDialogRequest::Mode::Save;
    request.filter = QStringLiteral("(*.txt)|*.txt|(*.dat)|*.dat|(*.*)|*.*");
    request.filterIndex = 2;
    forms::prepareFileDialog(dialog, request);
    auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    QStringList shown;
    for (int i = 0; i < types->count(); ++i)
        shown << types->itemText(i);
    EXPECT_EQ(shown, (QStringList{"(*.txt)", "(*.dat)", "(*.*)"}));
    EXPECT_EQ(types->currentText(), QStringLiteral("(*.dat)"));
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
}

// A message box is at least as wide as its title in the program's font plus
// the title bar's icon and buttons, whatever its text: the title bar shows
// the title whole.
TEST_F(ControlsTest, MessageBoxesAreWideEnoughForTheirTitles)
{
    const QString titles[] = {QStringLiteral("确认数据正确性"), QStringLiteral("确认"),
                              QStringLiteral("提示"), QStringLiteral("警告"), QString()};
    const QFontMetrics fm(QApplication::font());
    for (const QString& title : titles) {
        SCOPED_TRACE(title.toStdString());
        QMessageBox box;
        forms::prepareMessageBox(box, QStringLiteral("1"), forms::vbOKOnly | forms::vbCritical,
                                 title);
        box.show();
        forms::testing::snapshot(box, QStringLiteral("msgbox-") + title);
        EXPECT_GE(box.width(), fm.horizontalAdvance(box.windowTitle()) + 120);
        box.close();
    }
}

TEST_F(ControlsTest, ScriptedMessageBoxesAreRecordedAndAnswered)
{
    platform().answerMessageBox(forms::vbCancel);
    EXPECT_EQ(forms::MsgBox(QStringLiteral("继续请按确定"), forms::vbOKCancel | forms::vbCritical | forms::vbDefaultButton2,
                            QStringLiteral("警告")),
              forms::vbCancel);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].style, 1 + 16 + 256);
}

} // namespace

// A double click as the window system delivers it (press, release, double
// click, release) is one Click and one DblClick: no second Click for the
// release that ends it. A later press is a click again.
TEST_F(ControlsTest, DoubleClickIsOneClickThenOneDoubleClick)
{
    auto* t = forms::makeControl<forms::TextBox>(host.get(), "Text1", 0, 0, 900, 300);
    auto* label = forms::makeControl<forms::Label>(host.get(), "Label1", 0, 400, 900, 300);
    label->setCaption(QStringLiteral("流量"));
    host->show();
    QApplication::processEvents();
    QWindow* window = host->windowHandle();
    ASSERT_NE(window, nullptr);
    for (QWidget* w : {static_cast<QWidget*>(t), static_cast<QWidget*>(label)}) {
        SCOPED_TRACE(w->objectName().toStdString());
        int clicks = 0;
        int doubles = 0;
        if (auto* box = qobject_cast<forms::TextBox*>(w)) {
            QObject::connect(box, &forms::TextBox::Click, host.get(), [&] { ++clicks; });
            QObject::connect(box, &forms::TextBox::DblClick, host.get(), [&] { ++doubles; });
        } else {
            auto* l = qobject_cast<forms::Label*>(w);
            QObject::connect(l, &forms::Label::Click, host.get(), [&] { ++clicks; });
            QObject::connect(l, &forms::Label::DblClick, host.get(), [&] { ++doubles; });
        }
        const QPoint inside = w->mapTo(host.get(), QPoint(5, 5));
        QTest::mouseDClick(window, Qt::LeftButton, Qt::NoModifier, inside);
        EXPECT_EQ(clicks, 1);
        EXPECT_EQ(doubles, 1);
        QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, inside);
        EXPECT_EQ(clicks, 2);
        EXPECT_EQ(doubles, 1);
    }
}
