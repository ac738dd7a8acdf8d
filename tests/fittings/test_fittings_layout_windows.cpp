// The fittings windows filled through their lists as the engineer fills
// them, with every size of every catalogue shown: no label, field, list or
// button text is cut off. With VT_SNAPSHOT_DIR set, each window is also
// saved there as a PNG, with its longest texts shown.
#include "fittings/drainage_fitting_stack_form.h"
#include "fittings/steel_fittings_form.h"
#include "fittings/waterproof_sleeve_form.h"

#include "app/windows.h"
#include "forms/testing/clipped_texts.h"
#include "forms/testing/fixture.h"
#include "forms/testing/lists.h"

#include <QDir>
#include <QFontMetrics>
#include <QPixmap>

namespace {

using forms::testing::clippedTexts;
using forms::testing::snapshot;
using forms::testing::FormsTest;
using fittings::drainage::FittingType;

class FittingsLayoutTest : public FormsTest {
protected:
    // Reports any text of the window that does not fit as it stands.
    static void expectTextsFit(const QWidget& window)
    {
        const QStringList clipped = clippedTexts(window);
        EXPECT_TRUE(clipped.isEmpty()) << clipped.join(QStringLiteral("; ")).toStdString();
    }

};

TEST_F(FittingsLayoutTest, SteelFittingsTextsFitForEverySize)
{
    SteelFittingsForm& w = Form6();
    w.Show();
    expectTextsFit(w);
    for (forms::ComboBox* list : {w.Combo1, w.Combo2, w.Combo3, w.Combo4}) {
        for (int i = 0; i < list->ListCount(); ++i) {
            SCOPED_TRACE(list->objectName().toStdString() + " " + list->List(i).toStdString());
            list->pick(i);
            expectTextsFit(w);
        }
    }
    w.Combo2->pick(w.Combo2->ListCount() - 1);
    w.Combo3->pick(w.Combo3->ListCount() - 1);
    snapshot(w, QStringLiteral("Form6"));
}

TEST_F(FittingsLayoutTest, SleeveTextsFitForEveryTypeAndSize)
{
    WaterproofSleeveForm& w = form7();
    w.Show();
    expectTextsFit(w);
    for (forms::OptionButton* type : {w.Option2, w.Option3, w.Option1}) {
        type->click();
        expectTextsFit(w);
        for (int i = 0; i < w.Combo1->ListCount(); ++i) {
            SCOPED_TRACE(type->Caption().toStdString() + " " + w.Combo1->List(i).toStdString());
            w.Combo1->pick(i);
            expectTextsFit(w);
        }
    }
    w.Option2->click();
    w.Combo1->pick(w.Combo1->ListCount() - 1);
    snapshot(w, QStringLiteral("form7"));
}

// Every size of every fitting of both materials picked and added to the
// stack: the lengths, the stack's lines and the height are shown whole.
TEST_F(FittingsLayoutTest, DrainageFittingsTextsFitForEverySizeOfBothMaterials)
{
    DrainageFittingStackForm& w = Form8();
    w.Show();
    expectTextsFit(w);
    for (forms::OptionButton* material : {w.Option2, w.Option1}) {
        material->click();
        for (FittingType type : fittings::drainage::kFittingTypes) {
            forms::ComboBox* list = w.column(type).size;
            for (int i = 0; i < list->ListCount(); ++i) {
                SCOPED_TRACE(material->Caption().toStdString() + " "
                             + fittings::drainage::fittingTypeName(type).toStdString() + " "
                             + list->List(i).toStdString());
                list->pick(i);
                expectTextsFit(w);
            }
        }
    }

    // A tall cast-iron stack whose height runs to four digits, and the
    // longest line of the list.
    w.Option2->click();
    const auto pick = [](forms::ComboBox* list, const QString& size) {
        list->pick(static_cast<int>(forms::testing::entries(list).indexOf(size)));
    };
    pick(w.Combo2, QStringLiteral("200X200"));
    for (int i = 0; i < 6; ++i)
        w.Picture2_DblClick();
    pick(w.Combo4, QStringLiteral("200X200"));
    w.Picture4_DblClick();
    w.Command3->press();
    EXPECT_EQ(w.Text11->Text(), QStringLiteral("2749.454"));
    EXPECT_EQ(w.Text15->Text(), QStringLiteral("7"));
    expectTextsFit(w);
    const QFontMetrics fm(w.List1->font());
    for (int k = 0; k < w.List1->ListCount(); ++k) {
        SCOPED_TRACE(w.List1->List(k).toStdString());
        EXPECT_LE(fm.horizontalAdvance(w.List1->List(k)), w.List1->viewport()->width() - 4);
    }
    // The height of a riser of a hundred-metre building.
    w.Text11->setText(QStringLiteral("99999.999"));
    expectTextsFit(w);
    snapshot(w, QStringLiteral("Form8"));
}

} // namespace
