#include "building_services/septic_tank_design.h"

#include "textio/numtext.h"

#include <cmath>
#include <limits>

namespace building_services {

namespace {

// A value as its field holds it: written as its shortest text and read
// back. Not finite values stay as they are.
double carried(double value)
{
    if (!std::isfinite(value))
        return value;
    return textio::readNumber(textio::generalNumberText(value))
        .value_or(std::numeric_limits<double>::quiet_NaN());
}

bool usablePerUserVolume(double u)
{
    return std::isfinite(u) && u > 0;
}

} // namespace

double sewageVolume(const SepticTankInputs& in)
{
    return in.users * in.usageFactor * in.quotaLitres * in.retentionHours / 24000;
}

double sludgeVolume(const SepticTankInputs& in)
{
    return in.sludgeConstant * in.users * in.usageFactor * in.cleaningDays * 1.2;
}

double perUserVolume(const SepticTankInputs& in)
{
    const double sludge = 120000 * in.sludgeConstant * in.cleaningDays;
    const double sewage = 4.17 * in.quotaLitres * in.retentionHours;
    return 1e-5 * in.usageFactor * (sludge + sewage);
}

SepticTankDesign designSepticTank(const SepticTankInputs& in)
{
    SepticTankDesign out;
    const double V1 = carried(sewageVolume(in));
    double V2 = carried(sludgeVolume(in));
    double V = carried(V2 + V1);
    if (!std::isfinite(V1) || !std::isfinite(V2) || !std::isfinite(V) || !(V > 0)) {
        out.status = SepticDesignStatus::VolumeOutOfRange;
        return out;
    }
    const double share = carried(V2 / V);
    out.sewageVolume = textio::generalNumberText(V1);
    out.sludgeShare = textio::generalNumberText(share);

    // Small tanks: the sludge part may take no more than its share of the
    // volume; the sewage part then sets the volume.
    if (V <= kShareLimitVolume && share > kSludgeShareLimit) {
        V = carried(V1 / kSewageShareAtLimit);
        V2 = carried(kSludgeShareLimit * V);
        out.shareLimited = true;
    }
    out.sludgeVolume = textio::generalNumberText(V2);

    out.tank = SepticTankCatalogue::smallestHolding(V);
    if (out.tank)
        V = out.tank->effectiveVolume;
    out.volume = textio::generalNumberText(V);

    const double u = perUserVolume(in);
    const double users = carried(V / u);
    if (!usablePerUserVolume(u) || !std::isfinite(users)) {
        out = SepticTankDesign{};
        out.status = SepticDesignStatus::PerUserVolumeOutOfRange;
        return out;
    }
    out.usersServed = textio::generalNumberText(users);
    out.usersServedShown = textio::formatNumber(users, QStringLiteral("#"));
    out.status = SepticDesignStatus::Designed;
    return out;
}

std::optional<QString> handPickedTankUsers(const StandardTank& tank, const SepticTankInputs& in)
{
    const double u = perUserVolume(in);
    const double users = carried(tank.effectiveVolume / u);
    if (!usablePerUserVolume(u) || !std::isfinite(users))
        return std::nullopt;
    return textio::generalNumberText(std::floor(users));
}

} // namespace building_services
