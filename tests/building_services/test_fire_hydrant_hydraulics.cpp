#include "building_services/fire_hydrant_hydraulics.h"

#include "textio/numtext.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace building_services;
using namespace Qt::StringLiterals;

namespace {

double read(const QString& text)
{
    const std::optional<double> value = textio::readNumber(text);
    EXPECT_TRUE(value.has_value()) << text.toStdString();
    return value.value_or(NAN);
}

} // namespace

TEST(NozzleCoefficientTable, CoefficientByExactDiameterText)
{
    struct Row {
        const char* diameter;
        std::optional<double> b;
    };
    const Row rows[] = {
        {"9", 0.0079},  {"13", 0.0346}, {"16", 0.0793}, {"19", 0.1577}, {"22", 0.2834},
        {"25", 0.4727}, {"20", std::nullopt}, {"19 ", std::nullopt}, {"019", std::nullopt},
        {"", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.diameter);
        EXPECT_EQ(NozzleCoefficientTable::coefficient(QString::fromUtf8(row.diameter)), row.b);
    }
    EXPECT_EQ(NozzleCoefficientTable::diameterTexts(),
              (QStringList{u"9"_s, u"13"_s, u"16"_s, u"19"_s, u"22"_s, u"25"_s}));
}

TEST(HoseResistanceTable, ResistanceByDiameterAndMaterial)
{
    struct Row {
        double diameter;
        const char* material;
        double a;
    };
    const Row rows[] = {
        {50, "衬胶水带", 0.0677}, {50, "麻织水带", 0.1501}, {65, "衬胶水带", 0.0172},
        {65, "麻织水带", 0.043},  {50, "", 0.1501},          {80, "衬胶水带", 0.0172},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.diameter) + " " + row.material);
        EXPECT_EQ(HoseResistanceTable::resistance(row.diameter, QString::fromUtf8(row.material)),
                  row.a);
    }
    EXPECT_EQ(HoseResistanceTable::diameterTexts(), (QStringList{u"50"_s, u"65"_s}));
    EXPECT_EQ(HoseResistanceTable::materialTexts(), (QStringList{u"衬胶水带"_s, u"麻织水带"_s}));
}

TEST(FireHydrantHydraulics, Factors)
{
    using namespace FireHydrantHydraulics;
    EXPECT_DOUBLE_EQ(nozzleFactor(19), 0.25 / 25.859);
    EXPECT_DOUBLE_EQ(nozzleFactor(10), 0.25 / 11);
    EXPECT_DOUBLE_EQ(jetFactor(10), 1.198);
    EXPECT_DOUBLE_EQ(jetFactor(0), 1.19);
    EXPECT_DOUBLE_EQ(jetFactor(50), 1.19 + 80 * 0.0625);
    EXPECT_DOUBLE_EQ(hoseLoss(0.1577, 25, 13.5, 0.0172), 0.1577 * 25 * 13.5 * 0.0172);
    EXPECT_DOUBLE_EQ(outletPressure(1, 13.5), 16.5);
    EXPECT_DOUBLE_EQ(*jetFlow(0.1577, 10), std::sqrt(15.77));
    EXPECT_FALSE(jetFlow(0.1577, -1).has_value());
}

// The longest water column each nozzle throws lies where 1 − φ·αf·Hm reaches
// zero: about 25.5 m for 9 mm, 31.2 m for 13 mm, 34.5 m for 16 mm, 37.4 m for
// 19 mm, 40.1 m for 22 mm and 42.6 m for 25 mm.
TEST(FireHydrantHydraulics, NozzlePressureOnlyBelowTheLongestWaterColumn)
{
    struct Row {
        double df;
        double reached;
        double beyond;
    };
    const Row rows[] = {
        {9, 25.4, 25.5}, {13, 31.2, 31.3}, {16, 34.5, 34.6},
        {19, 37.4, 37.5}, {22, 40.0, 40.1}, {25, 42.5, 42.6},
    };
    using namespace FireHydrantHydraulics;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.df);
        const double phi = nozzleFactor(row.df);
        const std::optional<double> hq = nozzlePressure(jetFactor(row.reached), row.reached, phi);
        ASSERT_TRUE(hq.has_value());
        EXPECT_GT(*hq, 100); // close to the limit the pressure climbs steeply
        EXPECT_FALSE(nozzlePressure(jetFactor(row.beyond), row.beyond, phi).has_value());
        EXPECT_FALSE(nozzlePressureSteps(row.beyond, phi).has_value());
        EXPECT_FALSE(nozzlePressureSteps(1e100, phi).has_value());
    }
}

TEST(FireHydrantHydraulics, WorkedExampleCarriedAtTextPrecision)
{
    HydrantInputs in;
    in.waterColumnM = 10;
    in.nozzleFactor = read(textio::generalNumberText(0.25 / 25.859));
    in.nozzleCoefficient = 0.1577;
    in.hoseLengthM = 25;
    in.hoseResistance = 0.0172;
    const std::optional<HydrantResultTexts> r = calculateHydrant(in);
    ASSERT_TRUE(r.has_value());

    EXPECT_EQ(r->jetFactor, u"1.198"_s);
    // Each step reads the text of the one before it.
    const double hq = read(r->nozzlePressure);
    EXPECT_EQ(r->nozzlePressure, textio::generalNumberText(11.98 / (1 - in.nozzleFactor * 11.98)));
    EXPECT_EQ(r->hoseLoss, textio::generalNumberText(0.1577 * 25 * hq * 0.0172));
    const double hd = read(r->hoseLoss);
    EXPECT_EQ(r->outletPressure, textio::generalNumberText(hd + 2 + hq));
    EXPECT_EQ(r->jetFlow, textio::generalNumberText(std::sqrt(0.1577 * hq * 10)));
    EXPECT_EQ(textio::formatNumber(read(r->jetFlow), u"###.###"_s), u"4.622"_s);
    EXPECT_EQ(textio::formatNumber(read(r->outletPressure) / 100, u"0.###"_s), u"0.165"_s);

    const std::optional<NozzlePressureTexts> first = nozzlePressureSteps(10, in.nozzleFactor);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->jetFactor, r->jetFactor);
    EXPECT_EQ(first->nozzlePressure, r->nozzlePressure);
}

TEST(FireHydrantHydraulics, HoseLengthThatOverflowsGivesNoResult)
{
    HydrantInputs in{10, 0.25 / 25.859, 0.1577, 1e308, 0.0677};
    EXPECT_FALSE(calculateHydrant(in).has_value());
}

TEST(HydrantReportSentence, WorkedExample)
{
    HydrantReport report{u"10"_s, u"19"_s, u"25"_s, u"65"_s, u"衬胶水带"_s, 4.62201, 16.4684};
    EXPECT_EQ(hydrantReportSentence(report),
              u"充实水柱长度 Hm= 10米,水枪喷口直径 df=19毫米,水带长度 Ld=25米,采用直径d=65毫米"
              u"衬胶水带。水枪喷口的射流量 Qxh= 4.622升/秒,消火栓口所需水压 Hxh=0.165MPa。"_s);
}

TEST(HydrantReportSentence, FlowAndPressureTexts)
{
    struct Row {
        double q;
        double hxhM;
        const char* flowText;
        const char* pressureText;
    };
    const Row rows[] = {
        {12.5, 35, "12.5", "0.35"}, {5, 100, "5.", "1."},       {0.5, 50, ".5", "0.5"},
        {4.6225, 16.4685, "4.623", "0.165"}, {123.4564, 0.04, "123.456", "0."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.flowText);
        HydrantReport report{u"10"_s, u"19"_s, u"25"_s, u"65"_s, u"麻织水带"_s, row.q, row.hxhM};
        const QString sentence = hydrantReportSentence(report);
        EXPECT_TRUE(sentence.contains(u"Qxh= "_s + QString::fromUtf8(row.flowText) + u"升/秒"_s))
            << sentence.toStdString();
        EXPECT_TRUE(sentence.endsWith(u"Hxh="_s + QString::fromUtf8(row.pressureText) + u"MPa。"_s))
            << sentence.toStdString();
    }
}
