#include "storm/storm_pipe_sizing.h"

#include "textio/field_values.h"

#include <array>
#include <cmath>

namespace storm {

namespace {

using B = FlowBound;

// The pipe materials by outlet kind, in list order.
constexpr QStringView kConcrete = u"砼管";
constexpr QStringView kHdpe = u"HDPE";
constexpr QStringView kRoofPlastic = u"塑料管";
constexpr QStringView kRoofCastIron = u"铸铁管";
constexpr QStringView kRoofSteel = u"钢管";

// Reinforced concrete outlet pipes: full-pipe capacity at the design slope,
// every bound strictly below. The d450 text carries a leading blank, as the
// result field has always shown it.
constexpr std::array<StormPipeSizingRow, 11> kConcreteRows = {{
    {B::Below, 52.944, u"d300", u"3"},
    {B::Below, 79.855, u"d350", u"3"},
    {B::Below, 93.117, u"d400", u"2"},
    {B::Below, 127.522, u" d450", u"2"},
    {B::Below, 168.86, u"d500", u"2"},
    {B::Below, 274.544, u"d600", u"2"},
    {B::Below, 414.093, u"d700", u"2"},
    {B::Below, 591.122, u"d800", u"2"},
    {B::Below, 809.847, u"d900", u"2"},
    {B::Below, 1072.068, u"d1000", u"2"},
    {B::Unbounded, 0.0, u">d1000", u"2"},
}};

// HDPE double-wall corrugated outlet pipes: the first bound strictly below,
// the others at most. Above DN700 no size is offered.
constexpr std::array<StormPipeSizingRow, 5> kHdpeRows = {{
    {B::Below, 68.848, u"DN300", u"3"},
    {B::AtMost, 121.014, u"DN400", u"2"},
    {B::AtMost, 219.519, u"DN500", u"2"},
    {B::AtMost, 357.105, u"DN600", u"2"},
    {B::AtMost, 538.398, u"DN700", u"2"},
}};

// Roof single outlets: discharge capacity of the outlet pipe, every bound at
// most; no slope.
constexpr std::array<StormPipeSizingRow, 5> kRoofPlasticRows = {{
    {B::AtMost, 5.71, u"De75", u""},
    {B::AtMost, 15.98, u"De110", u""},
    {B::AtMost, 32, u"De160", u""},
    {B::AtMost, 52, u"DN200", u""},
    {B::Unbounded, 0.0, u">DN200", u""},
}};

constexpr std::array<StormPipeSizingRow, 5> kRoofCastIronRows = {{
    {B::AtMost, 5.46, u"DN75", u""},
    {B::AtMost, 11.77, u"DN100", u""},
    {B::AtMost, 32, u"DN150", u""},
    {B::AtMost, 52, u"DN200", u""},
    {B::Unbounded, 0.0, u">DN200", u""},
}};

constexpr std::array<StormPipeSizingRow, 4> kRoofSteelRows = {{
    {B::AtMost, 11.77, u"DN100", u""},
    {B::AtMost, 32, u"DN150", u""},
    {B::AtMost, 52, u"DN200", u""},
    {B::Unbounded, 0.0, u">DN200", u""},
}};

bool Meets(const StormPipeSizingRow& row, double flow)
{
    switch (row.bound) {
    case B::Below:
        return flow < row.limit;
    case B::AtMost:
        return flow <= row.limit;
    case B::Unbounded:
        return true;
    }
    return false;
}

}  // namespace

double CatchmentDesignFlow(double runoffCoefficient, double intensity, double areaM2)
{
    return ((runoffCoefficient * intensity) * areaM2) / 10000.0;
}

std::optional<double> DesignFlowPerPipe(double runoffCoefficient, double intensity, double areaM2,
                                        double pipeCount)
{
    if (!(pipeCount > 0.0))
        return std::nullopt;
    const double flow = ((runoffCoefficient * intensity) * areaM2) / (pipeCount * 10000.0);
    if (!std::isfinite(flow))
        return std::nullopt;
    return flow;
}

QStringList StormPipeSizingTable::Materials(OutletKind kind)
{
    if (kind == OutletKind::Outdoor)
        return {kConcrete.toString(), kHdpe.toString()};
    return {kRoofPlastic.toString(), kRoofCastIron.toString(), kRoofSteel.toString()};
}

std::span<const StormPipeSizingRow> StormPipeSizingTable::Rows(OutletKind kind,
                                                               const QString& material)
{
    if (kind == OutletKind::Outdoor) {
        if (material == kConcrete)
            return kConcreteRows;
        if (material == kHdpe)
            return kHdpeRows;
    } else {
        if (material == kRoofPlastic)
            return kRoofPlasticRows;
        if (material == kRoofCastIron)
            return kRoofCastIronRows;
        if (material == kRoofSteel)
            return kRoofSteelRows;
    }
    return {};
}

OutletPipeChoice StormPipeSizingTable::Choose(OutletKind kind, const QString& material,
                                              double flowPerPipe)
{
    OutletPipeChoice choice;
    const std::span<const StormPipeSizingRow> rows = Rows(kind, material);
    if (rows.empty())
        return choice;  // UnknownMaterial: nothing is written

    choice.writesSlope = kind == OutletKind::Outdoor;
    if (!std::isfinite(flowPerPipe) || flowPerPipe < 0.0) {
        choice.status = OutletPipeStatus::InvalidFlow;
        choice.writesSlope = false;
        return choice;
    }

    for (const StormPipeSizingRow& row : rows) {
        if (Meets(row, flowPerPipe)) {
            choice.status = OutletPipeStatus::Chosen;
            choice.writesDiameter = true;
            choice.diameter = row.diameter.toString();
            choice.slope = row.slope.toString();
            return choice;
        }
    }
    // Only the HDPE list has no open-ended last row.
    choice.status = OutletPipeStatus::FlowTooLarge;
    choice.writesDiameter = true;
    choice.warning = textio::Notice{kHdpeFlowTooLargeMessage.toString(), textio::kWarningTitle,
                                    textio::box_style::kOkOnly};
    return choice;
}

}  // namespace storm
