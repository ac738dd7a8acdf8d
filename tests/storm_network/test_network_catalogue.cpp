// The pipe catalogues of the network design: each material's diameters in
// the order the sizing walks them, and each material's roughness.
#include "storm_network/network_catalogue.h"

#include "textio/numtext.h"

#include <gtest/gtest.h>

namespace {

using namespace storm_network;

TEST(NetworkCatalogueTest, MaterialsTieTheirDiametersAndRoughnessByPosition)
{
    EXPECT_EQ(NetworkMaterials(),
              (QStringList{QStringLiteral("钢筋混凝土管"), QStringLiteral("HDPE双壁波纹管")}));
    EXPECT_EQ(NetworkMaterials().indexOf(QStringLiteral("钢筋混凝土管")), kReinforcedConcretePipe);
    EXPECT_EQ(NetworkMaterials().indexOf(QStringLiteral("HDPE双壁波纹管")), kHdpeCorrugatedPipe);
    EXPECT_EQ(NetworkRoughnessList(), (QStringList{QStringLiteral("0.013"), QStringLiteral("0.01")}));
    EXPECT_TRUE(NetworkDiameterList(-1).isEmpty());
    EXPECT_TRUE(NetworkDiameterList(2).isEmpty());
}

TEST(NetworkCatalogueTest, DiameterListsRiseFrom300To3000)
{
    struct Case {
        const char* name;
        int position;
        qsizetype count;
    };
    const Case cases[] = {
        {"reinforced concrete", kReinforcedConcretePipe, 31},
        {"HDPE corrugated", kHdpeCorrugatedPipe, 17},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QStringList& diameters = NetworkDiameterList(c.position);
        ASSERT_EQ(diameters.size(), c.count);
        EXPECT_EQ(diameters.first(), QStringLiteral("300"));
        EXPECT_EQ(diameters.last(), QStringLiteral("3000"));
        double previous = 0;
        for (const QString& d : diameters) {
            const std::optional<double> mm = textio::readNumber(d);
            ASSERT_TRUE(mm.has_value()) << d.toStdString();
            EXPECT_GT(*mm, previous) << d.toStdString();
            // Plain whole millimetres, as the window's list shows them.
            EXPECT_EQ(textio::generalNumberText(*mm), d);
            previous = *mm;
        }
    }
}

TEST(NetworkCatalogueTest, ConcretePipeHas1640InPlaceOf1700)
{
    const QStringList& concrete = NetworkDiameterList(kReinforcedConcretePipe);
    const qsizetype at = concrete.indexOf(QStringLiteral("1640"));
    ASSERT_GT(at, 0);
    EXPECT_EQ(concrete[at - 1], QStringLiteral("1600"));
    EXPECT_EQ(concrete[at + 1], QStringLiteral("1800"));
    EXPECT_FALSE(concrete.contains(QStringLiteral("1700")));
    EXPECT_EQ(concrete.mid(0, 6), (QStringList{"300", "350", "400", "450", "500", "600"}));

    EXPECT_EQ(NetworkDiameterList(kHdpeCorrugatedPipe),
              (QStringList{"300", "400", "500", "600", "700", "800", "900", "1000", "1200", "1400",
                           "1500", "1600", "1800", "2000", "2200", "2500", "3000"}));
}

}  // namespace
