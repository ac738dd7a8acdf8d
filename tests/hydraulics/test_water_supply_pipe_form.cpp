// The water supply pipe calculator, driven as the engineer drives it.
#include "app/windows.h"
#include "textio/numtext.h"
#include "forms/testing/fixture.h"
#include "forms/testing/lists.h"
#include "hydraulics/water_supply_pipe_form.h"
#include "version/version.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>

#include <cmath>

using forms::testing::FormsTest;
using forms::testing::indexOf;

namespace {

const QString kTitle = QStringLiteral("确认数据正确性");
constexpr int kCriticalOk = forms::vbOKOnly | forms::vbCritical;

class WaterSupplyPipeFormTest : public FormsTest {
protected:
    WaterSupplyPipeForm& w() { return form0(); }
    void pickMaterial(const QString& name) { w().Combo1->pick(indexOf(*w().Combo1, name)); }
    void pickSize(const QString& size) { w().Combo2->pick(indexOf(*w().Combo2, size)); }
    void pickTemperature(const QString& t) { w().Combo4->pick(indexOf(*w().Combo4, t)); }
    QStringList results() { return {w().Text2->Text(), w().Text6->Text(), w().Text4->Text(), w().Text5->Text()}; }
    // The control that holds the focus; an editable list takes it in its
    // text part.
    QString focusedControl()
    {
        QWidget* focus = w().focusWidget();
        if (!focus)
            return QString();
        if (qobject_cast<forms::ComboBox*>(focus->parentWidget()))
            focus = focus->parentWidget();
        return focus->objectName();
    }
};

TEST_F(WaterSupplyPipeFormTest, OpensWithTheFirstMaterialAndVersionedCaption)
{
    EXPECT_EQ(w().Caption(), QStringLiteral("给水管道水力计算V") + kVersionText);
    EXPECT_EQ(w().Combo1->Text(), QStringLiteral("钢衬塑复合管"));
    EXPECT_EQ(w().Combo1->ListCount(), 8);
    EXPECT_EQ(w().Combo2->Text(), QStringLiteral("DN15"));
    EXPECT_EQ(w().Combo2->ListCount(), 10);
    EXPECT_EQ(w().Combo3->Text(), QStringLiteral("12.8"));
    EXPECT_EQ(w().Combo4->Text(), QStringLiteral("10"));
    EXPECT_EQ(w().Combo4->ListCount(), 10);
    EXPECT_TRUE(w().Combo4->isEnabled());
    EXPECT_EQ(w().Text9->Text(), QStringLiteral("140"));
    EXPECT_EQ(w().Text7->Text(), QStringLiteral("1.0"));
    EXPECT_FALSE(w().Text7->isEnabled());
    EXPECT_EQ(w().Text10->Text(), QStringLiteral("1"));
    EXPECT_EQ(w().defaultButton(), w().Command1);
    EXPECT_EQ(w().cancelButton(), w().Command2);

    // Picking the first material again changes nothing.
    const int openingSize = w().Combo2->ListIndex();
    const int openingTemperature = w().Combo4->ListIndex();
    pickMaterial(QStringLiteral("钢衬塑复合管"));
    EXPECT_EQ(w().Combo2->ListIndex(), openingSize);
    EXPECT_EQ(w().Combo4->ListIndex(), openingTemperature);
    EXPECT_EQ(w().Combo4->Text(), QStringLiteral("10"));
    EXPECT_EQ(w().Combo4->ListCount(), 10);
    EXPECT_EQ(w().Combo2->Text(), QStringLiteral("DN15"));
    EXPECT_EQ(w().Combo3->Text(), QStringLiteral("12.8"));
    EXPECT_EQ(w().Combo2->ListCount(), 10);
    EXPECT_EQ(w().Combo5->ListCount(), 10);
    EXPECT_EQ(w().Text7->Text(), QStringLiteral("1.0"));
}

TEST_F(WaterSupplyPipeFormTest, MaterialPicksSetCoefficientSizesAndTemperature)
{
    struct Case {
        const char* material;
        const char* C;
        const char* firstSize;
        const char* firstInner;
        int sizes;
        const char* temperature;
        bool temperatureEnabled;
        int temperatures;
    };
    const Case cases[] = {
        {"PP-R冷水管PN1.25MPa", "140", "De20", "15.4", 6, "20", true, 4},
        {"不锈钢管", "130", "DN15", "12.80", 9, "10", true, 10},
        {"衬树脂铸铁管", "130", "DN75", "74", 8, "10", false, 10},
        {"普通钢管", "100", "DN15", "14.75", 29, "10", false, 10},
        {"普通铸铁管", "100", "DN75", "74", 8, "10", false, 10},
        {"建筑给水铜管", "130", "DN15", "13.60", 9, "10", false, 0},
        {"钢衬塑复合管", "140", "DN15", "12.8", 10, "10", true, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.material);
        pickMaterial(QString::fromUtf8(c.material));
        EXPECT_EQ(w().Text9->Text(), QString::fromUtf8(c.C));
        EXPECT_EQ(w().Combo2->Text(), QString::fromUtf8(c.firstSize));
        EXPECT_EQ(w().Combo3->Text(), QString::fromUtf8(c.firstInner));
        EXPECT_EQ(w().Combo2->ListCount(), c.sizes);
        EXPECT_EQ(w().Combo3->ListCount(), c.sizes);
        EXPECT_EQ(w().Combo4->Text(), QString::fromUtf8(c.temperature));
        EXPECT_EQ(w().Combo4->isEnabled(), c.temperatureEnabled);
        EXPECT_EQ(w().Combo4->ListCount(), c.temperatures);
        EXPECT_EQ(w().Text7->Text(), QStringLiteral("1.0"));
    }
}

TEST_F(WaterSupplyPipeFormTest, SteelPipeAfterAnotherSizeAndTemperature)
{
    pickSize(QStringLiteral("DN80"));
    pickTemperature(QStringLiteral("60"));
    EXPECT_EQ(w().Text7->Text(), QStringLiteral("0.79"));
    pickMaterial(QStringLiteral("普通钢管"));
    EXPECT_EQ(w().Text9->Text(), QStringLiteral("100"));
    EXPECT_EQ(w().Combo2->Text(), QStringLiteral("DN15"));
    EXPECT_EQ(w().Combo3->Text(), QStringLiteral("14.75"));
    EXPECT_EQ(w().Combo4->Text(), QStringLiteral("10"));
    EXPECT_FALSE(w().Combo4->isEnabled());
    EXPECT_EQ(w().Text7->Text(), QStringLiteral("1.0"));
}

TEST_F(WaterSupplyPipeFormTest, HotWaterPipeFixesSixtyDegreesWithFactorOne)
{
    pickMaterial(QStringLiteral("PP-R热水管PN2.5MPa"));
    EXPECT_EQ(w().Combo4->Text(), QStringLiteral("60"));
    EXPECT_FALSE(w().Combo4->isEnabled());
    EXPECT_EQ(w().Text7->Text(), QStringLiteral("1.0"));
    EXPECT_EQ(w().Combo2->List(0), QStringLiteral("De20"));
    EXPECT_EQ(w().Combo2->List(5), QStringLiteral("De63"));
}

TEST_F(WaterSupplyPipeFormTest, ColdWaterTemperatureTenGivesItsFactor)
{
    pickMaterial(QStringLiteral("PP-R冷水管PN1.25MPa"));
    pickTemperature(QStringLiteral("10"));
    EXPECT_EQ(w().Text7->Text(), QStringLiteral("1.061"));
}

TEST_F(WaterSupplyPipeFormTest, TypingIntoListsIsNoPick)
{
    w().Combo1->setText(QStringLiteral("普通钢管"));
    EXPECT_EQ(w().Text9->Text(), QStringLiteral("140"));
    EXPECT_EQ(w().Combo2->ListCount(), 10);
    w().Combo2->setText(QStringLiteral("DN50"));
    EXPECT_EQ(w().Combo3->Text(), QStringLiteral("12.8"));
}

TEST_F(WaterSupplyPipeFormTest, WorkedExampleInLitresPerSecond)
{
    pickSize(QStringLiteral("DN50"));
    EXPECT_EQ(w().Combo3->Text(), QStringLiteral("50.00"));
    w().Text1->setText(QStringLiteral("2"));
    w().Text3->setText(QStringLiteral("100"));
    w().Command1->press();
    EXPECT_EQ(results(), (QStringList{"7.2", "0.024761", "1.019", "2.4761"}));
    EXPECT_TRUE(boxes().empty());
}

// 3 L/s (10.8 t/h) over 100 m in a DN50 tube of copper (54 × 2.5) and of
// thin-wall stainless steel (50.8 × 1.0), C 130, factor 1.0, worked by hand:
// i = 10.5 · 130^-1.85 · (d/1000)^-4.87 · (10.8/3600)^1.85 and
// v = 10.8 · 4000 · 1000 / (d² · 11309.73354).
TEST_F(WaterSupplyPipeFormTest, DN50TubesTakeTheirRealBore)
{
    struct Case {
        const char* material;
        const char* inner;
        const char* results; // t/h, i, v, i·L
    };
    const Case cases[] = {
        {"建筑给水铜管", "49.00", "10.8 0.066346 1.591 6.6346"},
        {"不锈钢管", "48.80", "10.8 0.067681 1.604 6.7681"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.material);
        pickMaterial(QString::fromUtf8(c.material));
        pickSize(QStringLiteral("DN50"));
        EXPECT_EQ(w().Combo3->Text().toStdString(), c.inner);
        w().Text1->setText(QStringLiteral("3"));
        w().Text3->setText(QStringLiteral("100"));
        w().Command1->press();
        EXPECT_EQ(results().join(u' ').toStdString(), c.results);
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(WaterSupplyPipeFormTest, WorkedExampleInTonnesPerHour)
{
    pickSize(QStringLiteral("DN50"));
    w().Text2_DblClick();
    EXPECT_EQ(w().Text2->Text(), QString());
    EXPECT_EQ(w().Text1->Text(), QStringLiteral("0"));
    EXPECT_EQ(w().Text10->Text(), QStringLiteral("2"));
    w().Text2->setText(QStringLiteral("7.2"));
    w().Text3->setText(QStringLiteral("100"));
    w().Command1_Click();
    EXPECT_EQ(w().Text1->Text(), QStringLiteral("2"));
    EXPECT_EQ(w().Text6->Text(), QStringLiteral("0.024761"));
    EXPECT_EQ(w().Text4->Text(), QStringLiteral("1.019"));
    EXPECT_EQ(w().Text5->Text(), QStringLiteral("2.4761"));

    w().Text1_DblClick();
    EXPECT_EQ(w().Text1->Text(), QString());
    EXPECT_EQ(w().Text2->Text(), QStringLiteral("0"));
    EXPECT_EQ(w().Text10->Text(), QStringLiteral("1"));
}

TEST_F(WaterSupplyPipeFormTest, ZeroFlowAndClearedWindow)
{
    w().Command1_Click();
    EXPECT_EQ(results(), (QStringList{"0", "0.0", "0.0", "0"}));

    w().Text1->setText(QStringLiteral("3"));
    w().Text3->setText(QStringLiteral("10"));
    w().Command1_Click();
    pickTemperature(QStringLiteral("60"));
    w().Command3_Click();
    for (auto* t : {w().Text1, w().Text2, w().Text3, w().Text4, w().Text5, w().Text6})
        EXPECT_EQ(t->Text(), QStringLiteral("0"));
    EXPECT_EQ(w().Text7->Text(), QStringLiteral("1.0"));
    EXPECT_EQ(w().Combo4->Text(), QStringLiteral("60"));
    EXPECT_EQ(w().Combo2->Text(), QStringLiteral("DN15"));
    EXPECT_EQ(w().Combo3->Text(), QStringLiteral("12.8"));
    w().Command1_Click();
    EXPECT_EQ(w().Text6->Text(), QStringLiteral("0.0"));
    EXPECT_EQ(w().Text4->Text(), QStringLiteral("0.0"));
    EXPECT_EQ(w().Text5->Text(), QStringLiteral("0"));
}

TEST_F(WaterSupplyPipeFormTest, TypedTonnesPerHourIsReplacedInLitresMode)
{
    w().Text1->setText(QStringLiteral("1"));
    w().Text2->setText(QStringLiteral("99"));
    w().Command1_Click();
    EXPECT_EQ(w().Text2->Text(), QStringLiteral("3.6"));
}

TEST_F(WaterSupplyPipeFormTest, SixtyDegreesScalesHeadLossButNotVelocity)
{
    pickSize(QStringLiteral("DN50"));
    w().Text1->setText(QStringLiteral("2"));
    w().Command1_Click();
    const QString v10 = w().Text4->Text();
    const double i10 = textio::readNumber(w().Text6->Text()).value();
    pickTemperature(QStringLiteral("60"));
    EXPECT_EQ(w().Text7->Text(), QStringLiteral("0.79"));
    w().Command1_Click();
    EXPECT_EQ(w().Text4->Text(), v10);
    EXPECT_NEAR(textio::readNumber(w().Text6->Text()).value(), i10 * 0.79, 1e-6);
}

TEST_F(WaterSupplyPipeFormTest, EmptyLengthGivesZeroLoss)
{
    w().Text1->setText(QStringLiteral("2"));
    w().Text3_Click();
    EXPECT_EQ(w().Text3->Text(), QString());
    w().Command1_Click();
    EXPECT_EQ(w().Text5->Text(), QStringLiteral("0"));
    EXPECT_NE(w().Text6->Text(), QStringLiteral("0"));
}

TEST_F(WaterSupplyPipeFormTest, EmptyFlowIsRefusedInTheFieldThatIsTheInput)
{
    for (const bool tonnes : {false, true}) {
        SCOPED_TRACE(tonnes ? "t/h" : "L/s");
        FormsTest::TearDown();
        FormsTest::SetUp();
        w().Show();
        if (tonnes)
            w().Text2_DblClick();
        else
            w().Text1_DblClick();
        platform().answerMessageBox(forms::vbOK);
        w().Command1_Click();
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, QStringLiteral("请输入流量！"));
        EXPECT_EQ(boxes()[0].title, kTitle);
        EXPECT_EQ(boxes()[0].style, kCriticalOk);
        EXPECT_EQ(w().focusWidget(), tonnes ? w().Text2 : w().Text1);
        EXPECT_EQ(results(), (QStringList{tonnes ? "" : "0", "0", "0", "0"}));
    }
}

TEST_F(WaterSupplyPipeFormTest, RefusalNamesTheFieldAndWritesNothing)
{
    struct Case {
        const char* field;
        const char* text;
        const char* message;
        const char* focus;
    };
    // One input of each kind; the ranges themselves are the engine's table.
    const Case cases[] = {
        {"Text1", "10000.01", "请输入正确的流量！", "Text1"},
        {"Text7", "0", "请选择正确的水温！", "Combo4"},
        {"Text9", "200.1", "请输入正确的海澄-威廉系数！", "Text9"},
        {"Combo3", "0", "请选择正确的管径！", "Combo2"},
        {"Text3", "100001", "请输入正确的管段长度！", "Text3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " = " + c.text);
        FormsTest::TearDown();
        FormsTest::SetUp();
        w().Show();
        w().Text1->setText(QStringLiteral("2"));
        w().Text3->setText(QStringLiteral("100"));
        auto* field = w().findChild<QWidget*>(QString::fromUtf8(c.field));
        ASSERT_NE(field, nullptr);
        if (auto* t = qobject_cast<forms::TextBox*>(field))
            t->setText(QString::fromUtf8(c.text));
        else
            qobject_cast<forms::ComboBox*>(field)->setText(QString::fromUtf8(c.text));
        platform().answerMessageBox(forms::vbOK);
        w().Command1_Click();
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(boxes()[0].title, kTitle);
        EXPECT_EQ(boxes()[0].style, kCriticalOk);
        EXPECT_EQ(focusedControl(), QString::fromUtf8(c.focus));
        EXPECT_EQ(w().Text2->Text(), QStringLiteral("0"));
        EXPECT_EQ(w().Text4->Text(), QStringLiteral("0"));
        EXPECT_EQ(w().Text5->Text(), QStringLiteral("0"));
        EXPECT_EQ(w().Text6->Text(), QStringLiteral("0"));
        // The typed flow stays as typed.
        EXPECT_EQ(w().Text1->Text(),
                  QString::fromUtf8(std::string(c.field) == "Text1" ? c.text : "2"));
    }
}

TEST_F(WaterSupplyPipeFormTest, EnterCalculatesAndEscapeEndsTheProgram)
{
    w().Show();
    w().activateWindow();
    w().Text1->setFocus();
    w().Text1->setText(QStringLiteral("2"));
    EXPECT_TRUE(w().pressKey(Qt::Key_Return));
    EXPECT_EQ(w().Text2->Text(), QStringLiteral("7.2"));
    EXPECT_TRUE(endsProgram([&] { w().pressKey(Qt::Key_Escape); }));
    EXPECT_TRUE(platform().programEnded());
}

TEST_F(WaterSupplyPipeFormTest, FocusStartsInTheLitreFieldAndTabFollowsTheLayout)
{
    w().Show();
    w().activateWindow();
    QApplication::processEvents();
    EXPECT_EQ(w().focusWidget(), w().Text1);
    const QWidget* expected[] = {w().Text1, w().Text2,    w().Combo1,   w().Text3, w().Combo2,
                                 w().Text5, w().Text6,    w().Text9,    w().Command3,
                                 w().Command2, w().Command1, w().Text4, w().Combo4, w().Text1};
    for (const QWidget* next : expected) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        // An editable list takes the focus in its text part.
        QWidget* control = qobject_cast<forms::ComboBox*>(focus->parentWidget()) ? focus->parentWidget() : focus;
        EXPECT_EQ(control, next) << control->objectName().toStdString() << " instead of "
                                 << next->objectName().toStdString();
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(focus, &tab);
        QApplication::processEvents();
    }
}

// "海澄-威廉系数C" with its small subscript "h" just after the C, and the
// coefficient and factor fields inside the result frame's border.
TEST_F(WaterSupplyPipeFormTest, CoefficientLabelSubscriptAndFieldsInsideTheFrame)
{
    w().Show();
    EXPECT_DOUBLE_EQ(w().Label10->font().pointSizeF(), 6.75);
    EXPECT_EQ(w().Label10->pos(), QPoint(forms::px(1395), forms::px(315)));
    const QFontMetrics fm(w().Label9->font());
    const int captionEnd = w().Label9->x() + fm.horizontalAdvance(w().Label9->Caption());
    EXPECT_LE(captionEnd, w().Label10->x()) << "the C ends before the h";
    const auto height = [&](int width, int flags) {
        return fm.boundingRect(QRect(0, 0, width, 1000), flags, w().Label9->Caption()).height();
    };
    EXPECT_EQ(height(w().Label9->width(), Qt::TextWordWrap), height(10000, 0))
        << "the caption stays on one line";
    for (const QWidget* field : {static_cast<QWidget*>(w().Text9), static_cast<QWidget*>(w().Text7)})
        EXPECT_GT(field->y(), w().Frame2->borderTop()) << field->objectName().toStdString();
}

TEST_F(WaterSupplyPipeFormTest, ClosingTheWindowEndsTheProgram)
{
    int cancel = 0;
    EXPECT_TRUE(endsProgram([&] { w().Form_Unload(cancel); }));
    EXPECT_TRUE(endsProgram([&] { w().Exit_Click(); }));
}

} // namespace
