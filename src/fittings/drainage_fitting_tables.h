// Build lengths of the drainage pipe fittings that a vertical stack is made
// of, for PVC-U and for cast-iron drainage pipe.
//
// Six fitting types, written "管件1" to "管件6":
//   管件1  tee with one swept side branch: L1 from the top end to the branch
//          centre line, L2 from there to the bottom end;
//   管件2  cross with swept branches on both sides, L1 and L2 as 管件1;
//   管件3  quarter bend, horizontal end at the top, vertical end at the
//          bottom: L2 from the horizontal end's centre line to the bottom end;
//   管件4  vertical end at the top running through a 45° diagonal into a
//          horizontal end at the bottom: L1 from the top end to the
//          horizontal end's centre line;
//   管件5  vertical inlet from the top swept into a horizontal run: L1 from
//          the top end to the run's centre line;
//   管件6  reducer, narrow end up: L1 its overall height.
//
// A size is written as two nominal sizes in mm joined by a capital "X", the
// main size first ("110X50", "110X110"); sizes are matched as exact text.
// All lengths are in mm. Each type's size list is in the order the window
// lists it, which is also the order of the look-up.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <span>

namespace fittings::drainage {

enum class PipeMaterial {
    Pvcu,     // "PVC-U排水管"
    CastIron, // "排水铸铁管"
};

// The six fittings, numbered as the window names them ("管件1" ... "管件6").
enum class FittingType {
    Tee = 1,     // 管件1: tee with one swept side branch
    Cross,       // 管件2: cross with swept branches on both sides
    QuarterBend, // 管件3: quarter bend, horizontal end at the top
    OffsetBend,  // 管件4: vertical to horizontal through 45°
    SweptInlet,  // 管件5: swept inlet into a horizontal run
    Reducer,     // 管件6: reducer, narrow end up
};

inline constexpr FittingType kFittingTypes[] = {
    FittingType::Tee, FittingType::Cross, FittingType::QuarterBend,
    FittingType::OffsetBend, FittingType::SweptInlet, FittingType::Reducer,
};

// "管件1" ... "管件6".
QString fittingTypeName(FittingType type);
// The type of a name "管件1" ... "管件6"; nothing for any other text.
std::optional<FittingType> fittingTypeFromName(QStringView name);

// One size of 管件1, 管件2 and 管件5, which share their size list.
struct BranchFittingRow {
    QStringView size;
    double teeL1;
    double teeL2;
    double crossL1;
    double crossL2;
    double inletL1;
};

// One size of 管件3 and 管件4, which share their size list. 管件4's L1 is
// computed from the constants a and b (see offsetBendL1Mm()).
struct BendRow {
    QStringView size;
    double bendL2;
    double offsetA;
    double offsetB;
};

// One size of the reducer 管件6.
struct ReducerRow {
    QStringView size;
    double l1;
};

namespace DrainageFittingTables {

// PVC-U: 8 sizes "50X50" ... "160X160"; cast iron: 16 sizes "50X50" ... "200X200".
std::span<const BranchFittingRow> branchRows(PipeMaterial material);
// 6 sizes per material.
std::span<const BendRow> bendRows(PipeMaterial material);
// PVC-U: 15 sizes "75X50" ... "160X125"; cast iron: 9 sizes "75X50" ... "300X200".
std::span<const ReducerRow> reducerRows(PipeMaterial material);

// The size list of a fitting type for a material, in table order.
QStringList sizeList(PipeMaterial material, FittingType type);

// 管件4's L1 from its constants: √2·a + b for PVC-U, √2·a ÷ 2 + b for cast
// iron (√2 as 2 to the power 0.5, multiplied first, then halved, then b
// added), not rounded.
double offsetBendL1Mm(PipeMaterial material, double a, double b);

// Which of the lengths L1 and L2 a size sets for a fitting type: both for
// 管件1 and 管件2, L2 alone for 管件3, L1 alone for 管件4, 管件5 and 管件6.
bool setsL1(FittingType type);
bool setsL2(FittingType type);

struct FittingLengths {
    double l1Mm = 0; // 0 where the type has no tabled L1
    double l2Mm = 0; // 0 where the type has no tabled L2
};

// The lengths of the first size of the type's list equal to `size`;
// nothing when the list has no such size.
std::optional<FittingLengths> lengths(PipeMaterial material, FittingType type, QStringView size);

} // namespace DrainageFittingTables

} // namespace fittings::drainage
