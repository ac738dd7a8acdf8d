// Water supply pipe hydraulics by Hazen-Williams: the formulas, the ranges a
// real design's inputs can have, and the calculation of the water supply
// pipe calculator from its fields' texts to the texts it shows.
#pragma once

#include "catalogues/flow_units.h"
#include "textio/field_values.h"
#include "textio/refusal.h"

#include <QString>

#include <optional>

namespace hydraulics::SupplyPipeFlow {

// Unit head loss i in metres of water per metre of pipe:
//   i = 10.5 · k · C^-1.85 · (d/1000)^-4.87 · (Q/3600)^1.85
// with Q the flow in t/h (= m³/h), d the inner diameter in mm, k the water
// temperature factor and C the Hazen-Williams coefficient. The order of
// operations is that of the design tables the results are checked against.
// Not finite where an input is out of range (C or d of zero, say): the caller
// checks.
double unitHeadLoss(double k, double C, double d, double Q);

// Mean velocity in m/s for Q in t/h and d in mm:
//   v = Q · 4000 · 1000 / (d² · 11309.73354), where 11309.73354 is 3600·π.
double velocity(double Q, double d);

// The ranges of the typed and listed inputs. Each is generous for real
// designs and keeps every result a finite number written in plain digits:
// with all inputs inside, i stays below 10^10 and i·L below 10^15.
//
// Flow: nothing drawn (0, the window's cleared state) or from 0.0001 L/s
// (0.36 L/h, a dripping tap) up to 10 m³/s, the main of a city district.
inline constexpr textio::ValueRange kFlowLps{0.0001, 10000, true};
inline constexpr textio::ValueRange kFlowM3h{catalogues::cubicMetresPerHour(kFlowLps.lowest),
                                             catalogues::cubicMetresPerHour(kFlowLps.highest),
                                             true};
// Segment length: none (0) or from 1 cm up to 100 km.
inline constexpr textio::ValueRange kLengthM{0.01, 100000, true};
// Hazen-Williams C: the roughest old cast iron has about 40, smooth plastic
// about 150.
inline constexpr textio::ValueRange kCoefficient{20, 200, true};
// Temperature factor: the tables give 0.72 to 1.061.
inline constexpr textio::ValueRange kFactor = textio::positiveUpTo(2);
// Inner diameter in mm: the catalogue lists 12.8 to 2000.
inline constexpr textio::ValueRange kInnerDiameterMm{10, 3000, true};

// The flow field that holds the engineer's input: "1" (any text whose
// number is 1) the L/s field, any other the t/h field.
bool flowInLitresPerSecond(const QString& modeText);

// The fields' texts a calculation reads.
struct SupplyInputs {
    bool litresPerSecond = true; // the flow typed is in L/s, else in t/h
    QString flow;                // the typed flow
    QString length;              // m; empty: no length
    QString factor;              // temperature factor in use
    QString coefficient;         // C
    QString innerDiameter;       // mm, of the size picked
};

// The texts the calculation shows.
struct SupplyResults {
    QString convertedFlow; // the other flow field: t/h from L/s or L/s from t/h
    QString unitHeadLoss;  // i, "0.0#####"
    QString velocity;      // v, "0.0##"
    QString lengthLoss;    // i·L with i as shown; "0" without a length
};

// The input a refusal names, for the window to put the focus on.
enum class SupplyField { Flow, Length, Factor, Coefficient, Diameter };

using SupplyRefusal = textio::Refusal<SupplyField>;
using SupplyOutcome = textio::Outcome<SupplyResults, SupplyField>;

// Checks the inputs against their ranges (an empty flow "请输入流量！", any
// other wrong flow "请输入正确的流量！", then the factor, C, the diameter and
// the length, each with its own message, all under "确认数据正确性") and
// computes the results: the converted flow as general number text, the t/h
// flow read back from it, i and v from it, and the loss over the length from
// i as shown (rounded to six decimals).
SupplyOutcome calculate(const SupplyInputs& inputs);

} // namespace hydraulics::SupplyPipeFlow
