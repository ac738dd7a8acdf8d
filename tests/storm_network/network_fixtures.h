// The network window's opening state as the network tests use it: 天津市,
// P 2, t1 10, m 2.0, reinforced concrete pipe at n 0.013.
#pragma once

#include "storm_network/network_calculation.h"
#include "storm_network/network_catalogue.h"
#include "storm_network/storm_network_report.h"

namespace storm_network::testing {

inline NetworkParameters openingParameters()
{
    return NetworkParameters{
        .returnPeriod = QStringLiteral("2"),
        .initialTime = QStringLiteral("10"),
        .reduction = QStringLiteral("2.0"),
        .city = QStringLiteral("天津市"),
        .roughness = QStringLiteral("0.013"),
        .diameters = NetworkDiameterList(kReinforcedConcretePipe),
    };
}

// The same with HDPE double-wall corrugated pipe at n 0.01.
inline NetworkParameters corrugatedPipeParameters()
{
    NetworkParameters parameters = openingParameters();
    parameters.roughness = QStringLiteral("0.01");
    parameters.diameters = NetworkDiameterList(kHdpeCorrugatedPipe);
    return parameters;
}

// The texts the report's header copies from the opening window.
inline ReportHeader openingHeader()
{
    return ReportHeader{
        .province = QStringLiteral("天津市"),
        .city = QStringLiteral("天津市"),
        .formulaSymbol = QStringLiteral("q="),
        .formulaNumerator = QStringLiteral("3841(1+0.85lgP)"),
        .formulaDenominator = QStringLiteral("(t+17)^0.85"),
        .returnPeriod = QStringLiteral("2"),
        .reduction = QStringLiteral("2.0"),
        .initialTime = QStringLiteral("10"),
        .material = QStringLiteral("钢筋混凝土管"),
    };
}

}  // namespace storm_network::testing
