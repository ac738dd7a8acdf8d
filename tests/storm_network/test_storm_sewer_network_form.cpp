// The network design window form13, driven as the engineer drives it: the
// state it opens in, the city, surface and material picks, "输 入" and
// "计 算" opening the segment list, the switch to the storm water window and
// back, and the end of the program.
#include "app/windows.h"
#include "forms/testing/lists.h"
#include "forms/testing/text.h"
#include "forms/testing/fixture.h"
#include "storm/storm_water_form.h"
#include "storm_network/storm_segment_list_form.h"
#include "storm_network/storm_sewer_network_form.h"
#include "version/version.h"

#include <QFontMetrics>
#include <QTest>

#include <gtest/gtest.h>

using forms::testing::FormsTest;

namespace {

using forms::testing::entries;
using forms::testing::pickText;
using forms::testing::S;

class StormSewerNetworkFormTest : public FormsTest {
protected:
    // The window as the engineer reaches it: the storm water window's
    // "手工逐段计算".
    StormSewerNetworkForm& open()
    {
        StormWaterForm& storm = form2();
        storm.Show();
        storm.Option4->setValue(true);
        StormSewerNetworkForm& w = form13();
        EXPECT_TRUE(w.isVisible());
        EXPECT_FALSE(storm.isVisible());
        return w;
    }

    // Adds one segment through the segment list's input boxes.
    static void addSegment(const char* length, const char* area)
    {
        StormSegmentListForm& list = Form14();
        list.Text1->setText(S(length));
        list.Text2->setText(S(area));
        list.Command1->press();
    }
};

// ------------------------------------------------------------ opening state

TEST_F(StormSewerNetworkFormTest, OpensWithTianjinAndTheDesignDefaults)
{
    StormSewerNetworkForm& w = open();
    EXPECT_EQ(w.Caption(), S("雨水管道水力计算V") + kVersionText);
    EXPECT_TRUE(w.Option4->Value());
    EXPECT_FALSE(w.Option3->Value());

    const QStringList provinces = entries(*w.Combo6);
    ASSERT_EQ(provinces.size(), 29);
    EXPECT_EQ((QStringList{provinces[0], provinces[4], provinces[28]}),
              (QStringList{S("天津市"), S("河  北"), S("云  南")}));
    EXPECT_EQ(entries(*w.Combo3), QStringList{S("天津市")});
    // 天津市 twice, with its formula.
    EXPECT_EQ((QStringList{w.Combo6->Text(), w.Combo3->Text(), w.Label5->Caption(),
                           w.Label6->Caption(), w.Label29->Caption()}),
              (QStringList{S("天津市"), S("天津市"), S("q="), S("3841(1+0.85lgP)"),
                           S("(t+17)^0.85")}));

    EXPECT_EQ(w.Text1->Text(), S("2"));
    EXPECT_EQ(w.Text2->Text(), S("2.0"));
    EXPECT_EQ(w.Text3->Text(), S("10"));
    EXPECT_EQ(w.Text4->Text(), S("0.65"));
    EXPECT_EQ(entries(*w.Combo4),
              (QStringList{S("屋面"), S("混凝土和沥青路面"), S("块石路面"), S("级配碎石路面"),
                           S("干砖及碎石路面"), S("非铺砌地面"), S("公园绿地")}));
    EXPECT_EQ(w.Combo4->ListIndex(), -1);
    EXPECT_EQ(w.Combo4->Text(), QString());
    EXPECT_EQ(entries(*w.Combo5), (QStringList{S("钢筋混凝土管"), S("HDPE双壁波纹管")}));
    EXPECT_EQ(w.Combo5->Text(), S("钢筋混凝土管"));

    // Working fields.
    EXPECT_EQ(w.Combo7.List, (QStringList{S("0.013"), S("0.01")}));
    EXPECT_EQ(w.Combo7.Text, S("0.013"));
    EXPECT_EQ(w.Combo1[0].List.size(), 31);
    EXPECT_EQ(w.Combo1[0].Text, S("300"));
    EXPECT_EQ(w.Combo1[1].List.size(), 17);
    EXPECT_EQ(w.Combo1[1].Text, S("300"));
    EXPECT_EQ(w.Text5, S("0"));
    EXPECT_EQ(w.trans, S("trans"));
    EXPECT_FALSE(w.Command5->Visible());

    EXPECT_EQ(w.Frame3->Caption(), S("选择城市"));
    EXPECT_EQ(w.Frame4->Caption(), S("设计参数"));
    EXPECT_EQ(w.Command1->Caption(), S("计 算"));
    EXPECT_EQ(w.Command3->Caption(), S("输 入"));
    EXPECT_EQ(w.Command2->Caption(), S("退 出"));
    EXPECT_EQ(w.defaultButton(), w.Command3);
    // Wider than designed, by what the material list needs for its longest
    // entry.
    EXPECT_DOUBLE_EQ(w.ScaleWidth(), 4665);
    EXPECT_DOUBLE_EQ(w.ScaleHeight(), 4320);
    EXPECT_FALSE(Form14().isVisible());
    EXPECT_TRUE(boxes().empty());
}

// ------------------------------------------------------------ city and formula

TEST_F(StormSewerNetworkFormTest, ProvincePickRefillsTheCitiesAndShowsTheFirstCitysFormula)
{
    StormSewerNetworkForm& w = open();
    pickText(*w.Combo6, S("河  北"));
    EXPECT_EQ(entries(*w.Combo3), (QStringList{S("石家庄"), S("承德"), S("唐山"), S("保定")}));
    EXPECT_EQ(w.Combo3->Text(), S("石家庄"));
    EXPECT_EQ(w.Label5->Caption(), S("q="));
    EXPECT_EQ(w.Label6->Caption(), S("1689(1+0.898lgP)"));
    EXPECT_EQ(w.Label29->Caption(), S("(t+7)^0.729"));

    pickText(*w.Combo3, S("保定"));
    EXPECT_EQ(w.Label5->Caption(), S("i="));
    EXPECT_EQ(w.Label6->Caption(), S("14.973+10.266lgP"));
    EXPECT_EQ(w.Label29->Caption(), S("(t+13.877)^0.776"));

    // The same province again: the city chosen before is lost.
    pickText(*w.Combo6, S("河  北"));
    EXPECT_EQ(w.Combo3->ListCount(), 4);
    EXPECT_EQ(w.Combo3->Text(), S("石家庄"));
    EXPECT_EQ(w.Label5->Caption(), S("q="));
    EXPECT_EQ(w.Label6->Caption(), S("1689(1+0.898lgP)"));

    pickText(*w.Combo6, S("上海市"));
    EXPECT_EQ(entries(*w.Combo3), QStringList{S("上海市")});
    EXPECT_EQ(w.Label5->Caption(), S("i="));
}

TEST_F(StormSewerNetworkFormTest, CityWithoutFormulaShowsNoOtherCitysFormula)
{
    StormSewerNetworkForm& w = open();
    pickText(*w.Combo6, S("广  西"));
    EXPECT_EQ(w.Label6->Caption(), S("10500(1+0.707lgP)"));
    pickText(*w.Combo3, S("柳州"));
    EXPECT_EQ(w.Combo3->Text(), S("柳州"));
    EXPECT_EQ(w.Label5->Caption(), S("q="));
    EXPECT_EQ(w.Label6->Caption(), QString());
    EXPECT_EQ(w.Label29->Caption(), QString());
}

// ------------------------------------------------------------ surface and material

TEST_F(StormSewerNetworkFormTest, SurfacePickWritesItsRunoffCoefficient)
{
    StormSewerNetworkForm& w = open();
    struct Case {
        const char* surface;
        const char* coefficient;
    };
    const Case cases[] = {
        {"屋面", "0.9"},          {"混凝土和沥青路面", "0.9"}, {"块石路面", "0.6"},
        {"级配碎石路面", "0.45"}, {"干砖及碎石路面", "0.4"},   {"非铺砌地面", "0.3"},
        {"公园绿地", "0.15"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.surface);
        w.Text4->setText(S("0.77"));  // typed before: overwritten
        pickText(*w.Combo4, S(c.surface));
        EXPECT_EQ(w.Text4->Text(), S(c.coefficient));
    }
    // A coefficient typed after the pick is the one in force.
    w.Text4->setText(S("0.5"));
    EXPECT_EQ(w.Text4->Text(), S("0.5"));
    EXPECT_EQ(w.Combo4->Text(), S("公园绿地"));
}

TEST_F(StormSewerNetworkFormTest, MaterialPickSetsRoughnessAndDiameterCatalogue)
{
    StormSewerNetworkForm& w = open();
    pickText(*w.Combo5, S("HDPE双壁波纹管"));
    EXPECT_EQ(w.Combo7.Text, S("0.01"));
    ASSERT_EQ(w.Combo5->ListIndex(), 1);
    EXPECT_EQ(w.Combo1[1].List.size(), 17);
    EXPECT_EQ(w.Combo1[1].List.last(), S("3000"));

    pickText(*w.Combo5, S("钢筋混凝土管"));
    EXPECT_EQ(w.Combo7.Text, S("0.013"));
    ASSERT_EQ(w.Combo5->ListIndex(), 0);
    EXPECT_EQ(w.Combo1[0].List.size(), 31);
    EXPECT_TRUE(w.Combo1[0].List.contains(S("1640")));
}

TEST_F(StormSewerNetworkFormTest, DoubleClickEmptiesTheReturnPeriod)
{
    StormSewerNetworkForm& w = open();
    QTest::mouseDClick(w.Text1, Qt::LeftButton);
    EXPECT_EQ(w.Text1->Text(), QString());
    // The other fields keep their texts.
    QTest::mouseDClick(w.Text3, Qt::LeftButton);
    EXPECT_EQ(w.Text3->Text(), S("10"));
}

// ------------------------------------------------------------ 输 入 and 计 算

TEST_F(StormSewerNetworkFormTest, InputWithAnEmptyListOpensTheSmallAddWindow)
{
    form2().Move(0, 900);  // room to the right of the network window
    StormSewerNetworkForm& w = open();
    w.Text4->setText(S("0.45"));
    w.Command3->press();
    StormSegmentListForm& list = Form14();
    EXPECT_TRUE(list.isVisible());
    EXPECT_TRUE(w.isVisible());  // beside the list, still usable
    EXPECT_DOUBLE_EQ(list.Height(), 2500);
    EXPECT_EQ(list.Command2->Caption(), S("查  看"));
    EXPECT_EQ(list.Command1->Caption(), S("确  定"));
    EXPECT_EQ(list.Text3->Text(), S("0.45"));
    EXPECT_EQ(list.Text1->Text(), QString());
    EXPECT_EQ(list.Text2->Text(), QString());
    EXPECT_EQ(list.focusWidget(), list.Text1);
    // Beside the network window, at its top.
    EXPECT_DOUBLE_EQ(list.Top(), w.Top());
    EXPECT_DOUBLE_EQ(list.Left(), w.Left() + w.Width());

    // Moved by the engineer and opened again empty: the top stays.
    list.Move(300, 600);
    list.Text1->setText(S("12"));
    w.Command3->press();
    EXPECT_DOUBLE_EQ(list.Top(), 600);
    EXPECT_DOUBLE_EQ(list.Left(), 300);
    EXPECT_EQ(list.Text1->Text(), QString());
    EXPECT_TRUE(boxes().empty());
}

TEST_F(StormSewerNetworkFormTest, InputWithRowsOpensTheListExpandedAndCentred)
{
    StormSewerNetworkForm& w = open();
    w.Command3->press();
    addSegment("100", "2000");
    addSegment("50", "1500");
    StormSegmentListForm& list = Form14();
    list.List1(1).clickLine(0);  // update mode
    list.Command3->press();      // collapsed: hides the window
    ASSERT_FALSE(list.isVisible());

    w.Text4->setText(S("0.3"));
    w.Command3->press();
    EXPECT_TRUE(list.isVisible());
    EXPECT_DOUBLE_EQ(list.Height(), 8000);
    EXPECT_DOUBLE_EQ(list.Top(), (forms::Form::ScreenHeight() - 8000) / 2);
    EXPECT_EQ(list.Command2->Caption(), S("返  回"));
    EXPECT_EQ(list.Command1->Caption(), S("更  新"));  // the mode is kept
    EXPECT_EQ(list.Text3->Text(), S("0.3"));
    EXPECT_EQ(list.Text1->Text(), QString());
    EXPECT_EQ(list.Text2->Text(), QString());
    EXPECT_EQ(list.rows().size(), 2u);
}

TEST_F(StormSewerNetworkFormTest, EnterOpensTheSegmentList)
{
    StormSewerNetworkForm& w = open();
    ASSERT_TRUE(w.pressKey(Qt::Key_Return));
    EXPECT_TRUE(Form14().isVisible());
}

TEST_F(StormSewerNetworkFormTest, CalculateWithNoSegmentsOpensTheListForInput)
{
    StormSewerNetworkForm& w = open();
    w.Text5 = S("3.58");
    w.trans = S("2.5");
    w.Text1->setText(QString());  // no message about P: the list comes first
    w.Text4->setText(S("0.6"));
    w.Command1->press();
    StormSegmentListForm& list = Form14();
    EXPECT_TRUE(list.isVisible());
    EXPECT_TRUE(w.isVisible());
    EXPECT_DOUBLE_EQ(list.Height(), 2500);
    EXPECT_EQ(list.Command2->Caption(), S("查  看"));
    EXPECT_EQ(list.Command1->Caption(), S("确  定"));
    EXPECT_EQ(list.Text3->Text(), S("0.6"));
    EXPECT_EQ(list.focusWidget(), list.Text1);
    EXPECT_EQ(w.Text5, S("0"));
    EXPECT_EQ(w.trans, S("0"));
    EXPECT_TRUE(boxes().empty());
}

// ------------------------------------------------------------ switching and ending

TEST_F(StormSewerNetworkFormTest, AutomaticModeAndBackKeepsEveryValue)
{
    StormSewerNetworkForm& w = open();
    pickText(*w.Combo6, S("江  苏"));
    pickText(*w.Combo3, S("苏州"));
    pickText(*w.Combo4, S("块石路面"));
    pickText(*w.Combo5, S("HDPE双壁波纹管"));
    w.Text1->setText(S("3"));
    w.Text2->setText(S("1.2"));
    w.Text3->setText(S("12"));
    w.Text4->setText(S("0.55"));
    const QStringList labels = {w.Label5->Caption(), w.Label6->Caption(), w.Label29->Caption()};
    w.Move(1800, 750);

    w.Option3->setValue(true);
    StormWaterForm& storm = form2();
    EXPECT_TRUE(storm.isVisible());
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.isUnloaded());
    EXPECT_TRUE(storm.Option3->Value());
    EXPECT_DOUBLE_EQ(storm.Left(), 1800);
    EXPECT_DOUBLE_EQ(storm.Top(), 750);

    storm.Option4->setValue(true);
    EXPECT_EQ(&form13(), &w);
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.Option4->Value());
    EXPECT_FALSE(w.Option3->Value());
    EXPECT_EQ(w.Combo6->Text(), S("江  苏"));
    EXPECT_EQ(w.Combo3->Text(), S("苏州"));
    EXPECT_EQ((QStringList{w.Label5->Caption(), w.Label6->Caption(), w.Label29->Caption()}), labels);
    EXPECT_EQ(w.Combo4->Text(), S("块石路面"));
    EXPECT_EQ(w.Combo5->Text(), S("HDPE双壁波纹管"));
    EXPECT_EQ(w.Combo7.Text, S("0.01"));
    EXPECT_EQ(w.Text1->Text(), S("3"));
    EXPECT_EQ(w.Text2->Text(), S("1.2"));
    EXPECT_EQ(w.Text3->Text(), S("12"));
    EXPECT_EQ(w.Text4->Text(), S("0.55"));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(StormSewerNetworkFormTest, ManualModeKeepsTheSegmentList)
{
    StormSewerNetworkForm& w = open();
    w.Command3->press();
    addSegment("100", "2000");
    ASSERT_EQ(Form14().rows().size(), 1u);
    w.Option3->setValue(true);
    form2().Option4->setValue(true);
    EXPECT_EQ(Form14().rows().size(), 1u);
    for (int column = 0; column < 3; ++column)
        EXPECT_EQ(Form14().List1(column).ListCount(), 1) << column;
    EXPECT_TRUE(boxes().empty());
}

TEST_F(StormSewerNetworkFormTest, ExitAndCloseBoxEndTheProgram)
{
    StormSewerNetworkForm& w = open();
    EXPECT_TRUE(endsProgram([&] { w.Command2->press(); }));
    EXPECT_TRUE(endsProgram([&] { w.close(); }));
    EXPECT_TRUE(boxes().empty());  // no question, nothing saved
}

TEST_F(StormSewerNetworkFormTest, TipNamesTheTwoSteps)
{
    StormSewerNetworkForm& w = open();
    platform().answerMessageBox(forms::vbOK);
    w.menu()->提示->click();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text,
              S("选择好设计参数后请点击“输入”进行各段数据输入，完成后点击“计算”。"));
    EXPECT_EQ(boxes()[0].title, S("使用提示"));
    EXPECT_EQ(boxes()[0].style, forms::vbOKOnly);
    EXPECT_TRUE(w.isVisible());
}

}  // namespace

namespace {

// Every entry of the window's lists shows whole beside the drop-down arrow,
// the longest material and surface texts included.
TEST_F(StormSewerNetworkFormTest, EveryListEntryFitsItsList)
{
    StormSewerNetworkForm& w = open();
    for (forms::ComboBox* combo : {w.Combo6, w.Combo3, w.Combo4, w.Combo5}) {
        const QFontMetrics fm(combo->font());
        for (const QString& entry : entries(*combo)) {
            EXPECT_LE(fm.horizontalAdvance(entry), combo->width() - 22)
                << combo->objectName().toStdString() << ": " << entry.toStdString();
        }
    }
}

}  // namespace
