// The calculator menu bar: switching between the ten calculators, the usage
// tips, the About entry, the desktop calculator, and the end of the program
// when a calculator is closed.
#include "app/about_form.h"
#include "app/results_window_form.h"
#include "building_services/extinguisher_config_form.h"
#include "building_services/fire_hydrant_form.h"
#include "building_services/septic_tank_form.h"
#include "fittings/drainage_fitting_stack_form.h"
#include "fittings/steel_fittings_form.h"
#include "fittings/waterproof_sleeve_form.h"
#include "hydraulics/water_supply_pipe_form.h"
#include "shell_test_support.h"
#include "version/version.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

using forms::testing::FormsTest;
using namespace shell_test;

namespace {

class WindowSwitchingTest : public FormsTest {};

TEST_F(WindowSwitchingTest, EverySwitchItemShowsItsTargetAndHidesTheWindowUsed)
{
    startRun();
    for (Calculator from : calculators()) {
        for (const auto& [item, target] : switchItems(*window(from).menu())) {
            SCOPED_TRACE(std::string(nameOf(from)) + " -> " + nameOf(target));
            for (Calculator c : calculators())
                window(c).Hide();
            window(from).Show();
            item->click();
            const bool own = target == from
                || (from == Calculator::StormNetwork && target == Calculator::StormWater);
            const QString expected = QString::fromLatin1(nameOf(own ? from : target));
            EXPECT_EQ(visibleCalculators(), QStringList{expected});
        }
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(WindowSwitchingTest, SwitchingAwayAndBackKeepsEveryInput)
{
    startRun();
    WaterSupplyPipeForm& supply = form0();
    supply.Text1->setText(QStringLiteral("2.5"));
    supply.Text3->setText(QStringLiteral("120"));
    supply.menu()->排水->click();
    EXPECT_EQ(visibleCalculators(), QStringList{QStringLiteral("Form1")});
    window(Calculator::Drainage).menu()->防水套管->click();
    WaterproofSleeveForm& sleeve = form7();
    sleeve.menu()->给水->click();

    EXPECT_EQ(visibleCalculators(), QStringList{QStringLiteral("form0")});
    EXPECT_EQ(&form0(), &supply);
    EXPECT_EQ(supply.Text1->Text(), QStringLiteral("2.5"));
    EXPECT_EQ(supply.Text3->Text(), QStringLiteral("120"));
    // The sleeve window was hidden, not unloaded.
    EXPECT_FALSE(sleeve.isUnloaded());
    EXPECT_EQ(&form7(), &sleeve);
}

TEST_F(WindowSwitchingTest, FirstSwitchLoadsTheTargetOnceWithItsCaption)
{
    struct Row {
        Calculator target;
        QString caption;
    };
    const std::vector<Row> rows = {
        {Calculator::SteelFittings, QStringLiteral("钢制管件")},
        {Calculator::WaterproofSleeve, QStringLiteral("钢制套管")},
        {Calculator::DrainageFittings, QStringLiteral("排水管件连接计算V") + kVersionText},
        {Calculator::FireHydrant, QStringLiteral("消火栓水力计算V") + kVersionText},
        {Calculator::Extinguisher, QStringLiteral("灭火器配置计算V") + kVersionText},
        {Calculator::SepticTank, QStringLiteral("化粪池设计计算V") + kVersionText},
    };
    startRun();
    auto itemFor = [](CalculatorMenuBar& m, Calculator target) {
        for (const auto& [item, t] : switchItems(m)) {
            if (t == target)
                return item;
        }
        return static_cast<forms::MenuItem*>(nullptr);
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(nameOf(row.target));
        itemFor(*form0().menu(), row.target)->click();
        forms::Form* first = &calculatorWindow(row.target);
        EXPECT_EQ(first->Caption(), row.caption);
        itemFor(*window(row.target).menu(), Calculator::WaterSupply)->click();
        itemFor(*form0().menu(), row.target)->click();
        EXPECT_EQ(&calculatorWindow(row.target), first);
        EXPECT_EQ(first->Caption(), row.caption);
        EXPECT_TRUE(first->isVisible());
        itemFor(*window(row.target).menu(), Calculator::WaterSupply)->click();
    }
}

TEST_F(WindowSwitchingTest, WaterproofSleeveReturnButtonGoesBackToWaterSupply)
{
    startRun();
    form0().menu()->防水套管->click();
    form7().Command1->press();
    EXPECT_EQ(visibleCalculators(), QStringList{QStringLiteral("form0")});
    EXPECT_FALSE(form7().isUnloaded());
    EXPECT_EQ(form7().Command1->Caption(), QStringLiteral("返  回"));
}

TEST_F(WindowSwitchingTest, AboutFromExtinguisherThenOkShowsWaterSupply)
{
    startRun();
    form0().menu()->灭火器->click();
    Form5().menu()->本软件->click();
    EXPECT_TRUE(visibleCalculators().isEmpty());
    AboutForm& shown = About();
    QPointer<AboutForm> about = &shown;
    EXPECT_TRUE(shown.isVisible());

    shown.cmdOK->press();
    EXPECT_TRUE(forms::testing::goneOrUnloaded(about));
    EXPECT_EQ(visibleCalculators(), QStringList{QStringLiteral("form0")});
    EXPECT_FALSE(Form5().isUnloaded());
}

TEST_F(WindowSwitchingTest, EveryTipShowsItsTitleAndTextExactly)
{
    struct Row {
        Calculator which;
        QString title;
        QString text;
    };
    const std::vector<Row> rows = {
        {Calculator::Drainage, QStringLiteral("使用提示"),
         QStringLiteral("请先选定管材，然后选择水流形式：满流或非满流，再选择管材等。")},
        {Calculator::StormWater, QStringLiteral("使用提示"),
         QStringLiteral("管道数量表示在平均n路出水的情况下每路管道的规格和水流状况。")},
        {Calculator::StormNetwork, QStringLiteral("使用提示"),
         QStringLiteral("选择好设计参数后请点击“输入”进行各段数据输入，完成后点击“计算”。")},
        {Calculator::SteelFittings, QStringLiteral("使用提示"), QStringLiteral("图中尺寸为管道法兰连接时的尺寸。")},
        {Calculator::WaterproofSleeve, QStringLiteral("使用提示"), QStringLiteral("本版本所标尺寸为刚性防水套管")},
        {Calculator::DrainageFittings, QStringLiteral("使用说明"),
         QStringLiteral("本程序以各管件纵向排列为基础设计。选定管件规格后双击图片，即添至列表，请按管件实际连接方式由上至下依次添加！"
                        "列表中不需要的项目可以通过双击删除。计算结果为立管上下相距最远的水平管道中心高差，即：当第一管件为管件1、2、4、5时不考虑L1，"
                        "当最后一个管件为管件1、2、3时不考虑L2。")},
        {Calculator::FireHydrant, QStringLiteral("使用提示"),
         QStringLiteral("本程序计算时考虑了消火栓栓口2m水头损失，如不需要，可在得到计算结果后手动减少2m水头。")},
        {Calculator::Extinguisher, QStringLiteral("使用提示"),
         QStringLiteral("选择“自动选择灭火器”可以得到在当前设计参数下不同规格的灭火器配置数量。")},
        {Calculator::SepticTank, QStringLiteral("使用提示"),
         QStringLiteral("“手动选择化粪池”表示当前设计条件下不同规格化粪池可满足的设计人数，请在填写完设计参数后点选所需规格。\n"
                        "本软件所注外型尺寸为结构基础尺寸，即国标图籍中的LXB。")},
    };
    startRun();
    for (const Row& row : rows) {
        SCOPED_TRACE(nameOf(row.which));
        CalculatorForm& w = window(row.which);
        w.Show();
        const QStringList before = visibleCalculators();
        const std::size_t shown = boxes().size();
        platform().answerMessageBox(forms::vbOK);
        w.menu()->提示->click();
        ASSERT_EQ(boxes().size(), shown + 1);
        EXPECT_EQ(boxes().back().text, row.text);
        EXPECT_EQ(boxes().back().title, row.title);
        EXPECT_EQ(boxes().back().style, forms::vbOKOnly);
        EXPECT_EQ(visibleCalculators(), before);
        EXPECT_EQ(w.menu()->提示->Caption(), QStringLiteral("使用提示"));
    }
}

TEST_F(WindowSwitchingTest, ClosingAnyCalculatorAsksTheResultWindowFirst)
{
    for (Calculator c : calculators()) {
        SCOPED_TRACE(nameOf(c));
        FormsTest::TearDown();
        FormsTest::SetUp();
        startRun();
        window(c).Show();
        // An unsaved result stands in the result window: its own question
        // comes first; Cancel keeps the program and the calculator.
        Form9().Show();
        Form9().Text1->setText(QStringLiteral("建筑面积为1000平方米。"));
        platform().answerMessageBox(forms::vbCancel);
        EXPECT_FALSE(endsProgram([&] { window(c).Unload(); }));
        EXPECT_FALSE(window(c).isUnloaded());
        platform().answerMessageBox(forms::vbNo);
        EXPECT_TRUE(endsProgram([&] { window(c).Unload(); }));
        ASSERT_EQ(boxes().size(), 2u);
        EXPECT_EQ(boxes()[1].text, QStringLiteral("是否保存计算结果？"));
        EXPECT_TRUE(platform().fileDialogs().empty());
    }
}

TEST_F(WindowSwitchingTest, EveryMenuBarHasItsItemsInOrder)
{
    const QStringList switches = {QStringLiteral("给水"), QStringLiteral("排水"), QStringLiteral("雨水"),
                                  QStringLiteral("消火栓"), QStringLiteral("灭火器"), QStringLiteral("化粪池选型"),
                                  QStringLiteral("钢制管件"), QStringLiteral("防水套管"), QStringLiteral("排水管件")};
    startRun();
    for (Calculator c : calculators()) {
        SCOPED_TRACE(nameOf(c));
        CalculatorForm& w = window(c);
        QStringList bar;
        for (QMenuBar* row : w.menuBars()) {
            for (QAction* action : row->actions())
                bar << action->text();
        }
        QStringList expected = switches;
        if (c == Calculator::WaterSupply)
            expected << QStringLiteral("计算器") << QStringLiteral("关于");
        else
            expected << QStringLiteral("关于") << QStringLiteral("使用提示");
        EXPECT_EQ(bar, expected);
        EXPECT_EQ(w.menu()->计算器 != nullptr, c == Calculator::WaterSupply);
        EXPECT_EQ(w.menu()->提示 == nullptr, c == Calculator::WaterSupply);
        ASSERT_EQ(w.menu()->关于->actions().size(), 1);
        EXPECT_EQ(w.menu()->关于->actions().front()->text(), QStringLiteral("关于本软件"));
    }
}

TEST_F(WindowSwitchingTest, EveryCalculatorChoiceStartsOneMoreCalculatorProcess)
{
    startRun();
    WaterSupplyPipeForm& supply = form0();
    for (int choice = 1; choice <= 3; ++choice) {
        SCOPED_TRACE(choice);
        supply.menu()->计算器->click();
        ASSERT_EQ(platform().launches().size(), std::size_t(choice));
        EXPECT_TRUE(platform().launches().back().program.endsWith(QStringLiteral("calc.exe")));
        EXPECT_TRUE(platform().launches().back().arguments.isEmpty());
        EXPECT_EQ(visibleCalculators(), QStringList{QStringLiteral("form0")});
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(WindowSwitchingTest, CalculatorProgramFoundOnThePathIsStarted)
{
    struct Row {
        QStringList found;
        QString started;
    };
    const std::vector<Row> rows = {
        {{QStringLiteral("calc.exe"), QStringLiteral("gnome-calculator")}, QStringLiteral("/usr/bin/calc.exe")},
        {{QStringLiteral("xcalc"), QStringLiteral("kcalc")}, QStringLiteral("/usr/bin/kcalc")},
    };
    startRun();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.started.toStdString());
        platform().setPrograms(row.found);
        form0().menu()->计算器->click();
        ASSERT_FALSE(platform().launches().empty());
        EXPECT_EQ(platform().launches().back().program, row.started);
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(WindowSwitchingTest, CalculatorThatCannotStartIsReported)
{
    startRun();
    platform().setStartSucceeds(false);
    platform().answerMessageBox(forms::vbOK);
    form0().menu()->计算器->click();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes().back().text, QStringLiteral("无法启动计算器程序！"));
    EXPECT_EQ(boxes().back().title, QStringLiteral("提示"));
    EXPECT_EQ(boxes().back().style, forms::vbExclamation);
    EXPECT_EQ(visibleCalculators(), QStringList{QStringLiteral("form0")});
}

} // namespace
