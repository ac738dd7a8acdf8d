// The adjustment of one segment of a designed storm sewer run: the engineer
// imposes a diameter and a slope on segment row r of the result table, and
// the table follows.
//
// Row r keeps its design flow; its 水力坡度 is the typed slope through "0.0#",
// its 流速, 最大流量 and 管内时间 follow from the typed diameter by the
// full-pipe relations of the sizing (WritePipeHydraulics). When its capacity
// as shown is below its design flow as shown, only row r is rewritten, its
// capacity check Short (the window shows it in red). Otherwise every segment
// row below r is designed again from the table as shown, row after row:
//
//   累计面积   本段面积 + 转输面积 of the row
//   汇流时间   汇流时间 + 管内时间 of the row above (its new pipe time)
//   暴雨强度   the city's formula at P and t = t1 + m·汇流时间; kept as shown
//              when the city has no formula
//   单位流量, 设计流量 and the pipe: as the network calculation designs them
//              (ComputeSegmentFlowAndPipe), so a row below may change size.
//
// The design parameters are those of the network window at the moment of
// the adjustment. Row r and the rows below are computed into copies and
// written only when every one of them succeeded: a refused adjustment leaves
// the table as it was.
#pragma once

#include "storm_network/network_calculation.h"
#include "storm_network/result_table.h"
#include "textio/field_values.h"
#include "textio/refusal.h"

#include <QString>

#include <optional>

namespace storm_network {

inline const QString kAdjustmentTitle = textio::kHintTitle;

// What the engineer may impose: a diameter from the smallest pipe a sewer
// is laid in to well beyond the largest listed size, and a slope above zero
// up to a pipe laid at 45°.
inline constexpr textio::ValueRange kImposedDiameterRange{100, 5000, true};  // mm
inline constexpr textio::ValueRange kImposedSlopeRange = textio::positiveUpTo(1000);  // ‰

// What a refused adjustment names: the typed diameter, the typed slope, or
// the table and the network window's parameters it was made with.
enum class AdjustmentField { Diameter, Slope, Table };

inline const QString kCapacityShortMessage =
    QStringLiteral("最大允许流量小于设计流量，请重新确认管径及坡度！");

// An adjustment made: row r and the rows below it rewritten, or, with its
// capacity short of its design flow, row r alone, and the engineer told so
// (kCapacityShortMessage under kAdjustmentTitle, OK alone) before the
// adjustment is offered again.
struct Adjustment {
    std::optional<textio::Notice> capacityShort;
    // Whether any cell text of the table changed.
    bool changed = false;
};

// A refusal writes nothing.
using AdjustmentRefusal = textio::Refusal<AdjustmentField>;
using AdjustmentOutcome = textio::Outcome<Adjustment, AdjustmentField>;

// Imposes the typed diameter (mm) and slope (‰) on segment row `row`: both
// must be numbers in their ranges, the row one of the last calculation's
// segment rows and the parameters fit for a calculation (a city without a formula
// allowed).
AdjustmentOutcome AdjustSegment(ResultTable& table, int row, const QString& diameter,
                                const QString& slope, const NetworkParameters& parameters);

}  // namespace storm_network
