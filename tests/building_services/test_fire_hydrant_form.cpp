#include "building_services/fire_hydrant_form.h"
#include "version/version.h"

#include "app/results_window_form.h"
#include "app/splash_form.h"
#include "app/windows.h"
#include "fire_protection_test_support.h"
#include "forms/testing/fixture.h"
#include "hydraulics/water_supply_pipe_form.h"


namespace {

using namespace Qt::StringLiterals;
using fire_protection_test::resultWindowExists;
using fire_protection_test::entries;

const QString kCorrectness = u"确认数据正确性"_s;
const QString kCalculateFirst = u"请先按“计 算”按当前设计参数进行计算，再查看结果！"_s;
const QString kWorkedExample =
    u"充实水柱长度 Hm= 10米,水枪喷口直径 df=19毫米,水带长度 Ld=25米,采用直径d=65毫米衬胶水带。"
    u"水枪喷口的射流量 Qxh= 4.622升/秒,消火栓口所需水压 Hxh=0.165MPa。"_s;

class FireHydrantFormTest : public forms::testing::FormsTest {
protected:
    static FireHydrantForm& w() { return Form11(); }

    // The user's pick of the entry with this text.
    static void pick(forms::ComboBox* list, const QString& text)
    {
        const int index = static_cast<int>(entries(list).indexOf(text));
        ASSERT_GE(index, 0) << text.toStdString() << " is not listed";
        list->pick(index);
    }

    static QStringList results()
    {
        return {w().Text10->Text(), w().Text11->Text(), w().Text1->Text(), w().Text2->Text()};
    }

    // One message box, answered with OK, shown by `action`.
    void expectRefusal(const std::function<void()>& action, const QString& text,
                       const QString& title, QWidget* focus)
    {
        platform().reset();
        platform().answerMessageBox(forms::vbOK);
        action();
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, text);
        EXPECT_EQ(boxes()[0].title, title);
        EXPECT_EQ(boxes()[0].style, forms::vbOKOnly);
        EXPECT_EQ(w().focusWidget(), focus);
    }

    void freshRun()
    {
        forms::destroyAllDefaultInstances();
        platform().reset();
    }
};

const QStringList kExampleResults = {u"13.549283589923"_s, u"0.918790469516269"_s,
                                     u"16.4680740594393"_s, u"4.62246906115212"_s};

TEST_F(FireHydrantFormTest, OpensWithNozzle19Hose65RubberLinedAndTheNozzlePressure)
{
    FireHydrantForm& f = w();
    EXPECT_EQ(f.Caption(), u"消火栓水力计算V"_s + kVersionText);
    EXPECT_EQ(entries(f.Combo1),
              (QStringList{u"9"_s, u"13"_s, u"16"_s, u"19"_s, u"22"_s, u"25"_s}));
    EXPECT_EQ(entries(f.Combo2), (QStringList{u"50"_s, u"65"_s}));
    EXPECT_EQ(entries(f.Combo3), (QStringList{u"衬胶水带"_s, u"麻织水带"_s}));
    EXPECT_EQ(f.Combo1->Text(), u"19"_s);
    EXPECT_EQ(f.Combo2->Text(), u"65"_s);
    EXPECT_EQ(f.Combo3->Text(), u"衬胶水带"_s);
    // The opening picks run their handlers: B is the table value of 19 mm.
    EXPECT_EQ(f.Text3->Text(), u"0.1577"_s);
    EXPECT_EQ(f.Text6->Text(), u"0.0172"_s);
    EXPECT_EQ(f.Text13->Text(), u"2"_s);
    EXPECT_EQ(f.Text4->Text(), u"10"_s);
    EXPECT_EQ(f.Text5->Text(), u"25"_s);
    EXPECT_EQ(f.Text7->Text(), u"0.00966781391391779"_s);
    EXPECT_EQ(f.Text9->Text(), u"1.198"_s);
    EXPECT_EQ(results(), (QStringList{kExampleResults[0], QString(), QString(), QString()}));

    EXPECT_TRUE(f.Text3->Locked());
    EXPECT_FALSE(f.Text6->Enabled());
    EXPECT_FALSE(f.Text13->Enabled());
    EXPECT_FALSE(f.Text7->isVisibleTo(&f));
    EXPECT_FALSE(f.Text9->isVisibleTo(&f));
    EXPECT_EQ(f.defaultButton(), f.Command1);
    EXPECT_EQ(f.cancelButton(), f.Command3);
    EXPECT_EQ(f.Command1->Caption(), u"计 算"_s);
    EXPECT_EQ(f.Command2->Caption(), u"查看"_s);
    EXPECT_EQ(f.Command3->Caption(), u"返回"_s);
    EXPECT_EQ(f.Label3->Caption(), u"流    量Q"_s);
    EXPECT_EQ(f.Label18->Caption(), u"栓口损失Hsk(m)"_s);
    for (const char* name : {"Frame1", "Frame2", "Combo1", "Combo2", "Combo3", "Text1", "Text2",
                             "Text3", "Text4", "Text5", "Text6", "Text7", "Text9", "Text10",
                             "Text11", "Text13", "Command1", "Command2", "Command3", "Label1",
                             "Label2", "Label3", "Label4", "Label6", "Label7", "Label9", "Label10",
                             "Label11", "Label12", "Label13", "Label14", "Label15", "Label16",
                             "Label17", "Label18"})
        EXPECT_NE(f.findChild<QWidget*>(QString::fromUtf8(name)), nullptr) << name;
    EXPECT_TRUE(boxes().empty());
}

TEST_F(FireHydrantFormTest, WorkedExampleFromTheMenuBarToTheResultWindow)
{
    logo().Form_Click(); // the splash gives way to the water supply window
    form0().menu()->消火栓->click();
    FireHydrantForm& f = w();
    ASSERT_TRUE(f.isVisible());
    EXPECT_FALSE(form0().isVisible());

    pick(f.Combo1, u"19"_s);
    pick(f.Combo2, u"65"_s);
    pick(f.Combo3, u"衬胶水带"_s);
    f.Command1->press();
    EXPECT_EQ(f.Text9->Text(), u"1.198"_s);
    EXPECT_EQ(results(), kExampleResults);

    f.Command2->press();
    ResultsWindowForm& r = Form9();
    EXPECT_TRUE(r.isVisible());
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(r.Text1->Text(), kWorkedExample);

    // A second report replaces the text.
    r.Text1->setText(u"旧结果"_s);
    f.Command2->press();
    EXPECT_EQ(r.Text1->Text(), kWorkedExample);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(FireHydrantFormTest, EnterCalculatesAndEscGoesBack)
{
    FireHydrantForm& f = w();
    f.Show();
    EXPECT_TRUE(f.pressKey(Qt::Key_Return));
    EXPECT_EQ(results(), kExampleResults);
    EXPECT_TRUE(f.pressKey(Qt::Key_Escape));
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(form0().isVisible());
}

TEST_F(FireHydrantFormTest, NozzlePickRewritesBAndPhiAndEmptiesTheResults)
{
    struct Row {
        const char* df;
        const char* b;
        const char* phi;
    };
    const Row rows[] = {
        {"9", "0.0079", "0.0256963716723199"},  {"13", "0.0346", "0.0164506152530105"},
        {"16", "0.0793", "0.0124402866242038"}, {"19", "0.1577", "0.00966781391391779"},
        {"22", "0.2834", "0.00765743690271992"}, {"25", "0.4727", "0.00615384615384615"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.df);
        freshRun();
        FireHydrantForm& f = w();
        f.Text4->setText(u"12"_s);
        f.Command1->press();
        const QString alpha = f.Text9->Text();
        pick(f.Combo1, QString::fromUtf8(row.df));
        EXPECT_EQ(f.Text3->Text(), QString::fromUtf8(row.b));
        EXPECT_EQ(f.Text7->Text(), QString::fromUtf8(row.phi));
        EXPECT_EQ(results(), (QStringList{QString(), QString(), QString(), QString()}));
        EXPECT_EQ(f.Text9->Text(), alpha);
    }
}

TEST_F(FireHydrantFormTest, HosePickChangesOnlyTheResistance)
{
    struct Row {
        const char* d;
        const char* material;
        const char* a;
    };
    const Row rows[] = {
        {"50", "衬胶水带", "0.0677"}, {"50", "麻织水带", "0.1501"},
        {"65", "麻织水带", "0.043"},  {"65", "衬胶水带", "0.0172"},
    };
    FireHydrantForm& f = w();
    f.Command1->press();
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.d) + row.material);
        // Material first, then diameter, and the other way round.
        pick(f.Combo3, QString::fromUtf8(row.material));
        pick(f.Combo2, QString::fromUtf8(row.d));
        EXPECT_EQ(f.Text6->Text(), QString::fromUtf8(row.a));
        pick(f.Combo3, QString::fromUtf8(row.material));
        EXPECT_EQ(f.Text6->Text(), QString::fromUtf8(row.a));
        EXPECT_EQ(results(), kExampleResults);
        EXPECT_EQ(f.Text3->Text(), u"0.1577"_s);
    }
}

TEST_F(FireHydrantFormTest, LinenHoseOf50mmWithANozzleOf16mm)
{
    FireHydrantForm& f = w();
    pick(f.Combo1, u"16"_s);
    pick(f.Combo2, u"50"_s);
    pick(f.Combo3, u"麻织水带"_s);
    f.Text4->setText(u"13"_s);
    f.Text5->setText(u"20"_s);
    f.Command1->press();
    // αf = 1.19 + 80·0.13⁴; Hq = αf·13 / (1 − φ·αf·13); Hd = 0.0793·20·Hq·0.1501.
    EXPECT_EQ(f.Text9->Text(), u"1.2128488"_s);
    EXPECT_EQ(results(), (QStringList{u"19.6143115270272"_s, u"4.66935554208796"_s,
                                      u"26.2836670691152"_s, u"3.9438748764296"_s}));
    f.Command2->press();
    EXPECT_EQ(Form9().Text1->Text(),
              u"充实水柱长度 Hm= 13米,水枪喷口直径 df=16毫米,水带长度 Ld=20米,采用直径d=50毫米"
              u"麻织水带。水枪喷口的射流量 Qxh= 3.944升/秒,消火栓口所需水压 Hxh=0.263MPa。"_s);
}

TEST_F(FireHydrantFormTest, ReportNeedsACalculationOfTheInputsShown)
{
    FireHydrantForm& f = w();
    f.Show();
    // Before any calculation, with Hq alone on screen.
    expectRefusal([&] { f.Command2->press(); }, kCalculateFirst, u"提示"_s, f.Command1);
    EXPECT_FALSE(resultWindowExists());

    struct Change {
        const char* name;
        std::function<void()> change;
    };
    const Change changes[] = {
        {"hose diameter", [&] { pick(f.Combo2, u"50"_s); }},
        {"hose material", [&] { pick(f.Combo3, u"麻织水带"_s); }},
        {"water column", [&] { f.Text4->setText(u"12"_s); }},
        {"hose length", [&] { f.Text5->setText(u"20"_s); }},
        {"same nozzle picked again", [&] { pick(f.Combo1, u"19"_s); }},
    };
    for (const Change& c : changes) {
        SCOPED_TRACE(c.name);
        f.Command1->press();
        const QStringList before = results();
        c.change();
        expectRefusal([&] { f.Command2->press(); }, kCalculateFirst, u"提示"_s, f.Command1);
        EXPECT_FALSE(resultWindowExists());
        // Results stay on screen until the next calculation (the nozzle
        // pick empties them).
        if (std::string(c.name) != "same nozzle picked again") {
            EXPECT_EQ(results(), before);
        }
    }
    platform().reset();
    f.Command1->press();
    f.Command2->press();
    EXPECT_TRUE(boxes().empty());
    EXPECT_TRUE(resultWindowExists());
}

TEST_F(FireHydrantFormTest, WrongInputsAreRefusedWithNothingWritten)
{
    struct Row {
        const char* name;
        const char* hm;
        const char* ld;
        const char* df;
        const char* message;
        bool focusHm;
    };
    const char* wrongHm = "请输入正确的充实水柱！";
    const char* wrongLd = "请输入正确的水带长度！";
    const char* tooLong = "充实水柱过长，该喷嘴无法达到！请减小充实水柱或加大喷嘴直径。";
    // One row per refusal; the engine's table holds the ranges.
    const Row rows[] = {
        {"Hm out of range", "1e-308", "25", "19", wrongHm, true},
        {"Ld out of range", "10", "1e20", "19", wrongLd, false},
        {"Hm beyond 9 mm", "25.5", "25", "9", tooLong, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        freshRun();
        FireHydrantForm& f = w();
        f.Show();
        pick(f.Combo1, QString::fromUtf8(row.df));
        f.Command1->press();
        const QStringList before = results();
        const QString alpha = f.Text9->Text();
        f.Text4->setText(QString::fromUtf8(row.hm));
        f.Text5->setText(QString::fromUtf8(row.ld));
        expectRefusal([&] { f.Command1->press(); }, QString::fromUtf8(row.message), kCorrectness,
                      row.focusHm ? f.Text4 : f.Text5);
        EXPECT_EQ(results(), before);
        EXPECT_EQ(f.Text9->Text(), alpha);
        EXPECT_FALSE(resultWindowExists());
    }
}

TEST_F(FireHydrantFormTest, JustShortOfTheLongestWaterColumnIsComputed)
{
    FireHydrantForm& f = w();
    f.Text4->setText(u"37.4"_s);
    f.Command1->press();
    EXPECT_TRUE(boxes().empty());
    EXPECT_FALSE(f.Text10->Text().isEmpty());
    EXPECT_GT(f.Text10->Text().toDouble(), 10000);
}

TEST_F(FireHydrantFormTest, ResultsEditedByHandAreReportedAsTheyStand)
{
    struct Row {
        const char* q;
        const char* hxh;
        const char* reported;
    };
    // The outlet loss taken off by hand, and the number texts of the report.
    const Row rows[] = {
        {"4.62246906115212", "14.4680740594393", "Qxh= 4.622升/秒,消火栓口所需水压 Hxh=0.145MPa。"},
        {"12.5", "35", "Qxh= 12.5升/秒,消火栓口所需水压 Hxh=0.35MPa。"},
        {"5", "50", "Qxh= 5.升/秒,消火栓口所需水压 Hxh=0.5MPa。"},
        {"0.5", "100", "Qxh= .5升/秒,消火栓口所需水压 Hxh=1.MPa。"},
    };
    FireHydrantForm& f = w();
    f.Command1->press();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.reported);
        f.Text2->setText(QString::fromUtf8(row.q));
        f.Text1->setText(QString::fromUtf8(row.hxh));
        f.Command2->press();
        EXPECT_TRUE(Form9().Text1->Text().endsWith(QString::fromUtf8(row.reported)))
            << Form9().Text1->Text().toStdString();
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(FireHydrantFormTest, ResultsEditedIntoNoNumberAreRefused)
{
    struct Row {
        const char* q;
        const char* hxh;
        const char* message;
        bool focusQ;
    };
    // One row per refused result; the engine's table holds the ranges.
    const Row rows[] = {
        {"四升", "16.5", "请输入正确的流量Q！", true},
        {"4.6", "1e20", "请输入正确的栓口水压Hxh！", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.q) + " " + row.hxh);
        freshRun();
        FireHydrantForm& f = w();
        f.Show();
        f.Command1->press();
        f.Text2->setText(QString::fromUtf8(row.q));
        f.Text1->setText(QString::fromUtf8(row.hxh));
        expectRefusal([&] { f.Command2->press(); }, QString::fromUtf8(row.message), kCorrectness,
                      row.focusQ ? f.Text2 : f.Text1);
        EXPECT_FALSE(resultWindowExists());
    }
}

TEST_F(FireHydrantFormTest, BackShowsTheWaterSupplyWindowAndKeepsTheInputs)
{
    FireHydrantForm& f = w();
    f.Show();
    f.Text4->setText(u"12"_s);
    f.Command1->press();
    const QStringList shown = results();
    f.Command3->press();
    EXPECT_TRUE(form0().isVisible());
    EXPECT_FALSE(f.isVisible());
    form0().menu()->消火栓->click();
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.Text4->Text(), u"12"_s);
    EXPECT_EQ(results(), shown);
}

TEST_F(FireHydrantFormTest, ClosingEndsTheProgram)
{
    FireHydrantForm& f = w();
    f.Show();
    EXPECT_TRUE(endsProgram([&] { f.close(); }));
}

} // namespace
