// The storm water window form2, driven as a user drives it: city and formula
// display, outlet kinds, design flow and outlet pipe, the full-pipe check
// panel, and the switch to the network window and back.
#include "app/windows.h"
#include "textio/numtext.h"
#include "forms/testing/clipped_texts.h"
#include "forms/testing/fixture.h"
#include "forms/testing/lists.h"
#include "forms/testing/text.h"
#include "hydraulics/drainage_pipe_form.h"
#include "storm/storm_water_form.h"
#include "storm_network/storm_segment_list_form.h"
#include "storm_network/storm_sewer_network_form.h"
#include "version/version.h"

#include <QFontMetrics>

#include <cmath>
#include <string>

#include <gtest/gtest.h>

using forms::testing::entries;
using forms::testing::FormsTest;
using forms::testing::pickText;
using forms::testing::S;

namespace {

double number(const forms::TextBox& box)
{
    const std::optional<double> v = textio::readNumber(box.Text());
    EXPECT_TRUE(v.has_value()) << box.objectName().toStdString() << " holds " << box.Text().toStdString();
    return v.value_or(0);
}

class StormWaterFormTest : public FormsTest {
protected:
    // The window as the menu bar opens it.
    StormWaterForm& openFromMenu()
    {
        Form1().Show();
        Form1().menu()->雨水->click();
        StormWaterForm& w = form2();
        EXPECT_TRUE(w.isVisible());
        EXPECT_FALSE(Form1().isVisible());
        return w;
    }

    // The design inputs of the worked example: 天津市, P = 1, t = 10,
    // Ψ = 0.9, F = 10000 m², N = 2.
    static void enterWorkedExample(StormWaterForm& w)
    {
        w.Text12->setText(QStringLiteral("1"));
        w.Text11->setText(QStringLiteral("10"));
        w.Text14->setText(QStringLiteral("0.9"));
        w.Text13->setText(QStringLiteral("10000"));
        w.Text9->setText(QStringLiteral("2"));
    }

    // Every result field, in one list, to see that a refusal wrote nothing.
    static QStringList results(const StormWaterForm& w)
    {
        return {w.Text2->Text(), w.Text10->Text(), w.Text4->Text(), w.Text1->Text(),
                w.Text3->Text(), w.Text5->Text()};
    }
};

// ------------------------------------------------------------ opening state

TEST_F(StormWaterFormTest, OpensWithTheOutdoorOutletAndTianjin)
{
    StormWaterForm& w = openFromMenu();
    EXPECT_EQ(w.Caption(), S("雨水管道水力计算V") + kVersionText);
    EXPECT_TRUE(w.Option3->Value());
    EXPECT_FALSE(w.Option4->Value());
    EXPECT_TRUE(w.Option2->Value());
    EXPECT_FALSE(w.Option1->Value());
    EXPECT_EQ(w.Text12->Text(), S("2"));
    EXPECT_EQ(w.Text11->Text(), S("20"));
    EXPECT_EQ(w.Text13->Text(), QString());
    EXPECT_EQ(w.Text9->Text(), S("1"));
    EXPECT_EQ(w.Text14->Text(), S("0.65"));
    EXPECT_EQ(w.Combo4->Text(), S("请选择地面种类"));
    EXPECT_TRUE(w.Combo4->isEnabled());
    EXPECT_EQ(entries(*w.Combo4),
              (QStringList{S("屋面"), S("混凝土和沥青路面"), S("块石路面"), S("级配碎石路面"),
                           S("干砖及碎石路面"), S("非铺砌地面"), S("公园绿地")}));
    EXPECT_EQ(w.Combo5->Text(), S("砼管"));
    EXPECT_EQ(entries(*w.Combo5), (QStringList{S("砼管"), S("HDPE")}));
    EXPECT_TRUE(w.Text5->Visible());
    EXPECT_TRUE(w.Label20->Visible());
    EXPECT_TRUE(w.Label30->Visible());
    EXPECT_TRUE(w.Command3->isEnabled());
    EXPECT_FALSE(w.checkPanelOpen());
    EXPECT_EQ(results(w), QStringList(6, QString()));

    EXPECT_EQ(w.Combo6->ListCount(), 29);
    EXPECT_EQ(w.Combo6->Text(), S("天津市"));
    EXPECT_EQ(entries(*w.Combo3), QStringList{S("天津市")});
    EXPECT_EQ(w.Combo3->Text(), S("天津市"));
    EXPECT_EQ(w.Label5->Caption(), S("q="));
    EXPECT_EQ(w.Label6->Caption(), S("3841(1+0.85lgP)"));
    EXPECT_EQ(w.Label29->Caption(), S("(t+17)^0.85"));

    EXPECT_EQ(w.Combo1->Text(), S("请选择管径"));
    EXPECT_EQ(w.Combo1->ListCount(), 33);
    EXPECT_EQ(w.Combo1->List(0), S("d200"));
    EXPECT_EQ(w.Combo1->List(32), S("d3000"));
    EXPECT_EQ(w.Combo2->Text(), S("请选择坡度"));
    EXPECT_EQ(w.Combo2->ListCount(), 129);
    EXPECT_EQ(w.defaultButton(), w.Command1);
    EXPECT_EQ(w.cancelButton(), w.Command5);
    EXPECT_FALSE(w.Text1->Visible());
    EXPECT_FALSE(w.Text6->Visible());
    EXPECT_FALSE(w.Text7->Visible());
    EXPECT_TRUE(boxes().empty());
}

// ------------------------------------------------------------ formula display

TEST_F(StormWaterFormTest, ProvinceAndCityPicksShowTheCityFormula)
{
    struct Case {
        const char* province;
        const char* city;  // picked after the province; nullptr: the first city
        const char* shownCity;
        const char* prefix;
        const char* numerator;
        const char* denominator;
    };
    const Case cases[] = {
        {"河  北", nullptr, "石家庄", "q=", "1689(1+0.898lgP)", "(t+7)^0.729"},
        {"河  北", "保定", "保定", "i=", "14.973+10.266lgP", "(t+13.877)^0.776"},
        {"河  北", "唐山", "唐山", "q=", "935(1+0.87lgP)", "t^0.6"},
        {"陕  西", nullptr, "西安", "i=", "6.041(1+1.475lgP)", "(t+14.72)^0.704"},
        {"陕  西", "延安", "延安", "i=", "5.582(1+1.292lgP)", "(t+8.22)^0.7"},
        {"上海市", nullptr, "上海市", "i=", "9.45+6.7932lgP", "(t+5.54)^0.6514"},
        {"广  西", nullptr, "南宁", "q=", "10500(1+0.707lgP)", "t+21.1P^0.119"},
        {"安  徽", "安庆", "安庆", "q=", "1986.8(1+0.777lgP)", "(t+8.404)^0.689"},
        // Offered without a formula: an empty fraction, not the formula of
        // the city shown before.
        {"广  西", "柳州", "柳州", "q=", "", ""},
    };
    StormWaterForm& w = form2();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.province) + " " + c.shownCity);
        pickText(*w.Combo6, S(c.province));
        if (c.city)
            pickText(*w.Combo3, S(c.city));
        EXPECT_EQ(w.Combo3->Text(), S(c.shownCity));
        EXPECT_EQ(w.Label5->Caption(), S(c.prefix));
        EXPECT_EQ(w.Label6->Caption(), S(c.numerator));
        EXPECT_EQ(w.Label29->Caption(), S(c.denominator));
    }
}

TEST_F(StormWaterFormTest, ProvincePickRebuildsTheCityListAndForgetsTheCity)
{
    StormWaterForm& w = form2();
    pickText(*w.Combo6, S("吉  林"));
    EXPECT_EQ(entries(*w.Combo3), (QStringList{S("长春"), S("通化"), S("延吉"), S("白城")}));
    pickText(*w.Combo6, S("河  北"));
    pickText(*w.Combo3, S("承德"));
    pickText(*w.Combo6, S("山  西"));
    EXPECT_EQ(w.Combo3->Text(), S("太原"));
    pickText(*w.Combo6, S("河  北"));
    EXPECT_EQ(w.Combo3->Text(), S("石家庄"));
}

TEST_F(StormWaterFormTest, CityPickLeavesEarlierResultsInPlace)
{
    StormWaterForm& w = form2();
    enterWorkedExample(w);
    w.Command1->press();
    const QStringList before = results(w);
    pickText(*w.Combo6, S("北京市"));
    EXPECT_EQ(results(w), before);
}

// ------------------------------------------------------------ design flow

TEST_F(StormWaterFormTest, WorkedExampleChoosesTheOutletPipeByMaterial)
{
    StormWaterForm& w = openFromMenu();
    enterWorkedExample(w);
    w.Command1->press();
    EXPECT_NEAR(number(*w.Text2), 233.23, 0.005);
    EXPECT_NEAR(number(*w.Text10), 209.91, 0.005);
    EXPECT_NEAR(number(*w.Text4), 104.95, 0.005);
    EXPECT_NEAR(number(*w.Text1), 377.83, 0.005);
    // The per-pipe flow in m³/h is the shown L/s flow times 3.6.
    EXPECT_EQ(w.Text1->Text(), textio::generalNumberText(number(*w.Text4) * 3.6));
    EXPECT_EQ(w.Text3->Text(), S(" d450"));
    EXPECT_EQ(w.Text5->Text(), S("2"));

    pickText(*w.Combo5, S("HDPE"));
    w.Command1->press();
    EXPECT_EQ(w.Text3->Text(), S("DN400"));
    EXPECT_EQ(w.Text5->Text(), S("2"));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(StormWaterFormTest, EnterPressesCalculateAlsoWithThePanelOpen)
{
    StormWaterForm& w = form2();
    enterWorkedExample(w);
    w.Command3->press();
    ASSERT_TRUE(w.pressKey(Qt::Key_Return));
    EXPECT_EQ(w.Text3->Text(), S(" d450"));
    EXPECT_EQ(w.Text19->Text(), QString());
}

TEST_F(StormWaterFormTest, HdpeFlowTooLargeEmptiesThePipeAndWarns)
{
    StormWaterForm& w = form2();
    enterWorkedExample(w);
    w.Command1->press();  // a pipe on screen first
    ASSERT_EQ(w.Text3->Text(), S(" d450"));
    pickText(*w.Combo5, S("HDPE"));
    w.Text13->setText(QStringLiteral("30000"));
    w.Text9->setText(QStringLiteral("1"));
    platform().answerMessageBox(forms::vbOK);
    w.Command1->press();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, S("水量过大，请增加出水管道数量或换用钢筋混凝土管！"));
    EXPECT_EQ(boxes()[0].title, S("警告"));
    EXPECT_EQ(boxes()[0].style, forms::vbOKOnly);
    EXPECT_GT(number(*w.Text4), 538.398);
    EXPECT_EQ(w.Text3->Text(), QString());
    EXPECT_EQ(w.Text5->Text(), QString());
}

TEST_F(StormWaterFormTest, RoofOutletSettingsAndPipeByMaterial)
{
    StormWaterForm& w = form2();
    w.Command3->press();  // the panel stays open through the outlet kinds
    w.Option1->setValue(true);
    EXPECT_EQ(w.Text11->Text(), S("5"));
    EXPECT_EQ(w.Text14->Text(), S("0.9"));
    EXPECT_FALSE(w.Combo4->isEnabled());
    EXPECT_EQ(w.Combo4->Text(), S("请选择地面种类"));
    EXPECT_FALSE(w.Text5->Visible());
    EXPECT_FALSE(w.Label20->Visible());
    EXPECT_FALSE(w.Label30->Visible());
    EXPECT_FALSE(w.Command3->isEnabled());
    EXPECT_TRUE(w.checkPanelOpen());
    EXPECT_EQ(w.Combo5->Text(), S("塑料管"));
    EXPECT_EQ(entries(*w.Combo5), (QStringList{S("塑料管"), S("铸铁管"), S("钢管")}));

    // 天津市, P = 2, t = 5, Ψ = 0.9, F = 1000 m², one pipe: about 31.4 L/s.
    w.Text13->setText(QStringLiteral("1000"));
    struct Case {
        const char* material;
        const char* diameter;
    };
    const Case cases[] = {{"塑料管", "De160"}, {"铸铁管", "DN150"}, {"钢管", "DN150"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.material);
        pickText(*w.Combo5, S(c.material));
        w.Command1->press();
        EXPECT_NEAR(number(*w.Text4), 31.37, 0.01);
        EXPECT_EQ(w.Text3->Text(), S(c.diameter));
        EXPECT_EQ(w.Text5->Text(), QString());  // a roof outlet has no slope
    }

    // A typed material of no list leaves the earlier pipe on screen.
    w.Combo5->setText(QStringLiteral("砼管"));
    w.Text13->setText(QStringLiteral("100"));
    w.Command1->press();
    EXPECT_EQ(w.Text3->Text(), S("DN150"));

    w.Option2->setValue(true);
    EXPECT_EQ(w.Text11->Text(), S("20"));
    EXPECT_EQ(w.Text14->Text(), S("0.65"));
    EXPECT_TRUE(w.Combo4->isEnabled());
    EXPECT_EQ(w.Combo4->Text(), S("请选择地面种类"));
    EXPECT_TRUE(w.Text5->Visible());
    EXPECT_TRUE(w.Label20->Visible());
    EXPECT_TRUE(w.Label30->Visible());
    EXPECT_TRUE(w.Command3->isEnabled());
    EXPECT_EQ(w.Combo5->Text(), S("砼管"));
    EXPECT_EQ(entries(*w.Combo5), (QStringList{S("砼管"), S("HDPE")}));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(StormWaterFormTest, SurfaceTypePickSetsTheRunoffCoefficient)
{
    StormWaterForm& w = form2();
    const std::pair<const char*, const char*> cases[] = {
        {"公园绿地", "0.15"}, {"屋面", "0.9"}, {"块石路面", "0.6"}, {"混凝土和沥青路面", "0.9"}};
    for (const auto& [surface, coefficient] : cases) {
        SCOPED_TRACE(surface);
        pickText(*w.Combo4, S(surface));
        EXPECT_EQ(w.Text14->Text(), S(coefficient));
    }
    w.Text14->setText(QStringLiteral("0.7"));
    w.Combo4->setText(QStringLiteral("草地"));  // typed: no pick
    EXPECT_EQ(w.Text14->Text(), S("0.7"));
}

TEST_F(StormWaterFormTest, EmptyAreaWritesTheIntensityOnly)
{
    StormWaterForm& w = form2();
    w.Text11->setText(QStringLiteral("20"));  // 天津市, P = 2, t = 20
    w.Command1->press();
    EXPECT_NEAR(number(*w.Text2), 224.09, 0.005);
    EXPECT_EQ(results(w).mid(1), QStringList(5, QString()));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(StormWaterFormTest, EmptyFieldsAreAskedFor)
{
    struct Case {
        void (*empty)(StormWaterForm&);
        const char* message;
        const char* focus;
        bool writesIntensity;
    };
    const Case cases[] = {
        {[](StormWaterForm& w) { w.Text12_DblClick(); }, "请输入重现期", "Text12", false},
        {[](StormWaterForm& w) { w.Text9->setText(QString()); }, "请输入管道数量", "Text9", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        forms::destroyAllDefaultInstances();
        platform().reset();
        StormWaterForm& w = form2();
        w.Show();
        enterWorkedExample(w);
        c.empty(w);
        platform().answerMessageBox(forms::vbOK);
        w.Command1->press();
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, S(c.message));
        EXPECT_EQ(boxes()[0].title, S("确认数据完整性"));
        EXPECT_EQ(boxes()[0].style, forms::vbOKOnly);
        ASSERT_NE(w.focusWidget(), nullptr);
        EXPECT_EQ(w.focusWidget()->objectName(), S(c.focus));
        EXPECT_EQ(w.Text2->Text().isEmpty(), !c.writesIntensity);
        EXPECT_EQ(results(w).mid(1), QStringList(5, QString()));
    }
}

TEST_F(StormWaterFormTest, DoubleClickEmptiesDurationAndReturnPeriod)
{
    StormWaterForm& w = form2();
    w.Text11_DblClick();
    w.Text12_DblClick();
    EXPECT_EQ(w.Text11->Text(), QString());
    EXPECT_EQ(w.Text12->Text(), QString());
    EXPECT_EQ(w.Text9->Text(), S("1"));
}

// Inputs that are no numbers, out of range or outside the city's formula are
// refused at their field, and no result is written.
TEST_F(StormWaterFormTest, BadInputsAreRefusedAndNothingIsWritten)
{
    struct Case {
        const char* province;
        const char* city;
        const char* field;
        const char* text;
        const char* message;
        const char* focus;
    };
    const Case cases[] = {
        {"天津市", nullptr, "Text12", "abc", "请输入正确的重现期", "Text12"},
        // Beyond any real design: a thousand years at most.
        {"天津市", nullptr, "Text12", "1e300", "请输入正确的重现期", "Text12"},
        // Outside the city's formula: 唐山 divides by t^0.6.
        {"河  北", "唐山", "Text11", "0", "请输入正确的降水历时", "Text11"},
        {"天津市", nullptr, "Text14", "1.5", "请输入正确的径流系数", "Text14"},
        // Offered, but without a formula: no flows from another city's
        // intensity.
        {"广  西", "柳州", "Text9", "2", "所选城市暂无暴雨强度公式，请选择其他城市", "Combo3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " \"" + c.text + "\" " + c.province);
        forms::destroyAllDefaultInstances();
        platform().reset();
        StormWaterForm& w = form2();
        w.Show();
        // An earlier calculation on screen.
        enterWorkedExample(w);
        w.Command1->press();
        const QStringList before = results(w);
        ASSERT_EQ(before[4], S(" d450"));

        pickText(*w.Combo6, S(c.province));
        if (c.city)
            pickText(*w.Combo3, S(c.city));
        w.findChild<forms::TextBox*>(S(c.field))->setText(S(c.text));
        platform().answerMessageBox(forms::vbOK);
        w.Command1->press();
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, S(c.message));
        EXPECT_EQ(boxes()[0].title, S("确认数据正确性"));
        EXPECT_EQ(boxes()[0].style, forms::vbOKOnly);
        ASSERT_NE(w.focusWidget(), nullptr);
        EXPECT_EQ(w.focusWidget()->objectName(), S(c.focus));
        EXPECT_EQ(results(w), before);
    }
}

// The intensity is written before the catchment inputs are looked at, so a
// refusal there leaves the new city's q beside the earlier flows and pipe.
TEST_F(StormWaterFormTest, IntensityStaysWrittenWhenACatchmentInputIsRefused)
{
    struct Case {
        const char* field;
        const char* text;
        const char* message;
        const char* title;
    };
    const Case cases[] = {
        {"Text9", "", "请输入管道数量", "确认数据完整性"},
        {"Text13", "abc", "请输入正确的汇水面积", "确认数据正确性"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " \"" + c.text + "\"");
        forms::destroyAllDefaultInstances();
        platform().reset();
        StormWaterForm& w = form2();
        w.Show();
        enterWorkedExample(w);
        w.Command1->press();
        const QStringList before = results(w);
        pickText(*w.Combo6, S("北京市"));
        w.findChild<forms::TextBox*>(S(c.field))->setText(S(c.text));
        platform().answerMessageBox(forms::vbOK);
        w.Command1->press();
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, S(c.message));
        EXPECT_EQ(boxes()[0].title, S(c.title));
        EXPECT_EQ(boxes()[0].style, forms::vbOKOnly);
        // 北京市, P = 1, t = 10.
        EXPECT_NEAR(number(*w.Text2), 2001 / std::pow(18.0, 0.711), 1e-9);
        EXPECT_EQ(results(w).mid(1), before.mid(1));
    }
}

TEST_F(StormWaterFormTest, ExitAndCloseEndTheProgram)
{
    EXPECT_TRUE(endsProgram([] { form2().Command2->press(); }));
    EXPECT_TRUE(endsProgram([] { form2().close(); }));
}

// ------------------------------------------------------------ check panel

TEST_F(StormWaterFormTest, CheckPanelOpensAndClosesByTheHeightRules)
{
    StormWaterForm& w = form2();
    const double openingHeight = w.Height();
    const double left = w.Left();
    EXPECT_LE(openingHeight, StormWaterForm::kClosedHeight);

    w.Command3->press();
    EXPECT_DOUBLE_EQ(w.Height(), openingHeight + 2400);
    EXPECT_DOUBLE_EQ(w.Top(), (forms::Form::ScreenHeight() - w.Height()) / 2);
    EXPECT_DOUBLE_EQ(w.Left(), left);
    EXPECT_FALSE(w.Command3->isEnabled());
    EXPECT_TRUE(w.checkPanelOpen());

    // The outdoor outlet enables 校核 again; a second press keeps the size.
    w.Option1->setValue(true);
    w.Option2->setValue(true);
    ASSERT_TRUE(w.Command3->isEnabled());
    w.Command3->press();
    EXPECT_DOUBLE_EQ(w.Height(), openingHeight + 2400);
    EXPECT_FALSE(w.Command3->isEnabled());

    const double top = w.Top();
    ASSERT_TRUE(w.pressKey(Qt::Key_Escape));  // 返回
    EXPECT_DOUBLE_EQ(w.Height(), 6500);
    EXPECT_DOUBLE_EQ(w.Top(), top);
    EXPECT_TRUE(w.Command3->isEnabled());
    EXPECT_FALSE(w.checkPanelOpen());

    // 返回 with the panel closed still sets 6500 and enables 校核, also
    // for a roof outlet; 校核 then opens the panel from 6500.
    w.Option1->setValue(true);
    ASSERT_TRUE(w.pressKey(Qt::Key_Escape));
    EXPECT_DOUBLE_EQ(w.Height(), 6500);
    EXPECT_TRUE(w.Command3->isEnabled());
    w.Command3->press();
    EXPECT_DOUBLE_EQ(w.Height(), 6500 + 2400);
}

// 校核 adds the panel to the height the window has, whatever that is.
TEST_F(StormWaterFormTest, CheckPanelGrowsTheWindowFromItsCurrentHeight)
{
    StormWaterForm& w = form2();
    w.setHeight(7000);
    EXPECT_FALSE(w.checkPanelOpen());
    w.Command3->press();
    EXPECT_DOUBLE_EQ(w.Height(), 7000 + 2400);
    EXPECT_TRUE(w.checkPanelOpen());
    w.Command5->press();
    EXPECT_DOUBLE_EQ(w.Height(), 6500);
    EXPECT_FALSE(w.checkPanelOpen());
}

TEST_F(StormWaterFormTest, CheckPanelOpensAtOnceWhenTheWindowIsShownAgain)
{
    StormWaterForm& w = form2();
    const double height = w.Height();
    w.Option4->setValue(true);  // to the network window and ...
    form2().Show();             // ... back by the menu bar
    EXPECT_TRUE(w.Option3->Value());
    EXPECT_FALSE(w.Option4->Value());
    w.Command3->press();
    EXPECT_DOUBLE_EQ(w.Height(), height + 2400);
}

TEST_F(StormWaterFormTest, CheckedPipeVelocityAndCapacity)
{
    StormWaterForm& w = form2();
    w.Command3->press();
    w.Text19->setText(QStringLiteral("old"));
    w.Text20->setText(QStringLiteral("old"));
    pickText(*w.Combo1, S("d300"));
    EXPECT_EQ(w.Text19->Text(), QString());
    EXPECT_EQ(w.Text20->Text(), QString());
    EXPECT_EQ(w.Combo2->Text(), S("3.0"));
    EXPECT_EQ(w.Text6->Text(), S("0.3"));
    EXPECT_EQ(w.Text7->Text(), S("3.0"));
    w.Command4->press();
    EXPECT_EQ(w.Text19->Text(), S(".749"));
    EXPECT_EQ(w.Text20->Text(), S("52.944"));

    pickText(*w.Combo1, S("d1640"));
    EXPECT_EQ(w.Text6->Text(), S("1.64"));
    EXPECT_EQ(w.Combo2->Text(), S("2.0"));
    EXPECT_EQ(w.Text7->Text(), S("2.0"));

    // 清零: prompts back, results emptied, the hidden fields kept, the
    // panel still open.
    w.Command4->press();
    w.Command6->press();
    EXPECT_EQ(w.Combo1->Text(), S("请选择管径"));
    EXPECT_EQ(w.Combo2->Text(), S("请选择坡度"));
    EXPECT_EQ(w.Text19->Text(), QString());
    EXPECT_EQ(w.Text20->Text(), QString());
    EXPECT_EQ(w.Text6->Text(), S("1.64"));
    EXPECT_TRUE(w.checkPanelOpen());
    EXPECT_TRUE(boxes().empty());
}

// The check uses the diameter text in force, typed or picked.
TEST_F(StormWaterFormTest, CheckUsesTheDiameterTextInForce)
{
    struct Case {
        const char* diameter;  // typed after a pick of d1000
        const char* velocity;
        const char* capacity;
        const char* minimum;
    };
    const Case cases[] = {
        {"d300", ".749", "52.944", "3.0"},
        {"300", ".749", "52.944", "3.0"},
        {" d300 ", ".749", "52.944", "3.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.diameter);
        StormWaterForm& w = form2();
        pickText(*w.Combo1, S("d1000"));
        w.Combo1->setText(S(c.diameter));
        w.Combo2->setText(QStringLiteral("3.0"));
        w.Command4->press();
        EXPECT_EQ(w.Text19->Text(), S(c.velocity));
        EXPECT_EQ(w.Text20->Text(), S(c.capacity));
        EXPECT_EQ(w.Text6->Text(), S("0.3"));
        EXPECT_EQ(w.Text7->Text(), S(c.minimum));
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(StormWaterFormTest, CheckAsksForDiameterAndSlope)
{
    struct Case {
        const char* diameter;
        const char* slope;
        const char* message;
        const char* focus;
    };
    const Case cases[] = {
        {"请选择管径", "3.0", "请选择管径", "Combo1"},
        {"d300", "0", "请选择坡度", "Combo2"},
    };
    StormWaterForm& w = form2();
    w.Show();
    pickText(*w.Combo1, S("d300"));
    w.Command4->press();  // results on screen
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.diameter) + " / " + c.slope);
        platform().reset();
        w.Combo1->setText(S(c.diameter));
        w.Combo2->setText(S(c.slope));
        platform().answerMessageBox(forms::vbOK);
        w.Command4->press();
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, S(c.message));
        EXPECT_EQ(boxes()[0].title, S("确认数据完整性"));
        EXPECT_EQ(boxes()[0].style, forms::vbOKOnly);
        ASSERT_NE(w.focusWidget(), nullptr);
        EXPECT_EQ(w.focusWidget()->objectName(), S(c.focus));
        EXPECT_EQ(w.Text19->Text(), S(".749"));
        EXPECT_EQ(w.Text20->Text(), S("52.944"));
        EXPECT_EQ(w.Text6->Text(), S("0.3"));
    }
}

TEST_F(StormWaterFormTest, SlopeBelowTheMinimumIsWarnedAbout)
{
    const int okOnly = forms::vbOKOnly | forms::vbCritical;
    const int okCancel = forms::vbOKCancel | forms::vbCritical | forms::vbDefaultButton2;
    struct Case {
        const char* diameter;
        bool typed;
        const char* slope;
        int style;  // 0: no warning
    };
    const Case cases[] = {
        {"d300", false, "2.0", okCancel},
        {"d200", false, "3.9", okOnly},
        {"d450", false, "0.6", 0},
        // A typed diameter is warned about by its own minimum.
        {"200", true, "3.9", okOnly},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.diameter) + " / " + c.slope);
        forms::destroyAllDefaultInstances();
        platform().reset();
        StormWaterForm& w = form2();
        if (c.typed)
            w.Combo1->setText(S(c.diameter));
        else
            pickText(*w.Combo1, S(c.diameter));
        if (c.style != 0)
            platform().answerMessageBox(forms::vbCancel);
        pickText(*w.Combo2, S(c.slope));
        if (c.style == 0) {
            EXPECT_TRUE(boxes().empty());
            continue;
        }
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, S("您所选择的坡度小于规范规定【GBJ 14-87 第3.2.9条】，继续请按确定。"));
        EXPECT_EQ(boxes()[0].title, S("确认数据正确性"));
        EXPECT_EQ(boxes()[0].style, c.style);
        EXPECT_EQ(w.Combo2->Text(), S(c.slope));  // kept whatever the answer
    }
}

// ------------------------------------------------------------ network switch

TEST_F(StormWaterFormTest, SwitchToTheNetworkWindowAndBack)
{
    StormWaterForm& w = openFromMenu();
    StormSegmentListForm& list = Form14();
    for (int column = 0; column < 3; ++column) {
        list.List1(column).AddItem(QStringLiteral("100"));
        list.List1(column).AddItem(QStringLiteral("50"));
    }
    w.Move(1500, 900);

    w.Option4->setValue(true);
    StormSewerNetworkForm& network = form13();
    EXPECT_TRUE(network.isVisible());
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(list.isVisible());
    EXPECT_TRUE(network.Option4->Value());
    EXPECT_FALSE(network.Option3->Value());
    EXPECT_DOUBLE_EQ(network.Left(), 1500);
    EXPECT_DOUBLE_EQ(network.Top(), 900);
    for (int column = 0; column < 3; ++column)
        EXPECT_EQ(list.List1(column).ListCount(), 2) << column;  // kept
    EXPECT_TRUE(w.Option4->Value());
    EXPECT_TRUE(boxes().empty());

    network.Move(2100, 1200);
    network.Option3->setValue(true);
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(network.isVisible());
    EXPECT_TRUE(w.Option3->Value());
    EXPECT_FALSE(w.Option4->Value());
    EXPECT_DOUBLE_EQ(w.Left(), 2100);
    EXPECT_DOUBLE_EQ(w.Top(), 1200);

    // And again: the network window keeps its place until form2 moves it.
    w.Option4->setValue(true);
    EXPECT_TRUE(network.isVisible());
    EXPECT_TRUE(network.Option4->Value());
    EXPECT_DOUBLE_EQ(network.Left(), 2100);
}

TEST_F(StormWaterFormTest, TheNetworkWindowKeepsItsSegmentsAcrossARoundTripByTheMenus)
{
    StormWaterForm& w = openFromMenu();
    w.Option4->setValue(true);
    StormSewerNetworkForm& network = form13();
    network.Text1->setText(S("5"));
    network.Command3->press();  // 输 入
    StormSegmentListForm& list = Form14();
    list.Text1->setText(S("120"));
    list.Text2->setText(S("8000"));
    list.Text3->setText(S("0.9"));
    list.Command1->press();
    ASSERT_EQ(list.rows().size(), 1u);

    // To another calculator and back by the 雨水 menu: the window is in its
    // own mode, and one click on "手工逐段计算" finds the network as left.
    network.menu()->排水->click();
    ASSERT_TRUE(Form1().isVisible());
    Form1().menu()->雨水->click();
    ASSERT_TRUE(w.isVisible());
    EXPECT_TRUE(w.Option3->Value());
    EXPECT_FALSE(w.Option4->Value());
    forms::testing::snapshot(w, S("form2-back"));
    w.Option4->setValue(true);
    EXPECT_TRUE(network.isVisible());
    EXPECT_FALSE(w.isVisible());
    forms::testing::snapshot(network, S("form13-back"));
    EXPECT_EQ(list.rows(), (std::vector<storm_network::SegmentRow>{{S("120"), S("8000"), S("0.9")}}));
    EXPECT_EQ(list.List1(2).ListCount(), 1);
    EXPECT_EQ(network.Text1->Text(), S("5"));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(StormWaterFormTest, SwitchKeepsTheStormWaterInputs)
{
    StormWaterForm& w = form2();
    enterWorkedExample(w);
    w.Command1->press();
    const QStringList before = results(w);
    w.Option4->setValue(true);
    form13().Option3->setValue(true);
    EXPECT_EQ(results(w), before);
    EXPECT_EQ(w.Text13->Text(), S("10000"));
}

// ------------------------------------------------------------ layout

TEST_F(StormWaterFormTest, TextsFitTheirControls)
{
    StormWaterForm& w = form2();
    w.Show();
    w.Command3->press();
    QStringList clipped;
    for (const auto* label : w.findChildren<forms::Label*>()) {
        const QFontMetrics fm(label->font());
        const QRect need = fm.boundingRect(label->Caption());
        if (need.width() > label->width() || fm.height() > label->height() + fm.descent())
            clipped << label->objectName();
    }
    for (const auto* option : w.findChildren<forms::OptionButton*>()) {
        const QFontMetrics fm(option->font());
        if (fm.horizontalAdvance(option->Caption()) + 20 > option->width())
            clipped << option->objectName();
    }
    for (const auto* button : w.findChildren<forms::CommandButton*>()) {
        const QFontMetrics fm(button->font());
        if (fm.horizontalAdvance(button->Caption()) > button->width() - 4)
            clipped << button->objectName();
    }
    for (const auto* combo : w.findChildren<forms::ComboBox*>()) {
        const QFontMetrics fm(combo->font());
        int widest = fm.horizontalAdvance(combo->Text());
        for (int i = 0; i < combo->ListCount(); ++i)
            widest = std::max(widest, fm.horizontalAdvance(combo->List(i)));
        if (widest > combo->width() - 22)
            clipped << combo->objectName();
    }
    EXPECT_TRUE(clipped.isEmpty()) << clipped.join(QStringLiteral(", ")).toStdString();
}

}  // namespace
