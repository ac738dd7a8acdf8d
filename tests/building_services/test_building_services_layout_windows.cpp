// The fire hydrant, extinguisher and septic tank windows show every result
// whole for the figures real designs give, and every control stands inside
// its frame clear of its neighbours. With VT_SNAPSHOT_DIR set, each window
// is also saved as a PNG there.
#include "building_services/extinguisher_config_form.h"
#include "building_services/fire_hydrant_form.h"
#include "building_services/septic_tank_form.h"
#include "forms/testing/clipped_texts.h"
#include "forms/testing/fixture.h"
#include "forms/testing/lists.h"
#include "forms/testing/text.h"

#include "app/windows.h"

#include <QDir>
#include <QFontMetrics>

#include <gtest/gtest.h>

using forms::testing::clippedTexts;
using forms::testing::snapshot;
using forms::testing::S;

namespace {


// Room kept between a frame's border and what it holds, between the window's
// edge and a frame, and after a label's caption, px.
constexpr int kFrameMargin = 3;
constexpr int kWindowMargin = 1;
constexpr int kCaptionGap = 3;

// Frames that reach past the window's client area, controls that reach past
// their frame's inner border, and captions of labels that run into another
// control of their frame (an option's own label, drawn over it, aside).
QStringList crowdedControls(const QWidget& window)
{
    QStringList crowded;
    for (const auto* frame : window.findChildren<forms::Frame*>()) {
        if (!frame->isVisibleTo(&window))
            continue;
        if (frame->geometry().right() > window.width() - 1 - kWindowMargin
            || frame->geometry().bottom() > window.height() - 1)
            crowded << frame->objectName() + QStringLiteral(" leaves the window");
        for (const QWidget* child : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!child->isVisibleTo(&window))
                continue;
            if (child->geometry().right() > frame->width() - 1 - kFrameMargin)
                crowded << child->objectName() + QStringLiteral(" touches ")
                        + frame->objectName();
        }
        for (const auto* label : frame->findChildren<forms::Label*>(Qt::FindDirectChildrenOnly)) {
            if (!label->isVisibleTo(&window) || label->Caption().isEmpty())
                continue;
            const QFontMetrics fm(label->font());
            QRect text = label->geometry();
            text.setWidth(fm.horizontalAdvance(label->Caption()) + kCaptionGap);
            if (text.right() > frame->width() - 1)
                crowded << label->objectName() + QStringLiteral(" runs to the border of ")
                        + frame->objectName();
            for (const QWidget* other : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (other == label || !other->isVisibleTo(&window))
                    continue;
                // An option lies under its own label, which repeats its caption.
                const auto* option = qobject_cast<const forms::OptionButton*>(other);
                if (option && option->geometry().contains(label->geometry().topLeft()))
                    continue;
                if (text.intersects(other->geometry()))
                    crowded << label->objectName() + QStringLiteral(" runs into ")
                            + other->objectName();
            }
        }
    }
    return crowded;
}

class BuildingServicesLayoutTest : public forms::testing::FormsTest {
protected:
    void expectWhole(QWidget& window, const std::string& name)
    {
        SCOPED_TRACE(name);
        const QStringList clipped = clippedTexts(window);
        EXPECT_TRUE(clipped.isEmpty()) << clipped.join(QStringLiteral("; ")).toStdString();
        const QStringList crowded = crowdedControls(window);
        EXPECT_TRUE(crowded.isEmpty()) << crowded.join(QStringLiteral("; ")).toStdString();
    }
};

TEST_F(BuildingServicesLayoutTest, HydrantResultsShowWhole)
{
    struct Row {
        const char* name;
        const char* nozzle;
        const char* hose;
        const char* material;
        const char* hm;
        const char* ld;
    };
    const Row rows[] = {
        {"opening example", "19", "65", "衬胶水带", "10", "25"},
        {"small nozzle, linen", "13", "50", "麻织水带", "7", "20"},
        {"high building", "16", "65", "麻织水带", "13", "25"},
        {"large nozzle, long column", "22", "50", "麻织水带", "17", "25"},
        {"two hoses", "19", "50", "衬胶水带", "13", "50"},
        {"short hose", "25", "65", "衬胶水带", "15", "10"},
    };
    FireHydrantForm& f = Form11();
    f.Show();
    expectWhole(f, "opening");
    snapshot(f, QStringLiteral("Form11"));
    for (const Row& row : rows) {
        forms::testing::pickText(*f.Combo1, row.nozzle);
        forms::testing::pickText(*f.Combo2, row.hose);
        forms::testing::pickText(*f.Combo3, row.material);
        f.Text4->setText(S(row.hm));
        f.Text5->setText(S(row.ld));
        f.Command1->press();
        ASSERT_TRUE(boxes().empty()) << row.name;
        expectWhole(f, row.name);
    }
    snapshot(f, QStringLiteral("Form11-results"));
}

TEST_F(BuildingServicesLayoutTest, ExtinguisherResultsShowWhole)
{
    struct Row {
        const char* name;
        const char* area;
        const char* points;
        bool classB;
        const char* size;
    };
    const Row rows[] = {
        {"worked example", "1000", "4", false, "2kg磷酸铵盐干粉灭火器"},
        {"small room, many points", "35", "3", false, "1kg磷酸铵盐干粉灭火器"},
        // Qe = 0.7 / 60: the longest general text, "0.0116666666666667".
        {"one square metre at four points", "1", "4", false, "2kg磷酸铵盐干粉灭火器"},
        {"large hall", "85000", "120", true, "6kg磷酸铵盐干粉灭火器"},
        {"warehouse at one point", "12345.6", "7", true, "1kg磷酸铵盐干粉灭火器"},
    };
    ExtinguisherConfigForm& f = Form5();
    f.Show();
    expectWhole(f, "opening");
    snapshot(f, QStringLiteral("Form5"));
    for (const Row& row : rows) {
        (row.classB ? f.Option2 : f.Option1)->click();
        f.Text1->setText(S(row.area));
        f.Text5->setText(S(row.points));
        f.Combo1->setText(S(row.size));
        platform().reset();
        for (int i = 0; i < 2; ++i)
            platform().answerMessageBox(forms::vbOK);
        f.Command1->press();
        expectWhole(f, row.name);
    }
    platform().reset();
    snapshot(f, QStringLiteral("Form5-results"));
    f.Option13->click();
    expectWhole(f, "automatic");
}

TEST_F(BuildingServicesLayoutTest, SepticTankResultsShowWhole)
{
    struct Row {
        const char* name;
        const char* users;
        const char* material;
        const char* groundwater;
        const char* vehicles;
        const char* cover;
    };
    const Row rows[] = {
        {"one user", "1", "砖砌化粪池", "有地下水", "不过汽车", "无覆土"},
        {"every letter", "400", "砖砌化粪池", "有地下水", "可过汽车", "有覆土"},
        {"largest brick tank", "2500", "砖砌化粪池", "有地下水", "可过汽车", "有覆土"},
        {"largest concrete tank", "2500", "钢混化粪池", "有地下水", "可过汽车", "有覆土"},
        {"beyond the largest tank", "99999", "钢混化粪池", "有地下水", "可过汽车", "有覆土"},
    };
    SepticTankForm& w = form12();
    w.Show();
    expectWhole(w, "opening");
    snapshot(w, QStringLiteral("form12"));
    for (const Row& row : rows) {
        forms::testing::pickText(*w.Combo11, row.material);
        forms::testing::pickText(*w.Combo7, row.groundwater);
        forms::testing::pickText(*w.Combo8, row.vehicles);
        forms::testing::pickText(*w.Combo9, row.cover);
        w.Text1->setText(S(row.users));
        w.Command1->press();
        ASSERT_TRUE(boxes().empty()) << row.name;
        expectWhole(w, row.name);
    }
    snapshot(w, QStringLiteral("form12-results"));
    forms::testing::pickText(*w.Combo10, "13-100");
    expectWhole(w, "hand pick");
}

} // namespace
