// What the shell's tests share: starting a run as the user sees it, and the
// ten calculator windows with their menus.
#pragma once

#include "app/calculator_form.h"
#include "app/calculator_menu_bar.h"
#include "app/splash_form.h"
#include "app/windows.h"
#include "forms/testing/fixture.h"

#include <QStringList>

#include <vector>

namespace shell_test {

// Every calculator, in the order of the menu bar's switch items (form13,
// which no switch item names, last).
inline const std::vector<Calculator>& calculators()
{
    static const std::vector<Calculator> all = {
        Calculator::WaterSupply,   Calculator::Drainage,      Calculator::StormWater,
        Calculator::FireHydrant,   Calculator::Extinguisher,  Calculator::SepticTank,
        Calculator::SteelFittings, Calculator::WaterproofSleeve, Calculator::DrainageFittings,
        Calculator::StormNetwork,
    };
    return all;
}

inline CalculatorForm& window(Calculator which)
{
    return dynamic_cast<CalculatorForm&>(calculatorWindow(which));
}

inline const char* nameOf(Calculator which)
{
    switch (which) {
    case Calculator::WaterSupply: return "form0";
    case Calculator::Drainage: return "Form1";
    case Calculator::StormWater: return "form2";
    case Calculator::StormNetwork: return "form13";
    case Calculator::SteelFittings: return "Form6";
    case Calculator::WaterproofSleeve: return "form7";
    case Calculator::DrainageFittings: return "Form8";
    case Calculator::FireHydrant: return "Form11";
    case Calculator::Extinguisher: return "Form5";
    case Calculator::SepticTank: return "form12";
    }
    return "?";
}

// The nine switch items of a window's menu bar with the calculator each shows.
inline std::vector<std::pair<forms::MenuItem*, Calculator>> switchItems(CalculatorMenuBar& m)
{
    return {
        {m.给水, Calculator::WaterSupply},     {m.排水, Calculator::Drainage},
        {m.雨水, Calculator::StormWater},      {m.消火栓, Calculator::FireHydrant},
        {m.灭火器, Calculator::Extinguisher},  {m.化粪池选型, Calculator::SepticTank},
        {m.钢制管件, Calculator::SteelFittings}, {m.防水套管, Calculator::WaterproofSleeve},
        {m.排水管件, Calculator::DrainageFittings},
    };
}

// Names of the calculator windows on screen, of those that exist.
inline QStringList visibleCalculators()
{
    QStringList shown;
    for (Calculator c : calculators()) {
        if (window(c).isVisible())
            shown << QString::fromLatin1(nameOf(c));
    }
    return shown;
}

// The start of a run as the user sees it: the splash, clicked away, leaves
// the water supply calculator on screen.
inline void startRun()
{
    logo().Form_Click();
}

} // namespace shell_test
