#include "building_services/extinguisher_config_form.h"
#include "forms/testing/clipped_texts.h"
#include "forms/testing/contrast.h"
#include "forms/testing/text.h"
#include "version/version.h"

#include "app/results_window_form.h"
#include "app/splash_form.h"
#include "app/windows.h"
#include "fire_protection_test_support.h"
#include "forms/testing/fixture.h"
#include "hydraulics/water_supply_pipe_form.h"

#include <QTest>

namespace {

using namespace Qt::StringLiterals;
using fire_protection_test::resultWindowExists;
using forms::TextBox;

using forms::testing::S;

const QString kCorrectness = u"确认数据正确性"_s;
const QString kCompleteness = u"确认数据完整性"_s;
const QString kCalculateFirst = u"请先按“计 算”按当前设计参数进行计算，再查看结果！"_s;
const QString kTooMany =
    u"每处设置的灭火器数量超过规范规定【GBJ140-90-4.0.7】！请增加设置点数量或改变灭火器规格！"_s;
const QString kTooSmall = u"灭火器规格偏小，不能满足规范最小配置级别要求！"_s;
const QString kRemark = u"（超过规范规定【GBJ140-90-4.0.7】，不推荐采用）"_s;
const QString k1kg = u"1kg磷酸铵盐干粉灭火器"_s;
const QString k2kg = u"2kg磷酸铵盐干粉灭火器"_s;
const QString k3kg = u"3kg磷酸铵盐干粉灭火器"_s;
const QString k4kg = u"4kg磷酸铵盐干粉灭火器"_s;
const QString k6kg = u"6kg磷酸铵盐干粉灭火器"_s;

// Colours as the running application draws them.
const QColor kPink = forms::color(0xFFC0FF);
QColor highlightText() { return forms::color(0x8000000E); }
QColor grey() { return forms::color(0x80000000); }
QColor windowBackground() { return forms::color(0x80000005); }

const QString kAutomaticExample =
    u"建筑面积为1000平方米，危险等级为中危险级,火灾种类为A类火灾，配置基准为15平米/A，灭火器设置点为"
    u"4处，每处灭火级别为11.67A，配置方案为：1.选用1kg磷酸铵盐干粉灭火器4具，实际配置级别为12A，共需"
    u"配置灭火器16具；2.选用2kg磷酸铵盐干粉灭火器3具，实际配置级别为15A，共需配置灭火器12具；3.选用"
    u"3kg磷酸铵盐干粉灭火器3具，实际配置级别为15A，共需配置灭火器12具；4.选用4kg磷酸铵盐干粉灭火器"
    u"2具，实际配置级别为16A，共需配置灭火器8具；5.选用6kg磷酸铵盐干粉灭火器2具，实际配置级别为16A，"
    u"共需配置灭火器8具。"_s;

const QString kManualExample =
    u"建筑面积为1000平方米，危险等级为中危险级,火灾种类为A类火灾，配置基准为15平米/A，灭火器设置点为"
    u"4处，每处灭火级别为11.67A，选用2kg磷酸铵盐干粉灭火器3具，实际配置级别为15A，共需配置灭火器"
    u"12具。"_s;

QStringList texts(std::initializer_list<const TextBox*> fields)
{
    QStringList all;
    for (const TextBox* field : fields)
        all.append(field->Text());
    return all;
}

class ExtinguisherConfigFormTest : public forms::testing::FormsTest {
protected:
    static ExtinguisherConfigForm& w() { return Form5(); }

    // The fields of the calculation results, visible and hidden.
    static QStringList allResults()
    {
        const ExtinguisherConfigForm& f = w();
        return texts({f.Text2,  f.Text4,  f.Text36, f.Text9,  f.Text8,  f.Text7,  f.Text12,
                      f.Text3,  f.Text16, f.Text17, f.Text18, f.Text19, f.Text20, f.Text21,
                      f.Text22, f.Text23, f.Text24, f.Text25, f.Text26, f.Text27, f.Text28,
                      f.Text29, f.Text30, f.Text31, f.Text32, f.Text33, f.Text34, f.Text35})
            << f.Label37->Caption();
    }

    // Manual mode with its figures editable: automatic, then manual.
    static void editableManualMode()
    {
        w().Option13->click();
        w().Option14->click();
    }

    // One message box, answered with OK, shown by `action`.
    void expectBox(const std::function<void()>& action, const QString& text, const QString& title,
                   QWidget* focus = nullptr)
    {
        platform().reset();
        platform().answerMessageBox(forms::vbOK);
        action();
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, text);
        EXPECT_EQ(boxes()[0].title, title);
        EXPECT_EQ(boxes()[0].style, forms::vbOKOnly);
        if (focus) {
            EXPECT_EQ(w().focusWidget(), focus);
        }
    }

    void freshRun()
    {
        forms::destroyAllDefaultInstances();
        platform().reset();
    }
};

TEST_F(ExtinguisherConfigFormTest, OpensInManualModeForClassAMediumHazardAboveGround)
{
    ExtinguisherConfigForm& f = w();
    f.Show();
    EXPECT_EQ(f.Caption(), u"灭火器配置计算V"_s + kVersionText);
    EXPECT_EQ(texts({f.Text10, f.Text11, f.Text14, f.Text15}),
              (QStringList{u"A类火灾"_s, u"中危险级"_s, u"0.7"_s, u"1"_s}));
    EXPECT_EQ(f.focusWidget(), f.Text5);
    EXPECT_EQ(f.Text1->Text(), u"1000"_s);
    EXPECT_EQ(f.Text5->Text(), QString());
    EXPECT_EQ(f.Combo1->Text(), k2kg);
    EXPECT_EQ(fire_protection_test::entries(f.Combo1), (QStringList{k1kg, k2kg, k3kg, k4kg, k6kg}));
    for (const forms::OptionButton* selected : {f.Option1, f.Option6, f.Option4, f.Option9, f.Option14})
        EXPECT_TRUE(selected->Value()) << selected->objectName().toStdString();
    EXPECT_TRUE(f.Combo1->Enabled());
    EXPECT_TRUE(f.Command2->Enabled());
    for (const TextBox* result : {f.Text2, f.Text4, f.Text36, f.Text9, f.Text8, f.Text7, f.Text12, f.Text3}) {
        EXPECT_FALSE(result->Enabled()) << result->objectName().toStdString();
        EXPECT_EQ(result->Text(), QString()) << result->objectName().toStdString();
    }
    for (const TextBox* base : {f.Text2, f.Text4, f.Text36})
        EXPECT_EQ(base->BackColor(), grey());
    EXPECT_EQ(f.Text8->BackColor(), highlightText());
    for (const forms::Label* unit : {f.Label22, f.Label28, f.Label29, f.Label31})
        EXPECT_TRUE(unit->isVisibleTo(&f));
    EXPECT_EQ(f.Label20->Caption(), u"平米/A"_s);
    EXPECT_EQ(f.defaultButton(), f.Command1);
    EXPECT_EQ(f.Command1->Caption(), u"计 算"_s);
    EXPECT_EQ(f.Command2->Caption(), u"查 看"_s);
    EXPECT_EQ(f.Command3->Caption(), u"退出"_s);
    // Each option's caption, repeated by the label beside it.
    const std::pair<const forms::OptionButton*, const forms::Label*> captions[] = {
        {f.Option1, f.Label7},   {f.Option2, f.Label8},   {f.Option5, f.Label9},
        {f.Option6, f.Label12},  {f.Option7, f.Label13},  {f.Option3, f.Label10},
        {f.Option4, f.Label11},  {f.Option9, f.Label16},  {f.Option10, f.Label14},
        {f.Option8, f.Label17},  {f.Option11, f.Label15}, {f.Option12, f.Label18},
        {f.Option13, f.Label35}, {f.Option14, f.Label36},
    };
    for (const auto& [option, label] : captions)
        EXPECT_EQ(label->Caption(), option->Caption()) << option->objectName().toStdString();
    EXPECT_EQ(f.Label18->Caption(), u"可燃物露天堆垛,甲.乙.丙类液体贮罐,可燃气体贮罐,K=0.3"_s);
    for (int i = 10; i <= 35; ++i) {
        if (i == 12 || i == 13)
            continue;
        const QString name = u"Text"_s + QString::number(i);
        const auto* hidden = f.findChild<TextBox*>(name);
        ASSERT_NE(hidden, nullptr) << name.toStdString();
        EXPECT_FALSE(hidden->isVisibleTo(&f)) << name.toStdString();
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(ExtinguisherConfigFormTest, EachOptionWritesItsText)
{
    ExtinguisherConfigForm& f = w();
    struct Row {
        forms::OptionButton* option;
        TextBox* field;
        const char* text;
    };
    const Row rows[] = {
        {f.Option5, f.Text11, "严重危险级"}, {f.Option7, f.Text11, "轻危险级"},
        {f.Option6, f.Text11, "中危险级"},   {f.Option3, f.Text15, "1.3"},
        {f.Option4, f.Text15, "1"},          {f.Option10, f.Text14, "1"},
        {f.Option8, f.Text14, "0.5"},        {f.Option11, f.Text14, "0.3"},
        {f.Option9, f.Text14, "0.7"},        {f.Option12, f.Text14, "0.3"},
        {f.Option2, f.Text10, "B类火灾"},    {f.Option1, f.Text10, "A类火灾"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.option->objectName().toStdString());
        row.option->click();
        EXPECT_EQ(row.field->Text(), S(row.text));
    }
}

TEST_F(ExtinguisherConfigFormTest, EachProtectionCalculatesWithItsReductionFactor)
{
    // Class A, medium hazard (U 15), above ground, 300 m² at one point:
    // Qe = K × 20, two or three 6 kg extinguishers.
    ExtinguisherConfigForm& f = w();
    f.Show();
    f.Text1->setText(u"300"_s);
    f.Text5->setText(u"1"_s);
    f.Combo1->setText(k6kg);
    struct Row {
        forms::OptionButton* option;
        const char* requiredRating;
    };
    const Row rows[] = {
        {f.Option10, "20"}, {f.Option8, "10"}, {f.Option11, "6"},
        {f.Option9, "14"},  {f.Option12, "6"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.option->objectName().toStdString());
        row.option->click();
        f.Command1->press();
        EXPECT_EQ(f.Text9->Text(), S(row.requiredRating));
        EXPECT_TRUE(boxes().empty());
    }
}

TEST_F(ExtinguisherConfigFormTest, FireClassChangesTheUnitsAtOnceButTheMinimumRatingsUnitOnCalculation)
{
    ExtinguisherConfigForm& f = w();
    f.Text5->setText(u"4"_s);
    f.Command1->press();
    EXPECT_EQ(f.Label37->Caption(), u"A"_s);
    f.Option2->click();
    EXPECT_EQ(f.Label20->Caption(), u"平米/B"_s);
    for (const forms::Label* unit : {f.Label22, f.Label29, f.Label33})
        EXPECT_EQ(unit->Caption(), u"B"_s);
    EXPECT_EQ(f.Label37->Caption(), u"A"_s);
    f.Command1->press();
    EXPECT_EQ(f.Label37->Caption(), u"B"_s);
    f.Option1->click();
    EXPECT_EQ(f.Label20->Caption(), u"平米/A"_s);
    for (const forms::Label* unit : {f.Label22, f.Label29, f.Label33})
        EXPECT_EQ(unit->Caption(), u"A"_s);
}

TEST_F(ExtinguisherConfigFormTest, AutomaticWorkedExampleFromTheMenuBar)
{
    logo().Form_Click();
    form0().menu()->灭火器->click();
    ExtinguisherConfigForm& f = w();
    ASSERT_TRUE(f.isVisible());
    EXPECT_FALSE(form0().isVisible());

    f.Option13->click();
    f.Text5->setText(u"4"_s);
    f.Command1->press();
    EXPECT_EQ(texts({f.Text2, f.Text4, f.Text36, f.Text9, f.Text3}),
              (QStringList{u"15"_s, u"20"_s, u"5"_s, u"11.6666666666667"_s, QString()}));
    EXPECT_EQ(texts({f.Text17, f.Text19, f.Text21, f.Text23, f.Text25}),
              (QStringList{u"4"_s, u"3"_s, u"3"_s, u"2"_s, u"2"_s}));
    EXPECT_EQ(texts({f.Text16, f.Text18, f.Text20, f.Text22, f.Text24}),
              (QStringList{u"12"_s, u"15"_s, u"15"_s, u"16"_s, u"16"_s}));
    EXPECT_EQ(texts({f.Text26, f.Text27, f.Text28, f.Text29, f.Text30}),
              (QStringList{u"16"_s, u"12"_s, u"12"_s, u"8"_s, u"8"_s}));
    EXPECT_EQ(texts({f.Text31, f.Text32, f.Text33, f.Text34, f.Text35}),
              (QStringList{QString(), QString(), QString(), QString(), QString()}));
    // The manual rows stay empty.
    EXPECT_EQ(texts({f.Text8, f.Text7, f.Text12}), (QStringList{QString(), QString(), QString()}));

    ResultsWindowForm& r = Form9();
    EXPECT_TRUE(r.isVisible());
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(r.Text1->Text(), kAutomaticExample);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(ExtinguisherConfigFormTest, AutomaticClassBSevereBelowGroundMarksTheSizesAboveFive)
{
    ExtinguisherConfigForm& f = w();
    f.Option13->click();
    f.Option2->click();
    f.Option5->click();
    f.Option3->click();
    f.Option10->click();
    f.Text1->setText(u"500"_s);
    f.Text5->setText(u"3"_s);
    f.Command1->press();
    EXPECT_EQ(texts({f.Text2, f.Text4, f.Text36, f.Text9}),
              (QStringList{u"5"_s, u"9"_s, u"8"_s, u"43.3333333333333"_s}));
    EXPECT_EQ(f.Label37->Caption(), u"B"_s);
    EXPECT_EQ(texts({f.Text17, f.Text19, f.Text21, f.Text23, f.Text25}),
              (QStringList{u"22"_s, u"9"_s, u"7"_s, u"5"_s, u"4"_s}));
    EXPECT_EQ(texts({f.Text16, f.Text18, f.Text20, f.Text22, f.Text24}),
              (QStringList{u"44"_s, u"45"_s, u"49"_s, u"50"_s, u"48"_s}));
    EXPECT_EQ(texts({f.Text26, f.Text27, f.Text28, f.Text29, f.Text30}),
              (QStringList{u"66"_s, u"27"_s, u"21"_s, u"15"_s, u"12"_s}));
    EXPECT_EQ(texts({f.Text31, f.Text32, f.Text33, f.Text34, f.Text35}),
              (QStringList{kRemark, kRemark, kRemark, QString(), QString()}));
    EXPECT_EQ(Form9().Text1->Text(),
              u"建筑面积为500平方米，危险等级为严重危险级,火灾种类为B类火灾，配置基准为5平米/B，"
              u"灭火器设置点为3处，每处灭火级别为43.33B，配置方案为：1.选用1kg磷酸铵盐干粉灭火器22具，"
              u"实际配置级别为44B，共需配置灭火器66具（超过规范规定【GBJ140-90-4.0.7】，不推荐采用）；"
              u"2.选用2kg磷酸铵盐干粉灭火器9具，实际配置级别为45B，共需配置灭火器27具（超过规范规定"
              u"【GBJ140-90-4.0.7】，不推荐采用）；3.选用3kg磷酸铵盐干粉灭火器7具，实际配置级别为49B，"
              u"共需配置灭火器21具（超过规范规定【GBJ140-90-4.0.7】，不推荐采用）；4.选用4kg磷酸铵盐"
              u"干粉灭火器5具，实际配置级别为50B，共需配置灭火器15具；5.选用6kg磷酸铵盐干粉灭火器4具，"
              u"实际配置级别为48B，共需配置灭火器12具。"_s);
}

TEST_F(ExtinguisherConfigFormTest, ManualWorkedExampleAndItsSentence)
{
    ExtinguisherConfigForm& f = w();
    f.Show();
    f.Text5->setText(u"4"_s);
    f.Command1->press();
    EXPECT_EQ(texts({f.Text2, f.Text4, f.Text36, f.Text9, f.Text3, f.Text8, f.Text7, f.Text12}),
              (QStringList{u"15"_s, u"20"_s, u"5"_s, u"11.6666666666667"_s, u"5"_s, u"3"_s,
                           u"15"_s, u"12"_s}));
    EXPECT_EQ(f.Text8->BackColor(), highlightText());
    EXPECT_EQ(f.Text3->BackColor(), highlightText());
    EXPECT_TRUE(boxes().empty());
    EXPECT_FALSE(resultWindowExists()); // manual mode reports on 查 看 only

    f.Command2->press();
    EXPECT_EQ(f.Text35->Text(), QString());
    EXPECT_TRUE(Form9().isVisible());
    EXPECT_EQ(Form9().Text1->Text(), kManualExample);
}

TEST_F(ExtinguisherConfigFormTest, ManualChecksColoursAndBoxes)
{
    enum class Box { None, TooMany, TooSmall };
    using F = ExtinguisherConfigForm;
    struct Row {
        const char* name;
        bool classB;
        forms::OptionButton* F::*hazard;
        forms::OptionButton* F::*protection;
        const char* area;
        const char* points;
        QString size;
        Box box;
        bool pinkCount;
        bool pinkRating;
        const char* rating;
        const char* perPoint;
        const char* actual;
        const char* total;
    };
    const Row rows[] = {
        {"B medium 4 kg: 10 against 4", true, &F::Option6, &F::Option9, "1000", "10", k4kg,
         Box::None, false, false, "10", "2", "20", "20"},
        {"B medium 1 kg: 2 against 4", true, &F::Option6, &F::Option9, "1000", "10", k1kg,
         Box::TooSmall, false, true, "2", "5", "10", "50"},
        {"B light 1 kg: 2 against 8", true, &F::Option7, &F::Option9, "1000", "10", k1kg,
         Box::TooSmall, false, true, "2", "4", "8", "40"},
        {"B light 2 kg: 5 against 8", true, &F::Option7, &F::Option9, "1000", "10", k2kg,
         Box::TooSmall, false, true, "5", "2", "10", "20"},
        {"B light 3 kg: 7 against 8", true, &F::Option7, &F::Option9, "1000", "10", k3kg,
         Box::TooSmall, false, true, "7", "2", "14", "20"},
        {"B light 4 kg: 10 against 8", true, &F::Option7, &F::Option9, "1000", "10", k4kg,
         Box::None, false, false, "10", "2", "20", "20"},
        {"A light 1 kg: 3 against 3", false, &F::Option7, &F::Option9, "1000", "4", k1kg,
         Box::None, false, false, "3", "3", "9", "12"},
        {"A severe 2 kg, seven per point", false, &F::Option5, &F::Option9, "1000", "2", k2kg,
         Box::TooMany, true, false, "5", "7", "35", "14"},
        {"A severe 2 kg, exactly five per point", false, &F::Option5, &F::Option10, "1000", "4",
         k2kg, Box::None, false, false, "5", "5", "25", "20"},
        {"B light 1 kg, six per point and too small", true, &F::Option7, &F::Option10, "1100", "10",
         k1kg, Box::TooMany, true, true, "2", "6", "12", "60"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        freshRun();
        ExtinguisherConfigForm& f = w();
        f.Show();
        (row.classB ? f.Option2 : f.Option1)->click();
        (f.*row.hazard)->click();
        (f.*row.protection)->click();
        f.Text1->setText(S(row.area));
        f.Text5->setText(S(row.points));
        f.Combo1->setText(row.size);
        if (row.box == Box::None) {
            f.Command1->press();
            EXPECT_TRUE(boxes().empty());
        } else {
            // Only one box, even when the size is also too small.
            expectBox([&] { f.Command1->press(); }, row.box == Box::TooMany ? kTooMany : kTooSmall,
                      row.box == Box::TooMany ? u"警告！"_s : u"警告"_s);
        }
        // The figures are written all the same.
        EXPECT_EQ(texts({f.Text3, f.Text8, f.Text7, f.Text12}),
                  (QStringList{S(row.rating), S(row.perPoint), S(row.actual), S(row.total)}));
        EXPECT_EQ(f.Text8->BackColor(), row.pinkCount ? kPink : highlightText());
        EXPECT_EQ(f.Text3->BackColor(), row.pinkRating ? kPink : highlightText());
        EXPECT_FALSE(resultWindowExists());
    }
}

TEST_F(ExtinguisherConfigFormTest, EveryFigureShownReadsAtFullContrast)
{
    // The figures of both modes, in fields that take no input and on the
    // pink of a code breach, stand out from their fields as drawn.
    struct Case {
        const char* name;
        bool manual;
    };
    for (const Case c : {Case{"manual, six per point and too small", true}, Case{"automatic", false}}) {
        SCOPED_TRACE(c.name);
        freshRun();
        ExtinguisherConfigForm& f = w();
        f.Show();
        if (c.manual) {
            f.Option2->click();
            f.Option7->click();
            f.Option10->click();
            f.Text1->setText(u"1100"_s);
            f.Text5->setText(u"10"_s);
            f.Combo1->setText(k1kg);
            platform().answerMessageBox(forms::vbOK);
        } else {
            f.Option13->click();
            f.Text5->setText(u"4"_s);
        }
        f.Command1->press();
        if (c.manual) {
            ASSERT_EQ(f.Text3->BackColor(), kPink);
            ASSERT_EQ(f.Text8->BackColor(), kPink);
        }
        forms::testing::snapshot(f, QString::fromLatin1(c.manual ? "Form5-manual" : "Form5-automatic"));
        int measured = 0;
        for (TextBox* field : f.findChildren<TextBox*>()) {
            if (field->Text().isEmpty() || !field->isVisibleTo(&f))
                continue;
            SCOPED_TRACE(field->objectName().toStdString());
            EXPECT_GE(forms::testing::textContrast(*field), 3.0);
            ++measured;
        }
        EXPECT_GE(measured, 6);
    }
}

TEST_F(ExtinguisherConfigFormTest, ManualReportAboveFivePerPointCarriesTheRemark)
{
    ExtinguisherConfigForm& f = w();
    f.Show();
    f.Option5->click();
    f.Text5->setText(u"2"_s);
    expectBox([&] { f.Command1->press(); }, kTooMany, u"警告！"_s);
    platform().reset();
    f.Command2->press();
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(f.Text35->Text(), kRemark);
    EXPECT_EQ(Form9().Text1->Text(),
              u"建筑面积为1000平方米，危险等级为严重危险级,火灾种类为A类火灾，配置基准为10平米/A，"
              u"灭火器设置点为2处，每处灭火级别为35.A，选用2kg磷酸铵盐干粉灭火器7具，实际配置级别为"
              u"35A，共需配置灭火器14具（超过规范规定【GBJ140-90-4.0.7】，不推荐采用）。"_s);
}

TEST_F(ExtinguisherConfigFormTest, ManualFiguresEditedByTheEngineerAreReportedAsTyped)
{
    ExtinguisherConfigForm& f = w();
    f.Show();
    editableManualMode();
    for (const TextBox* editable : {f.Text9, f.Text8, f.Text7, f.Text12})
        EXPECT_TRUE(editable->Enabled());
    f.Text5->setText(u"4"_s);
    f.Command1->press();
    f.Text9->setText(u"12"_s);
    f.Text8->setText(u"6"_s);
    f.Text7->setText(u"30"_s);
    f.Text12->setText(u"24"_s);
    f.Command2->press();
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(f.Text35->Text(), kRemark);
    EXPECT_EQ(Form9().Text1->Text(),
              u"建筑面积为1000平方米，危险等级为中危险级,火灾种类为A类火灾，配置基准为15平米/A，"
              u"灭火器设置点为4处，每处灭火级别为12.A，选用2kg磷酸铵盐干粉灭火器6具，实际配置级别为"
              u"30A，共需配置灭火器24具（超过规范规定【GBJ140-90-4.0.7】，不推荐采用）。"_s);

    // Back to five: the remark goes.
    f.Text8->setText(u"5"_s);
    f.Command2->press();
    EXPECT_EQ(f.Text35->Text(), QString());
    EXPECT_TRUE(Form9().Text1->Text().endsWith(u"共需配置灭火器24具。"_s));
}

TEST_F(ExtinguisherConfigFormTest, ManualFiguresThatAreNoProperFiguresAreRefused)
{
    struct Row {
        const char* name;
        TextBox* ExtinguisherConfigForm::*field;
        const char* text;
        const char* message;
    };
    using F = ExtinguisherConfigForm;
    // One row per figure; the engine's table holds the ranges.
    const Row rows[] = {
        {"rating empty", &F::Text9, "", "请输入正确的灭火级别！"},
        {"count half", &F::Text8, "3.5", "请输入正确的每处配置数量！"},
        {"actual rating negative", &F::Text7, "-15", "请输入正确的实际配置级别！"},
        {"total 1e20", &F::Text12, "1e20", "请输入正确的总计配置数量！"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        freshRun();
        ExtinguisherConfigForm& f = w();
        f.Show();
        editableManualMode();
        f.Text5->setText(u"4"_s);
        f.Command1->press();
        (f.*row.field)->setText(S(row.text));
        expectBox([&] { f.Command2->press(); }, S(row.message), kCorrectness, f.*row.field);
        EXPECT_EQ(f.Text35->Text(), QString());
        EXPECT_FALSE(resultWindowExists());
    }
}

TEST_F(ExtinguisherConfigFormTest, ModeSwitchesEmptyTheManualFigures)
{
    ExtinguisherConfigForm& f = w();
    f.Show();
    f.Text5->setText(u"4"_s);
    f.Command1->press();

    f.Option13->click();
    for (const forms::Label* unit : {f.Label22, f.Label28, f.Label29, f.Label31})
        EXPECT_FALSE(unit->isVisibleTo(&f));
    EXPECT_EQ(f.Combo1->Text(), u"请选择灭火器规格"_s);
    EXPECT_EQ(texts({f.Text3, f.Text9, f.Text8, f.Text7, f.Text12}),
              (QStringList{QString(), QString(), QString(), QString(), QString()}));
    for (const TextBox* box : {f.Text3, f.Text8, f.Text7, f.Text12})
        EXPECT_EQ(box->BackColor(), grey());
    EXPECT_FALSE(f.Text9->Enabled() || f.Text8->Enabled() || f.Text7->Enabled()
                 || f.Text12->Enabled() || f.Combo1->Enabled() || f.Command2->Enabled());
    // The base values stay.
    EXPECT_EQ(texts({f.Text2, f.Text4, f.Text36}), (QStringList{u"15"_s, u"20"_s, u"5"_s}));

    f.Option14->click();
    for (const forms::Label* unit : {f.Label22, f.Label28, f.Label29, f.Label31})
        EXPECT_TRUE(unit->isVisibleTo(&f));
    EXPECT_EQ(f.Combo1->Text(), k2kg);
    // No example figures: the manual rows wait for a calculation.
    EXPECT_EQ(texts({f.Text9, f.Text8, f.Text7, f.Text12}),
              (QStringList{QString(), QString(), QString(), QString()}));
    for (const TextBox* box : {f.Text3, f.Text8, f.Text7, f.Text12})
        EXPECT_EQ(box->BackColor(), windowBackground());
    EXPECT_TRUE(f.Text9->Enabled() && f.Text8->Enabled() && f.Text7->Enabled()
                && f.Text12->Enabled() && f.Combo1->Enabled() && f.Command2->Enabled());
    EXPECT_FALSE(f.Text3->Enabled());
    expectBox([&] { f.Command2->press(); }, kCalculateFirst, u"提示"_s, f.Command1);
    EXPECT_FALSE(resultWindowExists());
}

TEST_F(ExtinguisherConfigFormTest, ReportNeedsACalculationOfTheInputsShown)
{
    ExtinguisherConfigForm& f = w();
    f.Show();
    expectBox([&] { f.Command2->press(); }, kCalculateFirst, u"提示"_s, f.Command1);
    EXPECT_FALSE(resultWindowExists());

    struct Change {
        const char* name;
        std::function<void()> change;
        std::function<void()> undo;
    };
    const Change changes[] = {
        {"area", [&] { f.Text1->setText(u"1200"_s); }, [&] { f.Text1->setText(u"1000"_s); }},
        {"points", [&] { f.Text5->setText(u"5"_s); }, [&] { f.Text5->setText(u"4"_s); }},
        {"class", [&] { f.Option2->click(); }, [&] { f.Option1->click(); }},
        {"hazard", [&] { f.Option7->click(); }, [&] { f.Option6->click(); }},
        {"position", [&] { f.Option3->click(); }, [&] { f.Option4->click(); }},
        {"K", [&] { f.Option8->click(); }, [&] { f.Option9->click(); }},
        {"size", [&] { f.Combo1->setText(k3kg); }, [&] { f.Combo1->setText(k2kg); }},
    };
    f.Text5->setText(u"4"_s);
    for (const Change& c : changes) {
        SCOPED_TRACE(c.name);
        platform().reset();
        f.Command1->press();
        const QStringList before = allResults();
        c.change();
        expectBox([&] { f.Command2->press(); }, kCalculateFirst, u"提示"_s, f.Command1);
        EXPECT_EQ(allResults(), before); // the figures stay on screen
        EXPECT_FALSE(resultWindowExists());
        c.undo();
    }
    platform().reset();
    f.Command1->press();
    f.Command2->press();
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(Form9().Text1->Text(), kManualExample);
}

TEST_F(ExtinguisherConfigFormTest, WrongInputsAreRefusedWithNothingWritten)
{
    struct Row {
        const char* name;
        bool automatic;
        const char* area;
        const char* points;
        const char* size;
        const char* message;
        const char* title;
        const char* focus;
    };
    const char* noPoints = "请输入设置点数量！";
    const char* wrongArea = "请输入正确的保护面积！";
    const char* wrongPoints = "请输入正确的设置点数量！设置点数应为正整数。";
    const char* noSize = "请选择灭火器规格！";
    const char* correct = "确认数据正确性";
    const char* complete = "确认数据完整性";
    const char* size2 = "2kg磷酸铵盐干粉灭火器";
    // One row per refusal; the engine's table holds the ranges.
    const Row rows[] = {
        {"no points", true, "1000", "", size2, noPoints, complete, "Text5"},
        {"area out of range", false, "1e20", "4", size2, wrongArea, correct, "Text1"},
        {"points out of range", true, "1000", "1e308", size2, wrongPoints, correct, "Text5"},
        {"size unknown", false, "1000", "4", "5kg磷酸铵盐干粉灭火器", noSize, complete, "Combo1"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        freshRun();
        ExtinguisherConfigForm& f = w();
        f.Show();
        // Figures of an earlier calculation of another class stay as they are.
        f.Option2->click();
        f.Text5->setText(u"10"_s);
        f.Command1->press();
        ASSERT_TRUE(boxes().empty());
        f.Option1->click();
        if (row.automatic)
            f.Option13->click();
        const QStringList before = allResults();
        f.Text1->setText(S(row.area));
        f.Text5->setText(S(row.points));
        if (!row.automatic)
            f.Combo1->setText(S(row.size));
        expectBox([&] { f.Command1->press(); }, S(row.message), S(row.title),
                  f.findChild<QWidget*>(S(row.focus)));
        EXPECT_EQ(allResults(), before);
        EXPECT_FALSE(resultWindowExists());
    }
}

TEST_F(ExtinguisherConfigFormTest, DoubleClicksEmptyAreaAndPoints)
{
    ExtinguisherConfigForm& f = w();
    f.Show();
    f.Text5->setText(u"4"_s);
    QTest::mouseDClick(f.Text1, Qt::LeftButton);
    EXPECT_EQ(f.Text1->Text(), QString());
    QTest::mouseDClick(f.Text5, Qt::LeftButton);
    EXPECT_EQ(f.Text5->Text(), QString());
}

TEST_F(ExtinguisherConfigFormTest, ExitAndClosingAskTheResultWindowBeforeTheEnd)
{
    ExtinguisherConfigForm& f = w();
    f.Show();
    f.Option13->click();
    f.Text5->setText(u"4"_s);
    f.Command1->press(); // the result window is open with a sentence
    // Its own question first; No lets the program end.
    platform().answerMessageBox(forms::vbNo);
    EXPECT_TRUE(endsProgram([&] { f.Command3->press(); }));
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, u"是否保存计算结果？"_s);
    // With the result window gone nothing is left to lose: no question.
    EXPECT_TRUE(endsProgram([&] { f.close(); }));
    EXPECT_EQ(boxes().size(), 1u);
}

} // namespace
