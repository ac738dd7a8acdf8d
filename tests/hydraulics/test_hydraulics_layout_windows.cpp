// The pipe calculators show their results whole: every result field holds
// its longest realistic text at the program's font, the worked examples
// and the largest catalogue pipes computed through the windows.
#include "hydraulics/drainage_pipe_form.h"
#include "hydraulics/water_supply_pipe_form.h"

#include "app/windows.h"
#include "forms/testing/clipped_texts.h"
#include "forms/testing/fixture.h"
#include "forms/testing/lists.h"

namespace {

using namespace Qt::StringLiterals;
using forms::testing::clippedTexts;
using forms::testing::pickText;

class HydraulicsLayoutTest : public forms::testing::FormsTest {
protected:
    void freshRun()
    {
        forms::destroyAllDefaultInstances();
        platform().reset();
    }
    static void expectNothingClipped(const QWidget& window)
    {
        const QStringList clipped = clippedTexts(window);
        EXPECT_TRUE(clipped.isEmpty()) << clipped.join(u"; "_s).toStdString();
    }
};

TEST_F(HydraulicsLayoutTest, WaterSupplyResultsShowWhole)
{
    // Flows typed in t/h, the L/s field showing the 15-digit conversion;
    // the worked example in L/s (DN50, 2 L/s over 100 m).
    struct Row {
        const char* name;
        bool tonnesPerHour;
        QString flow, shownFlow, material, size;
    };
    const QString lined = u"钢衬塑复合管"_s;
    const Row rows[] = {
        {"worked example", false, u"2"_s, u"7.2"_s, lined, u"DN50"_s},
        {"a few fixtures", true, u"5"_s, u"1.38888888888889"_s, lined, u"DN50"_s},
        {"one fixture", true, u"0.05"_s, u"0.0138888888888889"_s, lined, u"DN15"_s},
        {"a district main", true, u"10000"_s, u"2777.77777777778"_s, u"普通钢管"_s, u"DN1200"_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        freshRun();
        WaterSupplyPipeForm& w = form0();
        w.Show();
        pickText(*w.Combo1, row.material);
        pickText(*w.Combo2, row.size);
        if (row.tonnesPerHour)
            w.Text2_DblClick();
        (row.tonnesPerHour ? w.Text2 : w.Text1)->setText(row.flow);
        w.Text3->setText(u"100"_s);
        w.Command1_Click();
        ASSERT_EQ((row.tonnesPerHour ? w.Text1 : w.Text2)->Text(), row.shownFlow);
        if (!row.tonnesPerHour) {
            EXPECT_EQ(w.Text6->Text(), u"0.024761"_s);
        }
        expectNothingClipped(w);
    }

    // The longest realistic texts of the other results: i of a small pipe
    // with two integer digits, a velocity of two, a loss over a length
    // typed to the centimetre, the largest coefficient and factor.
    freshRun();
    WaterSupplyPipeForm& w = form0();
    w.Show();
    w.Text1->setText(u"2777.77777777778"_s);
    w.Text2->setText(u"0.0138888888888889"_s);
    w.Text3->setText(u"1234.56"_s);
    w.Text4->setText(u"12.345"_s);
    w.Text6->setText(u"12.345678"_s);
    w.Text5->setText(u"152.41383936"_s);
    w.Text9->setText(u"200"_s);
    w.Text7->setText(u"1.061"_s);
    expectNothingClipped(w);
}

TEST_F(HydraulicsLayoutTest, DrainageResultsShowWhole)
{
    enum class Mode { Full, PartFull };
    // The largest pipes of the lists at their steepest slopes, a typed
    // slope of 1000 ‰, and the four decimals of PVC-U.
    struct Row {
        const char* name;
        forms::OptionButton* DrainagePipeForm::*material;
        Mode mode;
        QString diameter, slope, fullness, velocity, flow;
    };
    const Row rows[] = {
        {"largest concrete, full", &DrainagePipeForm::Option4, Mode::Full, u"3000"_s, u"100"_s,
         QString(), u"20.08"_s, u"141937.036"_s},
        {"largest concrete, part-full", &DrainagePipeForm::Option4, Mode::PartFull, u"3000"_s,
         u"140"_s, u"1"_s, u"22.062"_s, u"155947.088"_s},
        {"typed slope 1000", &DrainagePipeForm::Option4, Mode::Full, u"3000"_s, u"1000"_s,
         QString(), u"63.499"_s, u"448847.603"_s},
        {"largest corrugated", &DrainagePipeForm::Option3, Mode::PartFull, u"700"_s, u"140"_s,
         u"0.7"_s, u"13.106"_s, u"3768.063"_s},
        {"PVC-U", &DrainagePipeForm::Option7, Mode::PartFull, u"110"_s, u"4"_s, u"0.5"_s,
         u".6152"_s, u"2.594"_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        freshRun();
        DrainagePipeForm& f = Form1();
        f.Show();
        (f.*row.material)->click();
        (row.mode == Mode::Full ? f.Option1 : f.Option2)->click();
        pickText(*f.Combo1, row.diameter);
        f.Combo2->setText(row.slope);
        if (!row.fullness.isEmpty())
            pickText(*f.Combo3, row.fullness);
        // A full pipe is above the maximum fullness: kept.
        if (row.fullness == u"1"_s)
            platform().answerMessageBox(forms::vbOK);
        f.Command1->press();
        ASSERT_EQ(f.Text1->Text(), row.velocity);
        ASSERT_EQ(f.Text2->Text(), row.flow);
        expectNothingClipped(f);
    }
}

} // namespace
