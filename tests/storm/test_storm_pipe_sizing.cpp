#include "storm/storm_pipe_sizing.h"

#include "catalogues/flow_units.h"

#include "catalogues/storm_intensity_catalogue.h"
#include "textio/numtext.h"
#include "forms/testing/text.h"

#include <gtest/gtest.h>

#include <limits>

using storm::CatchmentDesignFlow;
using storm::DesignFlowPerPipe;
using storm::OutletKind;
using storm::OutletPipeStatus;
using storm::StormPipeSizingTable;

namespace {

using forms::testing::S;

struct SizingRow {
    OutletKind kind;
    const char* material;
    double flow;
    const char* diameter;
    const char* slope;
};

void ExpectChosen(const SizingRow& row)
{
    const auto choice = StormPipeSizingTable::Choose(row.kind, S(row.material), row.flow);
    EXPECT_EQ(choice.status, OutletPipeStatus::Chosen) << row.material << " " << row.flow;
    EXPECT_EQ(choice.diameter, S(row.diameter)) << row.material << " " << row.flow;
    EXPECT_EQ(choice.slope, S(row.slope)) << row.material << " " << row.flow;
    EXPECT_EQ(choice.writesSlope, row.kind == OutletKind::Outdoor);
}

}  // namespace

TEST(StormPipeSizingTable, ConcreteBoundsAreStrictlyBelow)
{
    const SizingRow rows[] = {
        {OutletKind::Outdoor, "砼管", 0, "d300", "3"},
        {OutletKind::Outdoor, "砼管", 52.943, "d300", "3"},
        {OutletKind::Outdoor, "砼管", 52.944, "d350", "3"},
        {OutletKind::Outdoor, "砼管", 79.855, "d400", "2"},
        {OutletKind::Outdoor, "砼管", 93.116, "d400", "2"},
        {OutletKind::Outdoor, "砼管", 93.117, " d450", "2"},
        {OutletKind::Outdoor, "砼管", 127.522, "d500", "2"},
        {OutletKind::Outdoor, "砼管", 168.86, "d600", "2"},
        {OutletKind::Outdoor, "砼管", 274.544, "d700", "2"},
        {OutletKind::Outdoor, "砼管", 414.093, "d800", "2"},
        {OutletKind::Outdoor, "砼管", 591.122, "d900", "2"},
        {OutletKind::Outdoor, "砼管", 809.847, "d1000", "2"},
        {OutletKind::Outdoor, "砼管", 1072.067, "d1000", "2"},
        {OutletKind::Outdoor, "砼管", 1072.068, ">d1000", "2"},
        {OutletKind::Outdoor, "砼管", 1e9, ">d1000", "2"},
    };
    for (const SizingRow& row : rows)
        ExpectChosen(row);
}

TEST(StormPipeSizingTable, HdpeFirstBoundStrictOthersAtMost)
{
    const SizingRow rows[] = {
        {OutletKind::Outdoor, "HDPE", 68.847, "DN300", "3"},
        {OutletKind::Outdoor, "HDPE", 68.848, "DN400", "2"},
        {OutletKind::Outdoor, "HDPE", 121.014, "DN400", "2"},
        {OutletKind::Outdoor, "HDPE", 121.015, "DN500", "2"},
        {OutletKind::Outdoor, "HDPE", 219.519, "DN500", "2"},
        {OutletKind::Outdoor, "HDPE", 357.105, "DN600", "2"},
        {OutletKind::Outdoor, "HDPE", 357.106, "DN700", "2"},
        {OutletKind::Outdoor, "HDPE", 538.398, "DN700", "2"},
    };
    for (const SizingRow& row : rows)
        ExpectChosen(row);
}

TEST(StormPipeSizingTable, HdpeOverflowEmptiesBothFieldsAndWarns)
{
    for (double flow : {538.399, 1000.0}) {
        const auto choice = StormPipeSizingTable::Choose(OutletKind::Outdoor, S("HDPE"), flow);
        EXPECT_EQ(choice.status, OutletPipeStatus::FlowTooLarge);
        EXPECT_TRUE(choice.diameter.isEmpty());
        EXPECT_TRUE(choice.slope.isEmpty());
        EXPECT_TRUE(choice.writesSlope);
    }
    EXPECT_EQ(storm::kHdpeFlowTooLargeMessage.toString(),
              S("水量过大，请增加出水管道数量或换用钢筋混凝土管！"));
}

TEST(StormPipeSizingTable, RoofBoundsAreAtMostAndWriteNoSlope)
{
    const OutletKind roof = OutletKind::RoofSingleOutlet;
    const SizingRow rows[] = {
        {roof, "塑料管", 5.46, "De75", ""},
        {roof, "塑料管", 5.71, "De75", ""},
        {roof, "塑料管", 5.72, "De110", ""},
        {roof, "塑料管", 11.77, "De110", ""},
        {roof, "塑料管", 15.98, "De110", ""},
        {roof, "塑料管", 15.99, "De160", ""},
        {roof, "塑料管", 32, "De160", ""},
        {roof, "塑料管", 52, "DN200", ""},
        {roof, "塑料管", 52.01, ">DN200", ""},
        {roof, "铸铁管", 5.46, "DN75", ""},
        {roof, "铸铁管", 5.47, "DN100", ""},
        {roof, "铸铁管", 11.77, "DN100", ""},
        {roof, "铸铁管", 15.98, "DN150", ""},
        {roof, "铸铁管", 32, "DN150", ""},
        {roof, "铸铁管", 32.01, "DN200", ""},
        {roof, "铸铁管", 52, "DN200", ""},
        {roof, "铸铁管", 52.01, ">DN200", ""},
        {roof, "钢管", 0, "DN100", ""},
        {roof, "钢管", 11.77, "DN100", ""},
        {roof, "钢管", 11.78, "DN150", ""},
        {roof, "钢管", 32, "DN150", ""},
        {roof, "钢管", 52, "DN200", ""},
        {roof, "钢管", 52.01, ">DN200", ""},
    };
    for (const SizingRow& row : rows)
        ExpectChosen(row);
}

TEST(StormPipeSizingTable, MaterialsOfTheOtherOutletKindAreUnknown)
{
    struct Row {
        OutletKind kind;
        const char* material;
    };
    const Row rows[] = {
        {OutletKind::RoofSingleOutlet, "砼管"},  // the material shown right after loading
        {OutletKind::RoofSingleOutlet, "HDPE"},
        {OutletKind::Outdoor, "钢管"},
        {OutletKind::Outdoor, "hdpe"},
        {OutletKind::Outdoor, "砼管 "},
        {OutletKind::Outdoor, "请选择管材"},
        {OutletKind::Outdoor, ""},
    };
    for (const Row& row : rows) {
        const auto choice = StormPipeSizingTable::Choose(row.kind, S(row.material), 50);
        EXPECT_EQ(choice.status, OutletPipeStatus::UnknownMaterial) << row.material;
        EXPECT_FALSE(choice.writesSlope);
        EXPECT_TRUE(StormPipeSizingTable::Rows(row.kind, S(row.material)).empty());
    }
    EXPECT_EQ(StormPipeSizingTable::Materials(OutletKind::Outdoor),
              QStringList({S("砼管"), S("HDPE")}));
    EXPECT_EQ(StormPipeSizingTable::Materials(OutletKind::RoofSingleOutlet),
              QStringList({S("塑料管"), S("铸铁管"), S("钢管")}));
}

TEST(StormPipeSizingTable, FlowsThatAreNoFlowAreRefused)
{
    for (double flow : {-0.001, std::numeric_limits<double>::quiet_NaN(),
                        std::numeric_limits<double>::infinity()}) {
        for (const char* material : {"砼管", "HDPE"}) {
            const auto choice = StormPipeSizingTable::Choose(OutletKind::Outdoor, S(material), flow);
            EXPECT_EQ(choice.status, OutletPipeStatus::InvalidFlow) << material << " " << flow;
            EXPECT_TRUE(choice.diameter.isEmpty());
        }
    }
}

TEST(DesignFlow, PipeCountMustBePositive)
{
    EXPECT_FALSE(DesignFlowPerPipe(0.9, 233.23, 10000, 0).has_value());
    EXPECT_FALSE(DesignFlowPerPipe(0.9, 233.23, 10000, -1).has_value());
    EXPECT_FALSE(DesignFlowPerPipe(0.9, 233.23, 10000,
                                   std::numeric_limits<double>::quiet_NaN())
                     .has_value());
    EXPECT_DOUBLE_EQ(*DesignFlowPerPipe(0.65, 200, 5000, 1), CatchmentDesignFlow(0.65, 200, 5000));
}

// 天津市, P = 1, t = 10, Ψ = 0.9, F = 10000 m², N = 2, with the intensity
// read back from its field text as the window does.
TEST(DesignFlow, WorkedExampleTianjin)
{
    const auto q = catalogues::StormIntensity(S("天津市"), 1, 10);
    ASSERT_TRUE(q.has_value());
    const auto qShown = textio::readNumber(textio::generalNumberText(*q));
    ASSERT_TRUE(qShown.has_value());
    EXPECT_NEAR(*qShown, 233.23, 0.005);

    EXPECT_NEAR(CatchmentDesignFlow(0.9, *qShown, 10000), 209.91, 0.005);
    const auto perPipe = DesignFlowPerPipe(0.9, *qShown, 10000, 2);
    ASSERT_TRUE(perPipe.has_value());
    EXPECT_NEAR(*perPipe, 104.95, 0.005);
    const auto perPipeShown = textio::readNumber(textio::generalNumberText(*perPipe));
    ASSERT_TRUE(perPipeShown.has_value());
    EXPECT_NEAR(catalogues::cubicMetresPerHour(*perPipeShown), 377.83, 0.005);

    ExpectChosen({OutletKind::Outdoor, "砼管", *perPipeShown, " d450", "2"});
    ExpectChosen({OutletKind::Outdoor, "HDPE", *perPipeShown, "DN400", "2"});
}
