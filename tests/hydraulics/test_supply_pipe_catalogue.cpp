#include "hydraulics/supply_pipe_catalogue.h"

#include <gtest/gtest.h>

namespace hydraulics {
namespace {

using namespace Qt::StringLiterals;
namespace S = SupplyPipeCatalogue;
namespace T = TemperatureFactorTable;
using R = TemperatureRule;

TEST(SupplyPipeCatalogueTest, MaterialsInListOrderWithCoefficientSizeCountAndRule)
{
    struct Row {
        const char16_t* name;
        const char16_t* c;
        qsizetype sizes;
        R rule;
        const char16_t* firstSize;
        const char16_t* firstInner;
        const char16_t* lastSize;
        const char16_t* lastInner;
    };
    const Row rows[] = {
        {u"钢衬塑复合管", u"140", 10, R::GeneralTable, u"DN15", u"12.8", u"DN150", u"151.00"},
        {u"PP-R冷水管PN1.25MPa", u"140", 6, R::ColdWaterTable, u"De20", u"15.4", u"De63", u"51.4"},
        {u"PP-R热水管PN2.5MPa", u"140", 6, R::Fixed60, u"De20", u"13.2", u"De63", u"42"},
        {u"不锈钢管", u"130", 9, R::GeneralTable, u"DN15", u"12.80", u"DN100", u"99.00"},
        {u"衬树脂铸铁管", u"130", 8, R::Fixed10, u"DN75", u"74", u"DN400", u"400"},
        {u"普通钢管", u"100", 29, R::Fixed10, u"DN15", u"14.75", u"DN2000", u"2000"},
        {u"普通铸铁管", u"100", 8, R::Fixed10, u"DN75", u"74", u"DN400", u"400"},
        {u"建筑给水铜管", u"130", 9, R::Fixed10Emptied, u"DN15", u"13.60", u"DN100", u"105.00"},
    };
    const auto materials = S::materials();
    ASSERT_EQ(materials.size(), std::size(rows));
    for (std::size_t i = 0; i < materials.size(); ++i) {
        const SupplyPipeMaterial& m = materials[i];
        const Row& row = rows[i];
        SCOPED_TRACE(m.name.toStdString());
        EXPECT_EQ(m.name, QString::fromUtf16(row.name));
        EXPECT_EQ(S::materialNames().at(static_cast<qsizetype>(i)), m.name);
        EXPECT_EQ(m.coefficientText(), QString::fromUtf16(row.c));
        EXPECT_EQ(m.temperatureRule, row.rule);
        ASSERT_EQ(m.sizes.size(), row.sizes);
        ASSERT_EQ(m.innerDiameters.size(), m.sizes.size());
        EXPECT_EQ(m.sizes.first(), QString::fromUtf16(row.firstSize));
        EXPECT_EQ(m.innerDiameters.first(), QString::fromUtf16(row.firstInner));
        EXPECT_EQ(m.sizes.last(), QString::fromUtf16(row.lastSize));
        EXPECT_EQ(m.innerDiameters.last(), QString::fromUtf16(row.lastInner));
        EXPECT_EQ(S::find(m.name), &m);
        // Inner diameters are numbers and rise with the size.
        for (qsizetype k = 0; k < m.innerDiameters.size(); ++k) {
            bool ok = false;
            const double d = m.innerDiameters.at(k).toDouble(&ok);
            EXPECT_TRUE(ok) << k;
            if (k > 0) {
                EXPECT_GT(d, m.innerDiameters.at(k - 1).toDouble()) << k;
            }
        }
    }
}

TEST(SupplyPipeCatalogueTest, SizesPairWithTheirInnerDiameterTexts)
{
    struct Row {
        const char16_t* material;
        const char16_t* size;
        const char16_t* inner;
    };
    const Row rows[] = {
        {u"钢衬塑复合管", u"DN25", u"24.00"},     {u"钢衬塑复合管", u"DN80", u"76.50"},
        {u"PP-R冷水管PN1.25MPa", u"De32", u"26"}, {u"PP-R热水管PN2.5MPa", u"De40", u"26.6"},
        {u"不锈钢管", u"DN65", u"64.60"},         {u"普通钢管", u"DN400", u"406.00"},
        {u"普通钢管", u"DN450", u"458"},           {u"普通钢管", u"DN1300", u"1300"},
        {u"建筑给水铜管", u"DN80", u"85.00"},      {u"衬树脂铸铁管", u"DN150", u"149"},
    };
    for (const Row& row : rows) {
        const SupplyPipeMaterial* m = S::find(QString::fromUtf16(row.material));
        ASSERT_NE(m, nullptr);
        const qsizetype k = m->sizes.indexOf(QString::fromUtf16(row.size));
        ASSERT_GE(k, 0) << QString::fromUtf16(row.size).toStdString();
        EXPECT_EQ(m->innerDiameters.at(k), QString::fromUtf16(row.inner));
    }
    // Both cast-iron pipes share one list; the PP-R pipes share their sizes only.
    EXPECT_EQ(S::find(u"衬树脂铸铁管")->innerDiameters, S::find(u"普通铸铁管")->innerDiameters);
    EXPECT_EQ(S::find(u"PP-R冷水管PN1.25MPa")->sizes, S::find(u"PP-R热水管PN2.5MPa")->sizes);
    EXPECT_FALSE(S::find(u"普通钢管")->sizes.contains(u"DN1100"));
}

TEST(SupplyPipeCatalogueTest, LookUpIsExact)
{
    for (const char16_t* name : {u"普通钢管 ", u"pp-r冷水管PN1.25MPa", u"", u"请选择管材", u"钢管"})
        EXPECT_EQ(S::find(QStringView(name)), nullptr) << QString::fromUtf16(name).toStdString();
}

TEST(SupplyPipeCatalogueTest, TemperatureRules)
{
    struct Row {
        R rule;
        std::optional<TemperatureTableKind> table;
        const char16_t* shown;
        bool enabled;
    };
    const Row rows[] = {
        {R::GeneralTable, TemperatureTableKind::General, u"10", true},
        {R::ColdWaterTable, TemperatureTableKind::ColdWater, u"20", true},
        {R::Fixed60, {}, u"60", false},
        {R::Fixed10, {}, u"10", false},
        {R::Fixed10Emptied, {}, u"10", false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(S::temperatureTable(row.rule), row.table);
        EXPECT_EQ(S::temperatureText(row.rule), QString::fromUtf16(row.shown));
        EXPECT_EQ(S::temperatureEnabled(row.rule), row.enabled);
    }
}

TEST(TemperatureFactorTableTest, VariantsPairTemperaturesWithFactors)
{
    using K = TemperatureTableKind;
    EXPECT_EQ(T::temperatureTexts(K::General),
              (QStringList{u"10"_s, u"20"_s, u"30"_s, u"40"_s, u"50"_s, u"60"_s, u"70"_s, u"80"_s, u"90"_s, u"95"_s}));
    EXPECT_EQ(T::factorTexts(K::General), (QStringList{u"1.0"_s, u"0.94"_s, u"0.90"_s, u"0.86"_s, u"0.82"_s,
                                                       u"0.79"_s, u"0.77"_s, u"0.75"_s, u"0.73"_s, u"0.72"_s}));
    EXPECT_EQ(T::temperatureTexts(K::ColdWater), (QStringList{u"10"_s, u"20"_s, u"30"_s, u"40"_s}));
    EXPECT_EQ(T::factorTexts(K::ColdWater), (QStringList{u"1.061"_s, u"1.0"_s, u"0.949"_s, u"0.908"_s}));

    for (K kind : {K::General, K::ColdWater}) {
        const auto rows = T::entries(kind);
        ASSERT_EQ(static_cast<qsizetype>(rows.size()), T::temperatureTexts(kind).size());
        for (std::size_t i = 0; i < rows.size(); ++i)
            EXPECT_EQ(T::factorText(kind, rows[i].temperature), rows[i].factor);
    }
    // The default temperature of each variant has the factor 1.0.
    EXPECT_EQ(T::factorText(K::General, u"10"), u"1.0"_s);
    EXPECT_EQ(T::factorText(K::ColdWater, u"20"), u"1.0"_s);
    EXPECT_EQ(T::factorText(K::ColdWater, u"10"), u"1.061"_s);
    EXPECT_FALSE(T::factorText(K::ColdWater, u"60"));
    EXPECT_FALSE(T::factorText(K::General, u"10.0"));
}

} // namespace
} // namespace hydraulics
