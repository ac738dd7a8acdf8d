#include "app/calculator_menu_bar.h"

#include "app/about_form.h"
#include "app/windows.h"
#include "building_services/extinguisher_config_form.h"
#include "building_services/fire_hydrant_form.h"
#include "building_services/septic_tank_form.h"
#include "fittings/drainage_fitting_stack_form.h"
#include "fittings/steel_fittings_form.h"
#include "fittings/waterproof_sleeve_form.h"
#include "forms/platform.h"
#include "hydraulics/drainage_pipe_form.h"
#include "hydraulics/water_supply_pipe_form.h"
#include "storm/storm_water_form.h"
#include "storm_network/storm_sewer_network_form.h"
#include "forms/handler.h"

#include <QMenu>

forms::Form& calculatorWindow(Calculator which)
{
    switch (which) {
    case Calculator::WaterSupply:
        return form0();
    case Calculator::Drainage:
        return Form1();
    case Calculator::StormWater:
        return form2();
    case Calculator::StormNetwork:
        return form13();
    case Calculator::SteelFittings:
        return Form6();
    case Calculator::WaterproofSleeve:
        return form7();
    case Calculator::DrainageFittings:
        return Form8();
    case Calculator::FireHydrant:
        return Form11();
    case Calculator::Extinguisher:
        return Form5();
    case Calculator::SepticTank:
        return form12();
    }
    return form0();
}

CalculatorMenuBar::CalculatorMenuBar(forms::Form& window, Calculator which)
    : QObject(&window)
    , m_window(window)
    , m_which(which)
{
    setObjectName(QStringLiteral("CalculatorMenuBar"));
    auto item = [&](const QString& name, void (CalculatorMenuBar::*handler)()) {
        forms::MenuItem* it = window.addMenuItem(name, name);
        forms::connectHandler(it, &forms::MenuItem::Click, this, handler);
        return it;
    };
    给水 = item(QStringLiteral("给水"), &CalculatorMenuBar::给水_Click);
    排水 = item(QStringLiteral("排水"), &CalculatorMenuBar::排水_Click);
    雨水 = item(QStringLiteral("雨水"), &CalculatorMenuBar::雨水_Click);
    消火栓 = item(QStringLiteral("消火栓"), &CalculatorMenuBar::消火栓_Click);
    灭火器 = item(QStringLiteral("灭火器"), &CalculatorMenuBar::灭火器_Click);
    化粪池选型 = item(QStringLiteral("化粪池选型"), &CalculatorMenuBar::化粪池选型_Click);
    钢制管件 = item(QStringLiteral("钢制管件"), &CalculatorMenuBar::钢制管件_Click);
    防水套管 = item(QStringLiteral("防水套管"), &CalculatorMenuBar::防水套管_Click);
    排水管件 = item(QStringLiteral("排水管件"), &CalculatorMenuBar::排水管件_Click);
    if (which == Calculator::WaterSupply)
        计算器 = item(QStringLiteral("计算器"), &CalculatorMenuBar::计算器_Click);
    关于 = window.addMenuHeading(QStringLiteral("关于"), QStringLiteral("关于"));
    本软件 = window.addMenuItem(关于, QStringLiteral("本软件"), QStringLiteral("关于本软件"));
    forms::connectHandler(本软件, &forms::MenuItem::Click, this, &CalculatorMenuBar::本软件_Click);
    if (which != Calculator::WaterSupply) {
        提示 = window.addMenuItem(QStringLiteral("提示"), QStringLiteral("使用提示"));
        forms::connectHandler(提示, &forms::MenuItem::Click, this, &CalculatorMenuBar::提示_Click);
    }
}

void CalculatorMenuBar::switchTo(Calculator target)
{
    const bool own = target == m_which
        || (m_which == Calculator::StormNetwork && target == Calculator::StormWater);
    if (own) {
        if (m_which == Calculator::WaterSupply || m_which == Calculator::DrainageFittings)
            m_window.Show();
        return;
    }
    calculatorWindow(target).Show();
    m_window.Hide();
}

void CalculatorMenuBar::计算器_Click()
{
    // The system calculator "calc.exe" where there is one; else the first
    // desktop calculator found. With none found, calc.exe is started by name
    // and the system's own search decides. Nothing of the process is kept.
    static const char* const programs[] = {"calc.exe",   "gnome-calculator", "kcalc", "mate-calc",
                                           "galculator", "qalculate-qt",     "qalculate-gtk", "xcalc"};
    QString program = QStringLiteral("calc.exe");
    for (const char* name : programs) {
        const QString path = forms::platform().findProgram(QString::fromLatin1(name));
        if (!path.isEmpty()) {
            program = path;
            break;
        }
    }
    if (!forms::platform().startDetached(program, {}))
        forms::MsgBox(QStringLiteral("无法启动计算器程序！"), forms::vbExclamation, QStringLiteral("提示"));
}

void CalculatorMenuBar::本软件_Click()
{
    m_window.Hide();
    ::About().Show();
}

void CalculatorMenuBar::提示_Click()
{
    forms::MsgBox(tipText(m_which), forms::vbOKOnly, tipTitle(m_which));
}

QString CalculatorMenuBar::tipTitle(Calculator which)
{
    return which == Calculator::DrainageFittings ? QStringLiteral("使用说明") : QStringLiteral("使用提示");
}

QString CalculatorMenuBar::tipText(Calculator which)
{
    switch (which) {
    case Calculator::WaterSupply:
        return QString();
    case Calculator::Drainage:
        return QStringLiteral("请先选定管材，然后选择水流形式：满流或非满流，再选择管材等。");
    case Calculator::StormWater:
        return QStringLiteral("管道数量表示在平均n路出水的情况下每路管道的规格和水流状况。");
    case Calculator::StormNetwork:
        return QStringLiteral("选择好设计参数后请点击“输入”进行各段数据输入，完成后点击“计算”。");
    case Calculator::SteelFittings:
        return QStringLiteral("图中尺寸为管道法兰连接时的尺寸。");
    case Calculator::WaterproofSleeve:
        return QStringLiteral("本版本所标尺寸为刚性防水套管");
    case Calculator::DrainageFittings:
        return QStringLiteral(
            "本程序以各管件纵向排列为基础设计。选定管件规格后双击图片，即添至列表，请按管件实际连接方式由上至下依次添加！"
            "列表中不需要的项目可以通过双击删除。计算结果为立管上下相距最远的水平管道中心高差，即：当第一管件为管件1、2、4、5时不考虑L1，"
            "当最后一个管件为管件1、2、3时不考虑L2。");
    case Calculator::FireHydrant:
        return QStringLiteral("本程序计算时考虑了消火栓栓口2m水头损失，如不需要，可在得到计算结果后手动减少2m水头。");
    case Calculator::Extinguisher:
        return QStringLiteral("选择“自动选择灭火器”可以得到在当前设计参数下不同规格的灭火器配置数量。");
    case Calculator::SepticTank:
        return QStringLiteral("“手动选择化粪池”表示当前设计条件下不同规格化粪池可满足的设计人数，请在填写完设计参数后点选所需规格。")
            + QChar(10) + QStringLiteral("本软件所注外型尺寸为结构基础尺寸，即国标图籍中的LXB。");
    }
    return QString();
}
