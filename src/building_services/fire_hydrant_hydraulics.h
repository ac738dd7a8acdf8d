// Hydraulics of one indoor fire hydrant with its hose and nozzle: the nozzle
// and hose coefficient tables, the pressure head at the nozzle for a required
// effective water column (充实水柱), the head loss in the hose, the pressure
// head needed at the hydrant outlet and the jet flow, and the report sentence.
//
// Units: heads and lengths in metres of water and metres, diameters in mm,
// flows in L/s. With the coefficients of the tables Q² = 10·B·Hq, so the hose
// loss is A·Ld·Q²/10.
//
// The calculator writes every step's value into its field as general number
// text (15 significant digits) and the next step reads that text back, so
// the steps here carry their values at text precision in the same way.
#pragma once

#include "textio/field_values.h"
#include "textio/refusal.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace building_services {

// The fixed head loss at the hydrant outlet included in every calculation, m.
inline constexpr double kHydrantOutletLossM = 2.0;

// The hose materials: rubber-lined and linen.
inline constexpr QStringView kRubberLinedHose = u"衬胶水带";
inline constexpr QStringView kLinenHose = u"麻织水带";

// The entries the window opens with: a 19 mm nozzle on a 65 mm hose.
inline constexpr QStringView kOpeningNozzleDiameter = u"19";
inline constexpr QStringView kOpeningHoseDiameter = u"65";

// The effective water columns a design asks for, m: the codes ask for 7 to
// 13 m and more for high buildings; no nozzle throws one much beyond 40 m.
// From 1 m, so that the jet flow of the smallest nozzle still shows a figure.
inline constexpr textio::ValueRange kWaterColumnRange{1, 100, true, false};
// The hose lengths, m: hoses come in lengths of 10 to 25 m, and a hydrant
// serves through at most a few of them.
inline constexpr textio::ValueRange kHoseLengthRange{1, 1000, true, false};
// Close to the longest water column of a nozzle the pressure it needs climbs
// without bound; a nozzle pressure beyond this head (m) is taken as a water
// column the nozzle cannot reach.
inline constexpr double kHighestNozzlePressureM = 100000;

namespace NozzleCoefficientTable {

// The nozzle diameters offered, in mm: "9", "13", "16", "19", "22", "25".
QStringList diameterTexts();
// The nozzle coefficient B of a diameter text (exact text); empty for any
// other text.
std::optional<double> coefficient(QStringView diameterText);

} // namespace NozzleCoefficientTable

namespace HoseResistanceTable {

// The hose diameters offered, in mm: "50", "65".
QStringList diameterTexts();
// The hose materials offered: rubber-lined, linen.
QStringList materialTexts();
// The hose resistance A: 50 mm rubber-lined 0.0677, linen 0.1501; any other
// diameter is taken as 65 mm: rubber-lined 0.0172, linen 0.043. Any material
// other than rubber-lined counts as linen.
double resistance(double hoseDiameterMm, QStringView material);

} // namespace HoseResistanceTable

namespace FireHydrantHydraulics {

// The nozzle factor φ = 0.25 / (df + (df/10)³), df in mm.
double nozzleFactor(double nozzleDiameterMm);
// The jet factor αf = 1.19 + 80·(0.01·Hm)⁴.
double jetFactor(double waterColumnM);
// The pressure head at the nozzle Hq = αf·Hm / (1 − φ·αf·Hm). Empty where
// 1 − φ·αf·Hm is not above zero: no nozzle pressure throws a water column
// that long through this nozzle.
std::optional<double> nozzlePressure(double jetFactor, double waterColumnM, double nozzleFactor);
// The hose head loss Hd = B·Ld·Hq·A.
double hoseLoss(double nozzleCoefficient, double hoseLengthM, double nozzlePressureM,
                double hoseResistance);
// The pressure head at the hydrant outlet Hxh = Hd + 2 + Hq.
double outletPressure(double hoseLossM, double nozzlePressureM);
// The jet flow Q = √(10·B·Hq), L/s; empty for a negative argument.
std::optional<double> jetFlow(double nozzleCoefficient, double nozzlePressureM);

} // namespace FireHydrantHydraulics

// The first two steps as the calculator writes them: αf and Hq as general
// number texts, Hq computed from αf read back from its text.
struct NozzlePressureTexts {
    QString jetFactor;
    QString nozzlePressure;
};

// Empty when the water column cannot be reached (see nozzlePressure), the
// nozzle pressure is above kHighestNozzlePressureM or a value is not finite.
std::optional<NozzlePressureTexts> nozzlePressureSteps(double waterColumnM, double nozzleFactor);
// The same steps from the texts of Hm and φ as the window holds them; empty
// also where either text holds no number.
std::optional<NozzlePressureTexts> nozzlePressureSteps(const QString& waterColumn,
                                                       const QString& nozzleFactor);

// The table values a pick writes, each as general number text.
// φ of the nozzle diameter text; empty for a text that holds no number.
std::optional<QString> nozzleFactorText(const QString& nozzleDiameter);
// B of the nozzle diameter text; empty for a text that is no listed diameter.
std::optional<QString> nozzleCoefficientText(QStringView nozzleDiameter);
// A of the hose diameter text and material; a text that holds no number is
// taken as 65 mm, as any other diameter but 50.
QString hoseResistanceText(const QString& hoseDiameter, QStringView material);

// The five steps of a calculation, each value as the general number text
// written into its field and read back by the next step.
struct HydrantResultTexts {
    QString jetFactor;      // αf
    QString nozzlePressure; // Hq, m
    QString hoseLoss;       // Hd, m
    QString outletPressure; // Hxh, m
    QString jetFlow;        // Q, L/s
};

// The inputs as the window's fields hold them: Hm and Ld as typed, φ, B and
// A as the window wrote them from its tables.
struct HydrantInputTexts {
    QString waterColumn;       // Hm, m
    QString hoseLength;        // Ld, m
    QString nozzleFactor;      // φ
    QString nozzleCoefficient; // B
    QString hoseResistance;    // A
};

struct HydrantInputs {
    double waterColumnM = 0;      // Hm
    double nozzleFactor = 0;      // φ
    double nozzleCoefficient = 0; // B
    double hoseLengthM = 0;       // Ld
    double hoseResistance = 0;    // A
};

// The input a refused calculation or report names.
enum class HydrantField { WaterColumn, HoseLength, JetFlow, OutletPressure };

using HydrantRefusal = textio::Refusal<HydrantField>;
// A calculation: its results, or the refusal of an input; nothing of a
// refused calculation is kept.
using HydrantOutcome = textio::Outcome<HydrantResultTexts, HydrantField>;

// Hm outside kWaterColumnRange: "请输入正确的充实水柱！"; Ld outside
// kHoseLengthRange: "请输入正确的水带长度！"; a water column the nozzle does
// not reach: "充实水柱过长，该喷嘴无法达到！请减小充实水柱或加大喷嘴直径。",
// all under "确认数据正确性", Hm checked first.
HydrantOutcome calculateHydrant(const HydrantInputs& in);
HydrantOutcome calculateHydrant(const HydrantInputTexts& in);

// The texts of the report sentence as the engineer left them.
struct HydrantReport {
    QString waterColumn;    // Hm as typed
    QString nozzleDiameter; // df
    QString hoseLength;     // Ld as typed
    QString hoseDiameter;   // d
    QString hoseMaterial;
    double jetFlow = 0;        // Q, L/s, written through "###.###"
    double outletPressureM = 0; // Hxh in m, written in MPa (÷100) through "0.###"
};

// "充实水柱长度 Hm= 10米,水枪喷口直径 df=19毫米,水带长度 Ld=25米,采用直径d=65毫米
// 衬胶水带。水枪喷口的射流量 Qxh= 4.622升/秒,消火栓口所需水压 Hxh=0.165MPa。"
QString hydrantReportSentence(const HydrantReport& report);

// The results the engineer may edit before a report (the outlet loss taken
// off, say), up to beyond what any calculation within the input ranges
// gives: a jet flow up to 1000 L/s (at most √(10 · 0.4727 · 100000) ≈ 688)
// and an outlet pressure up to 10,000,000 m (at most about 7,200,000).
inline constexpr textio::ValueRange kReportedJetFlowRange = textio::positiveUpTo(1000);
inline constexpr textio::ValueRange kReportedOutletPressureRange = textio::positiveUpTo(1e7);

// The report's texts as the window holds them: inputs and the two results.
struct HydrantReportTexts {
    QString waterColumn;
    QString nozzleDiameter;
    QString hoseLength;
    QString hoseDiameter;
    QString hoseMaterial;
    QString jetFlow;        // Q, L/s
    QString outletPressure; // Hxh, m
};

// The report sentence, or the refusal of a result.
using HydrantReportOutcome = textio::Outcome<QString, HydrantField>;

// The sentence, or the refusal of a result outside its range:
// "请输入正确的流量Q！", then "请输入正确的栓口水压Hxh！" (确认数据正确性).
HydrantReportOutcome hydrantReport(const HydrantReportTexts& texts);

} // namespace building_services
