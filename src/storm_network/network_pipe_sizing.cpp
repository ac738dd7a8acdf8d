#include "storm_network/network_pipe_sizing.h"

#include "hydraulics/drainage_flow.h"
#include "textio/numtext.h"

#include <cmath>

namespace storm_network {

namespace {

using hydraulics::FullPipeManning::kNetworkPi;

// 1000·π (3141.5926 with the network's π): turns L/s into m³/s with π.
constexpr double kThousandPi = 1000 * kNetworkPi;

double fullPipeFactor()
{
    // 4^(5/3), the factor of Manning's formula for a pipe running full.
    static const double factor = std::pow(4.0, 5.0 / 3.0);
    return factor;
}

// The smallest size and its slope, taken below its capacity.
const QString kFloorDiameter = QStringLiteral("300");
const QString kFloorSlope = QStringLiteral("3");
constexpr double kFloorDiameterMm = 300;
constexpr double kFloorSlopeFraction = 0.003;
// The slope of the catalogue walk.
const QString kWalkSlope = QStringLiteral("2");
constexpr double kWalkSlopeFraction = 0.002;
// The largest size, tried at rising slopes.
const QString kLargestDiameter = QStringLiteral("3000");
constexpr double kLargestDiameterMm = 3000;
constexpr double kSearchFirstSlope = 2;
constexpr double kSearchLastSlope = 20;
constexpr double kSearchStep = 0.1;

}  // namespace

std::optional<double> RequiredDiameterMm(double flowLps, double n, double slopeFraction)
{
    if (!(flowLps >= 0))
        return std::nullopt;
    const double numerator = (n * flowLps) * fullPipeFactor();
    const double denominator = std::pow(slopeFraction, 0.5) * kThousandPi;
    const double diameter = std::pow(numerator / denominator, 3.0 / 8.0) * 1000;
    if (!std::isfinite(diameter))
        return std::nullopt;
    return diameter;
}

std::optional<PipeChoice> ChooseNetworkPipe(double flowLps, double n, const QStringList& diameters)
{
    if (!(n > 0))
        return std::nullopt;
    const std::optional<double> floorRequired = RequiredDiameterMm(flowLps, n, kFloorSlopeFraction);
    if (!floorRequired)
        return std::nullopt;
    if (*floorRequired < kFloorDiameterMm)
        return PipeChoice{kFloorDiameter, kFloorSlope};

    // The smallest size never passes here: D_req(0.002) > D_req(0.003) ≥ 300.
    const std::optional<double> walkRequired = RequiredDiameterMm(flowLps, n, kWalkSlopeFraction);
    if (!walkRequired)
        return std::nullopt;
    for (qsizetype k = 1; k < diameters.size(); ++k) {
        const std::optional<double> size = textio::readNumber(diameters[k]);
        if (size && *size > *walkRequired)
            return PipeChoice{diameters[k], kWalkSlope};
    }

    // The slopes are added up as they always were, so the tries are 2.0,
    // 2.1, … 19.9 ‰ (the 180th sum is 20.000000000000014) and some print
    // with many digits until "0.0#" rounds them.
    for (double s = kSearchFirstSlope; s <= kSearchLastSlope; s += kSearchStep) {
        const std::optional<double> required = RequiredDiameterMm(flowLps, n, s / 1000);
        if (required && *required < kLargestDiameterMm)
            return PipeChoice{kLargestDiameter, textio::generalNumberText(s)};
    }
    return std::nullopt;
}

double FullPipeVelocity(double flowLps, double diameterMm)
{
    const double d = diameterMm / 1000;
    return 4 * flowLps / ((d * d) * kThousandPi);
}

std::optional<double> FullPipeCapacity(double diameterMm, double slopePermille, double n)
{
    return hydraulics::FullPipeManning::capacityLps(diameterMm / 1000, slopePermille / 1000, n,
                                                    kNetworkPi);
}

const QString& LargestSearchedDiameter()
{
    return kLargestDiameter;
}

const QString& SteepestSearchedSlope()
{
    // The last sum of the search's steps that is still a slope it tries.
    static const QString slope = [] {
        double last = kSearchFirstSlope;
        for (double s = kSearchFirstSlope; s <= kSearchLastSlope; s += kSearchStep)
            last = s;
        return textio::formatNumber(last, CellPattern(kSlope));
    }();
    return slope;
}

SizingStatus WritePipeHydraulics(ResultCells& row, double n)
{
    if (!(n > 0))
        return SizingStatus::BadRoughness;
    const std::optional<double> flow = textio::readNumber(row[kDesignFlow]);
    if (!flow)
        return SizingStatus::FlowNotANumber;
    const std::optional<double> diameter = textio::readNumber(row[kDiameter]);
    const std::optional<double> slopeTyped = textio::readNumber(row[kSlope]);
    const std::optional<double> length = textio::readNumber(row[kLength]);
    if (!diameter || !slopeTyped || !length)
        return SizingStatus::BadPipeCell;

    const std::optional<double> slope = WriteShown(row[kSlope], kSlope, *slopeTyped);
    if (!slope)
        return SizingStatus::BadPipeCell;
    const std::optional<double> velocity =
        WriteShown(row[kVelocity], kVelocity, FullPipeVelocity(*flow, *diameter));
    if (!velocity)
        return SizingStatus::BadPipeCell;
    const std::optional<double> capacity = FullPipeCapacity(*diameter, *slope, n);
    if (!capacity || !WriteShown(row[kCapacity], kCapacity, *capacity))
        return SizingStatus::BadPipeCell;
    if (*velocity == 0)
        return SizingStatus::ZeroVelocity;
    if (!WriteShown(row[kPipeTime], kPipeTime, *length / (*velocity * 60)))
        return SizingStatus::BadPipeCell;
    return SizingStatus::Sized;
}

SizingStatus NetworkPipeSizing(ResultCells& row, double n, const QStringList& diameters)
{
    if (!(n > 0))
        return SizingStatus::BadRoughness;
    const std::optional<double> flow = textio::readNumber(row[kDesignFlow]);
    if (!flow)
        return SizingStatus::FlowNotANumber;
    if (*flow < 0)
        return SizingStatus::NegativeFlow;
    const std::optional<PipeChoice> choice = ChooseNetworkPipe(*flow, n, diameters);
    if (!choice)
        return SizingStatus::NoPipeLargeEnough;
    row[kDiameter] = choice->diameter;
    row[kSlope] = choice->slope;
    return WritePipeHydraulics(row, n);
}

bool SizeFirstRow(ResultTable& table, const QString& n, const QStringList& diameters)
{
    const std::optional<double> flow = textio::readNumber(table.text(0, kDesignFlow));
    const std::optional<double> roughness = textio::readNumber(n);
    if (!flow || !roughness)
        return false;
    const std::optional<PipeChoice> choice = ChooseNetworkPipe(*flow, *roughness, diameters);
    if (!choice)
        return false;
    table.setText(0, kDiameter, choice->diameter);
    table.setText(0, kSlope, choice->slope);
    return true;
}

}  // namespace storm_network
