// What a window's own event overrides set off runs inside the handler
// boundary: a fault there becomes the critical message box, and the window
// works on.
#include "app/windows.h"
#include "forms/testing/fixture.h"
#include "storm/storm_water_form.h"

#include <QObject>

#include <stdexcept>

#include <gtest/gtest.h>

using forms::testing::FormsTest;

namespace {

using EventBoundaryTest = FormsTest;

// form2 selects "手工逐段计算" each time it is shown.
TEST_F(EventBoundaryTest, AFaultSetOffByShowingTheStormWaterWindowIsReported)
{
    StormWaterForm& w = form2();
    w.Show();
    for (const bool failing : {true, false}) {
        SCOPED_TRACE(failing ? "failing" : "after the failure");
        platform().reset();
        if (failing)
            platform().answerMessageBox(forms::vbOK);
        w.Hide();
        w.Option3->setValue(false);
        int reached = 0;
        QObject context;
        QObject::connect(w.Option3, &forms::OptionButton::Click, &context, [&] {
            ++reached;
            if (failing)
                throw std::runtime_error("vector too long");
        });
        w.Show();
        EXPECT_TRUE(w.isVisible());
        EXPECT_TRUE(w.Option3->Value());
        EXPECT_EQ(reached, 1);
        ASSERT_EQ(boxes().size(), failing ? 1u : 0u);
        if (failing) {
            EXPECT_EQ(boxes()[0].text, QStringLiteral("操作未能完成：vector too long"));
        }
    }
}

} // namespace
