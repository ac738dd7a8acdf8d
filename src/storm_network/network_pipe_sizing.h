// Pipe sizing of one segment of a storm sewer run: the diameter and slope
// chosen from the pipe material's catalogue for the segment's design flow,
// then the full-pipe velocity, capacity and flow time in the pipe, written
// into the segment's result row.
//
// Pipes run full, by Manning's formula with hydraulic radius D/4:
//   Q [m³/s] = π · D^(8/3) · √I / (4^(5/3) · n),  D in m, I a fraction.
// Solved for D, with Q in L/s and D in mm (3141.5926 = 1000·π, π = 3.1415926):
//   D_req(I) = 1000 · (4^(5/3) · n · Q / (3141.5926 · I^0.5))^(3/8)
// Velocity v = 4·Q / ((D/1000)² · 3141.5926) m/s, capacity
// Qmax = 1000 · 3.1415926 · (D/1000)^(8/3) · (I/1000)^0.5 / (4^(5/3) · n) L/s
// with I in ‰, and flow time t2 = L / (v · 60) min.
//
// Choice, the first rule that applies:
//   1. D_req(0.003) < 300: 300 mm at 3 ‰ (every small flow);
//   2. the first catalogue size after the smallest that is strictly larger
//      than D_req(0.002), at 2 ‰ (a size equal to D_req is passed over);
//   3. 3000 mm at the first slope s = 2, 2.1, … ‰ (0.1 added up in double
//      precision while s ≤ 20, so 19.9 is the last) with D_req(s/1000) < 3000;
//   4. otherwise no pipe carries the flow.
//
// Every value is written as a cell text through its display pattern and read
// back as shown: the slope enters the capacity with at most two decimals, the
// velocity enters the flow time with two.
#pragma once

#include "storm_network/result_table.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace storm_network {

// The diameter and slope texts as the choice gives them, before the slope is
// written through "0.0#": "300" and "3", a catalogue size and "2", or "3000"
// and the slope of the search as plain decimal text ("4.5",
// "5.99999999999999").
struct PipeChoice {
    QString diameter;
    QString slope;
    bool operator==(const PipeChoice&) const = default;
};

// D_req in mm for a design flow in L/s, roughness n and a slope given as a
// fraction (‰ / 1000), evaluated as: n·Q times 4^(5/3), over I^0.5 times
// 3141.5926, to the power 3/8, times 1000. No value for a negative flow or a
// result that is not finite.
std::optional<double> RequiredDiameterMm(double flowLps, double n, double slopeFraction);

// The choice for a design flow; no value when no pipe of the catalogue
// carries it, for a negative flow, or a roughness that is not positive.
// `diameters` are the material's sizes in mm, ascending, as listed.
std::optional<PipeChoice> ChooseNetworkPipe(double flowLps, double n, const QStringList& diameters);

// The full-pipe relations, unrounded; the capacity is the full-pipe Manning
// relation of the drainage calculators with the network's π (3.1415926), no
// value where it would not be finite.
double FullPipeVelocity(double flowLps, double diameterMm);
std::optional<double> FullPipeCapacity(double diameterMm, double slopePermille, double n);

// The largest size the slope search tries and the steepest slope it tries
// there, as the cells show them ("3000", "19.9"): no pipe of the catalogues
// carries a flow above that.
const QString& LargestSearchedDiameter();
const QString& SteepestSearchedSlope();

// Why the sizing of a row stopped.
enum class SizingStatus {
    Sized,
    FlowNotANumber,     // 设计流量 holds no number
    NegativeFlow,       // a design flow below zero has no diameter
    NoPipeLargeEnough,  // above 3000 mm at 19.9 ‰
    BadPipeCell,        // 设计管径, 水力坡度 or 管段长度 holds no number
    ZeroVelocity,       // the velocity shows 0.00: the flow time has no value
    BadRoughness,       // n is not a positive number
};

// The hydraulics of a row whose 设计管径 and 水力坡度 were just written:
// 水力坡度 through "0.0#", then 流速, 最大流量 and 管内时间, each through its
// pattern and read back as shown. On a status other than Sized the row may
// hold some of these cells already rewritten: callers that must leave a row
// untouched work on a copy.
SizingStatus WritePipeHydraulics(ResultCells& row, double n);

// NetworkPipeSizing of one row: chooses 设计管径 and 水力坡度 from the row's
// 设计流量 and writes them and the hydraulics. With NoPipeLargeEnough the
// diameter and slope cells are left as they were.
SizingStatus NetworkPipeSizing(ResultCells& row, double n, const QStringList& diameters);

// The 设计管径 shortcut: the diameter and slope of the table's first row
// alone, chosen (ChooseNetworkPipe) from its 设计流量, the material's
// roughness `n` and sizes as the network window lists them; the slope keeps
// the text of the choice and no other cell changes. False, writing nothing,
// without a design flow in the first row, a roughness or a choice.
bool SizeFirstRow(ResultTable& table, const QString& n, const QStringList& diameters);

}  // namespace storm_network
