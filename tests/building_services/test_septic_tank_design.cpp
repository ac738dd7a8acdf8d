// Septic tank volume, the small-tank sludge share limit, the standard tank
// and the users it serves, carried step by step at text precision.
#include "building_services/septic_tank_design.h"
#include "forms/testing/text.h"

#include <gtest/gtest.h>

#include <string>

using namespace building_services;

namespace {

using forms::testing::S;

} // namespace

namespace building_services {

void PrintTo(SepticDesignStatus status, std::ostream* os)
{
    switch (status) {
    case SepticDesignStatus::Designed: *os << "Designed"; return;
    case SepticDesignStatus::VolumeOutOfRange: *os << "VolumeOutOfRange"; return;
    case SepticDesignStatus::PerUserVolumeOutOfRange: *os << "PerUserVolumeOutOfRange"; return;
    }
}

} // namespace building_services

namespace {

// The window's initial inputs: one user of an office, 50 L a day, 12 h,
// cleaned every 180 days, combined system.
SepticTankInputs initialInputs()
{
    return {1, 0.4, 50, 12, 180, 0.00028};
}

SepticTankInputs with(double users, double quota)
{
    SepticTankInputs in = initialInputs();
    in.users = users;
    in.quotaLitres = quota;
    return in;
}

struct DesignRow {
    const char* name;
    SepticTankInputs in;
    const char* sewage;
    const char* sludge;
    const char* share;
    bool limited;
    const char* tank;  // list text; nullptr above 100 m³
    const char* volume;
    const char* users;
    const char* usersShown;
};

void expectDesign(const DesignRow& row)
{
    SCOPED_TRACE(row.name);
    const SepticTankDesign d = designSepticTank(row.in);
    ASSERT_EQ(d.status, SepticDesignStatus::Designed);
    EXPECT_EQ(d.sewageVolume, S(row.sewage));
    EXPECT_EQ(d.sludgeVolume, S(row.sludge));
    EXPECT_EQ(d.sludgeShare, S(row.share));
    EXPECT_EQ(d.shareLimited, row.limited);
    if (row.tank) {
        ASSERT_NE(d.tank, nullptr);
        EXPECT_EQ(d.tank->listText, S(row.tank));
    } else {
        EXPECT_EQ(d.tank, nullptr);
    }
    EXPECT_EQ(d.volume, S(row.volume));
    EXPECT_EQ(d.usersServed, S(row.users));
    EXPECT_EQ(d.usersServedShown, S(row.usersShown));
}

} // namespace

TEST(SepticTankDesign, FormulasOfTheParts)
{
    const SepticTankInputs in = initialInputs();
    EXPECT_DOUBLE_EQ(sewageVolume(in), 0.01);
    EXPECT_DOUBLE_EQ(sludgeVolume(in), 0.00028 * 0.4 * 180 * 1.2);
    // The sewage term's factor is 4.17 · 10^-5, not 1/24000.
    EXPECT_DOUBLE_EQ(perUserVolume(in), 1e-5 * 0.4 * (120000 * 0.00028 * 180 + 4.17 * 50 * 12));
    EXPECT_DOUBLE_EQ(perUserVolume(in), 0.0342);
    // N does not enter the per-user volume.
    EXPECT_EQ(perUserVolume(with(1000, 50)), perUserVolume(in));
}

TEST(SepticTankDesign, WorkedExamples)
{
    const DesignRow rows[] = {
        // The initial inputs: share 0.7075 > 0.7 makes V = V1 / 0.3, tank 1,
        // 2 / 0.0342 users.
        {"initial inputs", initialInputs(), "0.01", "0.0233333333333333", "0.707533926064577",
         true, "1-2", "2", "58.4795321637427", "58"},
        // The share limit leaves a larger tank alone.
        {"400 users, limited to tank 6", with(400, 50), "4", "9.33333333333331",
         "0.707533926064577", true, "6-16", "16", "467.836257309941", "468"},
        {"150 users, tank 3", with(150, 50), "1.5", "3.5", "0.707533926064577", true, "3-6", "6",
         "175.438596491228", "175"},
        // Tank 13 rounds its users up where the hand pick rounds down.
        {"2500 users, tank 13", with(2500, 50), "25", "60.48", "0.707533926064576", false,
         "13-100", "100", "2923.97660818713", "2924"},
        // Above 100 m³: no tank; the computed volume gives the users.
        {"above 100 m³", with(10000, 50), "100", "241.92", "0.707533926064576", false, nullptr,
         "341.92", "9997.66081871345", "9998"},
    };
    for (const DesignRow& row : rows)
        expectDesign(row);
}

TEST(SepticTankDesign, ShareLimitStrictlyAboveSevenTenthsUpTo25)
{
    const DesignRow rows[] = {
        // q = 51.84 makes V2 / V exactly 0.7: no limit.
        {"share exactly 0.7", with(1, 51.84), "0.010368", "0.024192", "0.7", false, "1-2", "2",
         "57.856484814015", "58"},
        {"share just above 0.7", with(1, 51.83), "0.010366", "0.0241873333333333",
         "0.700040511603681", true, "1-2", "2", "57.8598350587368", "58"},
        // V = 0.808 + 24.192 = 25 exactly: limited, V := V1 / 0.3 = 2.69.
        {"volume exactly 25", with(1000, 4.04), "0.808", "1.88533333333333", "0.96768", true,
         "2-4", "4", "159.995863146962", "160"},
        // V = 25.0001: no limit whatever the share.
        {"volume just above 25", with(1000, 4.0405), "0.8081", "24.192", "0.967676129295483",
         false, "9-30", "30", "1199.96417002985", "1200"},
    };
    for (const DesignRow& row : rows)
        expectDesign(row);
}

// A volume of exactly a tank's effective volume selects that tank; a volume
// a millionth of a cubic metre above it the next one. The sludge part here
// is 0.000192 m³ (one user, α 1, T 1 day, separate system), the sewage part
// the rest.
TEST(SepticTankDesign, ThirteenTankBoundsThroughTheCalculation)
{
    const std::span<const StandardTank> tanks = SepticTankCatalogue::tanks();
    for (std::size_t i = 0; i < tanks.size(); ++i) {
        const StandardTank& tank = tanks[i];
        SCOPED_TRACE(tank.listText.toString().toStdString());
        SepticTankInputs in{1, 1, tank.effectiveVolume * 1000 - 0.192, 24, 1, 0.00016};
        SepticTankDesign d = designSepticTank(in);
        ASSERT_EQ(d.status, SepticDesignStatus::Designed);
        EXPECT_FALSE(d.shareLimited);
        EXPECT_EQ(d.tank, &tank);
        EXPECT_EQ(d.volume, QString::number(tank.effectiveVolume));

        in.quotaLitres += 0.001;
        d = designSepticTank(in);
        ASSERT_EQ(d.status, SepticDesignStatus::Designed);
        if (i + 1 < tanks.size()) {
            EXPECT_EQ(d.tank, &tanks[i + 1]);
            EXPECT_EQ(d.volume, QString::number(tanks[i + 1].effectiveVolume));
        } else {
            EXPECT_EQ(d.tank, nullptr);
            EXPECT_EQ(d.volume, S("100.000001"));
        }
    }
}

TEST(SepticTankDesign, HandPickRoundsDown)
{
    const StandardTank* tank13 = SepticTankCatalogue::byListText(u"13-100");
    ASSERT_NE(tank13, nullptr);
    // 100 / 0.0342 = 2923.98: the whole part, whatever the users.
    EXPECT_EQ(handPickedTankUsers(*tank13, initialInputs()), S("2923"));
    EXPECT_EQ(handPickedTankUsers(*tank13, with(5000, 50)), S("2923"));
    const StandardTank* tank1 = SepticTankCatalogue::byListText(u"1-2");
    ASSERT_NE(tank1, nullptr);
    EXPECT_EQ(handPickedTankUsers(*tank1, initialInputs()), S("58"));
}

TEST(SepticTankDesign, OutOfRangeVolumesAndPerUserVolumes)
{
    struct Row {
        const char* name;
        SepticTankInputs in;
        SepticDesignStatus status;
    };
    const Row rows[] = {
        {"volume underflows to 0", with(1e-322, 50), SepticDesignStatus::VolumeOutOfRange},
        {"volume overflows", with(1e308, 1e308), SepticDesignStatus::VolumeOutOfRange},
        // α so small that u underflows to 0 while the volume is positive.
        {"per-user volume 0", {1e308, 1e-323, 50, 12, 180, 0.00028},
         SepticDesignStatus::PerUserVolumeOutOfRange},
        // q · t overflows: the sewage part first.
        {"sewage part infinite", {1, 1, 1e308, 1e308, 180, 0.00028},
         SepticDesignStatus::VolumeOutOfRange},
        // The share limit leaves V1 = 0, tank 1, and u is too small for 2 / u.
        {"users served infinite", {1, 1, 1e-200, 1e-200, 1e-300, 1e-20},
         SepticDesignStatus::PerUserVolumeOutOfRange},
    };
    const StandardTank& tank1 = SepticTankCatalogue::tanks().front();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const SepticTankDesign d = designSepticTank(row.in);
        EXPECT_EQ(d.status, row.status);
        EXPECT_EQ(d.tank, nullptr);
        EXPECT_TRUE(d.volume.isEmpty());
        EXPECT_TRUE(d.usersServedShown.isEmpty());
        if (row.status == SepticDesignStatus::PerUserVolumeOutOfRange) {
            EXPECT_EQ(handPickedTankUsers(tank1, row.in), std::nullopt);
        }
    }
}
