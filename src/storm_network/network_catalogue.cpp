#include "storm_network/network_catalogue.h"

#include "hydraulics/drainage_flow.h"
#include "textio/numtext.h"

namespace storm_network {

const QStringList& NetworkMaterials()
{
    static const QStringList materials = {QStringLiteral("钢筋混凝土管"),
                                          QStringLiteral("HDPE双壁波纹管")};
    return materials;
}

const QStringList& NetworkDiameterList(int position)
{
    static const QStringList concrete = {
        QStringLiteral("300"),  QStringLiteral("350"),  QStringLiteral("400"),
        QStringLiteral("450"),  QStringLiteral("500"),  QStringLiteral("600"),
        QStringLiteral("700"),  QStringLiteral("800"),  QStringLiteral("900"),
        QStringLiteral("1000"), QStringLiteral("1100"), QStringLiteral("1200"),
        QStringLiteral("1250"), QStringLiteral("1300"), QStringLiteral("1350"),
        QStringLiteral("1400"), QStringLiteral("1500"), QStringLiteral("1600"),
        QStringLiteral("1640"), QStringLiteral("1800"), QStringLiteral("2000"),
        QStringLiteral("2100"), QStringLiteral("2200"), QStringLiteral("2300"),
        QStringLiteral("2400"), QStringLiteral("2500"), QStringLiteral("2600"),
        QStringLiteral("2700"), QStringLiteral("2800"), QStringLiteral("2900"),
        QStringLiteral("3000"),
    };
    static const QStringList corrugated = {
        QStringLiteral("300"),  QStringLiteral("400"),  QStringLiteral("500"),
        QStringLiteral("600"),  QStringLiteral("700"),  QStringLiteral("800"),
        QStringLiteral("900"),  QStringLiteral("1000"), QStringLiteral("1200"),
        QStringLiteral("1400"), QStringLiteral("1500"), QStringLiteral("1600"),
        QStringLiteral("1800"), QStringLiteral("2000"), QStringLiteral("2200"),
        QStringLiteral("2500"), QStringLiteral("3000"),
    };
    static const QStringList none;
    switch (position) {
    case kReinforcedConcretePipe:
        return concrete;
    case kHdpeCorrugatedPipe:
        return corrugated;
    default:
        return none;
    }
}

const QStringList& NetworkRoughnessList()
{
    // As the network window shows them: "0.013", "0.01".
    static const QStringList roughness = {
        textio::generalNumberText(hydraulics::ManningRoughness::kConcreteFull),
        textio::generalNumberText(hydraulics::ManningRoughness::kCorrugated),
    };
    return roughness;
}

}  // namespace storm_network
