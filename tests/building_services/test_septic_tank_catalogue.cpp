// The septic tank tables: materials, the thirteen standard tanks with
// their volume bounds, outline sizes and type codes.
#include "building_services/septic_tank_catalogue.h"
#include "forms/testing/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using namespace building_services;

namespace {

using forms::testing::S;

constexpr double kInf = std::numeric_limits<double>::infinity();

} // namespace

TEST(SepticTankCatalogue, MaterialsAndTheirLetters)
{
    EXPECT_EQ(tankMaterialNames(), (QStringList{S("砖砌化粪池"), S("钢混化粪池")}));
    EXPECT_EQ(tankMaterialOf(S("砖砌化粪池")), TankMaterial::Brick);
    EXPECT_EQ(tankMaterialOf(S("钢混化粪池")), TankMaterial::ReinforcedConcrete);
    EXPECT_EQ(tankMaterialOf(S("化粪池")), std::nullopt);
    EXPECT_EQ(materialLetter(TankMaterial::Brick), S("Z"));
    EXPECT_EQ(materialLetter(TankMaterial::ReinforcedConcrete), S("G"));
}

// Each tank holds up to its effective volume and no more: the volume itself
// selects it, the next larger double the next tank (none above 100 m³).
TEST(SepticTankCatalogue, ThirteenTanksBoundedOnBothSides)
{
    const QStringList texts = {"1-2",  "2-4",   "3-6",   "4-9",   "5-12",  "6-16",  "7-20",
                               "8-25", "9-30", "10-40", "11-50", "12-75", "13-100"};
    EXPECT_EQ(SepticTankCatalogue::listTexts(), texts);
    const std::span<const StandardTank> tanks = SepticTankCatalogue::tanks();
    ASSERT_EQ(tanks.size(), 13u);
    double below = 0;
    for (std::size_t i = 0; i < tanks.size(); ++i) {
        const StandardTank& tank = tanks[i];
        SCOPED_TRACE(tank.listText.toString().toStdString());
        EXPECT_EQ(tank.number, static_cast<int>(i + 1));
        EXPECT_EQ(QString::number(tank.number) + u'-' + QString::number(tank.effectiveVolume),
                  tank.listText.toString());
        EXPECT_EQ(SepticTankCatalogue::smallestHolding(tank.effectiveVolume), &tank);
        EXPECT_EQ(SepticTankCatalogue::smallestHolding(std::nextafter(below, kInf)), &tank);
        const StandardTank* next = i + 1 < tanks.size() ? &tanks[i + 1] : nullptr;
        EXPECT_EQ(SepticTankCatalogue::smallestHolding(std::nextafter(tank.effectiveVolume, kInf)),
                  next);
        EXPECT_EQ(SepticTankCatalogue::byListText(tank.listText), &tank);
        below = tank.effectiveVolume;
    }
    EXPECT_EQ(SepticTankCatalogue::smallestHolding(0), &tanks[0]);
    EXPECT_EQ(SepticTankCatalogue::smallestHolding(std::nan("")), nullptr);
    EXPECT_EQ(SepticTankCatalogue::byListText(u"手动选择化粪池"), nullptr);
    EXPECT_EQ(SepticTankCatalogue::byListText(u"13-10"), nullptr);
}

TEST(SepticTankCatalogue, OutlineSizesBySiteConditions)
{
    struct Row {
        const char* name;
        TankMaterial material;
        int number;
        SiteConditions site;  // groundwater, vehicles, cover soil
        const char* size;
    };
    using M = TankMaterial;
    const Row rows[] = {
        {"brick 1 groundwater", M::Brick, 1, {true, false, false}, "3530×1890"},
        {"brick 1 dry", M::Brick, 1, {false, true, false}, "3270×1630"},
        {"brick 2 one size", M::Brick, 2, {true, true, true}, "5380×1890"},
        {"brick 2 dry", M::Brick, 2, {false, false, false}, "5380×1890"},
        {"brick 3 groundwater", M::Brick, 3, {true, false, true}, "5620×2380"},
        {"brick 5 dry with vehicles", M::Brick, 5, {false, true, false}, "5380×2640"},
        // Numbers 6 to 11 without groundwater: cover soil decides first,
        // then vehicles give the groundwater size.
        {"brick 6 cover soil and vehicles", M::Brick, 6, {false, true, true}, "6880×3140"},
        {"brick 6 vehicles, no cover soil", M::Brick, 6, {false, true, false}, "7120×3380"},
        {"brick 6 neither", M::Brick, 6, {false, false, false}, "6880×3140"},
        {"brick 6 groundwater", M::Brick, 6, {true, false, true}, "7120×3380"},
        {"brick 9 vehicles", M::Brick, 9, {false, true, false}, "7120×3880"},
        {"brick 10 cover soil", M::Brick, 10, {false, false, true}, "8280×3640"},
        {"brick 11 vehicles", M::Brick, 11, {false, true, false}, "10120×3880"},
        {"brick 11 neither", M::Brick, 11, {false, false, false}, "9880×3640"},
        // From 12 on vehicles no longer matter.
        {"brick 12 vehicles", M::Brick, 12, {false, true, false}, "13320×3880"},
        {"brick 12 groundwater", M::Brick, 12, {true, false, false}, "13320×4140"},
        {"brick 13 groundwater", M::Brick, 13, {true, true, true}, "14520×4640"},
        {"brick 13 dry", M::Brick, 13, {false, true, false}, "14520×4380"},
        // Concrete tanks ignore the site.
        {"concrete 1", M::ReinforcedConcrete, 1, {true, true, true}, "2950×1150"},
        {"concrete 3 groundwater vehicles", M::ReinforcedConcrete, 3, {true, true, false},
         "4800×1600"},
        {"concrete 3 dry", M::ReinforcedConcrete, 3, {false, false, false}, "4800×1600"},
        {"concrete 6 vehicles", M::ReinforcedConcrete, 6, {false, true, false}, "6000×2600"},
        {"concrete 13", M::ReinforcedConcrete, 13, {false, false, true}, "13400×3700"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(SepticTankCatalogue::outlineSize(row.material, row.number, row.site),
                  S(row.size));
    }
    EXPECT_EQ(SepticTankCatalogue::outlineSize(M::Brick, 0, {}), std::nullopt);
    EXPECT_EQ(SepticTankCatalogue::outlineSize(M::ReinforcedConcrete, 14, {}), std::nullopt);
}

TEST(SepticTankCatalogue, TypeCodeLettersInTheOrderSQF)
{
    const auto tank = [](const char* text) {
        return SepticTankCatalogue::byListText(QString::fromUtf8(text));
    };
    EXPECT_EQ(SepticTankCatalogue::typeCode(TankMaterial::Brick, tank("1-2"), {true, false, false}),
              S("Z1-2S"));
    EXPECT_EQ(SepticTankCatalogue::typeCode(TankMaterial::Brick, tank("8-25"), {true, true, true}),
              S("Z8-25SQF"));
    EXPECT_EQ(SepticTankCatalogue::typeCode(TankMaterial::ReinforcedConcrete, tank("13-100"), {}),
              S("G13-100"));
    EXPECT_EQ(SepticTankCatalogue::typeCode(TankMaterial::Brick, tank("4-9"), {false, false, true}),
              S("Z4-9F"));
    // Above the largest tank: the letters alone.
    EXPECT_EQ(SepticTankCatalogue::typeCode(TankMaterial::Brick, nullptr, {true, false, false}),
              S("ZS"));
}
