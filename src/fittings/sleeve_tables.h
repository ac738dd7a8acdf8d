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

// One column of the window's fields: D1, D2, D3 and d as texts.
struct SleeveColumnTexts {
    QString D1;
    QString D2;
    QString D3;
    QString d;
    bool operator==(const SleeveColumnTexts&) const = default;
};
// The window's two columns: steel (type A) or cast-iron pipe (B, C), and
// ductile-iron pipe (B and C only).
struct SleeveColumns {
    SleeveColumnTexts pipe;
    SleeveColumnTexts ductileIron;
    bool operator==(const SleeveColumns&) const = default;
};
// The columns after `size` is picked, from the columns as `shown`. A size
// of the type writes its row into the first column and, for types B and C,
// its ductile-iron D1 (empty where the catalogue gives none); a text that is
// no size of the type writes nothing. For types B and C the ductile-iron
// column then takes D2, D3 and d from the first column as it stands: the
// pipe passes through the same sleeve, ring and wall.
SleeveColumns pickedColumns(SleeveType type, QStringView size, const SleeveColumns& shown);
} // namespace SleeveDimensionTable

} // namespace fittings
