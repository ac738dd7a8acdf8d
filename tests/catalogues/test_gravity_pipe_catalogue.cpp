#include "catalogues/gravity_pipe_catalogue.h"

#include <gtest/gtest.h>

#include <QSet>

namespace catalogues {
namespace {

namespace G = GravityPipeCatalogue;
using namespace Qt::StringLiterals;

struct ListRow {
    const char* name;
    const QStringList& (*list)();
    qsizetype count;
    const char16_t* first;
    const char16_t* last;
};

const ListRow kLists[] = {
    {"DrainDiameterList", &G::drainDiameterList, 33, u"200", u"3000"},
    {"DrainSlopeList", &G::drainSlopeList, 129, u"0.6", u"100"},
    {"PartFullDiameterList", &G::partFullDiameterList, 41, u"150", u"3000"},
    {"PartFullSlopeList", &G::partFullSlopeList, 132, u"0.5", u"140"},
    {"CorrugatedDiameterList", &G::corrugatedDiameterList, 6, u"225", u"700"},
    {"CastIronDiameterList", &G::castIronDiameterList, 7, u"75", u"300"},
    {"CastIronSlopeList", &G::castIronSlopeList, 18, u"5", u"80"},
    {"PvcuDiameterList", &G::pvcuDiameterList, 7, u"50", u"200"},
    {"PvcuSlopeList", &G::pvcuSlopeList, 24, u"1", u"60"},
    {"FullnessList", &G::fullnessList, 19, u"0.1", u"1"},
    {"CorrugatedFullnessList", &G::corrugatedFullnessList, 18, u"0.1", u"0.95"},
    {"CastIronPvcuFullnessList", &G::castIronPvcuFullnessList, 11, u"0.1", u"0.6"},
    {"StormDrainDiameterList", &G::stormDrainDiameterList, 33, u"d200", u"d3000"},
};

TEST(GravityPipeCatalogueTest, ListsHaveTheirCountEndsAndRiseStrictlyWithoutRepeats)
{
    for (const ListRow& row : kLists) {
        SCOPED_TRACE(row.name);
        const QStringList& list = row.list();
        ASSERT_EQ(list.size(), row.count);
        EXPECT_EQ(list.first(), QString::fromUtf16(row.first));
        EXPECT_EQ(list.last(), QString::fromUtf16(row.last));
        EXPECT_EQ(QSet<QString>(list.begin(), list.end()).size(), list.size());
        for (qsizetype i = 1; i < list.size(); ++i) {
            QString prev = list.at(i - 1);
            QString cur = list.at(i);
            if (prev.startsWith(u'd')) {
                prev.remove(0, 1);
                cur.remove(0, 1);
            }
            bool okPrev = false;
            bool okCur = false;
            const double a = prev.toDouble(&okPrev);
            const double b = cur.toDouble(&okCur);
            ASSERT_TRUE(okPrev && okCur) << prev.toStdString() << " " << cur.toStdString();
            EXPECT_LT(a, b) << "at " << i;
        }
    }
}

TEST(GravityPipeCatalogueTest, DrainSlopeListWritesTenthsWithOneDecimalAndIntegersAbove)
{
    const QStringList& slopes = G::drainSlopeList();
    // 95 tenths 0.6 ... 10.0, then 20 integers 11 ... 30, then 14 by fives.
    EXPECT_EQ(slopes.at(4), u"1.0");
    EXPECT_EQ(slopes.at(94), u"10.0");
    EXPECT_EQ(slopes.at(95), u"11");
    EXPECT_EQ(slopes.at(114), u"30");
    EXPECT_EQ(slopes.at(115), u"35");
    for (const char16_t* text : {u"7.6", u"8.6", u"9.6", u"2.0", u"3.0", u"4.0"})
        EXPECT_EQ(slopes.count(QString::fromUtf16(text)), 1) << QString::fromUtf16(text).toStdString();
    for (qsizetype i = 1; i < 95; ++i)
        EXPECT_NEAR(slopes.at(i).toDouble() - slopes.at(i - 1).toDouble(), 0.1, 1e-9) << i;
    EXPECT_FALSE(slopes.contains(u"10"));
    EXPECT_FALSE(slopes.contains(u"1"));
}

TEST(GravityPipeCatalogueTest, PartFullSlopeListWrapsDrainSlopeList)
{
    const QStringList& part = G::partFullSlopeList();
    EXPECT_EQ(part.mid(1, 129), G::drainSlopeList());
    EXPECT_EQ(part.at(0), u"0.5");
    EXPECT_EQ(part.mid(130), (QStringList{u"120"_s, u"140"_s}));
}

TEST(GravityPipeCatalogueTest, DiameterListsDifferWhereTheCatalogueSaysSo)
{
    const QStringList& drain = G::drainDiameterList();
    const QStringList& part = G::partFullDiameterList();
    EXPECT_EQ(drain.mid(drain.indexOf(u"1600"), 3), (QStringList{u"1600"_s, u"1640"_s, u"1800"_s}));
    EXPECT_EQ(part.mid(part.indexOf(u"1600"), 5),
              (QStringList{u"1600"_s, u"1640"_s, u"1750"_s, u"1800"_s, u"1900"_s}));
    EXPECT_FALSE(drain.contains(u"1700"));
    EXPECT_FALSE(part.contains(u"1300"));
    EXPECT_TRUE(drain.contains(u"1300"));
    for (const char16_t* d : {u"150", u"550", u"650", u"750", u"850", u"950", u"1050", u"1750", u"1900"}) {
        EXPECT_TRUE(part.contains(QString::fromUtf16(d)));
        EXPECT_FALSE(drain.contains(QString::fromUtf16(d)));
    }
    for (qsizetype i = 0; i < drain.size(); ++i)
        EXPECT_EQ(G::stormDrainDiameterList().at(i), u"d"_s + drain.at(i));
    EXPECT_TRUE(G::stormDrainDiameterList().contains(u"d1640"));
}

TEST(GravityPipeCatalogueTest, SmallListsHoldTheirExactTexts)
{
    EXPECT_EQ(G::pvcuSlopeList(),
              (QStringList{u"1"_s,  u"1.5"_s, u"2"_s,  u"3"_s,  u"3.5"_s, u"4"_s,  u"4.5"_s, u"5"_s,
                           u"6"_s,  u"7"_s,   u"8"_s,  u"9"_s,  u"10"_s,  u"12"_s, u"15"_s,  u"20"_s,
                           u"25"_s, u"26"_s,  u"30"_s, u"35"_s, u"40"_s,  u"45"_s, u"50"_s,  u"60"_s}));
    EXPECT_EQ(G::castIronSlopeList(),
              (QStringList{u"5"_s,  u"6"_s,  u"7"_s,  u"8"_s,  u"9"_s,  u"10"_s, u"12"_s, u"15"_s, u"20"_s,
                           u"25"_s, u"26"_s, u"30"_s, u"40"_s, u"45"_s, u"50"_s, u"60"_s, u"70"_s, u"80"_s}));
    EXPECT_FALSE(G::castIronSlopeList().contains(u"35"));
    EXPECT_EQ(G::fullnessList().mid(0, 6),
              (QStringList{u"0.1"_s, u"0.15"_s, u"0.2"_s, u"0.25"_s, u"0.3"_s, u"0.35"_s}));
    EXPECT_EQ(G::fullnessList().mid(0, 18), G::corrugatedFullnessList());
    EXPECT_EQ(G::fullnessList().mid(0, 11), G::castIronPvcuFullnessList());
    EXPECT_EQ(G::corrugatedDiameterList(),
              (QStringList{u"225"_s, u"300"_s, u"400"_s, u"500"_s, u"600"_s, u"700"_s}));
    EXPECT_EQ(G::pvcuDiameterList(),
              (QStringList{u"50"_s, u"75"_s, u"90"_s, u"110"_s, u"125"_s, u"160"_s, u"200"_s}));
}

TEST(GravityPipeCatalogueTest, ListsInForcePerMaterialAndFlowMode)
{
    using M = DrainPipeMaterial;
    using F = DrainFlowMode;
    using K = GravityListKind;
    struct Row {
        M material;
        F mode;
        const QStringList* diameter;
        const QStringList* slope;
        const QStringList* fullness;
    };
    const Row rows[] = {
        {M::Concrete, F::Full, &G::drainDiameterList(), &G::drainSlopeList(), nullptr},
        {M::Concrete, F::PartFull, &G::partFullDiameterList(), &G::partFullSlopeList(), &G::fullnessList()},
        {M::Corrugated, F::Full, &G::corrugatedDiameterList(), &G::drainSlopeList(), nullptr},
        {M::Corrugated, F::PartFull, &G::corrugatedDiameterList(), &G::partFullSlopeList(),
         &G::corrugatedFullnessList()},
        {M::CastIron, F::Full, nullptr, nullptr, nullptr},
        {M::CastIron, F::PartFull, &G::castIronDiameterList(), &G::castIronSlopeList(),
         &G::castIronPvcuFullnessList()},
        {M::Pvcu, F::Full, nullptr, nullptr, nullptr},
        {M::Pvcu, F::PartFull, &G::pvcuDiameterList(), &G::pvcuSlopeList(), &G::castIronPvcuFullnessList()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.material) * 10 + static_cast<int>(row.mode));
        EXPECT_EQ(G::list(row.material, row.mode, K::Diameter), row.diameter);
        EXPECT_EQ(G::list(row.material, row.mode, K::Slope), row.slope);
        EXPECT_EQ(G::list(row.material, row.mode, K::Fullness), row.fullness);
        EXPECT_EQ(G::hasFlowMode(row.material, row.mode), row.diameter != nullptr);
    }
}

TEST(MinSlopeTableTest, MinimumSlopePerDiameterText)
{
    struct Row {
        const char16_t* diameter;
        const char16_t* minSlope;
        bool checked;
    };
    const Row rows[] = {
        {u"150", u"8.0", false}, {u"200", u"4.0", true},  {u"225", u"4.0", false}, {u"250", u"4.0", true},
        {u"300", u"3.0", true},  {u"350", u"3.0", true},  {u"400", u"2.0", true},  {u"450", u"2.0", false},
        {u"500", u"2.0", false}, {u"3000", u"2.0", false}, {u"75", u"2.0", false},  {u"", u"2.0", false},
        {u"请选择管径", u"2.0", false}, {u"300.0", u"2.0", false}, {u" 300", u"2.0", false},
    };
    for (const Row& row : rows) {
        const QString d = QString::fromUtf16(row.diameter);
        SCOPED_TRACE(d.toStdString());
        EXPECT_EQ(MinSlopeTable::minSlopeText(d), QString::fromUtf16(row.minSlope));
        EXPECT_EQ(MinSlopeTable::isSlopeCheckedDiameter(d), row.checked);
    }
}

TEST(MinSlopeTableTest, StormDiameterTexts)
{
    struct Row {
        const char16_t* diameter;
        const char16_t* minSlope;
        bool checked;
    };
    const Row rows[] = {
        {u"d200", u"4.0", true},  {u"d250", u"4.0", true},   {u"d300", u"3.0", true},
        {u"d350", u"3.0", true},  {u"d400", u"2.0", true},   {u"d450", u"2.0", false},
        {u"d1640", u"2.0", false}, {u"200", u"2.0", false},  {u"请选择管径", u"2.0", false},
        {u"d", u"2.0", false},
    };
    for (const Row& row : rows) {
        const QString d = QString::fromUtf16(row.diameter);
        SCOPED_TRACE(d.toStdString());
        EXPECT_EQ(MinSlopeTable::stormMinSlopeText(d), QString::fromUtf16(row.minSlope));
        EXPECT_EQ(MinSlopeTable::isSlopeCheckedStormDiameter(d), row.checked);
    }
    // Every storm list entry gets the value its plain diameter gets, the storm
    // list holding no 150 and no 225.
    const QStringList& storm = G::stormDrainDiameterList();
    for (qsizetype i = 0; i < storm.size(); ++i)
        EXPECT_EQ(MinSlopeTable::stormMinSlopeText(storm.at(i)),
                  MinSlopeTable::minSlopeText(G::drainDiameterList().at(i)));
}

} // namespace
} // namespace catalogues
