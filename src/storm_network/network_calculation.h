// The network calculation of a storm sewer run by the rational method,
// segment by segment from the most upstream one, into the rows of the result
// table. For segment i (row i), every value written as a cell text through
// its display pattern and read back as shown:
//
//   设计管段编号  "i+1-i+2"
//   管段长度 L     the length typed, "0.00"
//   本段面积 F     A / 10000 ha (A in m²), "0.0000"
//   转输面积       the 累计面积 of the segment above (0 for the first)
//   累计面积       转输面积 + 本段面积
//   汇流时间 T     the sum of the 管内时间 of the segments above
//   暴雨强度 q     the city's formula at P and t = t1 + m·T, L/(s·ha)
//   径流系数 Ψ     as typed, "0.000"
//   平均径流系数   Σ Ψ·F over this segment and those above / 累计面积
//   单位流量       平均径流系数 · q
//   设计流量 Q     累计面积 · 单位流量, L/s
//   设计管径 … 管内时间  NetworkPipeSizing (network_pipe_sizing.h)
//
// The cells of a row are written in the order 1, 2, 3, 4, 5, 6, 8, 9, 10,
// 11, 12, 13, 14, 15, 16, 7. The running sums (the transferred area, the
// flow time above and Σ Ψ·F) carry from row to row; Σ Ψ·F adds the same
// terms in the same order as a fresh sum over the rows above would, so it
// gives the same digits at a cost in proportion to the number of segments.
//
// Inputs are texts as the network window and the segment list hold them.
// A text that is no number or a value outside the range a real design can
// have (below), a city without a formula, a P or t outside its formula's
// domain, a 累计面积 shown as 0.0000, a negative 设计流量, a flow
// no pipe carries or a velocity shown as 0.00 stops the run with a message
// naming the segment and the field; nothing of the run is kept.
#pragma once

#include "catalogues/storm_intensity_catalogue.h"
#include "storm_network/result_table.h"
#include "storm_network/segment_rows.h"
#include "textio/field_values.h"
#include "textio/refusal.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <span>
#include <vector>

namespace storm_network {

// The design parameters as the network window holds them.
struct NetworkParameters {
    QString returnPeriod;  // P, years (重现期P)
    QString initialTime;   // t1, min (起点汇流时间t1)
    QString reduction;     // m (折减系数)
    QString city;          // the city whose intensity formula is used
    QString roughness;     // Manning's n of the chosen pipe material
    QStringList diameters; // the chosen material's sizes in mm, ascending
};

// The input a refused run names.
enum class NetworkField {
    ReturnPeriod,
    InitialTime,
    Reduction,
    Roughness,
    City,
    Length,          // a segment's 管段长度
    Area,            // a segment's 汇水面积
    Runoff,          // a segment's 径流系数
    Intensity,       // P and t outside the city's formula
    CumulativeArea,  // 累计面积 shown as 0.0000
    DesignFlow,      // a negative 设计流量, or one no pipe carries
    Velocity,        // 流速 shown as 0.00
};

// A refused run: the field, the message (which begins "第 3 段：" when it
// names a segment) and the title, textio::kCompletenessTitle for a missing
// value or kCorrectnessTitle.
using NetworkRefusal = textio::Refusal<NetworkField>;

// The values a real design can have, generous enough that no real design is
// refused; a value outside its range is refused naming its field.
//
// Return period P of the intensity formula, years.
inline constexpr textio::ValueRange kReturnPeriodRange = textio::positiveUpTo(1000);
// Initial concentration time t1, min: t = t1 + m·T, so the first segment
// takes t1 alone; 0 is a time the formulas take.
inline constexpr textio::ValueRange kInitialTimeRange{0, 1000, true};
// Reduction factor m of the flow time in the pipes (1 to 2 in practice).
inline constexpr textio::ValueRange kReductionRange{1, 10, true};
// A segment's length, m.
inline constexpr textio::ValueRange kSegmentLengthRange = textio::positiveUpTo(10000);
// A segment's own catchment area, m² (1000 ha); a segment without a
// catchment of its own only carries the flow from above.
inline constexpr textio::ValueRange kSegmentAreaRange{0, 1e7, true};
// A segment's runoff coefficient Ψ.
inline constexpr textio::ValueRange kRunoffRange = textio::positiveUpTo(1);

// Where a typed value falls against its range.
enum class RangeFault { NotANumber, TooSmall, TooLarge };

// The typed text read strictly and checked against `range`: the value, or
// why it is refused.
struct RangeReading {
    std::optional<double> value;
    RangeFault fault = RangeFault::NotANumber;
};
RangeReading ReadInRange(const QString& text, const textio::ValueRange& range);

// A range in words, as a message names it: "应大于0且不大于1000年",
// "应不小于1且不大于10".
QString RangeWords(const textio::ValueRange& range, const QString& unit = QString());

// The design parameters read as numbers, once per run.
struct NetworkNumbers {
    double returnPeriod = 0;
    QString returnPeriodText;  // P as typed, for the messages
    double initialTime = 0;
    double reduction = 0;
    double roughness = 0;
    const catalogues::StormIntensityFormula* formula = nullptr;
    QStringList diameters;
};

// Whether the city must have an intensity formula: a calculation needs
// one; an adjustment of the table keeps the intensities it shows when the
// city has none (the numbers then hold no formula).
enum class CityFormula { Required, Optional };

// P and t1 must not be empty (in that order); then P, t1 and m must be
// numbers in their ranges, n a number above zero, and the city must have a
// formula where one is required.
std::optional<NetworkRefusal> CheckNetworkParameters(const NetworkParameters& parameters,
                                                     NetworkNumbers* numbers,
                                                     CityFormula city = CityFormula::Required);

// The design storm intensity in L/(s·ha) at a flow time T above the segment
// (min): the city's formula at P and t = t1 + m·T. No value outside the
// formula's domain.
std::optional<double> SegmentIntensity(const NetworkNumbers& numbers, double flowTimeMin);

// What carries from one segment to the next, as the network window keeps
// it: the flow time in the pipes above and the transferred area as plain
// decimal texts, and Σ Ψ·F of the segments so far.
struct NetworkRunningSums {
    QString flowTime = QStringLiteral("0");         // min
    QString transferredArea = QStringLiteral("0");  // ha
    double weightedRunoff = 0;                      // ha
};

// The segment steps for row `index`: writes every cell of `row` and carries
// the running sums on. On a refusal the sums and the row are part-written.
std::optional<NetworkRefusal> ComputeSegment(int index, const SegmentRow& segment,
                                             const NetworkNumbers& numbers,
                                             NetworkRunningSums& sums, ResultCells& row);

// Two of the segment steps, for the adjustment of the table too; a refusal
// names the segment of row `index`, whose cells may then be part-written.
//
// 暴雨强度 of the row at the flow time T above it (min), through "0.00".
// Refused outside the domain of the city's formula, or without a formula.
std::optional<NetworkRefusal> WriteSegmentIntensity(int index, const NetworkNumbers& numbers,
                                                    double flowTimeMin, ResultCells& row);
// From the row's 累计面积, 暴雨强度 and 平均径流系数 as shown: 单位流量,
// 设计流量 and the pipe (NetworkPipeSizing).
std::optional<NetworkRefusal> ComputeSegmentFlowAndPipe(int index, const NetworkNumbers& numbers,
                                                        ResultCells& row);

// A whole run: the rows of segments 0 to n − 1, the running sums after the
// last segment and the total length (plain decimal text of the sum of the
// 管段长度 as shown).
struct NetworkRun {
    std::vector<PackedCells> rows;
    NetworkRunningSums sums;
    QString totalLength;
};

// The run, empty when refused.
using NetworkOutcome = textio::Outcome<NetworkRun, NetworkField>;

NetworkOutcome CalculateNetwork(const NetworkParameters& parameters,
                                std::span<const SegmentRow> segments);

// A work file of the run that could not be written ("storm_in_temp.txt",
// "storm_out_temp.txt"): the run goes on, and the engineer is told why
// (`error`, "磁盘已满", ...) and that the work files were not updated, under
// "提示" with an exclamation mark, OK alone.
textio::Notice WorkFileFailureNotice(const QString& error);

}  // namespace storm_network
