#include "catalogues/surface_runoff_table.h"
#include "forms/testing/text.h"

#include <gtest/gtest.h>

using catalogues::SurfaceRunoffTable;

namespace {

using forms::testing::S;

}  // namespace

TEST(SurfaceRunoffTable, SevenSurfacesInListOrder)
{
    struct Row {
        const char* surface;
        const char* text;
        double value;
    };
    const Row rows[] = {
        {"屋面", "0.9", 0.9},
        {"混凝土和沥青路面", "0.9", 0.9},
        {"块石路面", "0.6", 0.6},
        {"级配碎石路面", "0.45", 0.45},
        {"干砖及碎石路面", "0.4", 0.4},
        {"非铺砌地面", "0.3", 0.3},
        {"公园绿地", "0.15", 0.15},
    };
    const QStringList surfaces = SurfaceRunoffTable::SurfaceTypes();
    ASSERT_EQ(surfaces.size(), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(surfaces.at(i), S(rows[i].surface));
        EXPECT_EQ(SurfaceRunoffTable::CoefficientText(S(rows[i].surface)), S(rows[i].text));
        EXPECT_EQ(SurfaceRunoffTable::Coefficient(S(rows[i].surface)), rows[i].value);
        EXPECT_EQ(SurfaceRunoffTable::Rows().at(i).coefficientText.toDouble(),
                  SurfaceRunoffTable::Rows().at(i).coefficient);
    }
}

TEST(SurfaceRunoffTable, OtherTextsHaveNoCoefficient)
{
    for (const char* text : {"请选择地面种类", "屋面 ", " 屋面", "绿地", "0.9", ""}) {
        EXPECT_FALSE(SurfaceRunoffTable::CoefficientText(S(text)).has_value()) << text;
        EXPECT_FALSE(SurfaceRunoffTable::Coefficient(S(text)).has_value()) << text;
    }
}
