#include "hydraulics/supply_pipe_flow.h"

#include <cmath>

namespace hydraulics::SupplyPipeFlow {

double unitHeadLoss(double k, double C, double d, double Q)
{
    const double a = std::pow(C, -1.85);
    const double b = (k * 10.5) * a;
    const double c = std::pow(d / 1000, -4.87) * b;
    return std::pow(Q / 3600, 1.85) * c;
}

double velocity(double Q, double d)
{
    return ((Q * 4000) * 1000) / (std::pow(d, 2) * 11309.73354);
}

} // namespace hydraulics::SupplyPipeFlow
