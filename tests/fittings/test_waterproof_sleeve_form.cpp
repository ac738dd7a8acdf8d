// The waterproof sleeve window driven as the engineer uses it: a sleeve type,
// a size picked from the list, the dimensions in one or two columns.
#include "fittings/waterproof_sleeve_form.h"

#include "app/windows.h"
#include "forms/testing/fixture.h"
#include "hydraulics/water_supply_pipe_form.h"
#include "steel_sleeve_test_support.h"

#include <QApplication>
#include <QTest>
#include <QWindow>

namespace {

using fittings::SleeveType;
using forms::testing::FormsTest;

using steel_sleeve_test::entries;
using steel_sleeve_test::S;

const QStringList kTypeASizes = {"DN50",  "DN65",  "DN80",  "DN100", "DN150", "DN200",
                                 "DN250", "DN300", "DN350", "DN400", "DN450", "DN500",
                                 "DN600", "DN700", "DN800", "DN900", "DN1000"};
const QStringList kTypeBcSizes = {"DN75",  "DN100", "DN150", "DN200", "DN250", "DN300", "DN350",
                                  "DN400", "DN450", "DN500", "DN600", "DN700", "DN800"};

class WaterproofSleeveFormTest : public FormsTest {
protected:
    static WaterproofSleeveForm& w() { return form7(); }

    static void choose(SleeveType type)
    {
        switch (type) {
        case SleeveType::A: w().Option1->click(); break;
        case SleeveType::B: w().Option2->click(); break;
        case SleeveType::C: w().Option3->click(); break;
        }
    }

    // The user's pick of the entry with this text.
    static void pick(const QString& size)
    {
        const int index = static_cast<int>(entries(w().Combo1).indexOf(size));
        ASSERT_GE(index, 0) << size.toStdString() << " is not listed";
        w().Combo1->pick(index);
    }

    // Column 1 (D1, D2, D3, d), then column 2 (D1, D2, D3, d).
    static QStringList shown()
    {
        const WaterproofSleeveForm& f = w();
        return {f.Text1->Text(), f.Text2->Text(), f.Text3->Text(), f.Text4->Text(),
                f.Text7->Text(), f.Text6->Text(), f.Text5->Text(), f.Text8->Text()};
    }

    // Visible flags of the header, units and fields that a type switches.
    static void expectColumns(bool two)
    {
        const WaterproofSleeveForm& f = w();
        EXPECT_EQ(f.Label2->Caption(), two ? S("铸铁管") : S("钢 管"));
        EXPECT_EQ(f.Label4->Visible(), two);
        for (const forms::Label* unit : {f.Label6, f.Label10, f.Label16})
            EXPECT_EQ(unit->Visible(), !two) << unit->objectName().toStdString();
        EXPECT_EQ(f.Label16->Enabled(), !two);
        for (const forms::Label* unit : {f.Label12, f.Label13, f.Label14, f.Label15})
            EXPECT_EQ(unit->Visible(), two) << unit->objectName().toStdString();
        for (const forms::TextBox* field : {f.Text5, f.Text6, f.Text7, f.Text8})
            EXPECT_EQ(field->Visible(), two) << field->objectName().toStdString();
        for (const QWidget* always : std::initializer_list<const QWidget*>{
                 f.Label1, f.Label2, f.Label3, f.Label5, f.Label11, f.Label17, f.Text1, f.Text2, f.Text3, f.Text4})
            EXPECT_TRUE(always->isVisibleTo(&f)) << always->objectName().toStdString();
    }
};

TEST_F(WaterproofSleeveFormTest, OpensOnTypeAWithItsSizesOnceAndOneColumn)
{
    WaterproofSleeveForm& f = w();
    f.Show();
    EXPECT_EQ(f.Caption(), S("钢制套管"));
    EXPECT_TRUE(f.Option1->Value());
    EXPECT_FALSE(f.Option2->Value() || f.Option3->Value());
    EXPECT_EQ(entries(f.Combo1), kTypeASizes);
    EXPECT_EQ(f.Combo1->Text(), S("请选择套管规格"));
    EXPECT_EQ(f.Combo1->ListIndex(), -1);
    EXPECT_EQ(shown(), QStringList(8, QString()));
    expectColumns(false);
    EXPECT_EQ(f.Frame2->Caption(), S("套管类型"));
    EXPECT_EQ(f.Frame1->Caption(), S("管件参数"));
    EXPECT_EQ(f.Option1->Caption(), S("A型套管"));
    EXPECT_EQ(f.Label7->Caption(), S("A型套管"));
    EXPECT_EQ(f.Label8->Caption(), S("B型套管"));
    EXPECT_EQ(f.Label9->Caption(), S("C型套管"));
    EXPECT_EQ(f.Label1->Caption(), S("D1="));
    EXPECT_EQ(f.Label11->Caption(), S("d="));
    EXPECT_EQ(f.Label4->Caption(), S("球铁管"));
    EXPECT_EQ(f.Command1->Caption(), S("返  回"));
    EXPECT_FALSE(f.Picture1->pixmap().isNull());
    EXPECT_EQ(f.Picture1->pixmap().size(), f.Picture1->size());
    EXPECT_TRUE(boxes().empty());
}

TEST_F(WaterproofSleeveFormTest, APickWritesItsRowsTexts)
{
    struct Row {
        const char* name;
        SleeveType type;
        const char* size;
        QStringList texts; // column 1 D1, D2, D3, d; column 2 D1, D2, D3, d
    };
    const Row rows[] = {
        {"A DN50", SleeveType::A, "DN50", {"60", "114", "225", "3.5", "", "", "", ""}},
        {"A DN65", SleeveType::A, "DN65", {"75.5", "121", "230", "3.75", "", "", "", ""}},
        {"A DN700", SleeveType::A, "DN700", {"720", "790", "920", "10", "", "", "", ""}},
        {"A DN1000", SleeveType::A, "DN1000", {"1020", "1080", "1230", "10", "", "", "", ""}},
        {"B DN75, no ductile pipe", SleeveType::B, "DN75", {"93", "140", "250", "4", "", "140", "250", "4"}},
        {"B DN250", SleeveType::B, "DN250", {"271.6", "325", "435", "8", "274", "325", "435", "8"}},
        {"B DN450, no ductile pipe", SleeveType::B, "DN450",
         {"476.8", "530", "650", "10", "", "530", "650", "10"}},
        {"B DN800", SleeveType::B, "DN800", {"836", "900", "1040", "10", "842", "900", "1040", "10"}},
        {"C DN100", SleeveType::C, "DN100", {"118", "160", "270", "4.5", "118", "160", "270", "4.5"}},
        {"C DN400, D2 of its series", SleeveType::C, "DN400",
         {"425.6", "485", "605", "10", "429", "485", "605", "10"}},
        {"C DN450, no ductile pipe", SleeveType::C, "DN450",
         {"476.8", "535", "655", "10", "", "535", "655", "10"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        choose(row.type);
        pick(S(row.size));
        EXPECT_EQ(w().Combo1->Text(), S(row.size));
        EXPECT_EQ(shown(), row.texts);
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(WaterproofSleeveFormTest, AfterAGapInDuctilePipeTheNextSizeFillsItAgain)
{
    choose(SleeveType::B);
    pick(S("DN400"));
    pick(S("DN450"));
    EXPECT_EQ(w().Text7->Text(), QString());
    pick(S("DN500"));
    EXPECT_EQ(w().Text7->Text(), S("532"));
}

TEST_F(WaterproofSleeveFormTest, ChoosingATypeChangesTheListAndHeaderAndEmptiesTheFields)
{
    struct Step {
        SleeveType type;
        const QStringList* sizes;
        bool twoColumns;
    };
    const Step steps[] = {
        {SleeveType::B, &kTypeBcSizes, true}, {SleeveType::C, &kTypeBcSizes, true},
        {SleeveType::A, &kTypeASizes, false}, {SleeveType::C, &kTypeBcSizes, true},
    };
    WaterproofSleeveForm& f = w();
    f.Show();
    pick(S("DN100"));
    for (const Step& step : steps) {
        SCOPED_TRACE(f.Label2->Caption().toStdString() + " -> " + std::to_string(int(step.type)));
        ASSERT_FALSE(f.Text1->Text().isEmpty());
        choose(step.type);
        EXPECT_EQ(entries(f.Combo1), *step.sizes);
        EXPECT_EQ(f.Combo1->Text(), S("请选择套管规格"));
        EXPECT_EQ(f.Combo1->ListIndex(), -1);
        EXPECT_EQ(shown(), QStringList(8, QString()));
        expectColumns(step.twoColumns);
        pick(S("DN100"));
    }
}

TEST_F(WaterproofSleeveFormTest, TheSamePickTwiceWritesTheTextsAgain)
{
    for (SleeveType type : {SleeveType::A, SleeveType::B}) {
        SCOPED_TRACE(int(type));
        choose(type);
        pick(S("DN150"));
        const QStringList first = shown();
        // The engineer overwrites the fields shown, then picks the size again.
        for (forms::TextBox* field : {w().Text1, w().Text2, w().Text3, w().Text4, w().Text5, w().Text6,
                                      w().Text7, w().Text8}) {
            if (field->isVisibleTo(&w()))
                field->setText(S("x"));
        }
        pick(S("DN150"));
        EXPECT_EQ(shown(), first);
    }
}

TEST_F(WaterproofSleeveFormTest, ATypedSizeRunsNoLookUp)
{
    WaterproofSleeveForm& f = w();
    QLineEdit* edit = f.Combo1->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, S("DN65"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(f.Combo1->Text(), S("DN65"));
    EXPECT_EQ(shown(), QStringList(8, QString()));
}

TEST_F(WaterproofSleeveFormTest, ASizeWithoutARowWritesNothingButCopiesColumnOneAcross)
{
    WaterproofSleeveForm& f = w();
    // Type A: nothing changes.
    pick(S("DN50"));
    f.Combo1->setText(S("DN75"));
    f.Combo1_Click();
    EXPECT_EQ(shown(), QStringList({"60", "114", "225", "3.5", "", "", "", ""}));

    // Types B and C: column 2 takes D2, D3 and d from column 1 as it stands.
    choose(SleeveType::B);
    f.Combo1->setText(S("DN50"));
    f.Combo1_Click();
    EXPECT_EQ(shown(), QStringList(8, QString()));
    pick(S("DN200"));
    f.Text2->setText(S("999"));
    f.Text7->setText(S("7"));
    f.Combo1->setText(S("dn200"));
    f.Combo1_Click();
    EXPECT_EQ(shown(), QStringList({"220", "999", "385", "8", "7", "999", "385", "8"}));
}

TEST_F(WaterproofSleeveFormTest, AClickOnAnOptionsTextChoosesIt)
{
    WaterproofSleeveForm& f = w();
    f.Show();
    QApplication::processEvents();
    QWindow* window = f.windowHandle();
    ASSERT_NE(window, nullptr);
    const QPoint onLabel = f.Label8->mapTo(&f, f.Label8->rect().center());
    QTest::mouseClick(window, Qt::LeftButton, {}, onLabel);
    EXPECT_TRUE(f.Option2->Value());
    EXPECT_EQ(f.Label2->Caption(), S("铸铁管"));
    EXPECT_EQ(entries(f.Combo1), kTypeBcSizes);
}

TEST_F(WaterproofSleeveFormTest, ReturnThenTheMenuBringsTheWindowBackAsItWasLeft)
{
    WaterproofSleeveForm& f = w();
    f.Show();
    choose(SleeveType::C);
    pick(S("DN350"));
    const QStringList before = shown();
    f.Command1->press();
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(form0().isVisible());
    form0().menu()->防水套管->click();
    EXPECT_EQ(&form7(), &f);
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(f.Option3->Value());
    EXPECT_EQ(entries(f.Combo1), kTypeBcSizes);
    EXPECT_EQ(f.Combo1->Text(), S("DN350"));
    EXPECT_EQ(shown(), before);
    expectColumns(true);
}

} // namespace
