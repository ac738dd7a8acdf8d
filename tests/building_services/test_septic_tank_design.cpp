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

// One office user: V1 = 1 · 0.4 · 50 · 12 / 24000 = 0.01,
// V2 = 0.00028 · 1 · 0.4 · 180 · 1.2 = 0.024192,
// u = 10^-5 · 0.4 · (120000 · 0.00028 · 180 + 4.17 · 50 · 12)
//   = 10^-5 · 0.4 · (6048 + 2502) = 0.0342.
TEST(SepticTankDesign, VolumesOfOneOfficeUserAndTheVolumePerUser)
{
    const SepticTankInputs in = initialInputs();
    EXPECT_DOUBLE_EQ(sewageVolume(in), 0.01);
    EXPECT_DOUBLE_EQ(sludgeVolume(in), 0.024192);
    // The sewage term of u takes 4.17 · 10^-5 where V1 takes 1/24000:
    // with 1/24000 u would be 0.034192.
    EXPECT_DOUBLE_EQ(perUserVolume(in), 0.0342);
    // N does not enter the per-user volume.
    EXPECT_DOUBLE_EQ(perUserVolume(with(1000, 50)), 0.0342);
    EXPECT_DOUBLE_EQ(sewageVolume(with(1000, 50)), 10);
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
         "0.707533926064577", true, "6-16", "16", "467.836257309941", "467"},
        // 12 / 0.0342 = 350.88 users: 350 served, as the hand pick of 5-12
        // shows; 351 would need more than the tank holds.
        {"300 users, tank 5", with(300, 50), "3", "7", "0.707533926064577", true, "5-12", "12",
         "350.877192982456", "350"},
        {"150 users, tank 3", with(150, 50), "1.5", "3.5", "0.707533926064577", true, "3-6", "6",
         "175.438596491228", "175"},
        // Tank 13 rounds its users down, as the hand pick does.
        {"2500 users, tank 13", with(2500, 50), "25", "60.48", "0.707533926064576", false,
         "13-100", "100", "2923.97660818713", "2923"},
        // Above 100 m³: no tank; the computed volume gives the users.
        {"above 100 m³", with(10000, 50), "100", "241.92", "0.707533926064576", false, nullptr,
         "341.92", "9997.66081871345", "9997"},
    };
    for (const DesignRow& row : rows)
        expectDesign(row);
}

TEST(SepticTankDesign, ShareLimitStrictlyAboveSevenTenthsUpTo25)
{
    const DesignRow rows[] = {
        // q = 51.84 makes V2 / V exactly 0.7: no limit.
        {"share exactly 0.7", with(1, 51.84), "0.010368", "0.024192", "0.7", false, "1-2", "2",
         "57.856484814015", "57"},
        {"share just above 0.7", with(1, 51.83), "0.010366", "0.0241873333333333",
         "0.700040511603681", true, "1-2", "2", "57.8598350587368", "57"},
        // V = 0.808 + 24.192 = 25 exactly: limited, V := V1 / 0.3 = 2.69.
        {"volume exactly 25", with(1000, 4.04), "0.808", "1.88533333333333", "0.96768", true,
         "2-4", "4", "159.995863146962", "159"},
        // V = 25.0001: no limit whatever the share.
        {"volume just above 25", with(1000, 4.0405), "0.8081", "24.192", "0.967676129295483",
         false, "9-30", "30", "1199.96417002985", "1199"},
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
    struct Row {
        double volume;
        const char* tank;
        const char* next; // nullptr above the largest
        const char* nextVolume;
    };
    const Row rows[] = {
        {2, "1-2", "2-4", "4"},        {4, "2-4", "3-6", "6"},
        {6, "3-6", "4-9", "9"},        {9, "4-9", "5-12", "12"},
        {12, "5-12", "6-16", "16"},    {16, "6-16", "7-20", "20"},
        {20, "7-20", "8-25", "25"},    {25, "8-25", "9-30", "30"},
        {30, "9-30", "10-40", "40"},   {40, "10-40", "11-50", "50"},
        {50, "11-50", "12-75", "75"},  {75, "12-75", "13-100", "100"},
        {100, "13-100", nullptr, "100.000001"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.tank);
        SepticTankInputs in{1, 1, row.volume * 1000 - 0.192, 24, 1, 0.00016};
        SepticTankDesign d = designSepticTank(in);
        ASSERT_EQ(d.status, SepticDesignStatus::Designed);
        EXPECT_FALSE(d.shareLimited);
        ASSERT_NE(d.tank, nullptr);
        EXPECT_EQ(d.tank->listText, S(row.tank));
        EXPECT_EQ(d.volume, QString::number(row.volume));

        in.quotaLitres += 0.001;
        d = designSepticTank(in);
        ASSERT_EQ(d.status, SepticDesignStatus::Designed);
        if (row.next) {
            ASSERT_NE(d.tank, nullptr);
            EXPECT_EQ(d.tank->listText, S(row.next));
        } else {
            EXPECT_EQ(d.tank, nullptr);
        }
        EXPECT_EQ(d.volume, S(row.nextVolume));
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

namespace {

SepticTankInputTexts initialTexts()
{
    return {.users = S("1"),
            .usageFactor = S("0.40"),
            .quota = S("50"),
            .retention = S("12"),
            .cleaning = S("180"),
            .sludgeConstant = S("0.00028")};
}

} // namespace

// Each typed input against its range, one changed at a time from the
// window's initial inputs; the message names the field, under "警告".
TEST(SepticTankInputs, TypedValuesOutsideTheirRangesAreRefused)
{
    struct Row {
        const char* name;
        QString SepticTankInputTexts::*text;
        const char* typed;
        std::optional<SepticField> field; // none: accepted
        const char* message;
    };
    using T = SepticTankInputTexts;
    const char* users = "请输入正确的设计人数！";
    const char* factor = "请输入正确的使用系数！";
    const char* quota = "请输入正确的污水定额！";
    const char* retention = "请输入正确的污水停留时间！";
    const char* cleaning = "请输入正确的清掏周期！";
    const Row rows[] = {
        {"users empty", &T::users, "", SepticField::Users, "请输入设计人数！"},
        {"users blanks", &T::users, "   ", SepticField::Users, "请输入设计人数！"},
        {"users text", &T::users, "十", SepticField::Users, users},
        {"users leading number", &T::users, "12人", SepticField::Users, users},
        {"users zero", &T::users, "0", SepticField::Users, users},
        {"users negative", &T::users, "-20", SepticField::Users, users},
        {"users a fraction", &T::users, "12.5", SepticField::Users, users},
        {"users 100,000", &T::users, "100000", std::nullopt, ""},
        {"users 100,001", &T::users, "100001", SepticField::Users, users},
        {"users too large", &T::users, "1e999", SepticField::Users, users},
        {"users 1e308", &T::users, "1e308", SepticField::Users, users},
        {"factor empty", &T::usageFactor, "", SepticField::UsageFactor, factor},
        {"factor zero", &T::usageFactor, "0", SepticField::UsageFactor, factor},
        {"factor just below 0.01", &T::usageFactor, "0.0099", SepticField::UsageFactor, factor},
        {"factor 0.01", &T::usageFactor, "0.01", std::nullopt, ""},
        {"factor 1", &T::usageFactor, "1", std::nullopt, ""},
        {"factor just above 1", &T::usageFactor, "1.001", SepticField::UsageFactor, factor},
        {"factor 1e20", &T::usageFactor, "1e20", SepticField::UsageFactor, factor},
        {"factor 1e-323", &T::usageFactor, "1e-323", SepticField::UsageFactor, factor},
        {"quota text", &T::quota, "五十", SepticField::Quota, quota},
        {"quota negative", &T::quota, "-50", SepticField::Quota, quota},
        {"quota just below 1", &T::quota, "0.99", SepticField::Quota, quota},
        {"quota 1", &T::quota, "1", std::nullopt, ""},
        {"quota 1000", &T::quota, "1000", std::nullopt, ""},
        {"quota just above 1000", &T::quota, "1000.5", SepticField::Quota, quota},
        {"retention zero", &T::retention, "0", SepticField::Retention, retention},
        {"retention half a day", &T::retention, "半天", SepticField::Retention, retention},
        {"retention 1 h", &T::retention, "1", std::nullopt, ""},
        {"retention 720 h", &T::retention, "720", std::nullopt, ""},
        {"retention just above 720 h", &T::retention, "720.5", SepticField::Retention, retention},
        {"cleaning blanks", &T::cleaning, " ", SepticField::Cleaning, cleaning},
        {"cleaning negative", &T::cleaning, "-90", SepticField::Cleaning, cleaning},
        {"cleaning just below 1 day", &T::cleaning, "0.5", SepticField::Cleaning, cleaning},
        {"cleaning 3650 days", &T::cleaning, "3650", std::nullopt, ""},
        {"cleaning 3651 days", &T::cleaning, "3651", SepticField::Cleaning, cleaning},
        {"no drainage system", &T::sludgeConstant, "", SepticField::DrainageSystem,
         "请选择排水类型！"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SepticTankInputTexts texts = initialTexts();
        texts.*row.text = S(row.typed);
        const SepticOutcome c = calculateSepticTank(texts);
        if (!row.field) {
            EXPECT_FALSE(c.refusal.has_value());
            EXPECT_EQ(c.values.status, SepticDesignStatus::Designed);
            continue;
        }
        ASSERT_TRUE(c.refusal.has_value());
        EXPECT_EQ(c.refusal->field, *row.field);
        EXPECT_EQ(c.refusal->message, S(row.message));
        EXPECT_EQ(c.refusal->title, S("警告"));
    }
}

// The users are not read by a hand pick; the other inputs are, with the same
// refusals. 9 / 0.0342 = 263.16 users for tank 4.
TEST(SepticTankInputs, HandPickReadsAllButTheUsers)
{
    const StandardTank* tank4 = SepticTankCatalogue::byListText(u"4-9");
    ASSERT_NE(tank4, nullptr);
    SepticTankInputTexts texts = initialTexts();
    texts.users = QString();
    HandPickOutcome pick = handPickTank(*tank4, texts);
    EXPECT_FALSE(pick.refusal.has_value());
    EXPECT_EQ(pick.values, S("263"));
    texts.retention = S("半天");
    pick = handPickTank(*tank4, texts);
    ASSERT_TRUE(pick.refusal.has_value());
    EXPECT_EQ(pick.refusal->field, SepticField::Retention);
    EXPECT_EQ(pick.refusal->message, S("请输入正确的污水停留时间！"));
}

// At the ends of the ranges the users served stay plain digits: α 0.01,
// q 1, t 1, T 1, separate system: u = 10^-7 · (19.2 + 4.17) = 2.337 · 10^-6,
// so one user's 2 m³ tank (V1 = 4.2 · 10^-7, share limit) serves 855798.
TEST(SepticTankInputs, SmallestInputsServeAWholeNumberOfUsers)
{
    const SepticOutcome c = calculateSepticTank({.users = S("1"),
                                                         .usageFactor = S("0.01"),
                                                         .quota = S("1"),
                                                         .retention = S("1"),
                                                         .cleaning = S("1"),
                                                         .sludgeConstant = S("0.00016")});
    ASSERT_FALSE(c.refusal.has_value());
    EXPECT_EQ(c.values.volume, S("2"));
    EXPECT_EQ(c.values.usersServedShown, S("855798"));
}

// The material is asked for after every other input, also after a volume
// the arithmetic cannot carry; the list offers only materials, so a text
// that is none comes from code alone.
TEST(SepticTankInputs, ANoMaterialIsRefusedAfterTheOtherInputs)
{
    struct Row {
        const char* name;
        const char* users;
        const char* material;
        std::optional<SepticField> field; // none: accepted
        const char* message;
    };
    const Row rows[] = {
        {"brick", "1", "砖砌化粪池", std::nullopt, ""},
        {"concrete", "1", "钢混化粪池", std::nullopt, ""},
        {"no material", "1", "", SepticField::Material, "请选择化粪池类型！"},
        {"a material not listed", "1", "砖砌", SepticField::Material, "请选择化粪池类型！"},
        {"no users and no material", "", "", SepticField::Users, "请输入设计人数！"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SepticTankInputTexts texts = initialTexts();
        texts.users = S(row.users);
        const SepticSelectionOutcome c = selectSepticTank(texts, S(row.material), SiteConditions{});
        if (!row.field) {
            EXPECT_FALSE(c.refusal.has_value());
            EXPECT_EQ(c.values.design.volume, S("2"));
            continue;
        }
        ASSERT_TRUE(c.refusal.has_value());
        EXPECT_EQ(c.refusal->field, *row.field);
        EXPECT_EQ(c.refusal->message, S(row.message));
        EXPECT_EQ(c.refusal->title, S("警告"));
    }
}
