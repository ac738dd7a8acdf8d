// Design flow of one catchment by the rational method and the choice of its
// outlet pipe: diameter and design slope by material for an outdoor outlet,
// diameter by material for a roof single outlet.
#pragma once

#include "textio/refusal.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <span>

namespace storm {

// ------------------------------------------------------------ design flow

// Total design flow in L/s: ((Ψ × q) × F) ÷ 10000, with q in L/(s·ha) and
// the catchment area F in m² (F ÷ 10000 is the area in ha).
double CatchmentDesignFlow(double runoffCoefficient, double intensity, double areaM2);

// Design flow per outlet pipe in L/s: ((Ψ × q) × F) ÷ (N × 10000), formed
// from the inputs, not from the total. No value for a pipe count that is not
// positive, or a result that is not finite.
std::optional<double> DesignFlowPerPipe(double runoffCoefficient, double intensity, double areaM2,
                                        double pipeCount);

// ------------------------------------------------------------ outlet pipe

enum class OutletKind {
    RoofSingleOutlet,  // "屋面(单斗)"
    Outdoor,           // "室外"
};

enum class FlowBound {
    Below,      // flow < limit
    AtMost,     // flow <= limit
    Unbounded,  // any larger flow
};

struct StormPipeSizingRow {
    FlowBound bound;
    double limit;         // L/s per pipe; unused for Unbounded
    QStringView diameter; // diameter text, e.g. "d300", " d450", "DN400", ">DN200"
    QStringView slope;    // design slope in ‰ ("3" or "2"); empty for roof outlets
};

enum class OutletPipeStatus {
    Chosen,           // a row decided: diameter (and slope for outdoor outlets)
    FlowTooLarge,     // HDPE above its largest size: empty diameter and slope, warn
    UnknownMaterial,  // not a material of the outlet kind: leave the fields as they are
    InvalidFlow,      // flow per pipe negative or not a finite number
};

// What the window shows of the choice: the diameter (and the slope) written
// into their fields, then the warning, if any.
struct OutletPipeChoice {
    OutletPipeStatus status = OutletPipeStatus::UnknownMaterial;
    QString diameter;             // for Chosen; empty for FlowTooLarge
    QString slope;                // for Chosen outdoor outlets; empty otherwise
    bool writesDiameter = false;  // Chosen and FlowTooLarge write (or empty) the diameter
    bool writesSlope = false;     // outdoor outlets write (or empty) the slope; roof outlets never
    // FlowTooLarge: kHdpeFlowTooLargeMessage under "警告", OK alone, no icon.
    std::optional<textio::Notice> warning;
};

// The warning when an HDPE outlet cannot carry the flow per pipe.
inline constexpr QStringView kHdpeFlowTooLargeMessage =
    u"水量过大，请增加出水管道数量或换用钢筋混凝土管！";

class StormPipeSizingTable {
public:
    // Materials offered for an outlet kind, in list order: "砼管", "HDPE"
    // outdoors; "塑料管", "铸铁管", "钢管" on a roof.
    static QStringList Materials(OutletKind kind);

    // The rows of one material, tried from the top; empty for a text that is
    // no material of the outlet kind (exact comparison).
    static std::span<const StormPipeSizingRow> Rows(OutletKind kind, const QString& material);

    // The outlet pipe for a flow per pipe in L/s: the first row whose bound
    // the flow meets.
    static OutletPipeChoice Choose(OutletKind kind, const QString& material,
                                   double flowPerPipe);
};

}  // namespace storm
