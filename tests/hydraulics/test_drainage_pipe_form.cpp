#include "hydraulics/drainage_pipe_form.h"
#include "version/version.h"

#include "app/windows.h"
#include "catalogues/gravity_pipe_catalogue.h"
#include "forms/testing/fixture.h"
#include "forms/testing/lists.h"
#include "hydraulics/drainage_flow.h"
#include "hydraulics/water_supply_pipe_form.h"

#include <QTest>

#include <functional>

namespace {

using namespace Qt::StringLiterals;
using catalogues::DrainFlowMode;
using catalogues::DrainPipeMaterial;
using catalogues::GravityListKind;
using M = DrainPipeMaterial;
using forms::testing::entries;
using forms::testing::pickText;
namespace Catalogue = catalogues::GravityPipeCatalogue;

// Flow mode as the engineer leaves it: none chosen, full or part-full.
enum class Mode { None, Full, PartFull };

const QString kCorrectness = u"确认数据正确性"_s;
const QString kCompleteness = u"确认数据完整性"_s;
const QString kSlopeWarning =
    u"您所选择的坡度小于规范规定【GBJ 14-87 第3.2.9条】，继续请按确定。"_s;
const QString kFullnessQuestion =
    u"您所选择的充满度大于规范规定【GBJ 14-87 第3.2.3条】，继续请选择确定，返回请选择取消。"_s;
constexpr int kQuestionStyle = forms::vbOKCancel | forms::vbCritical | forms::vbDefaultButton2;

class DrainagePipeFormTest : public forms::testing::FormsTest {
protected:
    static DrainagePipeForm& w() { return Form1(); }

    static forms::OptionButton* option(M material)
    {
        switch (material) {
        case M::Concrete:
            return w().Option4;
        case M::Corrugated:
            return w().Option3;
        case M::CastIron:
            return w().Option6;
        case M::Pvcu:
            return w().Option7;
        }
        return nullptr;
    }

    // Clicks the material, then the flow mode (cast iron and PVC-U come in
    // part-full flow by themselves).
    static void choose(M material, Mode mode)
    {
        option(material)->click();
        if (mode == Mode::Full)
            w().Option1->click();
        else if (mode == Mode::PartFull)
            w().Option2->click();
    }

    static void expectResults(const QString& velocity, const QString& flow)
    {
        EXPECT_EQ(w().Text1->Text(), velocity);
        EXPECT_EQ(w().Text2->Text(), flow);
    }

    void expectOneBox(const QString& text, int style, const QString& title)
    {
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, text);
        EXPECT_EQ(boxes()[0].style, style);
        EXPECT_EQ(boxes()[0].title, title);
    }

    // A fresh run for one row of a table.
    void freshRun()
    {
        forms::destroyAllDefaultInstances();
        platform().reset();
    }
};

TEST_F(DrainagePipeFormTest, OpensOnConcretePartFullWithEachListOnce)
{
    DrainagePipeForm& f = w();
    EXPECT_EQ(f.Caption(), u"排水管道水力计算V"_s + kVersionText);
    EXPECT_TRUE(f.Option4->Value());
    EXPECT_TRUE(f.Option2->Value());
    EXPECT_FALSE(f.Option1->Value());
    EXPECT_EQ(entries(*f.Combo1), Catalogue::partFullDiameterList());
    EXPECT_EQ(entries(*f.Combo2), Catalogue::partFullSlopeList());
    EXPECT_EQ(entries(*f.Combo3), Catalogue::fullnessList());
    EXPECT_EQ(f.Combo1->Text(), u"请选择管径"_s);
    EXPECT_EQ(f.Combo2->Text(), u"请选择坡度"_s);
    EXPECT_EQ(f.Combo3->Text(), u"请选择充满度"_s);
    EXPECT_TRUE(f.Combo1->Enabled() && f.Combo2->Enabled() && f.Combo3->Enabled());
    EXPECT_EQ(f.Text11->Text(), u"0"_s);
    expectResults(QString(), QString());
    EXPECT_EQ(f.defaultButton(), f.Command1);
    EXPECT_EQ(f.cancelButton(), f.Command2);
    EXPECT_EQ(f.Command1->Caption(), u"计 算"_s);
    EXPECT_EQ(f.Option1->Caption(), u"满  流"_s);
    EXPECT_EQ(f.Label5->Caption(), u"满  流"_s);
    EXPECT_TRUE(boxes().empty());
    for (const char* name : {"Frame3", "Option4", "Option3", "Option6", "Option7", "Frame1",
                             "Option1", "Option2", "Label5", "Label6", "Combo1", "Combo2", "Combo3",
                             "Frame2", "Text1", "Text2", "Command1", "Command2", "Command3", "Text4",
                             "Text5", "Text6", "Text7", "Text9", "Text10", "Text11", "Combo4"})
        EXPECT_NE(f.findChild<QWidget*>(QString::fromUtf8(name)), nullptr) << name;
}

TEST_F(DrainagePipeFormTest, ListsInForceByMaterialAndFlowMode)
{
    struct Row {
        M material;
        Mode mode;
    };
    const Row rows[] = {
        {M::Concrete, Mode::Full},   {M::Concrete, Mode::PartFull},
        {M::Corrugated, Mode::Full}, {M::Corrugated, Mode::PartFull},
        {M::CastIron, Mode::None},   {M::Pvcu, Mode::None},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(catalogues::drainPipeMaterialCaption(row.material).toStdString());
        freshRun();
        choose(row.material, row.mode);
        const DrainagePipeForm& f = w();
        const bool full = row.mode == Mode::Full;
        const DrainFlowMode mode = full ? DrainFlowMode::Full : DrainFlowMode::PartFull;
        EXPECT_EQ(f.Option1->Value(), full);
        EXPECT_EQ(f.Option2->Value(), !full);
        EXPECT_EQ(entries(*f.Combo1),
                  *Catalogue::list(row.material, mode, GravityListKind::Diameter));
        EXPECT_EQ(entries(*f.Combo2), *Catalogue::list(row.material, mode, GravityListKind::Slope));
        EXPECT_TRUE(f.Combo1->Enabled() && f.Combo2->Enabled());
        EXPECT_EQ(f.Combo3->Enabled(), !full);
        if (full) {
            EXPECT_EQ(f.Combo3->Text(), u"请选择坡充满度"_s);
        } else {
            EXPECT_EQ(entries(*f.Combo3),
                      *Catalogue::list(row.material, mode, GravityListKind::Fullness));
            EXPECT_EQ(f.Combo3->Text(), u"请选择充满度"_s);
        }
        const bool hasFull = Catalogue::hasFlowMode(row.material, DrainFlowMode::Full);
        EXPECT_EQ(f.Option1->Enabled(), hasFull);
        EXPECT_EQ(f.Label5->Enabled(), hasFull);
    }
}

TEST_F(DrainagePipeFormTest, MaterialChoiceResetsFlowModeAndResults)
{
    DrainagePipeForm& f = w();
    pickText(*f.Combo1, u"300"_s);
    pickText(*f.Combo3, u"0.5"_s);
    f.Command1->press();
    expectResults(u"0.696"_s, u"24.608"_s);

    // A flow mode change keeps the results; a material change empties them.
    f.Option1->click();
    expectResults(u"0.696"_s, u"24.608"_s);
    pickText(*f.Combo1, u"300"_s);
    f.Command1->press();
    expectResults(u"0.749"_s, u"52.944"_s);

    f.Option3->click(); // PE: the diameter list is emptied
    expectResults(QString(), QString());
    EXPECT_FALSE(f.Option1->Value() || f.Option2->Value());
    EXPECT_FALSE(f.Combo1->Enabled() || f.Combo2->Enabled() || f.Combo3->Enabled());
    EXPECT_TRUE(f.Command1->Enabled());
    EXPECT_EQ(f.Combo1->ListCount(), 0);
    EXPECT_EQ(f.Combo1->Text(), u"请选择管径"_s);
    EXPECT_EQ(entries(*f.Combo2), Catalogue::drainSlopeList());

    // Disabled lists take no pick.
    f.Combo2->pick(3);
    EXPECT_EQ(f.Combo2->Text(), u"请选择坡度"_s);

    f.Option2->click();
    pickText(*f.Combo1, u"400"_s);
    f.Option4->click(); // concrete keeps the entries and texts
    EXPECT_EQ(entries(*f.Combo1), Catalogue::corrugatedDiameterList());
    EXPECT_EQ(f.Combo1->Text(), u"400"_s);
    EXPECT_FALSE(f.Option1->Value() || f.Option2->Value());

    // Cast iron to PVC-U, part-full all along: the PVC-U lists replace them.
    f.Option6->click();
    EXPECT_EQ(entries(*f.Combo2), Catalogue::castIronSlopeList());
    f.Option7->click();
    EXPECT_TRUE(f.Option2->Value());
    EXPECT_EQ(entries(*f.Combo1), Catalogue::pvcuDiameterList());
    EXPECT_EQ(entries(*f.Combo2), Catalogue::pvcuSlopeList());
    EXPECT_EQ(entries(*f.Combo3), Catalogue::castIronPvcuFullnessList());
    EXPECT_TRUE(boxes().empty());
}

TEST_F(DrainagePipeFormTest, FlowModeLabelsSelectTheirOption)
{
    DrainagePipeForm& f = w();
    f.Show();
    QTest::mouseClick(f.Label5, Qt::LeftButton);
    EXPECT_TRUE(f.Option1->Value());
    EXPECT_FALSE(f.Combo3->Enabled());
    QTest::mouseClick(f.Label6, Qt::LeftButton);
    EXPECT_TRUE(f.Option2->Value());
    EXPECT_TRUE(f.Combo3->Enabled());

    // Greyed out for cast iron: neither the option nor its label take clicks.
    f.Option6->click();
    QTest::mouseClick(f.Label5, Qt::LeftButton);
    f.Option1->click();
    EXPECT_FALSE(f.Option1->Value());
    EXPECT_TRUE(f.Option2->Value());
    EXPECT_EQ(entries(*f.Combo1), Catalogue::castIronDiameterList());
}

TEST_F(DrainagePipeFormTest, PickedDiameterSetsMinimumAndDefaults)
{
    // fullness "" means left as it was.
    struct Row {
        M material;
        Mode mode;
        QString diameter, metres, minimum, slope, fullness;
    };
    const Row rows[] = {
        {M::Concrete, Mode::PartFull, u"300"_s, u"0.3"_s, u"3.0"_s, u"3.0"_s, u"0.55"_s},
        {M::Concrete, Mode::PartFull, u"900"_s, u"0.9"_s, u"2.0"_s, u"2.0"_s, u"0.7"_s},
        {M::Concrete, Mode::PartFull, u"1000"_s, u"1"_s, u"2.0"_s, u"2.0"_s, u"0.75"_s},
        {M::Concrete, Mode::PartFull, u"450"_s, u"0.45"_s, u"2.0"_s, u"2.0"_s, u"0.65"_s},
        {M::Concrete, Mode::PartFull, u"150"_s, u"0.15"_s, u"8.0"_s, u"8"_s, u"0.55"_s},
        {M::Concrete, Mode::Full, u"250"_s, u"0.25"_s, u"4.0"_s, u"4.0"_s, QString()},
        {M::Corrugated, Mode::Full, u"225"_s, u"0.225"_s, u"4.0"_s, u"4.0"_s, QString()},
        {M::Corrugated, Mode::PartFull, u"700"_s, u"0.7"_s, u"2.0"_s, u"2.0"_s, u"0.7"_s},
        {M::CastIron, Mode::None, u"75"_s, u"0.075"_s, u"2.0"_s, u"15"_s, u"0.5"_s},
        {M::CastIron, Mode::None, u"125"_s, u"0.125"_s, u"2.0"_s, u"10"_s, u"0.5"_s},
        {M::CastIron, Mode::None, u"150"_s, u"0.15"_s, u"8.0"_s, u"8"_s, u"0.6"_s},
        {M::CastIron, Mode::None, u"250"_s, u"0.25"_s, u"4.0"_s, u"4.0"_s, QString()},
        {M::CastIron, Mode::None, u"300"_s, u"0.3"_s, u"3.0"_s, u"3.0"_s, QString()},
        {M::Pvcu, Mode::None, u"50"_s, u"0.05"_s, u"2.0"_s, u"7"_s, u"0.5"_s},
        {M::Pvcu, Mode::None, u"110"_s, u"0.11"_s, u"2.0"_s, u"4"_s, u"0.5"_s},
        {M::Pvcu, Mode::None, u"125"_s, u"0.125"_s, u"2.0"_s, u"3.5"_s, u"0.5"_s},
        {M::Pvcu, Mode::None, u"160"_s, u"0.16"_s, u"2.0"_s, u"8"_s, u"0.6"_s},
        {M::Pvcu, Mode::None, u"200"_s, u"0.2"_s, u"4.0"_s, u"4.0"_s, u"0.6"_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(catalogues::drainPipeMaterialCaption(row.material).toStdString() + " "
                     + row.diameter.toStdString());
        freshRun();
        choose(row.material, row.mode);
        const QString fullnessBefore = w().Combo3->Text();
        pickText(*w().Combo1, row.diameter);
        EXPECT_EQ(w().Text11->Text(), row.metres);
        EXPECT_EQ(w().Text5->Text(), row.minimum);
        EXPECT_EQ(w().Combo2->Text(), row.slope);
        EXPECT_EQ(w().Combo3->Text(), row.fullness.isEmpty() ? fullnessBefore : row.fullness);
        EXPECT_TRUE(boxes().empty());
    }
}

TEST_F(DrainagePipeFormTest, TypedDiameterFollowsOnlyTheSlopeRule)
{
    DrainagePipeForm& f = w();
    pickText(*f.Combo1, u"250"_s);
    ASSERT_EQ(f.Combo3->Text(), u"0.55"_s);

    f.Combo1->setText(u"300"_s);
    EXPECT_EQ(f.Text11->Text(), u"0.3"_s);
    EXPECT_EQ(f.Combo2->Text(), u"3.0"_s);
    EXPECT_EQ(f.Text5->Text(), u"4.0"_s); // no minimum recorded for a typed diameter
    EXPECT_EQ(f.Combo3->Text(), u"0.55"_s);

    f.Combo1->setText(u"100"_s); // below 0.15 m the slope stays
    EXPECT_EQ(f.Text11->Text(), u"0.1"_s);
    EXPECT_EQ(f.Combo2->Text(), u"3.0"_s);

    f.Combo1->setText(u"30x"_s); // not a number (yet): no diameter, slope stays
    EXPECT_EQ(f.Text11->Text(), QString());
    EXPECT_EQ(f.Combo2->Text(), u"3.0"_s);

    f.Combo1->setText(QString()); // emptied: no diameter, slope prompt
    EXPECT_EQ(f.Text11->Text(), u"0"_s);
    EXPECT_EQ(f.Combo2->Text(), u"请选择坡度"_s);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(DrainagePipeFormTest, SlopeBelowMinimumWarnsForTwoHundredToFourHundred)
{
    struct Row {
        M material;
        Mode mode;
        QString diameter, slope;
        bool warns;
    };
    const Row rows[] = {
        {M::Concrete, Mode::PartFull, u"300"_s, u"2.0"_s, true},
        {M::Concrete, Mode::PartFull, u"300"_s, u"3.0"_s, false}, // a quotient of 1 passes
        {M::Concrete, Mode::PartFull, u"350"_s, u"2.0"_s, true},
        {M::Concrete, Mode::PartFull, u"200"_s, u"3.9"_s, true},
        {M::Concrete, Mode::PartFull, u"250"_s, u"4.0"_s, false},
        {M::Concrete, Mode::PartFull, u"400"_s, u"1.9"_s, true},
        {M::Concrete, Mode::PartFull, u"400"_s, u"2.0"_s, false},
        {M::Concrete, Mode::PartFull, u"450"_s, u"0.5"_s, false},
        {M::Concrete, Mode::PartFull, u"150"_s, u"0.5"_s, false},
        {M::Concrete, Mode::Full, u"300"_s, u"2.0"_s, true},
        {M::Concrete, Mode::Full, u"200"_s, u"0.6"_s, true},
        {M::Corrugated, Mode::PartFull, u"225"_s, u"0.5"_s, false},
        {M::Pvcu, Mode::None, u"200"_s, u"3"_s, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.diameter.toStdString() + " " + row.slope.toStdString());
        freshRun();
        choose(row.material, row.mode);
        pickText(*w().Combo1, row.diameter);
        if (row.warns)
            platform().answerMessageBox(forms::vbOK);
        pickText(*w().Combo2, row.slope);
        if (row.warns)
            expectOneBox(kSlopeWarning, forms::vbOKOnly | forms::vbCritical, kCorrectness);
        else
            EXPECT_TRUE(boxes().empty());
        EXPECT_EQ(w().Combo2->Text(), row.slope);
    }
}

TEST_F(DrainagePipeFormTest, SlopeWarningUsesTheMinimumOfATypedDiameter)
{
    DrainagePipeForm& f = w();
    // 250 records 4.0; the typed 300 has 3.0, which "3.0" meets.
    pickText(*f.Combo1, u"250"_s);
    f.Combo1->setText(u"300"_s);
    pickText(*f.Combo2, u"3.0"_s);
    EXPECT_TRUE(boxes().empty());

    // 400 records 2.0; the typed 200 has 4.0, which "3.0" falls short of.
    pickText(*f.Combo1, u"400"_s);
    f.Combo1->setText(u"200"_s);
    platform().answerMessageBox(forms::vbOK);
    pickText(*f.Combo2, u"3.0"_s);
    expectOneBox(kSlopeWarning, forms::vbOKOnly | forms::vbCritical, kCorrectness);
}

TEST_F(DrainagePipeFormTest, SlopeWarningWithADiameterTypedBeforeAnyPick)
{
    w().Combo1->setText(u"350"_s);
    platform().answerMessageBox(forms::vbOK);
    pickText(*w().Combo2, u"2.0"_s);
    expectOneBox(kSlopeWarning, forms::vbOKOnly | forms::vbCritical, kCorrectness);
}

TEST_F(DrainagePipeFormTest, ClearingShowsThePromptsAndKeepsTheLists)
{
    DrainagePipeForm& f = w();
    pickText(*f.Combo1, u"300"_s);
    pickText(*f.Combo3, u"0.5"_s);
    f.Command1->press();
    ASSERT_EQ(f.Text1->Text(), u"0.696"_s);

    f.Command3->press();
    EXPECT_EQ(f.Combo1->Text(), u"请选择管径"_s);
    EXPECT_EQ(f.Combo2->Text(), u"请选择坡度"_s);
    EXPECT_EQ(f.Combo3->Text(), u"请选择充满度"_s);
    EXPECT_EQ(f.Text11->Text(), u"0"_s);
    expectResults(QString(), QString());
    EXPECT_EQ(entries(*f.Combo1), Catalogue::partFullDiameterList());
    EXPECT_TRUE(f.Option4->Value() && f.Option2->Value());

    // In full flow the disabled fullness list gets the part-full prompt.
    f.Option1->click();
    ASSERT_EQ(f.Combo3->Text(), u"请选择坡充满度"_s);
    f.Command3->press();
    EXPECT_EQ(f.Combo3->Text(), u"请选择充满度"_s);
    EXPECT_FALSE(f.Combo3->Enabled());
    EXPECT_TRUE(boxes().empty());
}

struct Example {
    M material;
    Mode mode;
    QString diameter, slope, fullness, velocity, flow;
    bool asks;
};

const Example kExamples[] = {
    {M::Concrete, Mode::Full, u"300"_s, u"3.0"_s, QString(), u"0.749"_s, u"52.944"_s, false},
    {M::Concrete, Mode::PartFull, u"300"_s, u"3.0"_s, u"0.5"_s, u"0.696"_s, u"24.608"_s, false},
    {M::Concrete, Mode::PartFull, u"300"_s, u"3.0"_s, u"0.3"_s, u"0.541"_s, u"9.672"_s, false},
    {M::Concrete, Mode::PartFull, u"1000"_s, u"2.0"_s, u"1"_s, u"1.268"_s, u"995.885"_s, true},
    {M::Pvcu, Mode::None, u"110"_s, u"4"_s, u"0.5"_s, u".6152"_s, u"2.594"_s, false},
};

TEST_F(DrainagePipeFormTest, WorkedExamplesPickedFromTheLists)
{
    for (const Example& row : kExamples) {
        for (int answer : {forms::vbOK, forms::vbCancel}) {
            if (!row.asks && answer == forms::vbCancel)
                continue;
            SCOPED_TRACE(row.diameter.toStdString() + " " + row.fullness.toStdString());
            freshRun();
            choose(row.material, row.mode);
            pickText(*w().Combo1, row.diameter);
            pickText(*w().Combo2, row.slope);
            if (!row.fullness.isEmpty())
                pickText(*w().Combo3, row.fullness);
            if (row.asks)
                platform().answerMessageBox(answer);
            w().Command1->press();
            if (!row.asks) {
                EXPECT_TRUE(boxes().empty());
                expectResults(row.velocity, row.flow);
                continue;
            }
            expectOneBox(kFullnessQuestion, kQuestionStyle, kCorrectness);
            if (answer == forms::vbOK)
                expectResults(row.velocity, row.flow);
            else
                expectResults(QString(), QString());
        }
    }
}

// Records whether the drainage window was visible when a message box came.
class WatchingPlatform final : public forms::Platform {
public:
    explicit WatchingPlatform(forms::Platform& inner)
        : m_inner(inner)
    {
    }
    std::vector<bool> visibleAtBox;

    int messageBox(const QString& text, int style, const QString& title) override
    {
        visibleAtBox.push_back(Form1().isVisible());
        return m_inner.messageBox(text, style, title);
    }
    std::optional<QString> fileDialog(const forms::FileDialogRequest& r) override
    {
        return m_inner.fileDialog(r);
    }
    QString findProgram(const QString& name) override { return m_inner.findProgram(name); }
    bool startDetached(const QString& p, const QStringList& a) override
    {
        return m_inner.startDetached(p, a);
    }
    void endProgram() override { m_inner.endProgram(); }
    bool timersRun() const override { return m_inner.timersRun(); }
    void raiseWindow(QWidget& window) override { m_inner.raiseWindow(window); }

private:
    forms::Platform& m_inner;
};

TEST_F(DrainagePipeFormTest, WindowIsHiddenWhileTheFullnessQuestionIsAsked)
{
    DrainagePipeForm& f = w();
    f.Show();
    pickText(*f.Combo1, u"300"_s);
    pickText(*f.Combo3, u"0.6"_s);
    WatchingPlatform watching(platform());
    forms::setPlatform(&watching);
    platform().answerMessageBox(forms::vbOK);
    f.Command1->press();
    forms::setPlatform(&platform());
    expectOneBox(kFullnessQuestion, kQuestionStyle, kCorrectness);
    EXPECT_EQ(watching.visibleAtBox, std::vector<bool>{false});
    EXPECT_TRUE(f.isVisible());
}

TEST_F(DrainagePipeFormTest, PvcuComputesWithTheEngineersSlope)
{
    // De160 and De200 have inner diameters the slope rule would put at 8 ‰.
    struct Row {
        QString diameter, proposed, velocity, flow;
        bool warns; // 3 ‰ is below the 4.0 ‰ minimum of 200 mm
    };
    const Row rows[] = {
        {u"160"_s, u"8"_s, u".688"_s, u"6.245"_s, false},
        {u"200"_s, u"4.0"_s, u".7983"_s, u"11.321"_s, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.diameter.toStdString());
        freshRun();
        choose(M::Pvcu, Mode::None);
        pickText(*w().Combo1, row.diameter);
        ASSERT_EQ(w().Combo2->Text(), row.proposed);
        if (row.warns)
            platform().answerMessageBox(forms::vbOK);
        pickText(*w().Combo2, u"3"_s);
        pickText(*w().Combo3, u"0.5"_s);
        w().Command1->press();
        EXPECT_EQ(boxes().size(), row.warns ? 1u : 0u);
        EXPECT_EQ(w().Combo2->Text(), u"3"_s);
        expectResults(row.velocity, row.flow);
    }
}

TEST_F(DrainagePipeFormTest, InputsThatCannotBeComputedAreRefused)
{
    // Picks 300 / "3.0" / "0.5" in the mode, then types the texts given.
    struct Row {
        Mode mode;
        QString diameter, slope, fullness; // null: keep the pick
        QString message, title;
    };
    const QString keep;
    // One list of each kind under each title; the rules are the engine's
    // table.
    const Row rows[] = {
        {Mode::PartFull, u"3001"_s, keep, keep, u"请选择管径"_s, kCorrectness},
        {Mode::PartFull, keep, u"1000.1"_s, keep, u"请选择坡度"_s, kCorrectness},
        {Mode::PartFull, keep, keep, u"0.62"_s, u"请选择充满度"_s, kCorrectness},
        {Mode::Full, u"abc"_s, keep, keep, u"请选择管径"_s, kCompleteness},
        {Mode::Full, keep, u"-3"_s, keep, u"请选择坡度"_s, kCompleteness},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.diameter.toStdString() + "|" + row.slope.toStdString() + "|"
                     + row.fullness.toStdString());
        freshRun();
        DrainagePipeForm& f = w();
        f.Show();
        choose(M::Concrete, row.mode);
        pickText(*f.Combo1, u"300"_s);
        pickText(*f.Combo2, u"3.0"_s);
        if (row.mode == Mode::PartFull)
            pickText(*f.Combo3, u"0.5"_s);
        // A result stands from before; a refused press must not leave it.
        f.Command1->press();
        ASSERT_FALSE(f.Text1->Text().isEmpty());
        if (!row.diameter.isNull())
            f.Combo1->setText(row.diameter);
        if (!row.slope.isNull())
            f.Combo2->setText(row.slope);
        if (!row.fullness.isNull())
            f.Combo3->setText(row.fullness);
        platform().answerMessageBox(forms::vbOK);
        f.Command1->press();
        expectOneBox(row.message, forms::vbOKOnly, row.title);
        expectResults(QString(), QString());
        const forms::ComboBox* focus = row.message == u"请选择管径"_s   ? f.Combo1
                                       : row.message == u"请选择坡度"_s ? f.Combo2
                                                                      : f.Combo3;
        // An editable list takes the focus in its text part.
        EXPECT_TRUE(focus->isAncestorOf(f.focusWidget())) << row.message.toStdString();
    }
}

TEST_F(DrainagePipeFormTest, VelocityRoundingToNothingShowsAZeroFlow)
{
    // A slope so small that the velocity rounds away: PVC-U writes a lone
    // point (no leading zero), the others "0."; the flow from it is 0 (".").
    struct Row {
        M material;
        QString diameter, velocity;
    };
    const Row rows[] = {
        {M::Pvcu, u"50"_s, u"."_s},
        {M::CastIron, u"75"_s, u"0."_s},
        {M::Concrete, u"300"_s, u"0."_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.diameter.toStdString());
        freshRun();
        choose(row.material, Mode::PartFull);
        pickText(*w().Combo1, row.diameter);
        w().Combo2->setText(u"1e-9"_s);
        pickText(*w().Combo3, u"0.5"_s);
        w().Command1->press();
        EXPECT_TRUE(boxes().empty());
        expectResults(row.velocity, u"."_s);
    }
}

TEST_F(DrainagePipeFormTest, FullFlowIgnoresTheFullnessList)
{
    DrainagePipeForm& f = w();
    f.Option1->click();
    pickText(*f.Combo1, u"300"_s);
    f.Command1->press();
    EXPECT_TRUE(boxes().empty());
    expectResults(u"0.749"_s, u"52.944"_s);
}

TEST_F(DrainagePipeFormTest, NoFlowModeComputesPartFullAndRefusesTheFullFlowPrompt)
{
    DrainagePipeForm& f = w();
    choose(M::Corrugated, Mode::Full);
    pickText(*f.Combo1, u"300"_s);
    f.Option4->click(); // concrete: no flow mode, texts kept
    ASSERT_EQ(f.Combo3->Text(), u"请选择坡充满度"_s);
    platform().answerMessageBox(forms::vbOK);
    f.Command1->press();
    expectOneBox(u"请选择充满度"_s, forms::vbOKOnly, kCorrectness);

    // With a listed fullness the part-full calculation runs (n = 0.014).
    f.Combo3->setText(u"0.5"_s);
    f.Command1->press();
    expectResults(u"0.696"_s, u"24.608"_s);
}

TEST_F(DrainagePipeFormTest, PvcuDiameterTypedOrOutsideTheList)
{
    DrainagePipeForm& f = w();
    choose(M::Pvcu, Mode::None);
    f.Combo1->setText(u"110"_s);
    f.Combo2->setText(u"4"_s);
    f.Combo3->setText(u"0.5"_s);
    f.Command1->press();
    expectResults(u".6152"_s, u"2.594"_s);
    EXPECT_EQ(f.Text11->Text(), u"0.1036"_s);
    EXPECT_EQ(entries(*f.Combo4), hydraulics::PvcuInnerDiameterList::texts());

    f.Combo1->setText(u"100"_s);
    platform().answerMessageBox(forms::vbOK);
    f.Command1->press();
    expectOneBox(u"请选择管径"_s, forms::vbOKOnly, kCorrectness);
    expectResults(QString(), QString());
}

TEST_F(DrainagePipeFormTest, EnterCalculatesEscAndCloseEndTheProgram)
{
    DrainagePipeForm& f = w();
    platform().answerMessageBox(forms::vbOK);
    EXPECT_TRUE(f.pressKey(Qt::Key_Return));
    expectOneBox(u"请选择管径"_s, forms::vbOKOnly, kCorrectness);
    EXPECT_TRUE(endsProgram([&] { f.pressKey(Qt::Key_Escape); }));
    EXPECT_TRUE(endsProgram([&] { f.Command2->press(); }));
    EXPECT_TRUE(endsProgram([&] { f.Unload(); }));
}

TEST_F(DrainagePipeFormTest, OpenedFromTheMenuBarComputesAsTheEngineerWorks)
{
    form0().Show();
    form0().menu()->排水->click();
    DrainagePipeForm& f = w();
    ASSERT_TRUE(f.isVisible());
    EXPECT_EQ(f.Caption(), u"排水管道水力计算V"_s + kVersionText);

    // Typed 300 proposes 3.0 ‰; the fullness is picked; Enter computes.
    f.Combo1->setText(u"300"_s);
    EXPECT_EQ(f.Combo2->Text(), u"3.0"_s);
    pickText(*f.Combo3, u"0.3"_s);
    f.pressKey(Qt::Key_Return);
    expectResults(u"0.541"_s, u"9.672"_s);

    // Picked 1000 proposes 2.0 ‰ and 0.75; a full pipe asks, Cancel drops it.
    pickText(*f.Combo1, u"1000"_s);
    pickText(*f.Combo3, u"1"_s);
    platform().answerMessageBox(forms::vbCancel);
    f.Command1->press();
    expectOneBox(kFullnessQuestion, kQuestionStyle, kCorrectness);
    expectResults(QString(), QString());

    // Full flow, picked by its label.
    f.Label5_Click();
    pickText(*f.Combo1, u"300"_s);
    f.Command1->press();
    expectResults(u"0.749"_s, u"52.944"_s);
}

} // namespace
