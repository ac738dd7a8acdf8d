// The storm water outlet design of one catchment, from the texts of the
// storm water window's fields to the texts it shows: the design storm
// intensity of the city's formula, the design flows by the rational method
// and the outlet pipe (storm_pipe_sizing.h); and the full-pipe check of a
// chosen gravity pipe.
//
// Each typed value has the range a real design can have, stated below beside
// the step that uses it. A text that is empty, no number or outside its
// range is refused with its field's message; within the ranges every result
// is written in plain digits (no "Inf", "NaN" or exponent form).
#pragma once

#include "storm/storm_pipe_sizing.h"
#include "textio/field_values.h"
#include "textio/refusal.h"

#include <QString>

#include <optional>

namespace storm {

// ------------------------------------------------------------ outlet design

// The design inputs as the window's fields hold them.
struct StormWaterInputs {
    QString returnPeriod;  // P, years
    QString duration;      // rainfall duration t, min
    QString city;          // the city whose intensity formula applies
    QString area;          // catchment area F, m²; empty: the intensity only
    QString runoff;        // runoff coefficient Ψ
    QString pipeCount;     // number of outlet pipes N
    OutletKind kind = OutletKind::Outdoor;
    QString material;      // outlet pipe material, compared exactly
};

// Return period P: above 0 and at most 1000 years.
inline constexpr textio::ValueRange kReturnPeriodYears = textio::positiveUpTo(1000);
// Rainfall duration t: above 0 and at most 1000 min.
inline constexpr textio::ValueRange kDurationMinutes = textio::positiveUpTo(1000);
// Design storm intensity q of the formula at P and t: from 1 to 100000
// L/(s·ha) (0.006 to 600 mm/min). A formula that gives none, or gives a
// value outside this at a P and t of their ranges, is refused at P or t.
inline constexpr textio::ValueRange kDesignIntensity{1, 100000, true};
// Catchment area F: from 1 m² to 10 km².
inline constexpr textio::ValueRange kCatchmentAreaM2{1, 1e7, true};
// Runoff coefficient Ψ, the share of the rain that runs off: from 0.01 to 1.
inline constexpr textio::ValueRange kRunoffCoefficient{0.01, 1, true};
// Number of outlet pipes N: a whole number from 1 to 100.
inline constexpr textio::ValueRange kOutletPipeCount{1, 100, true, true};

// The input a refusal names.
enum class StormWaterField { ReturnPeriod, Duration, City, Area, Runoff, PipeCount };

// Why a design refused its inputs: the field's message under
// "确认数据完整性" (missing) or "确认数据正确性".
using StormWaterRefusal = textio::Refusal<StormWaterField>;

struct StormWaterFlows {
    QString total;       // total design flow, L/s
    QString perPipe;     // design flow per outlet pipe, L/s
    QString perPipeM3h;  // the same in m³/h
    OutletPipeChoice pipe;
};

// What one press of "计 算" shows. The intensity is known, and shown, before
// the catchment inputs are looked at: a refusal of one of them comes with
// the intensity.
struct StormWaterDesign {
    QString intensity;  // q, L/(s·ha); empty when refused before it
    std::optional<StormWaterFlows> flows;  // none for an empty area or a refusal
};
// The design, or its refusal; a refusal of a catchment input still carries
// the intensity.
using StormWaterOutcome = textio::Outcome<StormWaterDesign, StormWaterField>;

// In this order: P and t must not be empty, then must be numbers of their
// ranges, the city must have a formula and the formula must give a design
// intensity at P and t (at fault is P when it gives none at t = 10 min,
// a duration inside every formula's domain, else t). An empty area ends
// with the intensity; otherwise Ψ and N must not be empty, then F, Ψ and N
// must be numbers of their ranges. The flows use the intensity as its text
// shows it, and the outlet pipe and the flow in m³/h the flow per pipe as
// its text shows it.
StormWaterOutcome DesignStormWater(const StormWaterInputs& inputs);

// ------------------------------------------------------------ full-pipe check

// A checked diameter typed or picked: from 50 to 5000 mm.
inline constexpr textio::ValueRange kCheckDiameterMm{50, 5000, true};
// A checked slope: above 0 and at most 1000 ‰.
inline constexpr textio::ValueRange kCheckSlopePermille = textio::positiveUpTo(1000);

// The diameter named by a diameter text, "d300" or a typed "300" (blanks
// around it allowed), as the list text it stands for ("d300"), in mm and in
// m as general number text ("0.3"); no value for a text that names no
// diameter of the range.
struct CheckDiameter {
    QString listText;
    double millimetres;
    QString metres;
};
std::optional<CheckDiameter> CheckDiameterOf(const QString& text);

// The minimum slope warning a slope picked for a diameter text calls for:
// OK alone for d200, OK and Cancel (Cancel the default) for d250 to d400,
// each with a critical icon under "确认数据正确性"; nothing for a slope not
// below the minimum or a diameter the rule leaves out.
std::optional<textio::Notice> SlopeWarningFor(const QString& diameterText, const QString& slopeText);

enum class CheckField { Diameter, Slope };

// Why a check refused its inputs: the list's prompt, "请选择管径" or
// "请选择坡度", under "确认数据完整性".
using FullPipeCheckRefusal = textio::Refusal<CheckField>;

struct FullPipeCheck {
    QString diameterM;     // the checked diameter in m, general text
    QString minimumSlope;  // its minimum slope, ‰
    QString velocity;      // full-pipe velocity, m/s, "##.###"
    QString flow;          // full-pipe flow, L/s, "#.###"
};

using FullPipeCheckOutcome = textio::Outcome<FullPipeCheck, CheckField>;

// The full-pipe velocity of the named diameter at the slope by Manning with
// R = D/4 and n = 0.013, written "##.###", and the flow from the velocity as
// shown, Q = V · D² · 3.14159 · 250, written "#.###".
FullPipeCheckOutcome CheckFullPipe(const QString& diameterText, const QString& slopeText);

}  // namespace storm
