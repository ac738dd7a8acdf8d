// The septic tank window form12, driven as a user drives it: the opening
// state, the input lists, the calculation with its share limit, standard
// tank, type code, users and outline size, the hand pick of a standard
// tank, refused inputs, and leaving the window.
#include "building_services/septic_tank_form.h"
#include "forms/testing/lists.h"
#include "forms/testing/text.h"
#include "version/version.h"

#include "app/windows.h"
#include "forms/testing/fixture.h"
#include "hydraulics/water_supply_pipe_form.h"

#include <QTest>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using forms::testing::FormsTest;

namespace {

using forms::testing::entries;
using forms::testing::pickText;
using forms::testing::S;

const QStringList kOfficeQuotas = {"30", "40", "50", "100", "150", "200"};
const QStringList kTankTexts = {"1-2",  "2-4",   "3-6",   "4-9",   "5-12",  "6-16",  "7-20",
                                "8-25", "9-30", "10-40", "11-50", "12-75", "13-100"};

class SepticTankFormTest : public FormsTest {
protected:
    // The window as the menu bar opens it.
    SepticTankForm& openFromMenu()
    {
        form0().Show();
        form0().menu()->化粪池选型->click();
        SepticTankForm& w = form12();
        EXPECT_TRUE(w.isVisible());
        EXPECT_FALSE(form0().isVisible());
        return w;
    }

    // The shown results: type code, largest number of users, outline size.
    static QStringList results(const SepticTankForm& w)
    {
        return {w.Text9->Text(), w.Text7->Text(), w.Text14->Text()};
    }

    // The working values: V1, V2, V, share, users unrounded, the letters S,
    // Q, F and the material letter.
    static QStringList working(const SepticTankForm& w)
    {
        return {w.Text3->Text(),  w.Text4->Text(),  w.Text6->Text(),
                w.Text10->Text(), w.Text5->Text(),  w.Text11->Text(),
                w.Text12->Text(), w.Text13->Text(), w.Text15->Text()};
    }

    // Everything a refused calculation or hand pick must leave as it was.
    static QStringList written(const SepticTankForm& w)
    {
        return results(w) + working(w) + QStringList{w.Combo10->Text()};
    }
};

// ------------------------------------------------------------ opening state

TEST_F(SepticTankFormTest, OpensWithTheInitialInputsAndResults)
{
    SepticTankForm& w = openFromMenu();
    EXPECT_EQ(w.Caption(), S("化粪池设计计算V") + kVersionText);
    EXPECT_EQ(w.Text1->Text(), S("1"));
    EXPECT_EQ(w.Combo1->Text(), S("办公楼、教学楼、工业企业生活间"));
    EXPECT_EQ(entries(*w.Combo1),
              (QStringList{S("办公楼、教学楼、工业企业生活间"), S("医院、疗养院、幼儿园（有住宿）"),
                           S("住宅、集体宿舍、旅馆、宾馆"),
                           S("公共食堂、影剧院、体育馆（场）、其他类似公共场所")}));
    EXPECT_EQ(w.Combo5->Text(), S("0.40"));
    EXPECT_EQ(entries(*w.Combo5), (QStringList{"0.10", "0.40", "0.70", "1.00"}));
    EXPECT_EQ(w.Combo2->Text(), S("污、废合流制"));
    EXPECT_EQ(entries(*w.Combo2), (QStringList{S("污、废合流制"), S("污、废分流制")}));
    EXPECT_EQ(w.Combo3->Text(), S("50"));
    EXPECT_EQ(entries(*w.Combo3), kOfficeQuotas);
    EXPECT_EQ(w.Combo11->Text(), S("砖砌化粪池"));
    EXPECT_EQ(entries(*w.Combo11), (QStringList{S("砖砌化粪池"), S("钢混化粪池")}));
    EXPECT_EQ(w.Combo7->Text(), S("有地下水"));
    EXPECT_EQ(entries(*w.Combo7), (QStringList{S("有地下水"), S("无地下水")}));
    EXPECT_EQ(w.Combo8->Text(), S("不过汽车"));
    EXPECT_EQ(entries(*w.Combo8), (QStringList{S("可过汽车"), S("不过汽车")}));
    EXPECT_EQ(w.Combo9->Text(), S("无覆土"));
    EXPECT_EQ(entries(*w.Combo9), (QStringList{S("有覆土"), S("无覆土")}));
    EXPECT_EQ(w.Combo6->Text(), S("12"));
    EXPECT_EQ(entries(*w.Combo6), (QStringList{"12", "24"}));
    EXPECT_EQ(w.Combo4->Text(), S("180"));
    EXPECT_EQ(entries(*w.Combo4), (QStringList{"90", "180", "360"}));
    EXPECT_EQ(w.Combo10->Text(), S("手动选择化粪池"));
    EXPECT_EQ(entries(*w.Combo10), kTankTexts);
    EXPECT_EQ(results(w), (QStringList{"Z1-2S", "58", S("3530×1890")}));
    EXPECT_EQ(w.Text2->Text(), S("0.00028"));
    EXPECT_EQ(w.Text3->Text(), S("0"));
    EXPECT_EQ(w.Text4->Text(), S("0"));
    EXPECT_EQ(w.Text11->Text(), S("S"));
    EXPECT_EQ(w.Text12->Text(), QString());
    EXPECT_EQ(w.Text13->Text(), QString());
    EXPECT_EQ(w.Text15->Text(), QString());
    EXPECT_EQ(w.Frame1->Caption(), S("设计参数"));
    EXPECT_EQ(w.Frame2->Caption(), S("计算结果"));
    EXPECT_EQ(w.Label5->Caption(), S("L/p·d"));
    EXPECT_EQ(w.Command1->Caption(), S("计 算"));
    EXPECT_EQ(w.Command2->Caption(), S("退出"));
    EXPECT_EQ(w.Command3->Caption(), S("返回"));
    for (forms::TextBox* box : {w.Text2, w.Text3, w.Text4, w.Text6, w.Text10, w.Text5, w.Text11,
                                w.Text12, w.Text13, w.Text15})
        EXPECT_FALSE(box->isVisibleTo(&w)) << box->objectName().toStdString();
    EXPECT_TRUE(boxes().empty());
}

TEST_F(SepticTankFormTest, InitialResultsAreThoseOfTheInitialInputs)
{
    SepticTankForm& w = openFromMenu();
    w.Command1->press();
    EXPECT_EQ(results(w), (QStringList{"Z1-2S", "58", S("3530×1890")}));
    // The share 0.7075 of V = 0.034192 is above 0.7: V := V1 / 0.3 and
    // V2 := 0.7 · V; then tank 1 (2 m³) serves 2 / 0.0342 users.
    EXPECT_EQ(working(w), (QStringList{"0.01", "0.0233333333333333", "2", "0.707533926064577",
                                       "58.4795321637427", "S", "", "", "Z"}));
    EXPECT_EQ(w.Combo10->Text(), S("手动选择化粪池"));
    EXPECT_TRUE(boxes().empty());
}

// ------------------------------------------------------------ input lists

TEST_F(SepticTankFormTest, BuildingUsePickSetsFactorAndQuotaList)
{
    struct Row {
        const char* use;
        const char* factor;
        QStringList quotas;
    };
    const Row rows[] = {
        {"公共食堂、影剧院、体育馆（场）、其他类似公共场所", "0.10", {"10", "20", "30", "40", "50"}},
        {"医院、疗养院、幼儿园（有住宿）", "1.00", {"50", "100", "150", "200", "250", "300", "400"}},
        {"住宅、集体宿舍、旅馆、宾馆", "0.70",
         {"50", "100", "150", "200", "250", "300", "400", "500"}},
        {"办公楼、教学楼、工业企业生活间", "0.40", kOfficeQuotas},
    };
    SepticTankForm& w = openFromMenu();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.use);
        // A typed factor and quota, and a hand pick, give way to the use's.
        w.Combo5->setText(QStringLiteral("0.55"));
        w.Combo3->setText(QStringLiteral("75"));
        pickText(*w.Combo10, "5-12");
        pickText(*w.Combo1, row.use);
        EXPECT_EQ(w.Combo5->Text(), S(row.factor));
        EXPECT_EQ(w.Combo3->Text(), S("50"));
        EXPECT_EQ(entries(*w.Combo3), row.quotas);
        EXPECT_EQ(w.Combo10->Text(), S("手动选择化粪池"));
    }
}

TEST_F(SepticTankFormTest, TypedInputsKeepTheHandPickAndPickedOnesRestoreThePrompt)
{
    SepticTankForm& w = openFromMenu();
    struct Row {
        const char* name;
        forms::ComboBox* combo;
        const char* typed;
        const char* picked;
    };
    const Row rows[] = {
        {"quota", w.Combo3, "60", "100"},
        {"usage factor", w.Combo5, "0.5", "0.70"},
        {"retention time", w.Combo6, "18", "24"},
        {"cleaning period", w.Combo4, "120", "360"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        pickText(*w.Combo10, "13-100");
        const QStringList shown = results(w);
        row.combo->setText(S(row.typed));
        EXPECT_EQ(row.combo->Text(), S(row.typed));
        EXPECT_EQ(w.Combo10->Text(), S("13-100"));
        pickText(*row.combo, row.picked);
        EXPECT_EQ(row.combo->Text(), S(row.picked));
        EXPECT_EQ(w.Combo10->Text(), S("手动选择化粪池"));
        EXPECT_EQ(results(w), shown);
    }
}

TEST_F(SepticTankFormTest, DrainageSystemPickSetsTheSludgeConstant)
{
    SepticTankForm& w = openFromMenu();
    pickText(*w.Combo10, "1-2");
    pickText(*w.Combo2, "污、废分流制");
    EXPECT_EQ(w.Text2->Text(), S("0.00016"));
    EXPECT_EQ(w.Combo10->Text(), S("手动选择化粪池"));
    pickText(*w.Combo2, "污、废合流制");
    EXPECT_EQ(w.Text2->Text(), S("0.00028"));
}

TEST_F(SepticTankFormTest, SiteConditionPicksWriteTheirLettersAndTheCodeFollowsOnCalculating)
{
    SepticTankForm& w = openFromMenu();
    pickText(*w.Combo10, "2-4");
    pickText(*w.Combo7, "无地下水");
    EXPECT_EQ(w.Text11->Text(), QString());
    pickText(*w.Combo8, "可过汽车");
    EXPECT_EQ(w.Text12->Text(), S("Q"));
    pickText(*w.Combo9, "有覆土");
    EXPECT_EQ(w.Text13->Text(), S("F"));
    // Neither the hand pick nor the shown results change yet.
    EXPECT_EQ(w.Combo10->Text(), S("2-4"));
    EXPECT_EQ(w.Text9->Text(), QString());
    w.Command1->press();
    EXPECT_EQ(results(w), (QStringList{"Z1-2QF", "58", S("3270×1630")}));
    pickText(*w.Combo7, "有地下水");
    pickText(*w.Combo8, "不过汽车");
    pickText(*w.Combo9, "无覆土");
    EXPECT_EQ(w.Text11->Text(), S("S"));
    EXPECT_EQ(w.Text12->Text(), QString());
    EXPECT_EQ(w.Text13->Text(), QString());
    EXPECT_EQ(w.Text9->Text(), S("Z1-2QF"));
}

// ------------------------------------------------------------ calculation

TEST_F(SepticTankFormTest, CalculatesTankTypeCodeUsersAndOutlineSize)
{
    using F = SepticTankForm;
    struct Pick {
        forms::ComboBox* F::*combo;
        const char* text;
    };
    struct Row {
        const char* name;
        std::vector<Pick> picks;  // made first
        const char* typedUsers;   // then typed; nullptr keeps "1"
        const char* typedQuota;   // nullptr keeps "50"
        const char* typeCode;
        const char* maxUsers;
        const char* outline;
        const char* volume;  // Text6
        const char* sludge;  // Text4
        const char* share;   // Text10
    };
    const std::vector<Pick> hospitalSeparate24h90d = {
        {&F::Combo1, "医院、疗养院、幼儿园（有住宿）"},
        {&F::Combo2, "污、废分流制"},
        {&F::Combo6, "24"},
        {&F::Combo4, "90"},
    };
    const Row rows[] = {
        {"volume exactly 25, share above 0.7: V := V1 / 0.3", {}, "1000", "4.04", "Z2-4S", "159",
         "5380×1890", "4", "1.88533333333333", "0.96768"},
        {"share exactly 0.7 leaves the volume", {}, nullptr, "51.84", "Z1-2S", "57", "3530×1890",
         "2", "0.024192", "0.7"},
        {"volume exactly 9 selects 4-9", hospitalSeparate24h90d, "100", "72.72", "Z4-9S", "99",
         "5620×2880", "9", "1.728", "0.192"},
        {"above 100 m³: letters only, no outline size", {}, "10000", nullptr, "ZS", "9997", "",
         "341.92", "241.92", "0.707533926064576"},
        {"brick 6 without groundwater, cover soil and vehicles",
         {{&F::Combo7, "无地下水"}, {&F::Combo8, "可过汽车"}, {&F::Combo9, "有覆土"}}, "400",
         nullptr, "Z6-16QF", "467", "6880×3140", "16", "9.33333333333331", "0.707533926064577"},
        {"brick 6 without groundwater, vehicles, no cover soil",
         {{&F::Combo7, "无地下水"}, {&F::Combo8, "可过汽车"}}, "400", nullptr, "Z6-16Q", "467",
         "7120×3380", "16", "9.33333333333331", "0.707533926064577"},
        {"concrete keeps the letters, its size ignores them",
         {{&F::Combo11, "钢混化粪池"}, {&F::Combo8, "可过汽车"}}, "150", nullptr, "G3-6SQ", "175",
         "4800×1600", "6", "3.5", "0.707533926064577"},
        {"concrete 13 without conditions", {{&F::Combo11, "钢混化粪池"}, {&F::Combo7, "无地下水"}},
         "2500", nullptr, "G13-100", "2923", "13400×3700", "100", "60.48", "0.707533926064576"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        forms::destroyAllDefaultInstances();
        SepticTankForm& w = openFromMenu();
        for (const Pick& pick : row.picks)
            pickText(*(w.*pick.combo), pick.text);
        if (row.typedUsers)
            w.Text1->setText(S(row.typedUsers));
        if (row.typedQuota)
            w.Combo3->setText(S(row.typedQuota));
        pickText(*w.Combo10, "8-25");
        w.Command1->press();
        EXPECT_EQ(results(w), (QStringList{S(row.typeCode), S(row.maxUsers), S(row.outline)}));
        EXPECT_EQ(w.Text6->Text(), S(row.volume));
        EXPECT_EQ(w.Text4->Text(), S(row.sludge));
        EXPECT_EQ(w.Text10->Text(), S(row.share));
        EXPECT_EQ(w.Combo10->Text(), S("手动选择化粪池"));
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(SepticTankFormTest, HandPickShowsTheWholeUsersOfAnyTank)
{
    SepticTankForm& w = openFromMenu();
    w.Command1->press();
    const QStringList before = working(w);
    pickText(*w.Combo10, "13-100");
    // 100 / 0.0342 = 2923.98: its whole part, no type code, no outline.
    EXPECT_EQ(results(w), (QStringList{"", "2923", ""}));
    EXPECT_EQ(working(w), before);
    EXPECT_EQ(w.Combo10->Text(), S("13-100"));
    pickText(*w.Combo10, "1-2");
    EXPECT_EQ(results(w), (QStringList{"", "58", ""}));

    // The calculation that selects a tank shows the users the hand pick of
    // that tank shows, rounded down alike, and puts the prompt back.
    struct Row {
        const char* users;
        const char* tank;
        const char* typeCode;
        const char* served;
        const char* outline;
    };
    const Row rows[] = {
        // 12 / 0.0342 = 350.88: 351 users would need more than 12 m³.
        {"300", "5-12", "Z5-12S", "350", "5620×2880"},
        {"2500", "13-100", "Z13-100S", "2923", "14520×4640"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.users);
        w.Text1->setText(S(row.users));
        w.Command1->press();
        EXPECT_EQ(results(w), (QStringList{S(row.typeCode), S(row.served), S(row.outline)}));
        EXPECT_EQ(w.Combo10->Text(), S("手动选择化粪池"));
        pickText(*w.Combo10, row.tank);
        EXPECT_EQ(results(w), (QStringList{"", S(row.served), ""}));
    }
    EXPECT_TRUE(boxes().empty());
}

// ------------------------------------------------------------ refused inputs

TEST_F(SepticTankFormTest, UsersDoubleClickEmptiesTheFieldAndCalculatingAsksForThem)
{
    SepticTankForm& w = openFromMenu();
    QTest::mouseDClick(w.Text1, Qt::LeftButton);
    EXPECT_EQ(w.Text1->Text(), QString());
    const QStringList before = written(w);
    platform().answerMessageBox(forms::vbOK);
    w.Command1->press();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, S("请输入设计人数！"));
    EXPECT_EQ(boxes()[0].title, S("警告"));
    EXPECT_EQ(boxes()[0].style, forms::vbOKOnly);
    EXPECT_EQ(w.focusWidget(), w.Text1);
    EXPECT_EQ(written(w), before);
}

TEST_F(SepticTankFormTest, RefusesInputsThatHoldNoUsableNumber)
{
    struct Row {
        const char* name;
        std::function<void(SepticTankForm&)> enter;
        const char* message;
        const char* focus;
    };
    const auto typeUsers = [](const char* text) {
        return [text](SepticTankForm& w) { w.Text1->setText(S(text)); };
    };
    const auto type = [](forms::ComboBox* SepticTankForm::*combo, const char* text) {
        return [combo, text](SepticTankForm& w) { (w.*combo)->setText(S(text)); };
    };
    // One row per refusal; the engine's table holds the ranges.
    const Row rows[] = {
        {"users blanks", typeUsers("   "), "请输入设计人数！", "Text1"},
        {"users out of range", typeUsers("1e308"), "请输入正确的设计人数！", "Text1"},
        {"factor out of range", type(&SepticTankForm::Combo5, "1e20"), "请输入正确的使用系数！",
         "Combo5"},
        {"cleaning negative", type(&SepticTankForm::Combo4, "-90"), "请输入正确的清掏周期！",
         "Combo4"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        forms::destroyAllDefaultInstances();
        platform().reset();
        SepticTankForm& w = openFromMenu();
        pickText(*w.Combo10, "3-6");
        row.enter(w);
        const QStringList before = written(w);
        platform().answerMessageBox(forms::vbOK);
        w.Command1->press();
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, S(row.message));
        EXPECT_EQ(boxes()[0].title, S("警告"));
        EXPECT_EQ(boxes()[0].style, forms::vbOKOnly);
        ASSERT_NE(w.focusWidget(), nullptr);
        EXPECT_EQ(w.focusWidget()->objectName(), S(row.focus));
        EXPECT_EQ(written(w), before);
    }
}

TEST_F(SepticTankFormTest, HandPickRefusesTheSameInputsButNotTheUsers)
{
    SepticTankForm& w = openFromMenu();
    // The users do not enter the hand pick.
    w.Text1->setText(QString());
    pickText(*w.Combo10, "4-9");
    EXPECT_EQ(results(w), (QStringList{"", "263", ""}));
    EXPECT_TRUE(boxes().empty());

    struct Row {
        const char* name;
        forms::ComboBox* SepticTankForm::*combo;
        const char* typed;
        const char* message;
    };
    const Row rows[] = {
        {"retention time", &SepticTankForm::Combo6, "半天", "请输入正确的污水停留时间！"},
        {"usage factor", &SepticTankForm::Combo5, "1e-323", "请输入正确的使用系数！"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        forms::ComboBox* combo = w.*row.combo;
        const QString kept = combo->Text();
        combo->setText(S(row.typed));
        const QStringList before = results(w) + working(w);
        platform().answerMessageBox(forms::vbOK);
        pickText(*w.Combo10, "5-12");
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, S(row.message));
        EXPECT_EQ(boxes()[0].title, S("警告"));
        EXPECT_EQ(boxes()[0].style, forms::vbOKOnly);
        EXPECT_EQ(w.focusWidget(), combo);
        EXPECT_EQ(results(w) + working(w), before);
        // The refused tank is not left standing beside another's figures.
        EXPECT_EQ(w.Combo10->Text(), S("手动选择化粪池"));
        combo->setText(kept);
        platform().reset();
    }
}

// ------------------------------------------------------------ leaving

TEST_F(SepticTankFormTest, ReturnShowsTheWaterSupplyWindowAndKeepsTheInputs)
{
    SepticTankForm& w = openFromMenu();
    w.Text1->setText(QStringLiteral("400"));
    w.Command1->press();
    w.Command3->press();
    EXPECT_TRUE(form0().isVisible());
    EXPECT_FALSE(w.isVisible());
    form0().menu()->化粪池选型->click();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.Text1->Text(), S("400"));
    EXPECT_EQ(results(w), (QStringList{"Z6-16S", "467", S("7120×3380")}));
}

TEST_F(SepticTankFormTest, ExitAndClosingEndTheProgram)
{
    SepticTankForm& w = openFromMenu();
    EXPECT_TRUE(endsProgram([&] { w.Command2->press(); }));
    EXPECT_TRUE(endsProgram([&] { w.Unload(); }));
    EXPECT_TRUE(boxes().empty());
}

} // namespace
