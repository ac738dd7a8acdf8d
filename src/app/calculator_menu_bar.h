// The menu bar every calculator window carries: nine items that switch to
// another calculator, 计算器 on the water supply window, 关于 › 关于本软件,
// and 使用提示 elsewhere.
#pragma once

#include "forms/form.h"

#include <QObject>

class QMenu;

// The ten calculator windows.
enum class Calculator {
    WaterSupply,      // form0
    Drainage,         // Form1
    StormWater,       // form2
    StormNetwork,     // form13
    SteelFittings,    // Form6
    WaterproofSleeve, // form7
    DrainageFittings, // Form8
    FireHydrant,      // Form11
    Extinguisher,     // Form5
    SepticTank,       // form12
};

// The window of a calculator (its default instance, loaded on first use).
forms::Form& calculatorWindow(Calculator which);

class CalculatorMenuBar : public QObject {
    Q_OBJECT
public:
    CalculatorMenuBar(forms::Form& window, Calculator which);

    Calculator calculator() const { return m_which; }

    // Switch items.
    forms::MenuItem* 给水;
    forms::MenuItem* 排水;
    forms::MenuItem* 雨水;
    forms::MenuItem* 消火栓;
    forms::MenuItem* 灭火器;
    forms::MenuItem* 化粪池选型;
    forms::MenuItem* 钢制管件;
    forms::MenuItem* 防水套管;
    forms::MenuItem* 排水管件;
    // Only on the water supply window.
    forms::MenuItem* 计算器 = nullptr;
    QMenu* 关于;
    forms::MenuItem* 本软件;
    // On every window but the water supply window.
    forms::MenuItem* 提示 = nullptr;

    void 给水_Click() { switchTo(Calculator::WaterSupply); }
    void 排水_Click() { switchTo(Calculator::Drainage); }
    void 雨水_Click() { switchTo(Calculator::StormWater); }
    void 消火栓_Click() { switchTo(Calculator::FireHydrant); }
    void 灭火器_Click() { switchTo(Calculator::Extinguisher); }
    void 化粪池选型_Click() { switchTo(Calculator::SepticTank); }
    void 钢制管件_Click() { switchTo(Calculator::SteelFittings); }
    void 防水套管_Click() { switchTo(Calculator::WaterproofSleeve); }
    void 排水管件_Click() { switchTo(Calculator::DrainageFittings); }
    // Starts a desktop calculator; form0 stays on screen.
    void 计算器_Click();
    // Hides this window and shows the About window.
    void 本软件_Click();
    // Shows this window's usage tip.
    void 提示_Click();

    // The usage tip of a calculator: title and text.
    static QString tipTitle(Calculator which);
    static QString tipText(Calculator which);

private:
    // Shows the target calculator and hides this window; a window's own item
    // does nothing (the water supply and drainage fittings windows show
    // themselves again).
    void switchTo(Calculator target);

    forms::Form& m_window;
    Calculator m_which;
};
