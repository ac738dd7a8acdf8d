// Water supply pipe hydraulics by Hazen-Williams.
#pragma once

namespace hydraulics::SupplyPipeFlow {

// Unit head loss i in metres of water per metre of pipe:
//   i = 10.5 · k · C^-1.85 · (d/1000)^-4.87 · (Q/3600)^1.85
// with Q the flow in t/h (= m³/h), d the inner diameter in mm, k the water
// temperature factor and C the Hazen-Williams coefficient. The order of
// operations is that of the design tables the results are checked against.
// Not finite where an input is out of range (C or d of zero, say): the caller
// checks.
double unitHeadLoss(double k, double C, double d, double Q);

// Mean velocity in m/s for Q in t/h and d in mm:
//   v = Q · 4000 · 1000 / (d² · 11309.73354), where 11309.73354 is 3600·π.
double velocity(double Q, double d);

} // namespace hydraulics::SupplyPipeFlow
