// The water supply pipe calculation from its fields' texts: the worked
// example, the ranges of every input on both sides of each limit, and the
// refusals that name the input at fault.
#include "hydraulics/supply_pipe_flow.h"

#include <gtest/gtest.h>

namespace hydraulics::SupplyPipeFlow {
namespace {

using namespace Qt::StringLiterals;

// The calculation's refusal, its values into `out`.
std::optional<SupplyRefusal> calculateInto(const SupplyInputs& in, SupplyResults& out)
{
    const SupplyOutcome outcome = calculate(in);
    out = outcome.values;
    return outcome.refusal;
}

// DN50 of 钢衬塑复合管 at 10 ℃, 2 L/s over 100 m: the worked example.
SupplyInputs example()
{
    return {true, u"2"_s, u"100"_s, u"1.0"_s, u"140"_s, u"50.00"_s};
}

TEST(SupplyPipeFlowTest, WorkedExampleInEitherFlowUnit)
{
    SupplyResults out;
    ASSERT_FALSE(calculateInto(example(), out));
    EXPECT_EQ(out.convertedFlow, u"7.2");
    EXPECT_EQ(out.unitHeadLoss, u"0.024761");
    EXPECT_EQ(out.velocity, u"1.019");
    // 100 times the shown i, not the unrounded 0.0247613...
    EXPECT_EQ(out.lengthLoss, u"2.4761");

    SupplyInputs tonnes = example();
    tonnes.litresPerSecond = false;
    tonnes.flow = u"7.2"_s;
    ASSERT_FALSE(calculateInto(tonnes, out));
    EXPECT_EQ(out.convertedFlow, u"2");
    EXPECT_EQ(out.unitHeadLoss, u"0.024761");
    EXPECT_EQ(out.velocity, u"1.019");

    tonnes.flow = u"5"_s;
    ASSERT_FALSE(calculateInto(tonnes, out));
    EXPECT_EQ(out.convertedFlow, u"1.38888888888889");
}

TEST(SupplyPipeFlowTest, NoFlowOrNoLengthGivesZeros)
{
    struct Row {
        const char* name;
        const char16_t* flow;
        const char16_t* length;
        const char16_t* i;
        const char16_t* v;
        const char16_t* loss;
    };
    const Row rows[] = {
        {"cleared window", u"0", u"0", u"0.0", u"0.0", u"0"},
        {"no flow", u"0", u"100", u"0.0", u"0.0", u"0"},
        {"empty length", u"2", u"", u"0.024761", u"1.019", u"0"},
        {"zero length", u"2", u"0", u"0.024761", u"1.019", u"0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SupplyInputs in = example();
        in.flow = QString::fromUtf16(row.flow);
        in.length = QString::fromUtf16(row.length);
        SupplyResults out;
        ASSERT_FALSE(calculateInto(in, out));
        EXPECT_EQ(out.unitHeadLoss, QString::fromUtf16(row.i));
        EXPECT_EQ(out.velocity, QString::fromUtf16(row.v));
        EXPECT_EQ(out.lengthLoss, QString::fromUtf16(row.loss));
    }
}

TEST(SupplyPipeFlowTest, ModeTextOfValueOneMeansLitresPerSecond)
{
    for (const char16_t* text : {u"1", u"1.0", u" 1", u"1e0"})
        EXPECT_TRUE(flowInLitresPerSecond(QString::fromUtf16(text)));
    for (const char16_t* text : {u"2", u"0", u"", u"一"})
        EXPECT_FALSE(flowInLitresPerSecond(QString::fromUtf16(text)));
}

struct RangeRow {
    const char* name;
    bool litresPerSecond;
    const char16_t* flow;
    const char16_t* length;
    const char16_t* factor;
    const char16_t* coefficient;
    const char16_t* diameter;
    std::optional<SupplyField> refused; // empty: computed
    const char16_t* message = u"";
};

constexpr auto kFlow = SupplyField::Flow;
constexpr auto kLength = SupplyField::Length;
constexpr auto kFactorField = SupplyField::Factor;
constexpr auto kC = SupplyField::Coefficient;
constexpr auto kD = SupplyField::Diameter;
const char16_t* const kWrongFlow = u"请输入正确的流量！";
const char16_t* const kWrongLength = u"请输入正确的管段长度！";
const char16_t* const kWrongTemperature = u"请选择正确的水温！";
const char16_t* const kWrongC = u"请输入正确的海澄-威廉系数！";
const char16_t* const kWrongD = u"请选择正确的管径！";

const RangeRow kRangeRows[] = {
    // Flow in L/s: 0, or 0.0001 to 10000.
    {"flow 0.0001 L/s", true, u"0.0001", u"100", u"1.0", u"140", u"50.00", {}},
    {"flow 0.00009 L/s", true, u"0.00009", u"100", u"1.0", u"140", u"50.00", kFlow, kWrongFlow},
    {"flow 10000 L/s", true, u"10000", u"100", u"1.0", u"140", u"50.00", {}},
    {"flow 10000.01 L/s", true, u"10000.01", u"100", u"1.0", u"140", u"50.00", kFlow, kWrongFlow},
    {"flow -1 L/s", true, u"-1", u"100", u"1.0", u"140", u"50.00", kFlow, kWrongFlow},
    {"flow 1e200 L/s", true, u"1e200", u"100", u"1.0", u"140", u"50.00", kFlow, kWrongFlow},
    {"flow abc", true, u"abc", u"100", u"1.0", u"140", u"50.00", kFlow, kWrongFlow},
    {"flow blank", true, u" ", u"100", u"1.0", u"140", u"50.00", kFlow, kWrongFlow},
    {"flow inf", true, u"inf", u"100", u"1.0", u"140", u"50.00", kFlow, kWrongFlow},
    {"flow empty", true, u"", u"100", u"1.0", u"140", u"50.00", kFlow, u"请输入流量！"},
    // Flow in t/h: 0, or 0.00036 to 36000.
    {"flow 0.00036 t/h", false, u"0.00036", u"100", u"1.0", u"140", u"50.00", {}},
    {"flow 0.00035 t/h", false, u"0.00035", u"100", u"1.0", u"140", u"50.00", kFlow, kWrongFlow},
    {"flow 36000 t/h", false, u"36000", u"100", u"1.0", u"140", u"50.00", {}},
    {"flow 36000.1 t/h", false, u"36000.1", u"100", u"1.0", u"140", u"50.00", kFlow, kWrongFlow},
    {"flow empty t/h", false, u"", u"100", u"1.0", u"140", u"50.00", kFlow, u"请输入流量！"},
    // Length: empty or 0, or 0.01 to 100000 m.
    {"length 0.01", true, u"2", u"0.01", u"1.0", u"140", u"50.00", {}},
    {"length 0.009", true, u"2", u"0.009", u"1.0", u"140", u"50.00", kLength, kWrongLength},
    {"length 100000", true, u"2", u"100000", u"1.0", u"140", u"50.00", {}},
    {"length 100001", true, u"2", u"100001", u"1.0", u"140", u"50.00", kLength, kWrongLength},
    {"length -5", true, u"2", u"-5", u"1.0", u"140", u"50.00", kLength, kWrongLength},
    {"length 10m", true, u"2", u"10m", u"1.0", u"140", u"50.00", kLength, kWrongLength},
    {"length 1e308", true, u"2", u"1e308", u"1.0", u"140", u"50.00", kLength, kWrongLength},
    // Temperature factor: above 0 up to 2.
    {"factor 2", true, u"2", u"100", u"2", u"140", u"50.00", {}},
    {"factor 2.01", true, u"2", u"100", u"2.01", u"140", u"50.00", kFactorField, kWrongTemperature},
    {"factor 0", true, u"2", u"100", u"0", u"140", u"50.00", kFactorField, kWrongTemperature},
    // C: 20 to 200, whatever is typed over the catalogue's value.
    {"C 20", true, u"2", u"100", u"1.0", u"20", u"50.00", {}},
    {"C 19.9", true, u"2", u"100", u"1.0", u"19.9", u"50.00", kC, kWrongC},
    {"C 200", true, u"2", u"100", u"1.0", u"200", u"50.00", {}},
    {"C 200.1", true, u"2", u"100", u"1.0", u"200.1", u"50.00", kC, kWrongC},
    {"C 0", true, u"2", u"100", u"1.0", u"0", u"50.00", kC, kWrongC},
    {"C empty", true, u"2", u"100", u"1.0", u"", u"50.00", kC, kWrongC},
    {"C letter", true, u"2", u"100", u"1.0", u"C", u"50.00", kC, kWrongC},
    // A coefficient so small that i would overflow is the coefficient's
    // fault, not the flow's.
    {"C 1e-170", true, u"2", u"100", u"1.0", u"1e-170", u"50.00", kC, kWrongC},
    // Inner diameter: 10 to 3000 mm.
    {"d 10", true, u"2", u"100", u"1.0", u"140", u"10", {}},
    {"d 9.9", true, u"2", u"100", u"1.0", u"140", u"9.9", kD, kWrongD},
    {"d 3000", true, u"2", u"100", u"1.0", u"140", u"3000", {}},
    {"d 3001", true, u"2", u"100", u"1.0", u"140", u"3001", kD, kWrongD},
    {"d 0", true, u"2", u"100", u"1.0", u"140", u"0", kD, kWrongD},
    {"d 1e-100", true, u"2", u"100", u"1.0", u"140", u"1e-100", kD, kWrongD},
    // The flow is checked first, then factor, C, diameter and length.
    {"flow and C wrong", true, u"-1", u"100", u"1.0", u"0", u"50.00", kFlow, kWrongFlow},
    {"C and d wrong", true, u"2", u"-1", u"1.0", u"0", u"0", kC, kWrongC},
};

TEST(SupplyPipeFlowTest, InputsInsideTheirRangesComputeOthersAreRefused)
{
    for (const RangeRow& row : kRangeRows) {
        SCOPED_TRACE(row.name);
        const SupplyInputs in{row.litresPerSecond,           QString::fromUtf16(row.flow),
                              QString::fromUtf16(row.length), QString::fromUtf16(row.factor),
                              QString::fromUtf16(row.coefficient), QString::fromUtf16(row.diameter)};
        SupplyResults out;
        const std::optional<SupplyRefusal> error = calculateInto(in, out);
        if (!row.refused) {
            ASSERT_FALSE(error) << error->message.toStdString();
            for (const QString& text : {out.convertedFlow, out.unitHeadLoss, out.velocity, out.lengthLoss})
                EXPECT_FALSE(text.contains(u'E') || text.contains(u"Inf") || text.contains(u"NaN"))
                    << text.toStdString();
            continue;
        }
        ASSERT_TRUE(error);
        EXPECT_EQ(error->field, *row.refused);
        EXPECT_EQ(error->message, QString::fromUtf16(row.message));
        EXPECT_EQ(error->title, u"确认数据正确性");
    }
}

TEST(SupplyPipeFlowTest, ExtremesOfTheRangesStayInPlainDigits)
{
    struct Row {
        const char* name;
        SupplyInputs in;
        const char16_t* converted;
        const char16_t* i;
        const char16_t* v;
        const char16_t* loss;
    };
    const Row rows[] = {
        // The largest flow through the smallest, roughest, coldest pipe.
        {"largest results", {false, u"36000"_s, u"100000"_s, u"2"_s, u"20"_s, u"10"_s},
         u"10000", u"32012073307.5101", u"127323.955", u"3201207330751010"},
        // The smallest flow through the largest, smoothest pipe.
        {"smallest results", {true, u"0.0001"_s, u"0.01"_s, u"0.72"_s, u"200"_s, u"3000"_s},
         u"0.00036", u"0.0", u"0.0", u"0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SupplyResults out;
        ASSERT_FALSE(calculateInto(row.in, out));
        EXPECT_EQ(out.convertedFlow, QString::fromUtf16(row.converted));
        EXPECT_EQ(out.unitHeadLoss, QString::fromUtf16(row.i));
        EXPECT_EQ(out.velocity, QString::fromUtf16(row.v));
        EXPECT_EQ(out.lengthLoss, QString::fromUtf16(row.loss));
    }
}

} // namespace
} // namespace hydraulics::SupplyPipeFlow
