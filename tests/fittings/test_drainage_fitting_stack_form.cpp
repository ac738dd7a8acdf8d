#include "fittings/drainage_fitting_stack_form.h"
#include "forms/testing/lists.h"
#include "version/version.h"

#include "app/windows.h"
#include "fittings/drainage_fitting_tables.h"
#include "forms/testing/fixture.h"
#include "hydraulics/water_supply_pipe_form.h"

#include <QTest>

#include <vector>

namespace {

using forms::testing::entries;

using namespace Qt::StringLiterals;
using fittings::drainage::FittingType;
namespace Tables = fittings::drainage::DrainageFittingTables;

using enum fittings::drainage::FittingType;

const QString kTitle = u"错误！"_s;
const QString kPrompt = u"请选择管件规格"_s;
const QString kChooseSize = u"请选择管件规格！"_s;
const QString kConnection = u"请确认管件连接！"_s;
const QString kSize = u"请确认管件规格！"_s;
const QString kReducerSize = u"请确认管件规格"_s;

QStringList lines(const forms::ListBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->ListCount(); ++i)
        texts.append(list->List(i));
    return texts;
}

// A double-click as the user makes it: the click of its first press and
// release, then the double-click of its second press.
void doubleClick(QWidget* widget, QPoint at = QPoint(20, 20))
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(widget, Qt::LeftButton, Qt::NoModifier, at);
}

// One fitting as the engineer adds it: its type and the size picked.
struct Fitting {
    FittingType type;
    QString size;
};

class DrainageFittingStackFormTest : public forms::testing::FormsTest {
protected:
    void SetUp() override
    {
        FormsTest::SetUp();
        w().Show();
    }

    static DrainageFittingStackForm& w() { return Form8(); }

    static const DrainageFittingStackForm::FittingColumn& column(FittingType type)
    {
        return w().column(type);
    }

    // The user's pick of the size with this text.
    static void pick(FittingType type, const QString& size)
    {
        forms::ComboBox* box = column(type).size;
        const int index = static_cast<int>(entries(box).indexOf(size));
        ASSERT_GE(index, 0) << size.toStdString() << " is not listed";
        box->pick(index);
    }

    // A double-click on the fitting's drawing; 管件6 takes a single click.
    static void clickDrawing(FittingType type)
    {
        forms::PictureBox* picture = column(type).picture;
        if (type == Reducer)
            QTest::mouseClick(picture, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        else
            doubleClick(picture);
    }

    static void add(const Fitting& f)
    {
        pick(f.type, f.size);
        clickDrawing(f.type);
    }

    static void addAll(const std::vector<Fitting>& fittings)
    {
        for (const Fitting& f : fittings)
            add(f);
    }

    static void calculate() { w().Command3->press(); }

    // Expects the message boxes shown since the last call, all OK-only and
    // titled "错误！".
    void expectBoxes(const QStringList& texts)
    {
        QStringList shown;
        for (std::size_t i = m_seen; i < boxes().size(); ++i) {
            shown << boxes()[i].text;
            EXPECT_EQ(boxes()[i].title, kTitle);
            EXPECT_EQ(boxes()[i].style, forms::vbOKOnly);
        }
        m_seen = boxes().size();
        EXPECT_EQ(shown, texts);
    }

    void answer(int count)
    {
        for (int i = 0; i < count; ++i)
            platform().answerMessageBox(forms::vbOK);
    }

    void freshRun()
    {
        forms::destroyAllDefaultInstances();
        platform().reset();
        m_seen = 0;
        w().Show();
    }

    std::size_t m_seen = 0;
};

TEST_F(DrainageFittingStackFormTest, OpensOnPvcuWithEveryFieldAtZero)
{
    DrainageFittingStackForm& f = w();
    EXPECT_EQ(f.Caption(), u"排水管件连接计算V"_s + kVersionText);
    EXPECT_TRUE(f.Option1->Value());
    EXPECT_FALSE(f.Option2->Value());
    EXPECT_EQ(f.Option1->Caption(), u"PVC-U排水管"_s);
    EXPECT_EQ(f.Option2->Caption(), u"排水铸铁管"_s);
    for (FittingType type : fittings::drainage::kFittingTypes) {
        SCOPED_TRACE(static_cast<int>(type));
        const DrainageFittingStackForm::FittingColumn& c = column(type);
        EXPECT_EQ(entries(c.size), Tables::sizeList(fittings::drainage::PipeMaterial::Pvcu, type));
        EXPECT_EQ(c.size->Text(), kPrompt);
        EXPECT_EQ(c.l1->Text(), u"0"_s);
        EXPECT_EQ(c.l2->Text(), u"0"_s);
        EXPECT_TRUE(c.l1->Locked() && c.l2->Locked());
        EXPECT_EQ(c.caption->Caption(), u"管件%1"_s.arg(static_cast<int>(type)));
    }
    EXPECT_EQ(f.Combo6->ListCount(), 15);
    EXPECT_EQ(f.Combo6->List(0), u"75X50"_s);
    EXPECT_EQ(f.Picture6->pixmap().toImage(), f.Picture7->pixmap().toImage());
    EXPECT_NE(f.Picture7->pixmap().toImage(), f.Picture8->pixmap().toImage());
    EXPECT_FALSE(f.Picture7->Visible() || f.Picture8->Visible() || f.Text12->Visible());
    EXPECT_GE(f.List2->Left(), f.ScaleWidth());
    EXPECT_EQ(f.List1->ListCount() + f.List2->ListCount(), 0);
    EXPECT_EQ(f.Text11->Text(), QString());
    EXPECT_EQ(f.Text15->Text(), QString());
    EXPECT_EQ(f.Text12->Text(), u"0"_s);
    EXPECT_EQ(f.Label32->ForeColor(), forms::color(forms::vbBlue));
    EXPECT_EQ(f.Label32->Caption(),
              u"重要说明：使用本管件连接程序前请务必查看菜单中使用提示！依次选择管件及规格！"_s);
    EXPECT_EQ(f.Timer1->Interval(), 500);
    EXPECT_TRUE(f.Timer1->Enabled());
    EXPECT_EQ(f.Command3->Caption(), u"计 算"_s);
    EXPECT_EQ(f.Command4->Caption(), u"退 出"_s);
    for (const char* name : {"Label21", "Label5", "Label12", "Label9", "Label37", "Label16", "Picture1",
                             "Picture2", "Picture3", "Picture4", "Picture5", "Picture6", "Picture7",
                             "Picture8", "Combo1", "Combo6", "Text1", "Text10", "Text13", "Text14",
                             "Frame1", "Option1", "Option2", "Label26", "List1", "List2", "Frame2",
                             "Label30", "Text11", "Label29", "Label17", "Text15", "Label31", "Command1",
                             "Command2", "Command3", "Command4", "Label32", "Text12"})
        EXPECT_NE(f.findChild<QWidget*>(QString::fromUtf8(name)), nullptr) << name;
    EXPECT_TRUE(boxes().empty());
}

TEST_F(DrainageFittingStackFormTest, PickedSizesFillTheirFittingsFields)
{
    struct Row {
        const char* name;
        bool castIron;
        FittingType type;
        QString size;
        QString l1;
        QString l2;
    };
    const Row rows[] = {
        {"PVC-U tee", false, Tee, u"110X50"_s, u"77"_s, u"78"_s},
        {"PVC-U cross, as the tee", false, Cross, u"110X50"_s, u"77"_s, u"78"_s},
        {"cast-iron tee", true, Tee, u"125X125"_s, u"105"_s, u"200"_s},
        {"cast-iron cross", true, Cross, u"125X125"_s, u"97"_s, u"222"_s},
        {"PVC-U bend: L2 only", false, QuarterBend, u"50X50"_s, u"0"_s, u"65"_s},
        {"cast-iron bend: L2 only", true, QuarterBend, u"50X50"_s, u"0"_s, u"175"_s},
        {"PVC-U offset bend, a and b differ", false, OffsetBend, u"90X90"_s, u"152.852813742386"_s, u"0"_s},
        {"cast-iron offset bend", true, OffsetBend, u"200X200"_s, u"274.454364826301"_s, u"0"_s},
        {"PVC-U swept inlet", false, SweptInlet, u"110X110"_s, u"125"_s, u"0"_s},
        {"PVC-U reducer", false, Reducer, u"75X50"_s, u"40"_s, u"0"_s},
        {"cast-iron reducer", true, Reducer, u"300X200"_s, u"300"_s, u"0"_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        freshRun();
        if (row.castIron)
            w().Option2->click();
        pick(row.type, row.size);
        EXPECT_EQ(column(row.type).l1->Text(), row.l1);
        EXPECT_EQ(column(row.type).l2->Text(), row.l2);
        // No other fitting's fields.
        for (FittingType other : fittings::drainage::kFittingTypes) {
            if (other != row.type) {
                EXPECT_EQ(column(other).l1->Text() + column(other).l2->Text(), u"00"_s);
            }
        }
    }
}

TEST_F(DrainageFittingStackFormTest, ALookUpWithoutARowWritesZeroIntoTheFittingsFields)
{
    pick(Tee, u"110X50"_s);
    pick(QuarterBend, u"75X75"_s);
    // The handler run on a size the list lacks.
    w().Combo1->setText(u"110X51"_s);
    w().Combo1_Click();
    w().Combo3->setText(u"75X50"_s);
    w().Combo3_Click();
    EXPECT_EQ(w().Text1->Text(), u"0"_s);
    EXPECT_EQ(w().Text2->Text(), u"0"_s);
    EXPECT_EQ(w().Text6->Text(), u"0"_s);
}

TEST_F(DrainageFittingStackFormTest, SwitchingMaterialReloadsTheListsAndKeepsTheStack)
{
    DrainageFittingStackForm& f = w();
    add({Tee, u"110X50"_s});
    pick(Cross, u"90X90"_s);
    pick(OffsetBend, u"90X90"_s);
    pick(Reducer, u"160X125"_s);
    f.Option2->click();
    for (forms::TextBox* field : {f.Text1, f.Text2, f.Text3, f.Text4, f.Text5, f.Text6, f.Text7,
                                  f.Text8, f.Text9, f.Text10, f.Text13, f.Text14})
        EXPECT_EQ(field->Text(), u"0"_s) << field->objectName().toStdString();
    for (FittingType type : fittings::drainage::kFittingTypes)
        EXPECT_EQ(column(type).size->Text(), kPrompt);
    EXPECT_EQ(f.Combo1->ListCount(), 16);
    EXPECT_EQ(entries(f.Combo1).mid(0, 2), (QStringList{u"50X50"_s, u"75X50"_s}));
    EXPECT_EQ(f.Combo3->ListCount(), 6);
    EXPECT_EQ(f.Combo6->ListCount(), 9);
    EXPECT_FALSE(entries(f.Combo2).contains(u"90X90"_s));
    EXPECT_TRUE(entries(f.Combo4).contains(u"100X100"_s));
    EXPECT_EQ(f.Picture6->pixmap().toImage(), f.Picture8->pixmap().toImage());
    EXPECT_EQ(lines(f.List1), QStringList{u"管件1&110X50"_s});
    EXPECT_EQ(lines(f.List2), (QStringList{u"77"_s, u"78"_s}));

    pick(Tee, u"100X100"_s);
    f.Option1->click();
    EXPECT_EQ(f.Text1->Text(), u"0"_s);
    EXPECT_EQ(f.Combo1->ListCount(), 8);
    EXPECT_FALSE(entries(f.Combo4).contains(u"100X100"_s));
    EXPECT_EQ(f.Combo1->Text(), kPrompt);
    EXPECT_EQ(f.Picture6->pixmap().toImage(), f.Picture7->pixmap().toImage());
    EXPECT_EQ(lines(f.List1), QStringList{u"管件1&110X50"_s});
}

TEST_F(DrainageFittingStackFormTest, TheNoticeBlinksRedAndBlueTickByTick)
{
    DrainageFittingStackForm& f = w();
    const QColor red = forms::color(forms::vbRed);
    const QColor blue = forms::color(forms::vbBlue);
    EXPECT_EQ(red, QColor(255, 0, 0));
    EXPECT_EQ(blue, QColor(0, 0, 255));
    const std::vector<std::pair<QString, QColor>> ticks = {
        {u"1"_s, red}, {u"2"_s, blue}, {u"3"_s, red}, {u"4"_s, blue}};
    for (const auto& [count, colour] : ticks) {
        f.Timer1_Timer();
        EXPECT_EQ(f.Text12->Text(), count);
        EXPECT_EQ(f.Label32->ForeColor(), colour) << count.toStdString();
    }
    // It goes on while the window is hidden.
    f.Hide();
    f.Timer1_Timer();
    EXPECT_EQ(f.Text12->Text(), u"5"_s);
    EXPECT_EQ(f.Label32->ForeColor(), red);
}

TEST_F(DrainageFittingStackFormTest, ExitEndsTheProgram)
{
    EXPECT_TRUE(endsProgram([] { w().Command4->press(); }));
}

TEST_F(DrainageFittingStackFormTest, AddedFittingsKeepTheirRealLengths)
{
    DrainageFittingStackForm& f = w();
    add({Tee, u"110X50"_s});
    clickDrawing(Tee);
    add({SweptInlet, u"110X110"_s});
    add({Tee, u"110X110"_s});
    EXPECT_EQ(lines(f.List1), (QStringList{u"管件1&110X50"_s, u"管件1&110X50"_s, u"管件5&110X110"_s,
                                            u"管件1&110X110"_s}));
    // A first tee and a tee below an inlet keep their L1 in the list.
    EXPECT_EQ(lines(f.List2), (QStringList{u"77"_s, u"78"_s, u"77"_s, u"78"_s, u"125"_s, u"0"_s,
                                            u"103"_s, u"116"_s}));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(DrainageFittingStackFormTest, TheReducerIsAddedByOneClickAndOnceByADoubleClick)
{
    DrainageFittingStackForm& f = w();
    pick(Reducer, u"75X50"_s);
    QTest::mouseClick(f.Picture6, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_EQ(f.List1->ListCount(), 1);
    doubleClick(f.Picture6);
    EXPECT_EQ(lines(f.List1), (QStringList{u"管件6&75X50"_s, u"管件6&75X50"_s}));
    EXPECT_EQ(lines(f.List2), (QStringList{u"40"_s, u"0"_s, u"40"_s, u"0"_s}));
    // The other drawings want a double-click.
    pick(Tee, u"75X75"_s);
    QTest::mouseClick(f.Picture1, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_EQ(f.List1->ListCount(), 2);
}

// The refusals reach the engineer as the stack's messages, and nothing is
// added; which fitting may follow which is the stack engine's table.
TEST_F(DrainageFittingStackFormTest, ARefusedFittingShowsItsMessageAndAddsNothing)
{
    struct Row {
        const char* name;
        std::vector<Fitting> before;
        FittingType type;
        QString size; // empty: nothing picked
        QString message;
    };
    const Row rows[] = {
        {"no size picked", {}, Tee, QString(), kChooseSize},
        {"bend below a tee", {{Tee, u"110X110"_s}}, QuarterBend, u"110X110"_s, kConnection},
        {"bend below an inlet", {{SweptInlet, u"110X110"_s}}, QuarterBend, u"110X110"_s, QString()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        freshRun();
        addAll(row.before);
        const QStringList stack = lines(w().List1);
        const QStringList lengths = lines(w().List2);
        if (!row.size.isEmpty())
            pick(row.type, row.size);
        if (!row.message.isEmpty())
            answer(1);
        clickDrawing(row.type);
        expectBoxes(row.message.isEmpty() ? QStringList() : QStringList{row.message});
        if (row.message.isEmpty()) {
            EXPECT_EQ(w().List1->ListCount(), stack.size() + 1);
            EXPECT_EQ(w().List2->ListCount(), lengths.size() + 2);
        } else {
            EXPECT_EQ(lines(w().List1), stack);
            EXPECT_EQ(lines(w().List2), lengths);
        }
    }
}

// A typed size is added only when the list holds it, and then with its own
// lengths, not those of the size picked before.
TEST_F(DrainageFittingStackFormTest, TypedSizesAreCheckedAgainstTheList)
{
    DrainageFittingStackForm& f = w();
    pick(Tee, u"110X50"_s);
    f.Combo1->setText(u"110X51"_s);
    answer(1);
    clickDrawing(Tee);
    expectBoxes({kChooseSize});
    EXPECT_EQ(f.List1->ListCount() + f.List2->ListCount(), 0);

    f.Combo1->setText(u"110X75"_s);
    EXPECT_EQ(f.Text1->Text(), u"77"_s); // typing looks nothing up
    clickDrawing(Tee);
    EXPECT_EQ(lines(f.List1), QStringList{u"管件1&110X75"_s});
    EXPECT_EQ(lines(f.List2), (QStringList{u"89"_s, u"96"_s}));
    EXPECT_EQ(f.Text1->Text(), u"89"_s);
    EXPECT_EQ(f.Text2->Text(), u"96"_s);

    // A size of the other material, typed after switching.
    f.Option2->click();
    f.Combo1->setText(u"90X90"_s);
    answer(1);
    clickDrawing(Tee);
    expectBoxes({kChooseSize});
    EXPECT_EQ(f.List1->ListCount(), 1);
}

TEST_F(DrainageFittingStackFormTest, ADoubleClickOnALineDeletesItWithItsLengths)
{
    DrainageFittingStackForm& f = w();
    addAll({{OffsetBend, u"110X110"_s}, {Tee, u"110X110"_s}, {Reducer, u"160X110"_s}});
    f.List1->doubleClickLine(1);
    EXPECT_EQ(lines(f.List1), (QStringList{u"管件4&110X110"_s, u"管件6&160X110"_s}));
    EXPECT_EQ(lines(f.List2), (QStringList{u"176.237590053236"_s, u"0"_s, u"58"_s, u"0"_s}));
    f.List1->doubleClickLine(0);
    EXPECT_EQ(lines(f.List1), QStringList{u"管件6&160X110"_s});
    EXPECT_EQ(lines(f.List2), (QStringList{u"58"_s, u"0"_s}));

    // Without a selected line nothing happens.
    f.List1->setListIndex(-1);
    f.List1_DblClick();
    EXPECT_EQ(f.List1->ListCount(), 1);
    EXPECT_EQ(f.List2->ListCount(), 2);
    f.List1->doubleClickLine(0);
    f.List1_DblClick();
    EXPECT_EQ(f.List1->ListCount() + f.List2->ListCount(), 0);
}

TEST_F(DrainageFittingStackFormTest, ClearingTheListKeepsTheCount)
{
    DrainageFittingStackForm& f = w();
    addAll({{Tee, u"110X50"_s}, {SweptInlet, u"110X110"_s}});
    calculate();
    EXPECT_EQ(f.Text11->Text(), u"203.000"_s);
    f.Command1->press();
    EXPECT_EQ(f.Text11->Text(), u"0"_s);
    EXPECT_EQ(f.Text15->Text(), u"2"_s);
    EXPECT_EQ(f.List1->ListCount() + f.List2->ListCount(), 0);
    EXPECT_EQ(f.Text1->Text(), u"77"_s);
    EXPECT_EQ(f.Combo5->Text(), u"110X110"_s);
}

TEST_F(DrainageFittingStackFormTest, ClearingEverythingLeavesOnlyTheCountAndTheBlink)
{
    DrainageFittingStackForm& f = w();
    addAll({{Tee, u"110X50"_s}, {SweptInlet, u"110X110"_s}});
    pick(Cross, u"75X75"_s);
    pick(QuarterBend, u"75X75"_s);
    pick(OffsetBend, u"75X75"_s);
    pick(Reducer, u"75X50"_s);
    calculate();
    f.Timer1_Timer();
    f.Command2->press();
    EXPECT_EQ(f.List1->ListCount() + f.List2->ListCount(), 0);
    for (forms::TextBox* field : {f.Text1, f.Text2, f.Text3, f.Text4, f.Text5, f.Text6, f.Text7,
                                  f.Text8, f.Text9, f.Text10, f.Text11, f.Text13, f.Text14})
        EXPECT_EQ(field->Text(), u"0"_s) << field->objectName().toStdString();
    for (FittingType type : fittings::drainage::kFittingTypes) {
        EXPECT_EQ(column(type).size->Text(), kPrompt);
        EXPECT_EQ(column(type).size->ListCount(), Tables::sizeList(f.material(), type).size());
    }
    EXPECT_EQ(f.Text15->Text(), u"2"_s);
    EXPECT_EQ(f.Text12->Text(), u"1"_s);
    answer(1);
    clickDrawing(SweptInlet);
    expectBoxes({kChooseSize});
}

TEST_F(DrainageFittingStackFormTest, HeightsOfBuiltStacks)
{
    struct Row {
        const char* name;
        bool castIron;
        std::vector<Fitting> stack;
        std::vector<int> deleted; // lines double-clicked away, in order
        QStringList messages;
        QString height;
    };
    const std::vector<Row> rows = {
        {"empty stack", false, {}, {}, {}, u"0.000"_s},
        {"one tee", false, {{Tee, u"110X50"_s}}, {}, {}, u"0.000"_s},
        {"one reducer", false, {{Reducer, u"75X50"_s}}, {}, {}, u"40.000"_s},
        {"tee above an inlet of its main size", false,
         {{Tee, u"110X50"_s}, {SweptInlet, u"110X110"_s}}, {}, {}, u"203.000"_s},
        {"tee above a reducer of the same main size", false,
         {{Tee, u"110X50"_s}, {Reducer, u"110X50"_s}}, {}, {kReducerSize}, u"0"_s},
        {"offset bend above a bend of another size", false,
         {{OffsetBend, u"110X110"_s}, {QuarterBend, u"160X160"_s}}, {}, {kSize}, u"0"_s},
        {"offset bend above a bend of its size", false,
         {{OffsetBend, u"110X110"_s}, {QuarterBend, u"110X110"_s}}, {}, {}, u"0.000"_s},
        {"tee left above a bend once the offset bend between is deleted", false,
         {{Tee, u"110X110"_s}, {OffsetBend, u"110X110"_s}, {QuarterBend, u"110X110"_s}},
         {1}, {kConnection}, u"0"_s},
        {"two joints that cannot be made", false,
         {{Tee, u"110X110"_s}, {OffsetBend, u"110X110"_s}, {QuarterBend, u"110X110"_s},
          {Reducer, u"160X110"_s}, {OffsetBend, u"110X110"_s}, {QuarterBend, u"110X110"_s}},
         {1, 3}, {kConnection, kConnection}, u"0"_s},
        {"cross below an offset bend: its L1 does not count", false,
         {{OffsetBend, u"110X110"_s}, {Cross, u"110X110"_s}, {Reducer, u"160X110"_s}},
         {}, {}, u"174.000"_s},
        {"inlet, tee, reducer, cross, offset bend", false,
         {{SweptInlet, u"110X110"_s}, {Tee, u"110X110"_s}, {Reducer, u"160X110"_s},
          {Cross, u"160X160"_s}, {OffsetBend, u"160X160"_s}},
         {}, {}, u"696.936"_s},
        {"cast iron: a main size 50 does not join a second size 150", true,
         {{Tee, u"50X50"_s}, {Reducer, u"200X150"_s}}, {}, {kSize}, u"0"_s},
        {"cast iron: a main size 150 joins a second size 150", true,
         {{Tee, u"150X100"_s}, {Reducer, u"200X150"_s}}, {}, {}, u"485.000"_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        freshRun();
        if (row.castIron)
            w().Option2->click();
        addAll(row.stack);
        for (int line : row.deleted)
            w().List1->doubleClickLine(line);
        ASSERT_EQ(w().List1->ListCount(), static_cast<int>(row.stack.size() - row.deleted.size()));
        expectBoxes({});
        answer(static_cast<int>(row.messages.size()));
        calculate();
        expectBoxes(row.messages);
        EXPECT_EQ(w().Text11->Text(), row.height);
        EXPECT_EQ(w().Text15->Text(), QString::number(w().List1->ListCount()));
        // The same again.
        answer(static_cast<int>(row.messages.size()));
        calculate();
        expectBoxes(row.messages);
        EXPECT_EQ(w().Text11->Text(), row.height);
    }
}

// A calculation leaves the stack's lengths as they are: a line appended or
// deleted afterwards is counted by the stack as it then stands.
TEST_F(DrainageFittingStackFormTest, LengthsStayRealAcrossCalculations)
{
    DrainageFittingStackForm& f = w();
    add({Tee, u"110X50"_s});
    calculate();
    EXPECT_EQ(f.Text11->Text(), u"0.000"_s);
    EXPECT_EQ(lines(f.List2), (QStringList{u"77"_s, u"78"_s}));
    add({SweptInlet, u"110X110"_s});
    calculate();
    EXPECT_EQ(f.Text11->Text(), u"203.000"_s);
    EXPECT_EQ(f.Text15->Text(), u"2"_s);

    // A tee hung below an inlet, the inlet then deleted: the tee's L1 counts
    // below the reducer.
    f.Command1->press();
    addAll({{Reducer, u"110X50"_s}, {SweptInlet, u"110X110"_s}, {Tee, u"110X110"_s}});
    calculate();
    EXPECT_EQ(f.Text11->Text(), u"173.000"_s);
    f.List1->doubleClickLine(1);
    calculate();
    EXPECT_EQ(f.Text11->Text(), u"151.000"_s);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(DrainageFittingStackFormTest, OpenedFromTheMenuBarAStackIsBuiltAndMeasured)
{
    w().Hide();
    WaterSupplyPipeForm& supply = form0();
    supply.Show();
    supply.menu()->排水管件->click();
    ASSERT_TRUE(w().isVisible());
    EXPECT_FALSE(supply.isVisible());
    w().Combo1->pick(3); // 110X50
    doubleClick(w().Picture1, QPoint(50, 40));
    w().Combo5->pick(5); // 110X110
    doubleClick(w().Picture5, QPoint(50, 40));
    QTest::mouseClick(w().Command3, Qt::LeftButton);
    EXPECT_EQ(lines(w().List1), (QStringList{u"管件1&110X50"_s, u"管件5&110X110"_s}));
    EXPECT_EQ(w().Text11->Text(), u"203.000"_s);
    EXPECT_EQ(w().Text15->Text(), u"2"_s);
    // The window's own item shows it again.
    w().menu()->排水管件->click();
    EXPECT_TRUE(w().isVisible());
}

} // namespace
