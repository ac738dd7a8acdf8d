// A handler that fails does not end the program: its boundary tells the user
// why in a critical message box, and the window takes the next click as
// before. A handler that ends the program stops quietly at its boundary.
#include "forms/application.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/handler.h"
#include "forms/platform.h"
#include "forms/testing/fixture.h"

#include <QTest>

#include <functional>
#include <new>
#include <stdexcept>

using forms::testing::FormsTest;

namespace {

// A window whose "计 算" runs what the test gives it and then counts the click.
class Calculator : public forms::Form {
public:
    Calculator()
        : forms::Form(QStringLiteral("探针"), 3000, 1500, forms::BorderStyle::FixedSingle)
    {
        Command1 = add<forms::CommandButton>("Command1", 120, 900, 900, 360);
        Command1->setCaption(QStringLiteral("计 算"));
        Command2 = add<forms::CommandButton>("Command2", 1200, 900, 900, 360);
        Command2->setCaption(QStringLiteral("退出"));
        forms::connectHandler(Command1, &forms::CommandButton::Click, this, [this] {
            if (fault)
                fault();
            ++completed;
        });
        forms::connectHandler(Command2, &forms::CommandButton::Click, this, [] { forms::endProgram(); });
        Text1 = add<forms::TextBox>("Text1", 120, 120, 1200, 300);
        Combo1 = add<forms::ComboBox>("Combo1", 120, 480, 1200, 300, forms::ComboBox::Style::Editable);
        Combo2 = add<forms::ComboBox>("Combo2", 1500, 480, 1200, 300, forms::ComboBox::Style::PickOnly);
        Combo2->AddItem(QStringLiteral("铸铁管"));
    }

    std::function<void()> fault;
    int completed = 0;
    forms::CommandButton* Command1;
    forms::CommandButton* Command2;
    forms::TextBox* Text1;
    forms::ComboBox* Combo1;
    forms::ComboBox* Combo2;
};

class ApplicationTest : public FormsTest {
protected:
    void SetUp() override
    {
        FormsTest::SetUp();
        window.Show();
    }
    void click(forms::CommandButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    Calculator window;
};

TEST_F(ApplicationTest, AFailedHandlerIsReportedAndTheWindowWorksOn)
{
    struct Row {
        const char* name;
        std::function<void()> fault;
        QString message;
    };
    const Row rows[] = {
        {"memory short", [] { throw std::bad_alloc(); }, QStringLiteral("操作未能完成：内存不足。")},
        {"a fault with its own text", [] { throw std::runtime_error("vector too long"); },
         QStringLiteral("操作未能完成：vector too long")},
        {"something that is no exception", [] { throw 42; }, QStringLiteral("操作未能完成：程序内部出错。")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        platform().reset();
        window.completed = 0;
        window.fault = row.fault;
        platform().answerMessageBox(forms::vbOK);
        click(window.Command1);
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, row.message);
        EXPECT_EQ(boxes()[0].title, QStringLiteral("Vantor_Tools"));
        EXPECT_EQ(boxes()[0].style, forms::vbOKOnly | forms::vbCritical);
        EXPECT_EQ(window.completed, 0);

        window.fault = nullptr;
        click(window.Command1);
        EXPECT_EQ(window.completed, 1);
        EXPECT_EQ(boxes().size(), 1u);
    }
}

TEST_F(ApplicationTest, EndingTheProgramPassesThroughUntold)
{
    bool unwound = false;
    try {
        click(window.Command2);
    } catch (const forms::ProgramEnding&) {
        unwound = true;
    }
    EXPECT_FALSE(unwound) << "the end passed through Qt's dispatch";
    EXPECT_TRUE(platform().programEnded());
    EXPECT_TRUE(boxes().empty());
}

// A desktop theme that sets its own font and colours on the application (as
// theme plug-ins do once the event loop runs) changes neither: the layouts
// are fixed for the program's font.
TEST_F(ApplicationTest, DesktopThemeFontAndPaletteDoNotReplaceTheProgramsOwn)
{
    const QFont font = QApplication::font();
    const QPalette palette = QApplication::palette();
    const QFont labelFont = window.Command1->font();
    QFont themeFont(QStringLiteral("DejaVu Sans"), 12);
    QApplication::setFont(themeFont);
    QApplication::setPalette(QPalette(QColor(0x30, 0x30, 0x30)));
    QApplication::processEvents();
    EXPECT_EQ(QApplication::font(), font);
    EXPECT_EQ(window.Command1->font(), labelFont);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), palette.color(QPalette::Window));
    EXPECT_EQ(QApplication::palette().color(QPalette::WindowText),
              palette.color(QPalette::WindowText));
}

} // namespace

namespace {

// A fault in a handler reached through the forms layer's own connections
// (the dropping of pasted line ends, a pick from a list) stops at the
// boundary too, and the control takes the next edit as before.
TEST_F(ApplicationTest, AFaultBehindTheControlsOwnConnectionsIsReported)
{
    forms::TextBox* text = window.Text1;
    forms::ComboBox* typed = window.Combo1;
    forms::ComboBox* picked = window.Combo2;
    struct Row {
        const char* name;
        std::function<void(QObject* context, const std::function<void()>& handler)> reach;
        std::function<void()> act;
    };
    const Row rows[] = {
        {"typing into a text box",
         [&](QObject* context, const std::function<void()>& handler) {
             QObject::connect(text, &forms::TextBox::Change, context, handler);
         },
         [&] { QTest::keyClick(text, Qt::Key_1); }},
        {"typing into a drop-down list's text",
         [&](QObject* context, const std::function<void()>& handler) {
             QObject::connect(typed, &forms::ComboBox::Change, context, handler);
         },
         [&] { QTest::keyClick(typed->lineEdit(), Qt::Key_1); }},
        {"picking from a list",
         [&](QObject* context, const std::function<void()>& handler) {
             QObject::connect(picked, &forms::ComboBox::Click, context, handler);
         },
         [&] { Q_EMIT picked->activated(0); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        platform().reset();
        platform().answerMessageBox(forms::vbOK);
        bool failing = true;
        int completed = 0;
        QObject context;
        row.reach(&context, [&] {
            if (failing)
                throw std::runtime_error("vector too long");
            ++completed;
        });
        row.act();
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, QStringLiteral("操作未能完成：vector too long"));
        EXPECT_EQ(completed, 0);

        failing = false;
        row.act();
        EXPECT_EQ(completed, 1);
        EXPECT_EQ(boxes().size(), 1u);
    }
}

} // namespace
