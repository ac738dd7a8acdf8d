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
    const HydrantOutcome calculation = calculateHydrant(in);
    ASSERT_FALSE(calculation.refusal.has_value());
    const HydrantResultTexts* r = &calculation.values;

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

// Hm and Ld as typed, with the 19 mm nozzle and a 65 mm rubber-lined hose
// unless a row names another nozzle; each refusal names its field.
TEST(FireHydrantHydraulics, TypedInputsOutsideTheirRangesAreRefused)
{
    enum class Outcome { Calculated, WrongHm, WrongLd, Unreachable };
    struct Row {
        const char* name;
        const char* hm;
        const char* ld;
        const char* phi; // φ of the nozzle as the window writes it
        double b;
        Outcome outcome;
    };
    const char* phi19 = "0.00966781391391779";
    const char* phi9 = "0.0256963716723199";
    const char* phi25 = "0.00615384615384615";
    const Row rows[] = {
        {"Hm empty", "", "25", phi19, 0.1577, Outcome::WrongHm},
        {"Hm blanks", "   ", "25", phi19, 0.1577, Outcome::WrongHm},
        {"Hm text", "十米", "25", phi19, 0.1577, Outcome::WrongHm},
        {"Hm zero", "0", "25", phi19, 0.1577, Outcome::WrongHm},
        {"Hm negative", "-10", "25", phi19, 0.1577, Outcome::WrongHm},
        {"Hm tiny", "1e-308", "25", phi19, 0.1577, Outcome::WrongHm},
        {"Hm just below 1 m", "0.999", "25", phi9, 0.0079, Outcome::WrongHm},
        {"Hm 1 m", "1", "25", phi9, 0.0079, Outcome::Calculated},
        {"Hm 100 m, beyond every nozzle", "100", "25", phi25, 0.4727, Outcome::Unreachable},
        {"Hm just above 100 m", "100.001", "25", phi25, 0.4727, Outcome::WrongHm},
        {"Hm far beyond", "1e200", "25", phi25, 0.4727, Outcome::WrongHm},
        {"Ld empty", "10", "", phi19, 0.1577, Outcome::WrongLd},
        {"Ld leading number", "10", "25m", phi19, 0.1577, Outcome::WrongLd},
        {"Ld zero", "10", "0", phi19, 0.1577, Outcome::WrongLd},
        {"Ld negative", "10", "-25", phi19, 0.1577, Outcome::WrongLd},
        {"Ld just below 1 m", "10", "0.999", phi19, 0.1577, Outcome::WrongLd},
        {"Ld 1 m", "10", "1", phi19, 0.1577, Outcome::Calculated},
        {"Ld 1000 m", "10", "1000", phi19, 0.1577, Outcome::Calculated},
        {"Ld just above 1000 m", "10", "1000.001", phi19, 0.1577, Outcome::WrongLd},
        {"Ld 1e20 m", "10", "1e20", phi19, 0.1577, Outcome::WrongLd},
        {"Ld overflowing", "10", "1e308", phi19, 0.1577, Outcome::WrongLd},
        // Hm is checked first.
        {"Hm and Ld wrong", "0", "0", phi19, 0.1577, Outcome::WrongHm},
        {"Hm beyond 19 mm", "37.5", "25", phi19, 0.1577, Outcome::Unreachable},
        {"Hm beyond 9 mm", "25.5", "25", phi9, 0.0079, Outcome::Unreachable},
        // Hq of 19 mm: about 89,222 m at 37.43 m, 364,787 m at 37.44 m.
        {"Hq just under the highest", "37.43", "25", phi19, 0.1577, Outcome::Calculated},
        {"Hq above the highest", "37.44", "25", phi19, 0.1577, Outcome::Unreachable},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const HydrantOutcome c = calculateHydrant(HydrantInputTexts{
            .waterColumn = QString::fromUtf8(row.hm),
            .hoseLength = QString::fromUtf8(row.ld),
            .nozzleFactor = QString::fromUtf8(row.phi),
            .nozzleCoefficient = textio::generalNumberText(row.b),
            .hoseResistance = u"0.0172"_s,
        });
        switch (row.outcome) {
        case Outcome::Calculated:
            EXPECT_FALSE(c.refusal.has_value());
            for (const QString& text : {c.values.jetFactor, c.values.nozzlePressure,
                                        c.values.hoseLoss, c.values.outletPressure,
                                        c.values.jetFlow}) {
                EXPECT_FALSE(text.contains(u'E')) << text.toStdString();
                EXPECT_GT(read(text), 0) << text.toStdString();
            }
            break;
        case Outcome::WrongHm:
        case Outcome::Unreachable:
            ASSERT_TRUE(c.refusal.has_value());
            EXPECT_EQ(c.refusal->field, HydrantField::WaterColumn);
            EXPECT_EQ(c.refusal->message, row.outcome == Outcome::WrongHm
                                            ? u"请输入正确的充实水柱！"_s
                                            : u"充实水柱过长，该喷嘴无法达到！请减小充实水柱或加大喷嘴直径。"_s);
            EXPECT_EQ(c.refusal->title, u"确认数据正确性"_s);
            break;
        case Outcome::WrongLd:
            ASSERT_TRUE(c.refusal.has_value());
            EXPECT_EQ(c.refusal->field, HydrantField::HoseLength);
            EXPECT_EQ(c.refusal->message, u"请输入正确的水带长度！"_s);
            EXPECT_EQ(c.refusal->title, u"确认数据正确性"_s);
            break;
        }
    }
}

// The smallest water column through the smallest nozzle still gives a jet
// flow the report shows as a figure: Hq = 1.19 / (1 − 1.19·φ) = 1.2275 m,
// Q = √(10 · 0.0079 · 1.2275) = 0.311 L/s.
TEST(FireHydrantHydraulics, SmallestWaterColumnReportsAFlow)
{
    const HydrantOutcome c = calculateHydrant(HydrantInputs{1, 0.0256963716723199, 0.0079, 1, 0.0677});
    ASSERT_FALSE(c.refusal.has_value());
    EXPECT_EQ(c.values.nozzlePressure, u"1.22753729827784"_s);
    EXPECT_EQ(textio::formatNumber(read(c.values.jetFlow), u"###.###"_s), u".311"_s);
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

// The results as the engineer may have edited them, read against their
// ranges before the sentence is written; Q is checked first.
TEST(HydrantReportSentence, EditedResultsOutsideTheirRangesAreRefused)
{
    enum class Outcome { Reported, WrongQ, WrongHxh };
    struct Row {
        const char* q;
        const char* hxh;
        Outcome outcome;
        const char* reported; // the sentence's end
    };
    const Row rows[] = {
        {"4.62246906115212", "14.4680740594393", Outcome::Reported,
         "Qxh= 4.622升/秒,消火栓口所需水压 Hxh=0.145MPa。"},
        {"", "16.5", Outcome::WrongQ, ""},
        {"四升", "16.5", Outcome::WrongQ, ""},
        {"-4.6", "16.5", Outcome::WrongQ, ""},
        {"0", "16.5", Outcome::WrongQ, ""},
        {"1000", "16.5", Outcome::Reported, "Qxh= 1000.升/秒,消火栓口所需水压 Hxh=0.165MPa。"},
        {"1000.001", "16.5", Outcome::WrongQ, ""},
        {"1e300", "16.5", Outcome::WrongQ, ""},
        {"", "", Outcome::WrongQ, ""},
        {"4.6", "", Outcome::WrongHxh, ""},
        {"4.6", "0.165MPa", Outcome::WrongHxh, ""},
        {"4.6", "-16.5", Outcome::WrongHxh, ""},
        {"4.6", "10000000", Outcome::Reported, "Qxh= 4.6升/秒,消火栓口所需水压 Hxh=100000.MPa。"},
        {"4.6", "10000000.5", Outcome::WrongHxh, ""},
        {"4.6", "1e20", Outcome::WrongHxh, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.q) + " " + row.hxh);
        const HydrantReportOutcome r = hydrantReport(HydrantReportTexts{
            .waterColumn = u"10"_s,
            .nozzleDiameter = u"19"_s,
            .hoseLength = u"25"_s,
            .hoseDiameter = u"65"_s,
            .hoseMaterial = u"衬胶水带"_s,
            .jetFlow = QString::fromUtf8(row.q),
            .outletPressure = QString::fromUtf8(row.hxh),
        });
        if (row.outcome == Outcome::Reported) {
            EXPECT_FALSE(r.refusal.has_value());
            EXPECT_TRUE(r.values.startsWith(u"充实水柱长度 Hm= 10米,水枪喷口直径 df=19毫米,"_s));
            EXPECT_TRUE(r.values.endsWith(QString::fromUtf8(row.reported)))
                << r.values.toStdString();
            continue;
        }
        ASSERT_TRUE(r.refusal.has_value());
        const bool q = row.outcome == Outcome::WrongQ;
        EXPECT_EQ(r.refusal->field, q ? HydrantField::JetFlow : HydrantField::OutletPressure);
        EXPECT_EQ(r.refusal->message, q ? u"请输入正确的流量Q！"_s : u"请输入正确的栓口水压Hxh！"_s);
        EXPECT_EQ(r.refusal->title, u"确认数据正确性"_s);
        EXPECT_TRUE(r.values.isEmpty());
    }
}
