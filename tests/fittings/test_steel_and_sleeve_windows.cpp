// The steel fittings and sleeve windows rendered with every size shown: no
// label, field, list or button text is cut off.
#include "fittings/steel_fittings_form.h"
#include "fittings/waterproof_sleeve_form.h"

#include "app/windows.h"
#include "forms/testing/clipped_texts.h"
#include "forms/testing/fixture.h"

#include <QPixmap>

namespace {

using forms::testing::clippedTexts;
using forms::testing::FormsTest;

class SteelAndSleeveWindowsTest : public FormsTest {
protected:
    // Reports any text of the window that does not fit as it stands.
    static void expectTextsFit(const forms::Form& window)
    {
        const QStringList clipped = clippedTexts(window);
        EXPECT_TRUE(clipped.isEmpty()) << clipped.join(QStringLiteral("; ")).toStdString();
    }
};

TEST_F(SteelAndSleeveWindowsTest, SteelFittingsTextsFitForEverySize)
{
    SteelFittingsForm& w = Form6();
    w.Show();
    EXPECT_EQ(w.grab().size(), w.size());
    expectTextsFit(w);
    for (forms::ComboBox* list : {w.Combo1, w.Combo2, w.Combo3, w.Combo4}) {
        for (int i = 0; i < list->ListCount(); ++i) {
            SCOPED_TRACE(list->objectName().toStdString() + " " + list->List(i).toStdString());
            list->pick(i);
            expectTextsFit(w);
        }
    }
}

TEST_F(SteelAndSleeveWindowsTest, SleeveTextsFitForEveryTypeAndSize)
{
    WaterproofSleeveForm& w = form7();
    w.Show();
    EXPECT_EQ(w.grab().size(), w.size());
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
}

} // namespace
