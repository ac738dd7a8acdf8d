// Flow units of the calculators: flows are typed and shown in L/s and in
// m³/h, 1 L/s = 3.6 m³/h.
#pragma once

namespace catalogues {

inline constexpr double kCubicMetresPerHourPerLitrePerSecond = 3.6;

constexpr double cubicMetresPerHour(double litresPerSecond)
{
    return litresPerSecond * kCubicMetresPerHourPerLitrePerSecond;
}

constexpr double litresPerSecond(double cubicMetresPerHour)
{
    return cubicMetresPerHour / kCubicMetresPerHourPerLitrePerSecond;
}

} // namespace catalogues
