// Pipe sizing of a network segment: the choice of diameter and slope, and the
// velocity, capacity and flow time written into the row as shown.
#include "storm_network/network_pipe_sizing.h"
#include "forms/testing/text.h"

#include "textio/numtext.h"
#include "segment_file_bytes.h"  // texts printed as text in failures

#include "storm_network/network_catalogue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace storm_network;

namespace {

using forms::testing::S;

const QStringList& kConcrete = NetworkDiameterList(kReinforcedConcretePipe);
const QStringList& kHdpe = NetworkDiameterList(kHdpeCorrugatedPipe);
constexpr double kConcreteN = 0.013;
constexpr double kHdpeN = 0.01;

// A row as the calculation hands it to the sizing: its length and design
// flow written, the pipe cells empty.
ResultCells rowWith(const char* length, const char* flow)
{
    ResultCells row;
    row[kLength] = S(length);
    row[kDesignFlow] = S(flow);
    return row;
}

struct SizingCase {
    const char* name;
    const char* flow;
    bool hdpe;
    const char* diameter;
    const char* slope;
    const char* velocity;
    const char* capacity;
    const char* pipeTime;
};

}  // namespace

TEST(NetworkPipeSizing, WritesTheFiveCellsOfARow)
{
    // Segment length 100 m throughout.
    const SizingCase cases[] = {
        {"small flow at the floor size", "10.00", false, "300", "3.0", "0.14", "52.965", "11.905"},
        {"just below the floor size's limit", "52.00", false, "300", "3.0", "0.74", "52.965", "2.252"},
        {"just above it, 350 at 2 per mille", "53.00", false, "350", "2.0", "0.55", "65.233", "3.030"},
        {"catalogue walk", "100.00", false, "450", "2.0", "0.63", "127.503", "2.646"},
        {"catalogue walk, HDPE", "100.00", true, "400", "2.0", "0.80", "121.076", "2.083"},
        {"largest size passes the walk", "20000.00", false, "3000", "2.0", "2.83", "20072.965", "0.589"},
        {"slope search", "30000.00", false, "3000", "4.5", "4.24", "30109.448", "0.393"},
        {"steep slope search", "50000.00", false, "3000", "12.5", "7.07", "50182.414", "0.236"},
    };
    for (const SizingCase& c : cases) {
        SCOPED_TRACE(c.name);
        ResultCells row = rowWith("100.00", c.flow);
        const SizingStatus status =
            NetworkPipeSizing(row, c.hdpe ? kHdpeN : kConcreteN, c.hdpe ? kHdpe : kConcrete);
        EXPECT_EQ(status, SizingStatus::Sized);
        EXPECT_EQ(row[kDiameter], S(c.diameter));
        EXPECT_EQ(row[kSlope], S(c.slope));
        EXPECT_EQ(row[kVelocity], S(c.velocity));
        EXPECT_EQ(row[kCapacity], S(c.capacity));
        EXPECT_EQ(row[kPipeTime], S(c.pipeTime));
        // Nothing else of the row is written.
        EXPECT_EQ(row[kLength], S("100.00"));
        EXPECT_EQ(row[kDesignFlow], S(c.flow));
        EXPECT_TRUE(row[kFlowTime].isEmpty());
        EXPECT_TRUE(row[kIntensity].isEmpty());
    }
}

TEST(NetworkPipeSizing, RequiredDiametersOfTheBoundaryFlows)
{
    EXPECT_NEAR(*RequiredDiameterMm(52, kConcreteN, 0.003), 297.9, 0.05);
    EXPECT_NEAR(*RequiredDiameterMm(53, kConcreteN, 0.003), 300.07, 0.005);
    EXPECT_NEAR(*RequiredDiameterMm(53, kConcreteN, 0.002), 323.8, 0.05);
    EXPECT_NEAR(*RequiredDiameterMm(100, kConcreteN, 0.002), 410.8, 0.05);
    EXPECT_NEAR(*RequiredDiameterMm(100, kHdpeN, 0.002), 372.3, 0.05);
    EXPECT_NEAR(*RequiredDiameterMm(20000, kConcreteN, 0.002), 2995.9, 0.05);
    EXPECT_EQ(*RequiredDiameterMm(0, kConcreteN, 0.003), 0);
    EXPECT_FALSE(RequiredDiameterMm(-1, kConcreteN, 0.003));
}

TEST(NetworkPipeSizing, ASizeEqualToTheRequiredDiameterIsPassedOver)
{
    const double required = *RequiredDiameterMm(100, kConcreteN, 0.002);
    const QString exact = QString::number(required, 'g', 17);
    ASSERT_EQ(textio::readNumber(exact), required);
    const QString above = QString::number(std::nextafter(required, 1e9), 'g', 17);

    EXPECT_EQ(ChooseNetworkPipe(100, kConcreteN, {S("300"), exact, S("450"), S("3000")}),
              (PipeChoice{S("450"), S("2")}));
    EXPECT_EQ(ChooseNetworkPipe(100, kConcreteN, {S("300"), above, S("450"), S("3000")}),
              (PipeChoice{above, S("2")}));
}

TEST(NetworkPipeSizing, TheSlopeSearchAddsUpItsSteps)
{
    // The slope is a sum of 0.1 steps: near 6 ‰ its plain text has many
    // digits, and "0.0#" rounds it.
    EXPECT_EQ(ChooseNetworkPipe(34600, kConcreteN, kConcrete),
              (PipeChoice{S("3000"), S("5.99999999999999")}));
    ResultCells row = rowWith("100.00", "34600.00");
    ASSERT_EQ(NetworkPipeSizing(row, kConcreteN, kConcrete), SizingStatus::Sized);
    EXPECT_EQ(row[kSlope], S("6.0"));

    // After 180 steps the sum is just above 20, so 19.9 ‰ is the last slope
    // tried: 3000 mm carries 63317.4 L/s there and 63476.3 L/s at 20 ‰.
    EXPECT_EQ(ChooseNetworkPipe(63300, kConcreteN, kConcrete), (PipeChoice{S("3000"), S("19.9")}));
    EXPECT_FALSE(ChooseNetworkPipe(63400, kConcreteN, kConcrete));
    EXPECT_EQ(ChooseNetworkPipe(82300, kHdpeN, kHdpe), (PipeChoice{S("3000"), S("19.9")}));
    EXPECT_FALSE(ChooseNetworkPipe(82400, kHdpeN, kHdpe));
}

TEST(NetworkPipeSizing, FlowsItCannotSize)
{
    struct Case {
        const char* name;
        const char* flow;
        double n;
        SizingStatus status;
    };
    const Case cases[] = {
        {"no pipe carries it", "63400.00", kConcreteN, SizingStatus::NoPipeLargeEnough},
        {"negative flow", "-0.01", kConcreteN, SizingStatus::NegativeFlow},
        {"flow of zero: velocity 0.00", "0.00", kConcreteN, SizingStatus::ZeroVelocity},
        {"velocity rounds to 0.00", "0.35", kConcreteN, SizingStatus::ZeroVelocity},
        {"empty flow", "", kConcreteN, SizingStatus::FlowNotANumber},
        {"roughness of zero", "10.00", 0, SizingStatus::BadRoughness},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResultCells row = rowWith("100.00", c.flow);
        row[kDiameter] = S("800");
        row[kSlope] = S("2.5");
        EXPECT_EQ(NetworkPipeSizing(row, c.n, kConcrete), c.status);
        if (c.status == SizingStatus::NoPipeLargeEnough || c.status == SizingStatus::NegativeFlow) {
            // The row keeps the diameter and slope it had.
            EXPECT_EQ(row[kDiameter], S("800"));
            EXPECT_EQ(row[kSlope], S("2.5"));
        }
    }
    // Just above the limit the velocity shows 0.01 and the time is finite.
    ResultCells row = rowWith("100.00", "0.36");
    EXPECT_EQ(NetworkPipeSizing(row, kConcreteN, kConcrete), SizingStatus::Sized);
    EXPECT_EQ(row[kVelocity], S("0.01"));
    EXPECT_EQ(row[kPipeTime], S("166.667"));
}

TEST(NetworkPipeSizing, HydraulicsOfAnImposedPipeUseTheCellsAsShown)
{
    // A diameter and slope typed by the engineer: the slope is shown with at
    // most two decimals and enters the capacity so.
    ResultCells row = rowWith("120.00", "100.00");
    row[kDiameter] = S("500");
    row[kSlope] = S("2.345");
    EXPECT_EQ(WritePipeHydraulics(row, kConcreteN), SizingStatus::Sized);
    EXPECT_EQ(row[kDiameter], S("500"));
    EXPECT_EQ(row[kSlope], S("2.35"));
    EXPECT_EQ(row[kVelocity], S("0.51"));
    // 1000 · 3.1415926 · 0.5^(8/3) · √0.00235 / (4^(5/3) · 0.013)
    EXPECT_EQ(row[kCapacity], S("183.046"));
    EXPECT_EQ(row[kPipeTime], S("3.922"));  // 120 / (0.51 · 60)

    row[kDiameter] = S("abc");
    EXPECT_EQ(WritePipeHydraulics(row, kConcreteN), SizingStatus::BadPipeCell);
}
