// The storm windows show their figures whole: the storm water window's
// results and check panel for the worked example and the extremes of the
// input ranges, and the head both storm windows share.
#include "app/windows.h"
#include "forms/testing/clipped_texts.h"
#include "forms/testing/fixture.h"
#include "forms/testing/lists.h"
#include "forms/testing/text.h"
#include "storm/storm_water_form.h"
#include "storm_network/storm_sewer_network_form.h"

#include <QFontMetrics>
#include <QMenuBar>

#include <gtest/gtest.h>

#include <string>

using forms::testing::clippedTexts;
using forms::testing::FormsTest;
using forms::testing::pickText;
using forms::testing::S;

namespace {

// Pixels between the bottom of the window's menu bar and the top of `control`.
int belowMenuBar(const forms::Form& window, const QWidget& control)
{
    int menuBottom = 0;
    for (const QMenuBar* bar : window.menuBars())
        menuBottom = std::max(menuBottom, bar->mapTo(&window, QPoint(0, bar->height())).y());
    return control.mapTo(&window, QPoint(0, 0)).y() - menuBottom;
}

// Pixels between the end of a label's caption and the control right of it.
int afterCaption(const forms::Label& label, const QWidget& right)
{
    const int captionEnd = label.x() + QFontMetrics(label.font()).horizontalAdvance(label.Caption());
    return right.x() - captionEnd;
}

class StormLayoutTest : public FormsTest {};

// Design inputs and the results they give, from the worked example to the
// ends of the ranges the window takes.
struct DesignCase {
    const char* name;
    const char* city;
    const char* returnPeriod;
    const char* duration;
    const char* area;
    const char* runoff;
    const char* pipeCount;
};

const DesignCase kDesignCases[] = {
    {"worked example", "天津市", "1", "10", "10000", "0.9", "2"},
    {"fifteen digits", "天津市", "2", "20", "12345.678", "0.65", "3"},
    {"largest flows", "天津市", "1000", "0.001", "1e7", "1", "1"},
    {"small flows", "天津市", "1", "120", "5", "0.15", "1"},
    {"small roof", "北京市", "0.25", "5", "1", "0.9", "7"},
};

TEST_F(StormLayoutTest, StormWaterResultsShowWhole)
{
    for (const DesignCase& c : kDesignCases) {
        SCOPED_TRACE(c.name);
        forms::destroyAllDefaultInstances();
        StormWaterForm& w = form2();
        w.Show();
        pickText(*w.Combo6, S(c.city));
        w.Text12->setText(S(c.returnPeriod));
        w.Text11->setText(S(c.duration));
        w.Text13->setText(S(c.area));
        w.Text14->setText(S(c.runoff));
        w.Text9->setText(S(c.pipeCount));
        w.Command1->press();
        ASSERT_TRUE(boxes().empty());
        ASSERT_FALSE(w.Text4->Text().isEmpty());
        const QStringList clipped = clippedTexts(w);
        EXPECT_TRUE(clipped.isEmpty()) << clipped.join(QStringLiteral("; ")).toStdString();
    }
}

TEST_F(StormLayoutTest, CheckPanelResultsShowWhole)
{
    struct Case {
        const char* diameter;
        const char* slope;
    };
    // The worked check, the largest pipe of the list at the steepest slope
    // of the list, and the largest pipe typed at the steepest slope taken.
    const Case cases[] = {{"d300", "3.0"}, {"d3000", "100"}, {"d5000", "1000"}};
    StormWaterForm& w = form2();
    w.Show();
    w.Command3->press();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.diameter);
        w.Combo1->setText(S(c.diameter));
        w.Combo2->setText(S(c.slope));
        w.Command4->press();
        ASSERT_TRUE(boxes().empty());
        ASSERT_FALSE(w.Text20->Text().isEmpty());
        const QStringList clipped = clippedTexts(w);
        EXPECT_TRUE(clipped.isEmpty()) << clipped.join(QStringLiteral("; ")).toStdString();
    }
}

// The city frame's caption keeps clear of the menu bar in both storm
// windows, and the network window's "起点汇流时间t1" of its field.
TEST_F(StormLayoutTest, HeadCaptionsKeepClearOfWhatIsAround)
{
    StormWaterForm& w = form2();
    w.Show();
    EXPECT_GE(belowMenuBar(w, *w.Frame3), 4);
    StormSewerNetworkForm& n = form13();
    n.Show();
    EXPECT_GE(belowMenuBar(n, *n.Frame3), 4);
    EXPECT_GE(afterCaption(*n.Label12, *n.Text3), 6);
    EXPECT_GE(afterCaption(*w.Label3, *w.Text11), 6);
    EXPECT_GE(afterCaption(*w.Label13, *w.Text2), 2);
    EXPECT_TRUE(clippedTexts(n).isEmpty()) << clippedTexts(n).join(QStringLiteral("; ")).toStdString();
}

}  // namespace
