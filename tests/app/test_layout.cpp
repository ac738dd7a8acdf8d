// The windows' texts fit their controls at the layouts' sizes in the fonts
// in use. With VT_SNAPSHOT_DIR set, each window is also saved as a PNG there.
#include "app/about_form.h"
#include "app/dedication_letter_form.h"
#include "app/dedication_picture_form.h"
#include "app/login_form.h"
#include "app/results_window_form.h"
#include "app/splash_form.h"
#include "building_services/extinguisher_config_form.h"
#include "building_services/fire_hydrant_form.h"
#include "building_services/septic_tank_form.h"
#include "fittings/drainage_fitting_stack_form.h"
#include "fittings/steel_fittings_form.h"
#include "fittings/waterproof_sleeve_form.h"
#include "hydraulics/drainage_pipe_form.h"
#include "storm/storm_water_form.h"
#include "storm_network/storm_result_grid_form.h"
#include "storm_network/storm_segment_adjust_dialog.h"
#include "storm_network/storm_segment_list_form.h"
#include "storm_network/storm_sewer_network_form.h"
#include "app/windows.h"
#include "forms/testing/clipped_texts.h"
#include "forms/testing/fixture.h"
#include "hydraulics/water_supply_pipe_form.h"

#include <QDir>

#include <functional>

using forms::testing::clippedTexts;
using forms::testing::snapshot;
using forms::testing::FormsTest;

namespace {


class LayoutTest : public FormsTest {};

TEST_F(LayoutTest, SplashTextsFit)
{
    SplashForm& s = logo();
    snapshot(s, QStringLiteral("logo"));
    const QStringList clipped = clippedTexts(*s.Frame1);
    EXPECT_TRUE(clipped.isEmpty()) << clipped.join(QStringLiteral("; ")).toStdString();
}

TEST_F(LayoutTest, WaterSupplyCalculatorTextsFit)
{
    WaterSupplyPipeForm& w = form0();
    w.Show();
    snapshot(w, QStringLiteral("form0"));
    QStringList clipped = clippedTexts(w);
    EXPECT_TRUE(clipped.isEmpty()) << clipped.join(QStringLiteral("; ")).toStdString();
    // The worked example's results fit, the six decimals of the unit head
    // loss included.
    w.Combo2->pick(5);
    w.Text1->setText(QStringLiteral("2"));
    w.Text3->setText(QStringLiteral("100"));
    w.Command1_Click();
    ASSERT_EQ(w.Text6->Text(), QStringLiteral("0.024761"));
    clipped = clippedTexts(w);
    EXPECT_TRUE(clipped.isEmpty()) << clipped.join(QStringLiteral("; ")).toStdString();
    snapshot(w, QStringLiteral("form0-results"));
}

TEST_F(LayoutTest, EveryWindowsTextsFit)
{
    const std::vector<std::pair<const char*, std::function<forms::Form&()>>> windows = {
        {"Form1", [] () -> forms::Form& { return Form1(); }},
        {"form2", [] () -> forms::Form& { return form2(); }},
        {"form13", [] () -> forms::Form& { return form13(); }},
        {"Form14", [] () -> forms::Form& { return Form14(); }},
        {"Form15", [] () -> forms::Form& { return Form15(); }},
        {"Form10", [] () -> forms::Form& { return Form10(); }},
        {"Form6", [] () -> forms::Form& { return Form6(); }},
        {"form7", [] () -> forms::Form& { return form7(); }},
        {"Form8", [] () -> forms::Form& { return Form8(); }},
        {"Form11", [] () -> forms::Form& { return Form11(); }},
        {"Form5", [] () -> forms::Form& { return Form5(); }},
        {"form12", [] () -> forms::Form& { return form12(); }},
        {"About", [] () -> forms::Form& { return About(); }},
        {"Form9", [] () -> forms::Form& { return Form9(); }},
        {"Login", [] () -> forms::Form& { return Login(); }},
        {"form3", [] () -> forms::Form& { return form3(); }},
        {"Form4", [] () -> forms::Form& { return Form4(); }},
    };
    for (const auto& [name, window] : windows) {
        SCOPED_TRACE(name);
        forms::Form& w = window();
        w.Show();
        snapshot(w, QString::fromLatin1(name));
        const QStringList clipped = clippedTexts(w);
        EXPECT_TRUE(clipped.isEmpty()) << clipped.join(QStringLiteral("; ")).toStdString();
    }
}

} // namespace
