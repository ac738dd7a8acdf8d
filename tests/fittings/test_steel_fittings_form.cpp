// The steel fittings window driven as the engineer uses it: sizes picked from
// the four lists, their dimensions in the fields of each frame.
#include "fittings/steel_fittings_form.h"

#include "app/windows.h"
#include "fittings/steel_fitting_tables.h"
#include "forms/testing/fixture.h"
#include "hydraulics/water_supply_pipe_form.h"
#include "steel_sleeve_test_support.h"

#include <QApplication>
#include <QTest>

#include <optional>
#include <vector>

namespace {

using forms::testing::FormsTest;

using steel_sleeve_test::entries;
using steel_sleeve_test::S;

// The user's pick of the entry with this text.
void pick(forms::ComboBox* list, const char* size)
{
    const int index = static_cast<int>(entries(list).indexOf(S(size)));
    ASSERT_GE(index, 0) << size << " is not listed";
    list->pick(index);
}

enum class Fitting { Elbow, Tee, Concentric, Eccentric };
constexpr Fitting kFittings[] = {Fitting::Elbow, Fitting::Tee, Fitting::Concentric, Fitting::Eccentric};

const QStringList kReducersWithoutRow = {"DN450X100", "DN450X125", "DN450X150", "DN450X200"};

const char* nameOf(Fitting f)
{
    switch (f) {
    case Fitting::Elbow: return "elbow";
    case Fitting::Tee: return "tee";
    case Fitting::Concentric: return "concentric";
    case Fitting::Eccentric: return "eccentric";
    }
    return "?";
}

class SteelFittingsFormTest : public FormsTest {
protected:
    static SteelFittingsForm& w() { return Form6(); }

    static forms::ComboBox* list(Fitting f)
    {
        switch (f) {
        case Fitting::Elbow: return w().Combo1;
        case Fitting::Tee: return w().Combo2;
        case Fitting::Concentric: return w().Combo3;
        case Fitting::Eccentric: return w().Combo4;
        }
        return nullptr;
    }

    // A frame's fields in the order of its catalogue's columns.
    static std::vector<forms::TextBox*> fields(Fitting f)
    {
        SteelFittingsForm& s = w();
        switch (f) {
        case Fitting::Elbow:
            return {s.Text1, s.Text2, s.Text3};
        case Fitting::Tee:
            return {s.Text4.at(0), s.Text5.at(0), s.Text6.at(0), s.Text9.at(0), s.Text7.at(0), s.Text8.at(0)};
        case Fitting::Concentric:
            return {s.Text4.at(1), s.Text6.at(1), s.Text7.at(1), s.Text8.at(1)};
        case Fitting::Eccentric:
            return {s.Text4.at(2), s.Text6.at(2), s.Text7.at(2), s.Text8.at(2)};
        }
        return {};
    }

    static QStringList texts(Fitting f)
    {
        QStringList shown;
        for (const forms::TextBox* field : fields(f))
            shown.append(field->Text());
        return shown;
    }

    // The texts of every frame but `except`'s.
    static QStringList allTexts(std::optional<Fitting> except = std::nullopt)
    {
        QStringList shown;
        for (Fitting f : kFittings) {
            if (f != except)
                shown += texts(f);
        }
        return shown;
    }
};

TEST_F(SteelFittingsFormTest, OpensWithPromptsFullListsEmptyFieldsAndTheCaretInLa)
{
    // Opened from the menu bar, as the engineer opens it.
    form0().menu()->钢制管件->click();
    SteelFittingsForm& f = w();
    QApplication::processEvents();
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(form0().isVisible());
    EXPECT_EQ(f.Caption(), S("钢制管件"));
    EXPECT_EQ(QApplication::focusWidget(), f.Text1);

    struct Row {
        Fitting fitting;
        const char* frame;
        const char* caption;
        const char* prompt;
        int count;
        const char* first;
        const char* last;
    };
    const Row rows[] = {
        {Fitting::Elbow, "Frame3", "弯头", "请选择弯头规格", 13, "DN50", "DN600"},
        {Fitting::Tee, "Frame4", "三通", "请选择三（四）通规格", 54, "DN50X50", "DN450X450"},
        {Fitting::Concentric, "Frame6", "同心异径管", "请选择同心异径管规格", 33, "DN80X50", "DN450X400"},
        {Fitting::Eccentric, "Frame5", "偏心异径管", "请选择偏心异径管规格", 33, "DN80X50", "DN450X400"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(nameOf(row.fitting));
        const forms::ComboBox* l = list(row.fitting);
        EXPECT_EQ(l->Text(), S(row.prompt));
        EXPECT_EQ(l->ListIndex(), -1);
        EXPECT_EQ(l->ListCount(), row.count);
        EXPECT_EQ(l->List(0), S(row.first));
        EXPECT_EQ(l->List(row.count - 1), S(row.last));
        const auto* frame = f.findChild<forms::Frame*>(S(row.frame));
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->Caption(), S(row.caption));
        EXPECT_TRUE(frame->isAncestorOf(l));
        for (const forms::TextBox* field : fields(row.fitting)) {
            EXPECT_TRUE(field->Text().isEmpty());
            EXPECT_TRUE(frame->isAncestorOf(field));
        }
    }
    EXPECT_EQ(entries(f.Combo1), fittings::ElbowDimensionTable::sizes());
    EXPECT_EQ(entries(f.Combo2), fittings::TeeDimensionTable::sizes());
    EXPECT_EQ(entries(f.Combo3), entries(f.Combo4));
    EXPECT_FALSE(entries(f.Combo1).contains(S("DN65")));
    for (const forms::PictureBox* picture : {f.Picture1, f.Picture2, f.Picture3, f.Picture4}) {
        EXPECT_FALSE(picture->pixmap().isNull()) << picture->objectName().toStdString();
        EXPECT_EQ(picture->pixmap().size(), picture->size());
    }
}

TEST_F(SteelFittingsFormTest, EachFieldStandsBesideItsNameAndUnit)
{
    // Captions to the left of each field, top to bottom, and "mm" to its right.
    struct Row {
        Fitting fitting;
        std::vector<const char*> names;
    };
    const Row rows[] = {
        {Fitting::Elbow, {"La=", "d=", "D="}},
        {Fitting::Tee, {"L1=", "L2=", "d1=", "d2=", "D1=", "D2="}},
        {Fitting::Concentric, {"L1=", "d =", "D1=", "D2="}},
        {Fitting::Eccentric, {"L1=", "d =", "D1=", "D2="}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(nameOf(row.fitting));
        const std::vector<forms::TextBox*> boxes = fields(row.fitting);
        ASSERT_EQ(boxes.size(), row.names.size());
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            QString before;
            QString after;
            for (const auto* label : boxes[i]->parentWidget()->findChildren<forms::Label*>()) {
                if (qAbs(label->geometry().center().y() - boxes[i]->geometry().center().y()) > 4)
                    continue;
                (label->x() < boxes[i]->x() ? before : after) = label->Caption();
            }
            EXPECT_EQ(before, S(row.names[i]));
            EXPECT_EQ(after, S("mm"));
        }
    }
    // The tee's D2 row stands above its D1 row.
    EXPECT_LT(w().Text8.at(0)->y(), w().Text7.at(0)->y());
}

TEST_F(SteelFittingsFormTest, APickWritesItsRowsTexts)
{
    struct Row {
        const char* name;
        Fitting fitting;
        const char* size;
        QStringList shown;
    };
    const Row rows[] = {
        {"elbow DN50", Fitting::Elbow, "DN50", {"130", "3.5", "57"}},
        {"elbow DN125, La of its series", Fitting::Elbow, "DN125", {"230", "4", "133"}},
        {"elbow DN150", Fitting::Elbow, "DN150", {"250", "4.5", "159"}},
        {"elbow DN250", Fitting::Elbow, "DN250", {"310", "8", "273"}},
        {"elbow DN300, the same La", Fitting::Elbow, "DN300", {"310", "8", "325"}},
        {"elbow DN600", Fitting::Elbow, "DN600", {"540", "9", "630"}},
        {"tee DN50X50", Fitting::Tee, "DN50X50", {"300", "150", "3.5", "3.5", "57", "57"}},
        {"tee DN150X50", Fitting::Tee, "DN150X50", {"400", "200", "4.5", "3.5", "159", "57"}},
        {"tee DN150X100", Fitting::Tee, "DN150X100", {"400", "200", "4.5", "4", "159", "108"}},
        {"tee DN250X250", Fitting::Tee, "DN250X250", {"600", "300", "8", "8", "273", "273"}},
        {"tee DN300X100", Fitting::Tee, "DN300X100", {"500", "275", "8", "4", "325", "108"}},
        {"tee DN400X150", Fitting::Tee, "DN400X150", {"500", "325", "9", "4.5", "426", "159"}},
        {"tee DN450X450", Fitting::Tee, "DN450X450", {"900", "450", "9", "9", "480", "480"}},
        {"concentric DN80X50", Fitting::Concentric, "DN80X50", {"320", "4", "89", "57"}},
        {"concentric DN150X100", Fitting::Concentric, "DN150X100", {"378", "4.5", "159", "108"}},
        {"concentric DN450X400", Fitting::Concentric, "DN450X400", {"420", "9", "480", "426"}},
        {"eccentric DN80X50", Fitting::Eccentric, "DN80X50", {"340", "4", "89", "57"}},
        {"eccentric DN150X125", Fitting::Eccentric, "DN150X125", {"365", "4.5", "159", "133"}},
        {"eccentric DN450X250", Fitting::Eccentric, "DN450X250", {"715", "9", "480", "273"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        pick(list(row.fitting), row.size);
        EXPECT_EQ(list(row.fitting)->Text(), S(row.size));
        EXPECT_EQ(texts(row.fitting), row.shown);
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(SteelFittingsFormTest, EveryListedSizeWithARowFillsEveryField)
{
    for (Fitting f : kFittings) {
        forms::ComboBox* l = list(f);
        for (int i = 0; i < l->ListCount(); ++i) {
            const QString size = l->List(i);
            const bool reducer = f == Fitting::Concentric || f == Fitting::Eccentric;
            if (reducer && kReducersWithoutRow.contains(size))
                continue;
            SCOPED_TRACE(std::string(nameOf(f)) + " " + size.toStdString());
            l->pick(i);
            for (const QString& text : texts(f))
                EXPECT_FALSE(text.isEmpty());
        }
    }
}

TEST_F(SteelFittingsFormTest, TheSamePickTwiceWritesTheTextsAgain)
{
    for (Fitting f : kFittings) {
        SCOPED_TRACE(nameOf(f));
        forms::ComboBox* l = list(f);
        l->pick(2);
        const QStringList first = texts(f);
        // The engineer overwrites the fields, then picks the shown size again.
        for (forms::TextBox* field : fields(f))
            field->setText(S("x"));
        l->pick(2);
        EXPECT_EQ(texts(f), first);
        // A second size replaces every text of the first.
        l->pick(l->ListCount() - 1);
        EXPECT_NE(texts(f), first);
    }
}

TEST_F(SteelFittingsFormTest, ATypedSizeRunsNoLookUp)
{
    SteelFittingsForm& f = w();
    pick(f.Combo1, "DN50");
    QLineEdit* edit = f.Combo1->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, S("DN100"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(f.Combo1->Text(), S("DN100"));
    EXPECT_EQ(texts(Fitting::Elbow), QStringList({"130", "3.5", "57"}));

    for (Fitting fitting : {Fitting::Tee, Fitting::Concentric, Fitting::Eccentric}) {
        SCOPED_TRACE(nameOf(fitting));
        QLineEdit* typed = list(fitting)->lineEdit();
        typed->selectAll();
        QTest::keyClicks(typed, S("DN80X50"));
        QTest::keyClick(typed, Qt::Key_Return);
        for (const QString& text : texts(fitting))
            EXPECT_TRUE(text.isEmpty());
    }
}

TEST_F(SteelFittingsFormTest, APickTouchesOnlyItsOwnFrame)
{
    SteelFittingsForm& f = w();
    pick(f.Combo1, "DN80");
    pick(f.Combo2, "DN100X80");
    pick(f.Combo3, "DN100X80");
    pick(f.Combo4, "DN100X80");
    const QStringList before = allTexts();
    EXPECT_EQ(before, QStringList({"170", "4", "89",                           // elbow
                                   "350", "175", "4", "4", "108", "89",        // tee
                                   "312", "4", "108", "89",                    // concentric
                                   "340", "4", "108", "89"}));                 // eccentric

    struct Row {
        Fitting fitting;
        const char* size;
    };
    for (const Row& row : {Row{Fitting::Elbow, "DN400"}, Row{Fitting::Tee, "DN400X400"},
                           Row{Fitting::Concentric, "DN400X200"}, Row{Fitting::Eccentric, "DN400X200"}}) {
        SCOPED_TRACE(nameOf(row.fitting));
        const QStringList others = allTexts(row.fitting);
        pick(list(row.fitting), row.size);
        EXPECT_EQ(allTexts(row.fitting), others);
    }
}

TEST_F(SteelFittingsFormTest, AReducerSizeWithoutDimensionsEmptiesItsFrame)
{
    SteelFittingsForm& f = w();
    for (Fitting fitting : {Fitting::Concentric, Fitting::Eccentric}) {
        forms::ComboBox* l = list(fitting);
        for (const QString& size : kReducersWithoutRow) {
            SCOPED_TRACE(std::string(nameOf(fitting)) + " " + size.toStdString());
            pick(l, "DN400X350");
            ASSERT_FALSE(texts(fitting).contains(QString()));
            l->pick(static_cast<int>(entries(l).indexOf(size)));
            EXPECT_EQ(l->Text(), size);
            EXPECT_EQ(texts(fitting), QStringList({"", "", "", ""}));
        }
        // A size with dimensions after it writes all four fields again.
        pick(l, "DN450X250");
        EXPECT_FALSE(texts(fitting).contains(QString()));
    }
    // The gap in one reducer list leaves the other reducer's fields alone.
    pick(f.Combo3, "DN80X50");
    pick(f.Combo4, "DN450X100");
    EXPECT_EQ(texts(Fitting::Concentric), QStringList({"320", "4", "89", "57"}));
}

TEST_F(SteelFittingsFormTest, ATextThatIsNoListedSizeChangesNothing)
{
    SteelFittingsForm& f = w();
    pick(f.Combo2, "DN50X50");
    pick(f.Combo3, "DN80X50");
    const QStringList before = allTexts();
    for (const char* text : {"请选择三（四）通规格", "dn50x50", "DN50X50 ", "DN450X100x"}) {
        SCOPED_TRACE(text);
        f.Combo2->setText(S(text));
        f.Combo2_Click();
        f.Combo3->setText(S(text));
        f.Combo3_Click();
        EXPECT_EQ(allTexts(), before);
    }
}

TEST_F(SteelFittingsFormTest, SwitchingAwayAndBackKeepsEveryPickAndField)
{
    SteelFittingsForm& f = w();
    pick(f.Combo1, "DN200");
    pick(f.Combo4, "DN300X250");
    const QStringList before = allTexts();
    f.menu()->给水->click();
    EXPECT_FALSE(f.isVisible());
    form0().menu()->钢制管件->click();
    EXPECT_EQ(&Form6(), &f);
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.Combo1->Text(), S("DN200"));
    EXPECT_EQ(f.Combo4->Text(), S("DN300X250"));
    EXPECT_EQ(allTexts(), before);
}

} // namespace
