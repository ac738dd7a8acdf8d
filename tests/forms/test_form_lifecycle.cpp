// Windows' default instances, showing and hiding, unloading and ending.
#include "forms/form.h"
#include "forms/platform.h"
#include "forms/testing/fixture.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>
#include <map>

using forms::testing::FormsTest;

namespace {

int g_loads = 0;
int g_unloads = 0;

class Probe : public forms::Form {
public:
    Probe()
        : forms::Form(QStringLiteral("探针"), 3000, 2000, forms::BorderStyle::FixedSingle)
    {
        Text1 = add<forms::TextBox>("Text1", 100, 100, 1000, 300);
    }
    void Form_Load() override
    {
        ++g_loads;
        // A load handler may refer to its own default instance.
        loadedSelf = &forms::defaultInstance<Probe>() == this;
    }
    void Form_Unload(int& cancel) override
    {
        ++g_unloads;
        cancel = keep ? 1 : 0;
    }
    void Form_Resize() override { ++resizes; }

    forms::TextBox* Text1;
    bool keep = false;
    bool loadedSelf = false;
    int resizes = 0;
};

class Ender : public forms::Form {
public:
    Ender()
        : forms::Form(QStringLiteral("终"), 1000, 1000)
    {
    }
    void Form_Unload(int&) override { forms::endProgram(); }
};

class FormLifecycleTest : public FormsTest {
protected:
    void SetUp() override
    {
        FormsTest::SetUp();
        g_loads = 0;
        g_unloads = 0;
    }
};

TEST_F(FormLifecycleTest, DefaultInstanceLoadsOnceOnFirstReference)
{
    Probe& p = forms::defaultInstance<Probe>();
    EXPECT_EQ(g_loads, 1);
    EXPECT_TRUE(p.loadedSelf);
    EXPECT_FALSE(p.isVisible()) << "loading does not show the window";
    EXPECT_EQ(&forms::defaultInstance<Probe>(), &p);
    EXPECT_EQ(g_loads, 1);
}

TEST_F(FormLifecycleTest, HideAndShowKeepState)
{
    Probe& p = forms::defaultInstance<Probe>();
    p.Show();
    p.Text1->setText(QStringLiteral("12.5"));
    p.Hide();
    EXPECT_FALSE(p.isVisible());
    p.Show();
    EXPECT_TRUE(p.isVisible());
    EXPECT_EQ(p.Text1->Text(), QStringLiteral("12.5"));
    EXPECT_EQ(g_loads, 1);
}

TEST_F(FormLifecycleTest, UnloadGivesAFreshInstanceOnNextReference)
{
    Probe& p = forms::defaultInstance<Probe>();
    p.Text1->setText(QStringLiteral("x"));
    EXPECT_TRUE(p.Unload());
    EXPECT_EQ(g_unloads, 1);
    Probe& q = forms::defaultInstance<Probe>();
    EXPECT_EQ(g_loads, 2);
    EXPECT_EQ(q.Text1->Text(), QString());
}

TEST_F(FormLifecycleTest, UnloadHandlerCanKeepTheWindow)
{
    Probe& p = forms::defaultInstance<Probe>();
    p.keep = true;
    EXPECT_FALSE(p.Unload());
    EXPECT_EQ(&forms::defaultInstance<Probe>(), &p);
    p.Show();
    p.close();
    EXPECT_TRUE(p.isVisible()) << "the close box is refused too";
    EXPECT_EQ(g_loads, 1);
}

TEST_F(FormLifecycleTest, EndingRunsNoOtherUnloadHandler)
{
    forms::defaultInstance<Probe>().Show();
    Ender& e = forms::defaultInstance<Ender>();
    int cancel = 0;
    EXPECT_TRUE(endsProgram([&] { e.Form_Unload(cancel); }));
    EXPECT_EQ(g_unloads, 0);
}

TEST_F(FormLifecycleTest, TwipsGeometryAndResize)
{
    Probe& p = forms::defaultInstance<Probe>();
    EXPECT_DOUBLE_EQ(p.ScaleWidth(), 3000);
    EXPECT_DOUBLE_EQ(p.ScaleHeight(), 2000);
    EXPECT_EQ(p.client()->width(), 200);
    EXPECT_EQ(p.client()->height(), 133);
    const int before = p.resizes;
    p.setHeight(5000);
    EXPECT_DOUBLE_EQ(p.Height(), 5000);
    EXPECT_EQ(p.resizes, before + 1);
    p.setTop((forms::Form::ScreenHeight() - p.Height()) / 2);
    EXPECT_DOUBLE_EQ(p.Top(), (forms::Form::ScreenHeight() - 5000) / 2);
    // Controls keep fractions of a pixel in twips.
    p.Text1->setTop(100 - 37.5);
    p.Text1->setTop(p.Text1->Top() - 37.5);
    EXPECT_DOUBLE_EQ(p.Text1->Top(), 25);
}

TEST_F(FormLifecycleTest, DefaultAndCancelButtons)
{
    Probe& p = forms::defaultInstance<Probe>();
    auto* ok = p.add<forms::CommandButton>("Command1", 100, 500, 800, 300);
    auto* quit = p.add<forms::CommandButton>("Command2", 1000, 500, 800, 300);
    int oks = 0;
    int quits = 0;
    QObject::connect(ok, &forms::CommandButton::Click, &p, [&] { ++oks; });
    QObject::connect(quit, &forms::CommandButton::Click, &p, [&] { ++quits; });
    EXPECT_FALSE(p.pressKey(Qt::Key_Return)) << "no default button yet";
    p.setDefaultButton(ok);
    p.setCancelButton(quit);
    p.Show();
    EXPECT_TRUE(p.pressKey(Qt::Key_Return));
    EXPECT_TRUE(p.pressKey(Qt::Key_Escape));
    EXPECT_EQ(oks, 1);
    EXPECT_EQ(quits, 1);
    ok->setEnabled(false);
    EXPECT_FALSE(p.pressKey(Qt::Key_Return));
}

// Enter presses the command button that has the focus; from any other
// control, the window's default button.
TEST_F(FormLifecycleTest, EnterPressesTheFocusedButtonElseTheDefault)
{
    Probe& p = forms::defaultInstance<Probe>();
    auto* ok = p.add<forms::CommandButton>("Command1", 100, 500, 800, 300);
    auto* other = p.add<forms::CommandButton>("Command2", 1000, 500, 800, 300);
    std::map<QWidget*, int> presses;
    for (forms::CommandButton* button : {ok, other})
        QObject::connect(button, &forms::CommandButton::Click, &p, [&presses, button] {
            ++presses[button];
        });
    p.setDefaultButton(ok);
    p.Show();
    const struct {
        QWidget* focus;
        QWidget* pressed;
    } cases[] = {{p.Text1, ok}, {other, other}, {ok, ok}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.focus->objectName().toStdString());
        presses.clear();
        c.focus->setFocus();
        ASSERT_EQ(p.focusWidget(), c.focus);
        EXPECT_TRUE(p.pressKey(Qt::Key_Return));
        EXPECT_EQ(presses, (std::map<QWidget*, int>{{c.pressed, 1}}));
    }
}

} // namespace

namespace {

// A window opens inside the screen's available area, as far as it fits: one
// wider or taller than a scaled screen keeps its title bar and left edge on
// the screen, one moved past an edge by code comes back inside.
TEST_F(FormLifecycleTest, WindowsOpenInsideTheScreensAvailableArea)
{
    struct Case {
        const char* name;
        double clientWidth, clientHeight, left, top; // twips; NaN: centred
    };
    const double screenW = forms::Form::ScreenWidth();
    const double screenH = forms::Form::ScreenHeight();
    const Case cases[] = {
        {"wider and taller than the screen, centred", screenW + 3000, screenH + 3000, NAN, NAN},
        {"past the right and bottom edges", 3000, 2000, screenW - 1500, screenH - 900},
        {"above and left of the screen", 3000, 2000, -2000, -600},
    };
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        forms::Form window(QStringLiteral("探针"), c.clientWidth, c.clientHeight,
                           forms::BorderStyle::FixedSingle);
        if (!std::isnan(c.left))
            window.Move(c.left, c.top);
        window.Show();
        const QRect frame = window.frameGeometry();
        EXPECT_GE(frame.left(), area.left());
        EXPECT_GE(frame.top(), area.top());
        if (frame.width() <= area.width()) {
            EXPECT_LE(frame.right(), area.right());
        }
        if (frame.height() <= area.height()) {
            EXPECT_LE(frame.bottom(), area.bottom());
        }
    }
}

} // namespace
