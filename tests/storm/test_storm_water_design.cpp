// The storm water outlet design from field texts: which input a press
// refuses and with which message, the ranges of the typed values on both
// sides of their bounds, the worked example, and the full-pipe check.
#include "storm/storm_water_design.h"

#include "forms/testing/text.h"
#include "textio/numtext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using forms::testing::S;
using storm::StormWaterField;

namespace {

// 天津市, P = 1, t = 10, Ψ = 0.9, F = 10000 m², N = 2, an outdoor concrete
// outlet; each row changes some of these texts.
struct DesignRow {
    const char* name;
    const char* returnPeriod = "1";
    const char* duration = "10";
    const char* city = "天津市";
    const char* area = "10000";
    const char* runoff = "0.9";
    const char* pipeCount = "2";
};

// The design's values with its refusal, as the assertions read them.
struct Design {
    QString intensity;
    std::optional<storm::StormWaterFlows> flows;
    std::optional<storm::StormWaterRefusal> error;
};

Design design(const DesignRow& row)
{
    const storm::StormWaterOutcome outcome = storm::DesignStormWater(
        {.returnPeriod = S(row.returnPeriod),
         .duration = S(row.duration),
         .city = S(row.city),
         .area = S(row.area),
         .runoff = S(row.runoff),
         .pipeCount = S(row.pipeCount),
         .kind = storm::OutletKind::Outdoor,
         .material = S("砼管")});
    return {outcome.values.intensity, outcome.values.flows, outcome.refusal};
}

// The check's values with its refusal.
struct Check {
    std::optional<storm::FullPipeCheckRefusal> error;
    storm::FullPipeCheck check;
};

Check checkFullPipe(const QString& diameter, const QString& slope)
{
    const storm::FullPipeCheckOutcome outcome = storm::CheckFullPipe(diameter, slope);
    return {outcome.refusal, outcome.values};
}

// The 天津市 formula written out: q = 3841(1 + 0.85 lg P) / (t + 17)^0.85.
double tianjin(double P, double t)
{
    return 3841 * (1 + 0.85 * std::log10(P)) / std::pow(t + 17, 0.85);
}

// A text a field shows in plain digits: no exponent, no Inf or NaN.
bool plain(const QString& text)
{
    return !text.isEmpty() && !text.contains(QLatin1Char('E')) && !text.contains(u"Inf") &&
           !text.contains(u"NaN");
}

struct RefusalRow {
    DesignRow inputs;
    StormWaterField field;
    const char* message;
    bool missing;            // "确认数据完整性"; otherwise "确认数据正确性"
    bool comesWithIntensity; // the intensity is known before the refusal
};

}  // namespace

TEST(StormWaterDesign, RefusesTheInputAtFaultWithItsMessage)
{
    using F = StormWaterField;
    const RefusalRow rows[] = {
        // Empty fields, asked for in order.
        {{.name = "P empty", .returnPeriod = ""}, F::ReturnPeriod, "请输入重现期", true, false},
        {{.name = "t empty", .duration = ""}, F::Duration, "请输入降水历时", true, false},
        {{.name = "P and t empty", .returnPeriod = "", .duration = ""}, F::ReturnPeriod,
         "请输入重现期", true, false},
        {{.name = "Ψ empty", .runoff = ""}, F::Runoff, "请选择径流系数", true, true},
        {{.name = "N empty", .pipeCount = ""}, F::PipeCount, "请输入管道数量", true, true},
        // An empty field is asked for before a wrong one is refused.
        {{.name = "Ψ empty, F wrong", .area = "abc", .runoff = ""}, F::Runoff,
         "请选择径流系数", true, true},
        // Return period: no number, or outside 0 < P <= 1000.
        {{.name = "P abc", .returnPeriod = "abc"}, F::ReturnPeriod, "请输入正确的重现期", false,
         false},
        {{.name = "P blanks", .returnPeriod = "  "}, F::ReturnPeriod, "请输入正确的重现期", false,
         false},
        {{.name = "P with unit", .returnPeriod = "2年"}, F::ReturnPeriod, "请输入正确的重现期",
         false, false},
        {{.name = "P 0", .returnPeriod = "0"}, F::ReturnPeriod, "请输入正确的重现期", false,
         false},
        {{.name = "P -1", .returnPeriod = "-1"}, F::ReturnPeriod, "请输入正确的重现期", false,
         false},
        {{.name = "P 1000.001", .returnPeriod = "1000.001"}, F::ReturnPeriod,
         "请输入正确的重现期", false, false},
        {{.name = "P 1e300", .returnPeriod = "1e300"}, F::ReturnPeriod, "请输入正确的重现期",
         false, false},
        // Outside the city's formula: 1 + 0.775 lg P is negative below
        // P = 0.052, lg(P - 0.121) needs P > 0.121.
        {{.name = "重庆 P 0.05", .returnPeriod = "0.05", .city = "重庆市"}, F::ReturnPeriod,
         "请输入正确的重现期", false, false},
        {{.name = "承德 P 0.1", .returnPeriod = "0.1", .city = "承德"}, F::ReturnPeriod,
         "请输入正确的重现期", false, false},
        // 1 + 0.85 lg P is nearly 0: q of about 0.5 L/(s·ha) is no design rain.
        {{.name = "天津 P 0.067", .returnPeriod = "0.067"}, F::ReturnPeriod,
         "请输入正确的重现期", false, false},
        // Duration: no number, or outside 0 < t <= 1000.
        {{.name = "t x", .duration = "x"}, F::Duration, "请输入正确的降水历时", false, false},
        {{.name = "t 0", .duration = "0"}, F::Duration, "请输入正确的降水历时", false, false},
        {{.name = "t -20", .duration = "-20"}, F::Duration, "请输入正确的降水历时", false, false},
        {{.name = "t 1000.5", .duration = "1000.5"}, F::Duration, "请输入正确的降水历时", false,
         false},
        // 唐山 divides by t^0.6: at a nanosecond-short rain q is 2.3e8.
        {{.name = "唐山 t 1e-9", .duration = "1e-9", .city = "唐山"}, F::Duration,
         "请输入正确的降水历时", false, false},
        // A city offered without a formula.
        {{.name = "柳州", .city = "柳州"}, F::City, "所选城市暂无暴雨强度公式，请选择其他城市",
         false, false},
        // Area: no number, or outside 1 m² to 10 km².
        {{.name = "F abc", .area = "abc"}, F::Area, "请输入正确的汇水面积", false, true},
        {{.name = "F blank", .area = " "}, F::Area, "请输入正确的汇水面积", false, true},
        {{.name = "F -5", .area = "-5"}, F::Area, "请输入正确的汇水面积", false, true},
        {{.name = "F 0", .area = "0"}, F::Area, "请输入正确的汇水面积", false, true},
        {{.name = "F 0.99", .area = "0.99"}, F::Area, "请输入正确的汇水面积", false, true},
        {{.name = "F 10000001", .area = "10000001"}, F::Area, "请输入正确的汇水面积", false,
         true},
        {{.name = "F 1e308", .area = "1e308"}, F::Area, "请输入正确的汇水面积", false, true},
        // Runoff coefficient: no number, or outside 0.01 to 1.
        {{.name = "Ψ abc", .runoff = "abc"}, F::Runoff, "请输入正确的径流系数", false, true},
        {{.name = "Ψ -0.5", .runoff = "-0.5"}, F::Runoff, "请输入正确的径流系数", false, true},
        {{.name = "Ψ 0", .runoff = "0"}, F::Runoff, "请输入正确的径流系数", false, true},
        {{.name = "Ψ 0.0099", .runoff = "0.0099"}, F::Runoff, "请输入正确的径流系数", false,
         true},
        {{.name = "Ψ 1.0001", .runoff = "1.0001"}, F::Runoff, "请输入正确的径流系数", false,
         true},
        {{.name = "Ψ 1.5", .runoff = "1.5"}, F::Runoff, "请输入正确的径流系数", false, true},
        // Pipe count: a whole number from 1 to 100.
        {{.name = "N 0", .pipeCount = "0"}, F::PipeCount, "请输入正确的管道数量", false, true},
        {{.name = "N -1", .pipeCount = "-1"}, F::PipeCount, "请输入正确的管道数量", false, true},
        {{.name = "N 0.5", .pipeCount = "0.5"}, F::PipeCount, "请输入正确的管道数量", false,
         true},
        {{.name = "N 2.5", .pipeCount = "2.5"}, F::PipeCount, "请输入正确的管道数量", false,
         true},
        {{.name = "N 101", .pipeCount = "101"}, F::PipeCount, "请输入正确的管道数量", false,
         true},
        {{.name = "N 两", .pipeCount = "两"}, F::PipeCount, "请输入正确的管道数量", false, true},
        {{.name = "N blanks", .pipeCount = "  "}, F::PipeCount, "请输入正确的管道数量", false,
         true},
    };
    for (const RefusalRow& row : rows) {
        SCOPED_TRACE(row.inputs.name);
        const Design result = design(row.inputs);
        ASSERT_TRUE(result.error.has_value());
        EXPECT_EQ(result.error->field, row.field);
        EXPECT_EQ(result.error->message, S(row.message));
        EXPECT_EQ(result.error->title, row.missing ? S("确认数据完整性") : S("确认数据正确性"));
        EXPECT_FALSE(result.flows.has_value());
        if (row.comesWithIntensity)
            EXPECT_NEAR(textio::readNumber(result.intensity).value_or(0), tianjin(1, 10), 1e-9);
        else
            EXPECT_TRUE(result.intensity.isEmpty());
    }
}

TEST(StormWaterDesign, TakesTheBoundsOfEveryRangeInPlainDigits)
{
    const DesignRow rows[] = {
        {.name = "P 1000", .returnPeriod = "1000"},
        {.name = "P 0.1 of a formula that takes it", .returnPeriod = "0.1"},
        {.name = "t 1000", .duration = "1000"},
        {.name = "t 0.001", .duration = "0.001"},
        {.name = "F 1", .area = "1"},
        {.name = "F 1e7", .area = "1e7"},
        {.name = "Ψ 0.01", .runoff = "0.01"},
        {.name = "Ψ 1", .runoff = "1"},
        {.name = "N 1", .pipeCount = "1"},
        {.name = "N 100", .pipeCount = "100"},
        {.name = "N 2.0", .pipeCount = "2.0"},
        {.name = "N 1e2", .pipeCount = "1e2"},
        // The largest and the smallest flows of the ranges.
        {.name = "largest", .returnPeriod = "1000", .duration = "0.001", .area = "1e7",
         .runoff = "1", .pipeCount = "1"},
        {.name = "smallest", .duration = "1000", .area = "1", .runoff = "0.01",
         .pipeCount = "100"},
    };
    for (const DesignRow& row : rows) {
        SCOPED_TRACE(row.name);
        const Design result = design(row);
        ASSERT_FALSE(result.error.has_value()) << result.error->message.toStdString();
        ASSERT_TRUE(result.flows.has_value());
        const double P = textio::readNumber(S(row.returnPeriod)).value_or(0);
        const double t = textio::readNumber(S(row.duration)).value_or(0);
        const double q = textio::readNumber(result.intensity).value_or(0);
        EXPECT_NEAR(q, tianjin(P, t), 1e-9 * q);
        const double F = textio::readNumber(S(row.area)).value_or(0);
        const double psi = textio::readNumber(S(row.runoff)).value_or(0);
        const double N = textio::readNumber(S(row.pipeCount)).value_or(0);
        const double total = psi * q * F / 10000;
        EXPECT_NEAR(textio::readNumber(result.flows->total).value_or(0), total, 1e-12 * total);
        EXPECT_NEAR(textio::readNumber(result.flows->perPipe).value_or(0), total / N,
                    1e-12 * total);
        for (const QString& text : {result.intensity, result.flows->total, result.flows->perPipe,
                                    result.flows->perPipeM3h})
            EXPECT_TRUE(plain(text)) << text.toStdString();
        EXPECT_EQ(result.flows->pipe.status, storm::OutletPipeStatus::Chosen);
    }
}

TEST(StormWaterDesign, EmptyAreaGivesTheIntensityAlone)
{
    const Design result = design({.name = "", .duration = "20", .area = "",
                                                   .runoff = "", .pipeCount = ""});
    EXPECT_FALSE(result.error.has_value());
    EXPECT_FALSE(result.flows.has_value());
    // 天津市, P = 1, t = 20: 3841 / 37^0.85.
    EXPECT_NEAR(textio::readNumber(result.intensity).value_or(0), 178.432, 0.0005);
}

TEST(StormWaterDesign, WorkedExampleChoosesTheOutletPipe)
{
    const Design result = design({.name = "worked example"});
    ASSERT_FALSE(result.error.has_value());
    ASSERT_TRUE(result.flows.has_value());
    EXPECT_NEAR(textio::readNumber(result.intensity).value_or(0), 233.23, 0.005);
    EXPECT_NEAR(textio::readNumber(result.flows->total).value_or(0), 209.91, 0.005);
    EXPECT_NEAR(textio::readNumber(result.flows->perPipe).value_or(0), 104.95, 0.005);
    EXPECT_NEAR(textio::readNumber(result.flows->perPipeM3h).value_or(0), 377.83, 0.005);
    EXPECT_EQ(result.flows->pipe.diameter, S(" d450"));
    EXPECT_EQ(result.flows->pipe.slope, S("2"));
}

// ------------------------------------------------------------ full-pipe check

TEST(FullPipeCheck, VelocityAsShownAndTheFlowFromIt)
{
    struct Row {
        const char* diameter;
        const char* slope;
        const char* diameterM;
        const char* minimum;
        const char* velocity;
        const char* flow;
    };
    // v = (D/4)^(2/3) √(I/1000) / 0.013 to three decimals, then
    // Q = v · D² · 3.14159 · 250.
    const Row rows[] = {
        {"d300", "3.0", "0.3", "3.0", ".749", "52.944"},
        {" 300 ", "3", "0.3", "3.0", ".749", "52.944"},
        {"d200", "4.0", "0.2", "4.0", ".66", "20.734"},
        {"50", "0.6", "0.05", "2.0", ".101", ".198"},
        {"d5000", "1000", "5", "2.0", "89.261", "1752634.156"},
        {"d5000", "0.001", "5", "2.0", ".089", "1747.509"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.diameter) + " / " + row.slope);
        const Check result = checkFullPipe(S(row.diameter), S(row.slope));
        ASSERT_FALSE(result.error.has_value());
        EXPECT_EQ(result.check.diameterM, S(row.diameterM));
        EXPECT_EQ(result.check.minimumSlope, S(row.minimum));
        EXPECT_EQ(result.check.velocity, S(row.velocity));
        EXPECT_EQ(result.check.flow, S(row.flow));
    }
}

TEST(FullPipeCheck, DiameterAndSlopeOutsideTheirRangesAreAskedFor)
{
    struct Row {
        const char* diameter;
        const char* slope;
        storm::CheckField field;
    };
    using F = storm::CheckField;
    const Row rows[] = {
        {"请选择管径", "3.0", F::Diameter}, {"abc", "3.0", F::Diameter},
        {"d", "3.0", F::Diameter},          {"d 300", "3.0", F::Diameter},
        {"d0", "3.0", F::Diameter},         {"49.9", "3.0", F::Diameter},
        {"d5001", "3.0", F::Diameter},      {"1e300", "3.0", F::Diameter},
        {"d300", "请选择坡度", F::Slope},   {"d300", "0", F::Slope},
        {"d300", "-2", F::Slope},           {"d300", "1000.1", F::Slope},
        {"d300", "1e300", F::Slope},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.diameter) + " / " + row.slope);
        const Check result = checkFullPipe(S(row.diameter), S(row.slope));
        ASSERT_TRUE(result.error.has_value());
        EXPECT_EQ(result.error->field, row.field);
        EXPECT_EQ(result.error->message,
                  row.field == F::Diameter ? S("请选择管径") : S("请选择坡度"));
        EXPECT_EQ(result.error->title, S("确认数据完整性"));
    }
}

TEST(FullPipeCheck, SlopeWarningByTheDiameterInForce)
{
    // OK alone (critical icon) for d200; OK and Cancel with Cancel the
    // default for d250 to d400; none otherwise.
    constexpr int kOkOnly = 16;
    constexpr int kOkCancel = 1 + 16 + 256;
    struct Row {
        const char* diameter;
        const char* slope;
        std::optional<int> style;
    };
    const Row rows[] = {
        {"d200", "3.9", kOkOnly},   {"d200", "4.0", {}},       {"200", "3.9", kOkOnly},
        {"d250", "0.6", kOkCancel}, {"d300", "2.9", kOkCancel}, {"d300", "3.0", {}},
        {"d400", "1.9", kOkCancel}, {"d400", "2.0", {}},       {"d450", "0.6", {}},
        {"请选择管径", "0.6", {}}, {"d300", "陡", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.diameter) + " / " + row.slope);
        const std::optional<textio::Notice> warning = storm::SlopeWarningFor(S(row.diameter), S(row.slope));
        ASSERT_EQ(warning.has_value(), row.style.has_value());
        if (!warning)
            continue;
        EXPECT_EQ(warning->style, *row.style);
        EXPECT_EQ(warning->message,
                  S("您所选择的坡度小于规范规定【GBJ 14-87 第3.2.9条】，继续请按确定。"));
        EXPECT_EQ(warning->title, S("确认数据正确性"));
    }
}
