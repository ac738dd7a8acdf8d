// Dimensions of flanged steel pipe fittings: 90° elbows, tees (and crosses),
// concentric and eccentric reducers, as the steel fittings window shows them.
//
// Sizes are the texts of the window's size lists: "DN50" for an elbow,
// "DN<run>X<branch>" for a tee ("DN300X100": a DN300 run with a DN100
// branch) and "DN<large end>X<small end>" for a reducer, with a capital X.
// Each table is tried from its first row and a size is found by exact text.
//
// Units: every dimension is in millimetres. D (D1, D2) is the outside
// diameter of the connecting steel pipe and d (d1, d2) its wall thickness,
// one pair per nominal size:
//   DN50 57 × 3.5, DN80 89 × 4, DN100 108 × 4, DN125 133 × 4, DN150 159 × 4.5,
//   DN200 219 × 6, DN250 273 × 8, DN300 325 × 8, DN350 377 × 9, DN400 426 × 9,
//   DN450 480 × 9, DN500 530 × 9, DN600 630 × 9.
// The lengths are catalogue values and follow no formula; they are stored per
// row, never computed.
#pragma once

#include <QStringList>
#include <QStringView>

#include <optional>
#include <span>

namespace fittings {

// A flanged 90° elbow.
struct ElbowDimensions {
    QStringView size; // "DN50"
    double La;        // flange face to the intersection of the leg centre lines, each leg
    double d;         // wall thickness
    double D;         // outside diameter
};

// A flanged tee or cross.
struct TeeDimensions {
    QStringView size; // "DN300X100"
    double L1;        // along the run, flange face to flange face
    double L2;        // centre line of the run to the branch flange face
    double d1;        // wall thickness of the run
    double d2;        // wall thickness of the branch
    double D1;        // outside diameter of the run
    double D2;        // outside diameter of the branch
};

// A flanged concentric or eccentric reducer.
struct ReducerDimensions {
    QStringView size; // "DN80X50"
    double L1;        // overall length, flange face to flange face
    double d;         // wall thickness of the large end
    double D1;        // outside diameter of the large end
    double D2;        // outside diameter of the small end
};

namespace ElbowDimensionTable {
// The 13 rows, DN50 to DN600 (no DN65); the elbow list offers these sizes in
// this order.
std::span<const ElbowDimensions> rows();
QStringList sizes();
std::optional<ElbowDimensions> find(QStringView size);
} // namespace ElbowDimensionTable

namespace TeeDimensionTable {
// The 54 rows: runs DN50 to DN450 (no DN65); up to DN150 every branch from
// DN50 to the run size, from DN200 every branch from DN100. The tee list
// offers these sizes in this order.
std::span<const TeeDimensions> rows();
QStringList sizes();
std::optional<TeeDimensions> find(QStringView size);
} // namespace TeeDimensionTable

namespace ConcentricReducerTable {
// The 29 rows, "DN80X50" to "DN450X400".
std::span<const ReducerDimensions> rows();
std::optional<ReducerDimensions> find(QStringView size);
} // namespace ConcentricReducerTable

namespace EccentricReducerTable {
// The same 29 sizes as the concentric table, with the same d, D1 and D2;
// only L1 differs.
std::span<const ReducerDimensions> rows();
std::optional<ReducerDimensions> find(QStringView size);
} // namespace EccentricReducerTable

// The 33 sizes that both reducer lists offer, in list order: the tables' 29
// sizes with, after "DN400X350", four DN450 reducers for which the catalogue
// gives no dimensions ("DN450X100", "DN450X125", "DN450X150", "DN450X200").
QStringList reducerListSizes();

// --- What a pick shows --------------------------------------------------------
//
// The texts a size picked from a list writes into its frame's fields, in the
// order of the row's values, each as its shortest decimal text ("130",
// "3.5"). A size the lists offer without dimensions gives empty texts, so
// that no other size's values stand beside it; any other text gives
// nothing, and the fields keep what they show.

// La, d, D.
std::optional<QStringList> elbowFieldTexts(QStringView size);
// L1, L2, d1, d2, D1, D2.
std::optional<QStringList> teeFieldTexts(QStringView size);

enum class ReducerKind {
    Concentric,
    Eccentric,
};
// L1, d, D1, D2.
std::optional<QStringList> reducerFieldTexts(ReducerKind kind, QStringView size);

} // namespace fittings
