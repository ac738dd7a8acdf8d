// The windows' texts fit their controls at the layouts' sizes in the fonts
// in use, and their lines and borders show at a desktop's scales. With
// VT_SNAPSHOT_DIR set, each window is also saved as a PNG there.
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
#include "forms/testing/drawn_lines.h"
#include "forms/testing/fixture.h"
#include "forms/testing/lists.h"
#include "hydraulics/water_supply_pipe_form.h"

#include <QAbstractItemView>
#include <QDir>
#include <QPointer>
#include <QStyleOptionComboBox>
#include <QTest>

#include <functional>

using forms::testing::clippedTexts;
using forms::testing::snapshot;
using forms::testing::FormsTest;

namespace {

using WindowRef = std::pair<const char*, std::function<forms::Form&()>>;

// Every window but the splash, which has no controls to fill or pick.
const std::vector<WindowRef>& everyWindow()
{
    static const std::vector<WindowRef> windows = {
        {"form0", [] () -> forms::Form& { return form0(); }},
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
    return windows;
}

// Pixels a closed list has for its text: its edit field as the style lays
// it out, less the margins the text is drawn inside.
int closedTextRoom(const forms::ComboBox& combo)
{
    QStyleOptionComboBox option;
    option.initFrom(&combo);
    option.editable = combo.isEditable();
    option.frame = combo.hasFrame();
    const QRect field = combo.QWidget::style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                      QStyle::SC_ComboBoxEditField, &combo);
    return qMin(field.width() - 4, combo.width() - 22);
}

// The lists of `window` the user sees that cut an entry or their text, shut
// or open, as "name: text".
QStringList cutListEntries(forms::Form& window)
{
    QStringList cut;
    for (forms::ComboBox* combo : window.findChildren<forms::ComboBox*>()) {
        if (!combo->isVisibleTo(&window))
            continue;
        const QFontMetrics fm(combo->font());
        const int room = closedTextRoom(*combo);
        QStringList texts = forms::testing::entries(*combo);
        texts << combo->Text();
        for (const QString& text : texts) {
            if (fm.horizontalAdvance(text) > room)
                cut << combo->objectName() + QStringLiteral(" shut: ") + text + QStringLiteral(" needs %1 twips, has %2").arg((fm.horizontalAdvance(text) + combo->width() - room) * 15).arg(combo->width() * 15);
        }
        if (combo->ListCount() == 0)
            continue;
        combo->showPopup();
        const QAbstractItemView* view = combo->view();
        for (int i = 0; i < combo->ListCount(); ++i) {
            const int need = qMax(view->sizeHintForIndex(view->model()->index(i, 0)).width(),
                                  fm.horizontalAdvance(combo->List(i)) + 8);
            if (need > view->viewport()->width())
                cut << combo->objectName() + QStringLiteral(" open: ") + combo->List(i);
        }
        combo->hidePopup();
    }
    return cut;
}


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
    for (const auto& [name, window] : everyWindow()) {
        SCOPED_TRACE(name);
        forms::Form& w = window();
        w.Show();
        snapshot(w, QString::fromLatin1(name));
        const QStringList clipped = clippedTexts(w);
        EXPECT_TRUE(clipped.isEmpty()) << clipped.join(QStringLiteral("; ")).toStdString();
    }
}

// Every line and border of every window (the storm windows' fraction bar,
// the About window's rule, frames, boxes and lists) shows at least one
// device pixel wide at a desktop's scales from 125 % to 200 %.
TEST_F(LayoutTest, EveryWindowsLinesShowAtEveryScale)
{
    std::vector<WindowRef> windows = everyWindow();
    windows.emplace_back("logo", [] () -> forms::Form& { return logo(); });
    for (const auto& [name, window] : windows) {
        SCOPED_TRACE(name);
        forms::Form& w = window();
        w.Show();
        for (double scale : {1.25, 1.5, 1.75, 2.0}) {
            SCOPED_TRACE(scale);
            const QStringList lost = forms::testing::linesLostAt(w, scale);
            EXPECT_TRUE(lost.isEmpty()) << lost.join(QStringLiteral("; ")).toStdString();
        }
    }
}

// Values typed into an editable list show whole in the closed list: a
// sewage quota with two decimals, up to the longest listed quota.
TEST_F(LayoutTest, TypedValuesShowWholeInEditableLists)
{
    const struct {
        const char* window;
        std::function<forms::ComboBox*()> list;
        QString typed;
    } cases[] = {
        {"form12", [] { return form12().Combo3; }, QStringLiteral("48.05")},
        {"form12", [] { return form12().Combo3; }, QStringLiteral("200.05")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window);
        SCOPED_TRACE(c.typed.toStdString());
        forms::ComboBox* combo = c.list();
        combo->window()->show();
        combo->lineEdit()->clear();
        QTest::keyClicks(combo->lineEdit(), c.typed);
        ASSERT_EQ(combo->Text(), c.typed);
        EXPECT_LE(QFontMetrics(combo->font()).horizontalAdvance(c.typed), closedTextRoom(*combo))
            << combo->objectName().toStdString() << " is " << combo->width() << " pixels wide";
    }
}

// Every list of every window shows each entry whole, shut with the entry
// picked and open; Down moves on from whichever entry a list shows, also
// when code wrote the entry's text before the entries were filled (a list
// refilled by another list's pick, or at start-up).
TEST_F(LayoutTest, EveryListShowsItsEntriesWholeAndDownMovesOn)
{
    platform().setFallback([](const auto&) { return int(forms::vbOK); },
                           [](const auto&) { return std::optional<QString>(); });
    for (const auto& [name, window] : everyWindow()) {
        SCOPED_TRACE(name);
        forms::Form& w = window();
        w.Show();
        QStringList cut = cutListEntries(w);
        for (QPointer<forms::ComboBox> combo : w.findChildren<forms::ComboBox*>()) {
            const forms::ComboBox* const found = combo.data();
            if (found == nullptr || !found->isVisibleTo(&w) || !found->isEnabled())
                continue;
            SCOPED_TRACE(combo->objectName().toStdString());
            const int shown = forms::testing::indexOf(*combo, combo->Text());
            if (shown >= 0 && shown + 1 < combo->ListCount() && forms::seenByUser(combo)) {
                QWidget* keys = combo->isEditable() ? static_cast<QWidget*>(combo->lineEdit())
                                                    : combo.data();
                QTest::keyClick(keys, Qt::Key_Down);
                EXPECT_EQ(combo->Text().toStdString(), combo->List(shown + 1).toStdString())
                    << "Down from " << combo->List(shown).toStdString();
            }
            for (int i = 0; combo && i < combo->ListCount(); ++i) {
                combo->pick(i);
                if (w.isVisible())
                    cut << cutListEntries(w);
            }
        }
        cut.removeDuplicates();
        EXPECT_TRUE(cut.isEmpty()) << cut.join(QStringLiteral("; ")).toStdString();
    }
}

} // namespace
