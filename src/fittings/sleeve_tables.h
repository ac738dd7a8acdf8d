// Dimensions of rigid waterproof wall sleeves of types A, B and C, as the
// waterproof sleeve window shows them. Type A serves steel pipe; types B and
// C serve cast-iron and ductile-iron pipe, which differ only in the pipe's
// outside diameter.
//
// Units: every dimension is in millimetres. D1 is the outside diameter of the
// pipe that passes through the wall, D2 the outside diameter of the sleeve,
// D3 the outside diameter of the ring that the sleeve carries inside the
// wall, d the wall thickness of the sleeve.
//
// Sizes are the texts of the window's size list ("DN50", "DN1000"); a size is
// found by exact text, rows tried in list order.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <span>

namespace fittings {

enum class SleeveType {
    A, // steel pipe, DN50 to DN1000
    B, // cast-iron and ductile-iron pipe, DN75 to DN800
    C, // cast-iron and ductile-iron pipe, DN75 to DN800, larger sleeve and ring
};

struct SleeveDimensions {
    QStringView size; // "DN50"
    double D1;        // pipe outside diameter: steel (type A) or cast iron (B, C)
    double D2;        // sleeve outside diameter
    double D3;        // ring outside diameter
    double d;         // sleeve wall thickness
    // Types B and C: ductile-iron pipe outside diameter, where the catalogue
    // gives one (none for DN75 and DN450); none for type A.
    std::optional<double> D1DuctileIron = std::nullopt;
};

namespace SleeveDimensionTable {
// The rows of a type in list order: 17 for type A, 13 for types B and C.
std::span<const SleeveDimensions> rows(SleeveType type);
// The size texts of a type, in list order.
QStringList sizes(SleeveType type);
std::optional<SleeveDimensions> find(SleeveType type, QStringView size);

// The texts a picked size shows, each value as its shortest decimal text
// ("75.5", "1020").
struct SleeveFieldTexts {
    QString D1;
    QString D2;
    QString D3;
    QString d;
    // The ductile-iron column's D1 of types B and C (empty where the
    // catalogue gives none); nothing for type A, which has no such column.
    std::optional<QString> D1DuctileIron;
};
// Nothing for a text that is no size of the type.
std::optional<SleeveFieldTexts> fieldTexts(SleeveType type, QStringView size);
} // namespace SleeveDimensionTable

} // namespace fittings
