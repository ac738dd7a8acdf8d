#pragma once

// Gravity drainage pipe flow by Manning's formula, full and part-full, with the
// tables behind it: Manning's roughness by material, the half central angle of
// the part-full section by fullness, the maximum design fullness of
// GBJ 14-87 §3.2.3, the PVC-U inner diameters, and the default slope and
// fullness proposed for a chosen diameter.
//
// Units: diameters D in metres, slopes in per mille, velocities in m/s, flows
// in L/s, areas in m².
//
// Non-finite results: every formula returns std::optional<double> and is empty
// when an argument is not a finite number or the result would not be one
// (0/0, a negative root, a zero roughness). The calculator refuses an empty
// result with a message instead of showing "nan" or "inf".
//
// The calculator shows the velocity rounded by its format pattern and computes
// the flow from the velocity as shown: pass the number read back from the
// velocity text as shownVelocity.

#include "catalogues/gravity_pipe_catalogue.h"
#include "textio/field_values.h"
#include "textio/refusal.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <span>

namespace hydraulics {

using catalogues::DrainFlowMode;
using catalogues::DrainPipeMaterial;

namespace ManningRoughness {

// Manning's n of the outdoor pipes: reinforced concrete running full (also
// the storm water check's and the network's concrete pipe), concrete
// part-full, PE / HDPE double-wall corrugated pipe.
inline constexpr double kConcreteFull = 0.013;
inline constexpr double kConcretePartFull = 0.014;
inline constexpr double kCorrugated = 0.01;
// Indoor pipes, part-full only.
inline constexpr double kCastIron = 0.013;
inline constexpr double kPvcu = 0.009;

// Manning's n: concrete 0.013 full / 0.014 part-full, PE double-wall corrugated
// 0.01, cast iron 0.013, PVC-U 0.009. Empty for cast iron and PVC-U in full
// flow, which these pipes do not have.
std::optional<double> roughness(DrainPipeMaterial material, DrainFlowMode mode);

} // namespace ManningRoughness

struct PartialFlowEntry {
    QString fullness;        // h/D as listed ("0.1", ... "0.95", "1")
    double halfAngleDegrees; // α
};

namespace PartialFlowTable {

// The 19 rows in fullness order. Below h/D = 0.5 α is half the central angle
// of the wetted part, from 0.5 up half that of the dry part.
std::span<const PartialFlowEntry> entries();
// α for the exact fullness text; empty for any text not in the table (a typed
// "0.62" or "0.50" has no angle).
std::optional<double> halfAngleDegrees(QStringView fullnessText);

} // namespace PartialFlowTable

namespace MaxFullnessRule {

// GBJ 14-87 §3.2.3 is checked for concrete and PE double-wall corrugated pipe
// in part-full flow only.
bool appliesTo(DrainPipeMaterial material, DrainFlowMode mode);
// Maximum fullness by D: below 0.31 m 0.55; below 0.46 m 0.65; below 0.91 m
// 0.70; from 0.91 m 0.75.
double maximumFullness(double diameterM);
// True when the fullness is strictly above the maximum for D (equal passes).
// Not finite arguments never exceed; refuse them before asking.
bool exceeds(double diameterM, double fullness);

} // namespace MaxFullnessRule

namespace PvcuInnerDiameterList {

// "46.0", "70.4", "83.6", "103.6", "118.6", "152.0", "190": the inner
// diameters in mm of the outside diameters of pvcuDiameterList(), by position.
const QStringList& texts();
// The inner diameter in metres (text's number / 1000) at a list position;
// empty when the position is outside the list.
std::optional<double> innerDiameterMetres(qsizetype position);
// The same, found by the exact outside diameter text ("110" -> 0.1036).
std::optional<double> innerDiameterMetresFor(QStringView outsideDiameterText);

} // namespace PvcuInnerDiameterList

namespace DefaultSlopeTable {

// Default slope text of cast-iron and PVC-U pipe by the exact diameter text;
// empty for concrete and PE and for a diameter the material's column lacks.
// Cast iron: 75 "15", 100 "12", 125 "10", 150 "7", 200 "5".
// PVC-U: 50 "7", 75 "5", 90 "4", 110 "4", 125 "3.5", 160 "3", 200 "3".
std::optional<QString> slopeText(DrainPipeMaterial material, QStringView diameterText);

} // namespace DefaultSlopeTable

namespace DefaultSlopeRule {

// The slope list text for the diameter in metres, rows tested from the top:
// D >= 0.4 "2.0"; >= 0.3 "3.0"; >= 0.2 "4.0"; >= 0.15 "8"; D == 0 the prompt
// "请选择坡度". Empty where the slope is left unchanged (0 < D < 0.15, and
// negative or not finite D).
std::optional<QString> slopeText(double diameterM);

} // namespace DefaultSlopeRule

namespace DefaultFullnessRule {

// The fullness list text for D and material in part-full flow.
// Concrete and PE: below 0.35 m "0.55"; below 0.5 m "0.65"; below 0.91 m "0.7";
// from 0.91 m "0.75". Cast iron and PVC-U: below 0.14 m "0.5"; below 0.21 m
// "0.6"; from 0.21 m empty (unchanged). Empty for a D that is not finite.
std::optional<QString> fullnessText(double diameterM, DrainPipeMaterial material);

} // namespace DefaultFullnessRule

// The full-pipe Manning relation, hydraulic radius D/4:
//   Q = 1000 · π · D^(8/3) · √I / (4^(5/3) · n)  L/s,  D in m, I a fraction.
// Two values of π stand in the design methods, and their results depend on
// each, so both are kept:
namespace FullPipeManning {

// π of the drainage calculator and the storm water check, which take the
// flow from the velocity as shown: Q = V · D² · π · 250.
inline constexpr double kShownVelocityPi = 3.14159;
// π of the storm sewer network's sizing, velocity and capacity.
inline constexpr double kNetworkPi = 3.1415926;

// Q in L/s of a pipe of D m running full at slope I (a fraction) with
// roughness n, with the given π. Empty where the result would not be finite.
std::optional<double> capacityLps(double diameterM, double slopeFraction, double n, double pi);

} // namespace FullPipeManning

namespace DrainageFlow {

// Manning's mean velocity v = R^(2/3) · √(I/1000) / n, R the hydraulic radius
// in m, I the slope in per mille.
std::optional<double> manningVelocity(double hydraulicRadiusM, double slopePermille, double n);

// Full pipe: R = D/4, v by Manning.
std::optional<double> fullPipeVelocity(double diameterM, double slopePermille, double n);
// Full pipe flow from the shown velocity: Q = V · D² · 3.14159 · 250 (L/s).
std::optional<double> fullPipeFlow(double shownVelocity, double diameterM);

// The part-full water section.
struct PartFullSection {
    double radiusRatio; // R/r, hydraulic radius over pipe radius
    double area;        // water cross-section A in m²
};

// Section from the half central angle α (degrees, from PartialFlowTable), the
// fullness h/D and D. With a = α · 0.01745, s = sin a, c = cos a:
//   h/D < 0.5:  R/r = (a − s·c) / (2·a),  A = D² · (a − s·c) / 4
//   h/D >= 0.5: R/r = (3.14159265 − a + s·c) / (2 · (3.1415926 − a)),
//               A = D² · (3.14159265 − a + s·c) / 4
std::optional<PartFullSection> partFullSection(double halfAngleDegrees, double fullness,
                                               double diameterM);
// Part-full velocity: R = (R/r) · D / 2, v by Manning.
std::optional<double> partFullVelocity(double radiusRatio, double diameterM, double slopePermille,
                                       double n);
// Part-full flow from the shown velocity: Q = V · 1000 · A (L/s).
std::optional<double> partFullFlow(double shownVelocity, double areaM2);

} // namespace DrainageFlow

// The calculation behind the drainage pipe calculator's "计 算": from the
// lists' texts to the velocity and flow it shows, with the working values
// its hidden fields keep.
namespace DrainageCalculation {

// Typed values a real design can have. A typed diameter from 10 mm, below
// the smallest listed pipe (PVC-U De50), up to the largest listed, 3000 mm;
// a typed slope above 0 up to 1000 ‰ (a fall of 45°). With both inside,
// velocity and flow are finite and written in plain digits.
inline constexpr textio::ValueRange kDiameterMm{10, 3000, true};
inline constexpr textio::ValueRange kSlopePermille = textio::positiveUpTo(1000);

// The prompt of the fullness list.
inline const QString kFullnessPrompt = QStringLiteral("请选择充满度");

// The diameter in metres, general number text, that the hidden field keeps
// for a diameter text in mm as the diameter list shows it ("300" -> "0.3");
// none for a text that is no number.
std::optional<QString> diameterMetresText(const QString& diameterMm);

// The lists' texts a calculation reads.
struct DrainageInputs {
    DrainPipeMaterial material = DrainPipeMaterial::Concrete;
    // Full flow only where it is selected and the material has it.
    DrainFlowMode mode = DrainFlowMode::PartFull;
    QString diameter;       // mm, as the diameter list shows it
    QString diameterMetres; // the diameter in metres as its hidden field holds it
    QString slope;          // ‰
    QString fullness;       // h/D, part-full flow only
};

// What the calculation shows, and the working values at their fields'
// precision. Fields a mode does not use stay empty.
struct DrainageResults {
    QString velocity;  // m/s: "##.###" with a leading zero, PVC-U "##.####"
    QString flow;      // L/s, "#.###", from the velocity as shown
    QString formattedVelocity;   // "##.###" before the leading zero; not PVC-U
    QString halfAngle;           // α in degrees, part-full
    QString radiusRatio;         // R/r, part-full
    QString area;                // water cross-section in m², part-full
    QString innerDiameterMetres; // PVC-U: the inner diameter that replaces D
    // Concrete and PE part-full with a fullness above GBJ 14-87 §3.2.3: the
    // engineer is asked whether to keep the result (kFullnessQuestion under
    // "确认数据正确性", OK and Cancel with Cancel the default, a critical
    // icon); any answer but OK drops it.
    std::optional<textio::Notice> fullnessQuestion;
};

// The list a refusal names, for the window to put the focus on.
enum class DrainageField { Diameter, Slope, Fullness };

// Why a calculation refused its inputs: the list's prompt ("请选择管径",
// "请选择坡度", "请选择充满度") under "确认数据完整性" in full flow and
// "确认数据正确性" in part-full flow.
using DrainageRefusal = textio::Refusal<DrainageField>;
using DrainageOutcome = textio::Outcome<DrainageResults, DrainageField>;

// Checks in order the diameter (a number inside kDiameterMm with a positive
// diameter in metres; for PVC-U one of the listed outside diameters), the
// slope (inside kSlopePermille) and in part-full flow the fullness (a text
// of PartialFlowTable), then computes by Manning's formula:
//   full flow:      v = fullPipeVelocity, Q = fullPipeFlow
//   part-full flow: α, R/r and A, then v = partFullVelocity, Q = partFullFlow
// each step with the value before it as its field holds it.
DrainageOutcome calculate(const DrainageInputs& inputs);

inline const QString kFullnessQuestion = QStringLiteral(
    "您所选择的充满度大于规范规定【GBJ 14-87 第3.2.3条】，继续请选择确定，返回请选择取消。");

} // namespace DrainageCalculation

// The warning on a slope picked below the minimum of GBJ 14-87 §3.2.9:
// catalogues::kMinSlopeWarning under "确认数据正确性" with a critical icon
// and the buttons `buttons` (OK alone, or OK and Cancel). Only a warning:
// the slope stays chosen whatever the answer.
textio::Notice minSlopeWarning(int buttons);

// The drainage window's warning, OK alone, on a slope below the minimum of
// the diameter text in force (picked or typed); nothing otherwise.
std::optional<textio::Notice> drainageSlopeWarning(const QString& diameterText,
                                                   const QString& slopeText);

} // namespace hydraulics
