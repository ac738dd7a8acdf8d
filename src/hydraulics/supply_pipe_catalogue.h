#pragma once

// Water supply pipe catalogue: eight pipe materials with their Hazen-Williams
// coefficient C, nominal sizes and inner diameters (mm), and the water
// temperature choice each material allows, drawing on the head-loss correction
// factors of TemperatureFactorTable.
//
// All entries are exact display texts; sizes and inner diameters are parallel
// lists (inner diameter k belongs to size k), as are temperatures and factors.

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <span>

namespace hydraulics {

// The two variants of the temperature correction table.
enum class TemperatureTableKind {
    General,   // 10 ... 95 ℃, factor 1.0 at 10 ℃
    ColdWater, // 10 ... 40 ℃ for PP-R cold water pipe, factor 1.0 at 20 ℃
};

// How a material sets the temperature list when it is picked.
enum class TemperatureRule {
    GeneralTable,   // general table, shows "10", list enabled
    ColdWaterTable, // cold-water table, shows "20", list enabled
    Fixed60,        // shows "60", list disabled, entries unchanged
    Fixed10,        // shows "10", list disabled, entries unchanged
    Fixed10Emptied, // list emptied, shows "10", list disabled
};

struct SupplyPipeMaterial {
    QString name;               // display text and look-up key ("钢衬塑复合管")
    int hazenWilliamsC;         // 140, 130 or 100
    QStringList sizes;          // "DN15", "De20", ...
    QStringList innerDiameters; // mm, parallel to sizes ("12.8", "24.00", ...)
    TemperatureRule temperatureRule;

    // C as its plain decimal text ("140").
    QString coefficientText() const { return QString::number(hazenWilliamsC); }
};

struct TemperatureFactor {
    QString temperature; // ℃ ("10")
    QString factor;      // head-loss correction factor ("1.0")
};

namespace SupplyPipeCatalogue {

// The eight materials in list order.
std::span<const SupplyPipeMaterial> materials();
// The material names in list order.
const QStringList& materialNames();
// Exact look-up by name (blanks and case count); nullptr when no entry matches.
const SupplyPipeMaterial* find(QStringView name);

// The temperature table a rule loads into the temperature list, if any.
std::optional<TemperatureTableKind> temperatureTable(TemperatureRule rule);
// The temperature text the list shows after the rule ("10", "20" or "60").
QString temperatureText(TemperatureRule rule);
// Whether the temperature list may be changed by the user under the rule.
bool temperatureEnabled(TemperatureRule rule);

} // namespace SupplyPipeCatalogue

namespace TemperatureFactorTable {

std::span<const TemperatureFactor> entries(TemperatureTableKind kind);
// The temperatures and the factors of a variant as two parallel lists.
const QStringList& temperatureTexts(TemperatureTableKind kind);
const QStringList& factorTexts(TemperatureTableKind kind);
// The factor of a temperature text (exact match), if the variant has it.
std::optional<QString> factorText(TemperatureTableKind kind, QStringView temperature);

} // namespace TemperatureFactorTable

} // namespace hydraulics
