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
    }

    std::function<void()> fault;
    int completed = 0;
    forms::CommandButton* Command1;
    forms::CommandButton* Command2;
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
