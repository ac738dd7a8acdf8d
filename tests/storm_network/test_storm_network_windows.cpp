// The storm sewer network windows as far as the storm water window and the
// shell reach them: captions with the version, the segment list's three
// columns and its way back to the network window.
#include "app/windows.h"
#include "forms/testing/fixture.h"
#include "forms/testing/text.h"
#include "storm_network/storm_result_grid_form.h"
#include "storm_network/storm_segment_adjust_dialog.h"
#include "storm_network/storm_segment_list_form.h"
#include "storm_network/storm_sewer_network_form.h"
#include "version/version.h"

#include <gtest/gtest.h>

using forms::testing::FormsTest;
using forms::testing::S;

namespace {

class StormNetworkWindowsTest : public FormsTest {};

TEST_F(StormNetworkWindowsTest, CaptionsCarryTheVersion)
{
    struct Case {
        forms::Form& (*window)();
        const char* caption;
    };
    const Case cases[] = {
        {[]() -> forms::Form& { return form13(); }, "雨水管道水力计算"},
        {[]() -> forms::Form& { return Form14(); }, "雨水管道水力计算"},
        {[]() -> forms::Form& { return Form15(); }, "雨水计算输出程序"},
        {[]() -> forms::Form& { return Form10(); }, "雨水数据修改程序"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        forms::Form& w = c.window();
        EXPECT_EQ(w.Caption(), S(c.caption) + QStringLiteral("V") + kVersionText);
        EXPECT_FALSE(w.isVisible());  // referring to a window does not show it
    }
}

TEST_F(StormNetworkWindowsTest, NetworkWindowOpensInItsOwnMode)
{
    StormSewerNetworkForm& w = form13();
    EXPECT_EQ(w.Frame6->Caption(), S("计算方式"));
    EXPECT_EQ(w.Option3->Caption(), S("自动计算"));
    EXPECT_EQ(w.Option4->Caption(), S("手工逐段计算"));
    EXPECT_TRUE(w.Option4->Value());
    EXPECT_FALSE(w.Option3->Value());
    EXPECT_TRUE(endsProgram([&] { w.close(); }));
}

TEST_F(StormNetworkWindowsTest, SegmentListHasThreeColumnsAndItsMenu)
{
    StormSegmentListForm& w = Form14();
    EXPECT_EQ(w.List1.Count(), 3);
    for (int column = 0; column < 3; ++column)
        EXPECT_EQ(w.List1(column).ListCount(), 0) << column;
    EXPECT_EQ(w.导入->Caption(), S("导入数据"));
    EXPECT_EQ(w.导出->Caption(), S("导出数据"));
    EXPECT_EQ(w.清除->Caption(), S("清除数据"));
    EXPECT_EQ(w.返回->Caption(), S("返回程序"));
}

TEST_F(StormNetworkWindowsTest, ReturnShowsTheNetworkWindowAndKeepsTheRows)
{
    StormSegmentListForm& list = Form14();
    form13().Command3->press();
    list.Text1->setText(QStringLiteral("1"));
    list.Text2->setText(QStringLiteral("1"));
    list.Command1->press();
    list.返回->click();
    EXPECT_TRUE(form13().isVisible());
    EXPECT_FALSE(list.isVisible());
    for (int column = 0; column < 3; ++column)
        EXPECT_EQ(list.List1(column).ListCount(), 1) << column;
    EXPECT_TRUE(boxes().empty());
}

}  // namespace
