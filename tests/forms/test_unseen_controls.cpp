// Working fields the user never sees: below the client area, outside their
// frame, or not visible. They take no focus, typing, pastes or clicks, in
// every window; a field that comes into view takes them again.
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/testing/fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

using forms::testing::FormsTest;

namespace {

// A window laid out like the splash: a frame with a field at the top, and a
// strip of working fields below what the window shows.
class StripForm : public forms::Form {
public:
    StripForm()
        : forms::Form(QString(), 3000, 3000, forms::BorderStyle::FixedDialogNoTitle)
    {
        Frame1 = add<forms::Frame>("Frame1", 0, 0, 3000, 1500);
        Seen = addIn<forms::TextBox>(Frame1, "Seen", 100, 300, 1000, 300);
        Seen->setText(QStringLiteral("1"));
        OutsideFrame = addIn<forms::TextBox>(Frame1, "OutsideFrame", 100, 1600, 1000, 300);
        OutsideFrame->setText(QStringLiteral("1.4"));
        Below = add<forms::TextBox>("Below", 100, 2500, 1000, 300);
        Below->setText(QStringLiteral("1.4"));
        Hidden = add<forms::TextBox>("Hidden", 1500, 300, 1000, 300);
        Hidden->setText(QStringLiteral("1.4"));
        Hidden->hide();
        for (forms::TextBox* field : {Seen, OutsideFrame, Below, Hidden}) {
            connect(field, &forms::TextBox::Click, this, [this] { ++clicks; });
            connect(field, &forms::TextBox::DblClick, this, [this] { ++clicks; });
        }
    }
    // Only the frame shows; the strip below it is cut off.
    void Form_Load() override { setHeight(1600); }

    // The working fields the user never sees.
    QList<forms::TextBox*> unseen() const { return {OutsideFrame, Below, Hidden}; }

    forms::Frame* Frame1;
    forms::TextBox* Seen;
    forms::TextBox* OutsideFrame;
    forms::TextBox* Below;
    forms::TextBox* Hidden;
    int clicks = 0;
};

// The same, with nothing the user sees that could take the focus.
class BareStripForm : public StripForm {
public:
    BareStripForm() { Seen->setEnabled(false); }
};

class UnseenControlsTest : public FormsTest {
protected:
    template <class F>
    static F& shown()
    {
        F& f = forms::defaultInstance<F>();
        f.Show();
        f.activateWindow();
        QApplication::processEvents();
        return f;
    }
};

TEST_F(UnseenControlsTest, OnlyTheFieldsInViewAreSeen)
{
    StripForm& f = shown<StripForm>();
    EXPECT_TRUE(forms::seenByUser(f.Seen));
    EXPECT_TRUE(forms::seenByUser(f.Frame1));
    for (const forms::TextBox* field : f.unseen())
        EXPECT_FALSE(forms::seenByUser(field)) << field->objectName().toStdString();
}

// The splash shown again: its window holds nothing the user can type into,
// so no field takes the focus and typing or a paste changes nothing.
TEST_F(UnseenControlsTest, AWindowOfWorkingFieldsGivesNoneTheFocus)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("8.09E-291"));
    BareStripForm& f = shown<BareStripForm>();
    QWidget* focus = QApplication::focusWidget();
    EXPECT_TRUE(focus == nullptr || focus->window() != &f)
        << focus->objectName().toStdString() << " took the focus";
    // The keyboard goes to the window's focus field, if it has one.
    QWidget* keyboard = f.focusWidget() ? f.focusWidget() : &f;
    QTest::keyClicks(keyboard, QStringLiteral("9"));
    QTest::keyClick(keyboard, Qt::Key_V, Qt::ControlModifier);
    for (const forms::TextBox* field : f.unseen())
        EXPECT_EQ(field->Text(), QStringLiteral("1.4")) << field->objectName().toStdString();
}

TEST_F(UnseenControlsTest, KeysPastesAndClicksSentToAWorkingFieldAreRefused)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("8.09E-291"));
    StripForm& f = shown<StripForm>();
    for (forms::TextBox* field : f.unseen()) {
        SCOPED_TRACE(field->objectName().toStdString());
        QTest::keyClicks(field, QStringLiteral("12"));
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::mouseClick(field, Qt::LeftButton);
        QTest::mouseDClick(field, Qt::LeftButton);
        EXPECT_EQ(field->Text(), QStringLiteral("1.4"));
        EXPECT_NE(QApplication::focusWidget(), field);
    }
    EXPECT_EQ(f.clicks, 0);
}

TEST_F(UnseenControlsTest, FocusGivenToAWorkingFieldPassesToTheNextFieldInView)
{
    StripForm& f = shown<StripForm>();
    for (forms::TextBox* field : f.unseen()) {
        SCOPED_TRACE(field->objectName().toStdString());
        field->setFocus(Qt::OtherFocusReason);
        EXPECT_EQ(QApplication::focusWidget(), f.Seen);
    }
    // Tab and back-tab go round the fields in view only.
    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), key);
            EXPECT_EQ(QApplication::focusWidget(), f.Seen);
        }
    }
}

// The storm water window's check panel lies below the client area until the
// window grows to show it: its fields then take focus and typing.
TEST_F(UnseenControlsTest, AFieldThatComesIntoViewTakesFocusAndTyping)
{
    StripForm& f = shown<StripForm>();
    f.setHeight(3090);
    EXPECT_TRUE(forms::seenByUser(f.Below));
    f.Below->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(QApplication::focusWidget(), f.Below);
    f.Below->selectAll();
    QTest::keyClicks(f.Below, QStringLiteral("12"));
    EXPECT_EQ(f.Below->Text(), QStringLiteral("12"));
    QTest::mouseClick(f.Below, Qt::LeftButton);
    EXPECT_EQ(f.clicks, 1);
}

} // namespace
