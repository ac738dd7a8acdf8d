// The adjustment of one segment of a designed run: the adjusted row, the
// capacity check, the rows below designed again from the table as shown with
// the parameters in force, and every adjustment that is refused with the
// table left as it was.
#include "storm_network/segment_adjustment.h"
#include "forms/testing/text.h"
#include "network_fixtures.h"

#include "segment_file_bytes.h"
#include "storm_network/network_catalogue.h"
#include "storm_network/network_pipe_sizing.h"
#include "textio/numtext.h"

#include <gtest/gtest.h>

#include <functional>

using namespace storm_network;

namespace {

using forms::testing::S;
using storm_network::testing::openingParameters;

// Five segments; the second is large enough that a shorter flow time above
// it takes it, and the third, to the next size.
const std::vector<SegmentRow> kFiveSegments = {
    {S("120"), S("8000"), S("0.9")},  {S("85.5"), S("13400"), S("0.65")},
    {S("60"), S("4000"), S("0.4")},   {S("150"), S("20000"), S("0.6")},
    {S("90"), S("6000"), S("0.7")},
};

// The table as the network calculation leaves it.
ResultTable designed(const std::vector<SegmentRow>& segments,
                     const NetworkParameters& parameters = openingParameters())
{
    NetworkOutcome result = CalculateNetwork(parameters, segments);
    EXPECT_FALSE(result.refusal) << result.refusal->message.toStdString();
    ResultTable table;
    table.takeRun(std::move(result.values.rows), result.values.totalLength);
    return table;
}

// The adjustment's answer as these assertions read it: what was done, the
// message the engineer is shown and whether the table changed.
enum class Done { Adjusted, CapacityBelowDesignFlow, Refused };
struct Answer {
    Done outcome;
    QString message;
    QString title;
    bool changed;
};

Answer adjust(ResultTable& table, int row, const QString& diameter, const QString& slope,
              const NetworkParameters& parameters)
{
    const AdjustmentOutcome outcome = AdjustSegment(table, row, diameter, slope, parameters);
    const bool changed = outcome.values.changed;
    if (outcome.refusal)
        return {Done::Refused, outcome.refusal->message, outcome.refusal->title, changed};
    if (const std::optional<textio::Notice>& notice = outcome.values.capacityShort)
        return {Done::CapacityBelowDesignFlow, notice->message, notice->title, changed};
    return {Done::Adjusted, QString(), QString(), changed};
}

std::vector<ResultCells> allRows(const ResultTable& table)
{
    std::vector<ResultCells> rows;
    for (int row = 0; row < table.rowCount(); ++row)
        rows.push_back(table.cells(row));
    return rows;
}

QStringList texts(const ResultCells& row)
{
    return QStringList(row.texts.begin(), row.texts.end());
}

double number(const ResultTable& table, int row, ResultColumn c)
{
    const std::optional<double> value = textio::readNumber(table.text(row, c));
    EXPECT_TRUE(value) << "row " << row << " column " << c;
    return value.value_or(0);
}

// The concrete pipe diameter, to six decimals, whose capacity at 3 ‰ is
// `flowLps`.
QString diameterCarrying(double flowLps)
{
    return textio::formatNumber(*RequiredDiameterMm(flowLps, 0.013, 0.003), S("0.000000"));
}

// The columns an adjustment writes on the adjusted row.
constexpr ResultColumn kPipeColumns[] = {kDiameter, kSlope, kVelocity, kCapacity, kPipeTime};

}  // namespace

TEST(SegmentAdjustment, RefusedEntriesLeaveTheTableAsItWas)
{
    struct Case {
        const char* name;
        int row;
        const char* diameter;
        const char* slope;
        std::function<void(NetworkParameters&)> change;
        const char* message;
        const char* title;
    };
    const auto none = [](NetworkParameters&) {};
    const Case cases[] = {
        {"both fields empty", 1, "", "", none, "请输入管径！", "提示"},
        {"diameter empty", 1, "", "2", none, "请输入管径！", "提示"},
        {"slope empty", 1, "600", "", none, "请输入坡度！", "提示"},
        {"diameter no number", 1, "d600", "2", none, "管径应为数值，请重新输入！", "提示"},
        {"diameter zero", 1, "0", "2", none,
         "管径过小，应不小于100且不大于5000 mm，请重新输入！", "提示"},
        {"diameter negative", 1, "-600", "2", none,
         "管径过小，应不小于100且不大于5000 mm，请重新输入！", "提示"},
        {"diameter next to nothing", 1, "1e-300", "2", none,
         "管径过小，应不小于100且不大于5000 mm，请重新输入！", "提示"},
        {"diameter just below the smallest", 1, "99.99", "2", none,
         "管径过小，应不小于100且不大于5000 mm，请重新输入！", "提示"},
        {"diameter just above the largest", 1, "5000.1", "2", none,
         "管径过大，应不小于100且不大于5000 mm，请重新输入！", "提示"},
        {"diameter absurd", 1, "1e300", "2", none,
         "管径过大，应不小于100且不大于5000 mm，请重新输入！", "提示"},
        {"slope no number", 1, "600", "2‰", none, "坡度应为数值，请重新输入！", "提示"},
        {"slope zero", 1, "600", "0", none, "坡度过小，应大于0且不大于1000‰，请重新输入！", "提示"},
        {"slope negative", 1, "600", "-2", none,
         "坡度过小，应大于0且不大于1000‰，请重新输入！", "提示"},
        {"slope just above a thousand", 1, "600", "1000.01", none,
         "坡度过大，应大于0且不大于1000‰，请重新输入！", "提示"},
        {"slope absurd", 1, "600", "1e300", none,
         "坡度过大，应大于0且不大于1000‰，请重新输入！", "提示"},
        {"a blank row", 5, "600", "2", none,
         "计算表中没有这一管段，请在计算表中点击要调整管段的设计管径或水力坡度。", "提示"},
        {"no row", -1, "600", "2", none,
         "计算表中没有这一管段，请在计算表中点击要调整管段的设计管径或水力坡度。", "提示"},
        {"return period emptied in the network window", 1, "600", "2",
         [](NetworkParameters& p) { p.returnPeriod.clear(); },
         "请输入重现期\n调整未进行，计算表保持原样。", "确认数据完整性"},
        {"reduction factor no number", 1, "600", "2",
         [](NetworkParameters& p) { p.reduction = S("二"); },
         "请输入正确的折减系数\n调整未进行，计算表保持原样。", "确认数据正确性"},
        {"reduction factor absurd", 1, "600", "2",
         [](NetworkParameters& p) { p.reduction = S("1e300"); },
         "折减系数应不小于1且不大于10，请重新输入\n调整未进行，计算表保持原样。", "确认数据正确性"},
        // A row below that cannot be designed: nothing is written, not even
        // the adjusted row.
        {"intensity without a value below", 0, "500", "4",
         [](NetworkParameters& p) { p.returnPeriod = S("0.01"); },
         "第 2 段：重现期P = 0.01、降雨历时t = 13.738 min 超出暴雨强度公式的适用范围\n"
         "调整未进行，计算表保持原样。",
         "确认数据正确性"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResultTable table = designed(kFiveSegments);
        const std::vector<ResultCells> before = allRows(table);
        NetworkParameters parameters = openingParameters();
        c.change(parameters);
        const Answer result = adjust(table, c.row, S(c.diameter), S(c.slope), parameters);
        EXPECT_EQ(result.outcome, Done::Refused);
        EXPECT_EQ(result.message, S(c.message));
        EXPECT_EQ(result.title, S(c.title));
        EXPECT_FALSE(result.changed);
        EXPECT_TRUE(allRows(table) == before);
        EXPECT_EQ(table.capacityCheck(1), CapacityCheck::None);
    }
}

TEST(SegmentAdjustment, TheEdgesOfTheImposedRangesAreTaken)
{
    struct Case {
        const char* name;
        const char* diameter;
        const char* slope;
        Done outcome;
        const char* shownSlope;
    };
    const Case cases[] = {
        {"the smallest diameter", "100", "2", Done::CapacityBelowDesignFlow, "2.0"},
        {"the largest diameter", "5000", "2", Done::Adjusted, "2.0"},
        {"the steepest slope", "600", "1000", Done::Adjusted, "1000.0"},
        // Shown as 0.0 ‰, which carries nothing.
        {"a slope too gentle to show", "600", "0.001", Done::CapacityBelowDesignFlow,
         "0.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResultTable table = designed(kFiveSegments);
        const Answer result = adjust(table, 1, S(c.diameter), S(c.slope), openingParameters());
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(table.text(1, kDiameter), S(c.diameter));
        EXPECT_EQ(table.text(1, kSlope), S(c.shownSlope));
        for (int row = 0; row < 5; ++row) {
            for (const QString& text : texts(table.cells(row))) {
                for (const QChar ch : text)
                    EXPECT_TRUE(ch.isDigit() || ch == u'.' || ch == u'-') << text.toStdString();
            }
        }
    }
}

TEST(SegmentAdjustment, APipeSoWideTheVelocityShowsZeroIsRefused)
{
    // 38.08 L/s in 5000 mm: 0.0019 m/s, shown as 0.00.
    ResultTable table = designed({{S("100"), S("2000"), S("0.65")}});
    ASSERT_EQ(table.text(0, kDesignFlow), S("38.08"));
    const std::vector<ResultCells> before = allRows(table);
    const Answer result = adjust(table, 0, S("5000"), S("2"), openingParameters());
    EXPECT_EQ(result.outcome, Done::Refused);
    EXPECT_EQ(result.message, S("管径5000 mm时流速为0.00 m/s，无法计算管内时间，请重新确认管径！"));
    EXPECT_TRUE(allRows(table) == before);
}

TEST(SegmentAdjustment, AFlowNoPipeCarriesBelowRefusesTheWholeAdjustment)
{
    // 151 ha in the second segment: some 39,400 L/s at P 2, more than
    // 3000 mm at 19.9 ‰ carries at P 100.
    ResultTable table = designed({{S("50"), S("10000"), S("0.9")}, {S("100"), S("1500000"), S("0.9")}});
    ASSERT_EQ(table.text(1, kDiameter), S("3000"));
    const std::vector<ResultCells> before = allRows(table);
    NetworkParameters parameters = openingParameters();
    parameters.returnPeriod = S("100");

    const Answer result = adjust(table, 0, S("600"), S("3"), parameters);
    EXPECT_EQ(result.outcome, Done::Refused);
    EXPECT_TRUE(result.message.startsWith(S("第 2 段：设计流量")));
    EXPECT_TRUE(result.message.endsWith(
        S("L/s超过管径3000 mm在坡度19.9‰时的最大流量\n调整未进行，计算表保持原样。")));
    EXPECT_TRUE(allRows(table) == before);
}

TEST(SegmentAdjustment, TypedTextsAsTheTableShowsThem)
{
    struct Case {
        const char* diameter;
        const char* slope;
        const char* shownDiameter;
        const char* shownSlope;
    };
    const Case cases[] = {
        {"1000", "3", "1000", "3.0"},     {"1000", "2.5", "1000", "2.5"},
        {"1100", "2.25", "1100", "2.25"}, {"1100", "2.256", "1100", "2.26"},
        {"1000.0", "4", "1000.0", "4.0"}, {"1050", "2.0", "1050", "2.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.diameter) + " at " + c.slope);
        ResultTable table = designed(kFiveSegments);
        const Answer result = adjust(table, 4, S(c.diameter), S(c.slope), openingParameters());
        EXPECT_EQ(result.outcome, Done::Adjusted);
        EXPECT_EQ(table.text(4, kDiameter), S(c.shownDiameter));
        EXPECT_EQ(table.text(4, kSlope), S(c.shownSlope));
    }
}

TEST(SegmentAdjustment, TheChosenPipeAgainChangesNothing)
{
    // The rows below, designed again from the table, come out as the
    // calculation made them.
    ResultTable table = designed(kFiveSegments);
    const std::vector<ResultCells> before = allRows(table);
    for (int row = 0; row < 5; ++row) {
        SCOPED_TRACE(row);
        const Answer result = adjust(table, row, table.text(row, kDiameter),
                                     table.text(row, kSlope), openingParameters());
        EXPECT_EQ(result.outcome, Done::Adjusted);
        EXPECT_FALSE(result.changed);
        EXPECT_TRUE(allRows(table) == before);
    }
}

TEST(SegmentAdjustment, ASmallerPipeShortensTheFlowTimesAndResizesTheRowsBelow)
{
    ResultTable table = designed(kFiveSegments);
    const std::vector<ResultCells> before = allRows(table);
    EXPECT_EQ(texts(before[0]).mid(12),
              (QStringList{S("600"), S("2.0"), S("0.75"), S("274.594")}));
    EXPECT_EQ(before[1][kDiameter], S("700"));
    EXPECT_EQ(before[2][kDiameter], S("700"));

    // 500 mm at 4 ‰ carries the 210.90 L/s of the first segment faster.
    const Answer result = adjust(table, 0, S("500"), S("4"), openingParameters());
    EXPECT_EQ(result.outcome, Done::Adjusted);
    EXPECT_TRUE(result.changed);
    EXPECT_EQ(texts(table.cells(0)),
              (QStringList{S("1-2"), S("120.00"), S("0.8000"), S("0.0000"), S("0.8000"), S("0.000"),
                           S("1.869"), S("292.91"), S("0.900"), S("0.900"), S("263.62"), S("210.90"),
                           S("500"), S("4.0"), S("1.07"), S("238.812")}));
    EXPECT_EQ(table.capacityCheck(0), CapacityCheck::Carried);
    EXPECT_FALSE(table.enabled(0, kCapacity));

    // Second segment: t = 10 + 2.0 × 1.869 min, q = 262.34; 2.14 ha at a
    // mean Ψ of 0.743 give 417.13 L/s, above what 700 mm carries at 2 ‰.
    EXPECT_EQ(texts(table.cells(1)),
              (QStringList{S("2-3"), S("85.50"), S("1.3400"), S("0.8000"), S("2.1400"), S("1.869"),
                           S("1.717"), S("262.34"), S("0.650"), S("0.743"), S("194.92"), S("417.13"),
                           S("800"), S("2.0"), S("0.83"), S("591.373")}));

    for (int row = 1; row < 5; ++row) {
        SCOPED_TRACE(row);
        const ResultCells& old = before[static_cast<std::size_t>(row)];
        // The flow time is the one above plus its pipe time, as shown.
        EXPECT_EQ(table.text(row, kFlowTime),
                  textio::formatNumber(number(table, row - 1, kFlowTime)
                                           + number(table, row - 1, kPipeTime),
                                       S("0.000")));
        EXPECT_LT(number(table, row, kFlowTime), *textio::readNumber(old[kFlowTime]));
        EXPECT_GT(number(table, row, kIntensity), *textio::readNumber(old[kIntensity]));
        EXPECT_GT(number(table, row, kDesignFlow), *textio::readNumber(old[kDesignFlow]));
        // Sized again by the calculation's rule from the new design flow.
        const std::optional<PipeChoice> choice = ChooseNetworkPipe(
            number(table, row, kDesignFlow), 0.013, NetworkDiameterList(kReinforcedConcretePipe));
        ASSERT_TRUE(choice);
        EXPECT_EQ(table.text(row, kDiameter), choice->diameter);
        // Areas, coefficients and labels stay.
        for (const ResultColumn c : {kSegmentLabel, kLength, kOwnArea, kTransferredArea,
                                     kCumulativeArea, kRunoff, kMeanRunoff})
            EXPECT_EQ(table.text(row, c), old[c]) << c;
    }
    EXPECT_EQ(table.text(2, kDiameter), S("800"));
    // Rows without a segment stay empty.
    EXPECT_TRUE(table.cells(5) == ResultCells());
}

TEST(SegmentAdjustment, CapacityEqualToTheDesignFlowAsShownCarriesIt)
{
    // The 210.90 L/s of the first segment to the last digit shown.
    ResultTable table = designed(kFiveSegments);
    const std::vector<ResultCells> before = allRows(table);
    const Answer result =
        adjust(table, 0, diameterCarrying(210.90), S("3"), openingParameters());
    EXPECT_EQ(result.outcome, Done::Adjusted);
    EXPECT_EQ(table.text(0, kCapacity), S("210.900"));
    EXPECT_EQ(table.capacityCheck(0), CapacityCheck::Carried);
    EXPECT_FALSE(table.enabled(0, kCapacity));
    // The new pipe time reaches the rows below.
    EXPECT_NE(table.text(0, kPipeTime), before[0][kPipeTime]);
    EXPECT_EQ(table.text(1, kFlowTime), table.text(0, kPipeTime));
    EXPECT_NE(table.text(1, kIntensity), before[1][kIntensity]);
}

TEST(SegmentAdjustment, CapacityBelowTheDesignFlowRewritesTheRowAlone)
{
    ResultTable table = designed(kFiveSegments);
    const std::vector<ResultCells> before = allRows(table);
    // A thousandth of a litre short.
    const QString diameter = diameterCarrying(210.899);
    const Answer result = adjust(table, 0, diameter, S("3"), openingParameters());
    EXPECT_EQ(result.outcome, Done::CapacityBelowDesignFlow);
    EXPECT_EQ(result.message, S("最大允许流量小于设计流量，请重新确认管径及坡度！"));
    EXPECT_EQ(result.title, S("提示"));
    EXPECT_TRUE(result.changed);

    EXPECT_EQ(table.text(0, kDiameter), diameter);
    EXPECT_EQ(table.text(0, kSlope), S("3.0"));
    EXPECT_EQ(table.text(0, kCapacity), S("210.899"));
    EXPECT_NE(table.text(0, kPipeTime), before[0][kPipeTime]);
    // Short, clickable, not editable.
    EXPECT_EQ(table.capacityCheck(0), CapacityCheck::Short);
    EXPECT_TRUE(table.enabled(0, kCapacity));
    EXPECT_TRUE(table.readOnly(0, kCapacity));
    // The rows below keep the old pipe time above them.
    for (int row = 1; row < table.rowCount(); ++row)
        EXPECT_TRUE(table.cells(row) == before[static_cast<std::size_t>(row)]) << row;

    // A pipe that carries it is checked so and designs the rows below.
    EXPECT_EQ(adjust(table, 0, S("600"), S("3"), openingParameters()).outcome,
              Done::Adjusted);
    EXPECT_EQ(table.capacityCheck(0), CapacityCheck::Carried);
    EXPECT_FALSE(table.enabled(0, kCapacity));
}

TEST(SegmentAdjustment, TheLastSegmentChangesItsPipeCellsOnly)
{
    ResultTable table = designed(kFiveSegments);
    const std::vector<ResultCells> before = allRows(table);
    const Answer result = adjust(table, 4, S("1000"), S("1.5"), openingParameters());
    EXPECT_EQ(result.outcome, Done::Adjusted);
    // 681.87 L/s in 1000 mm: 0.87 m/s, 90 m in 1.724 min; 928.579 L/s at 1.5 ‰.
    ResultCells expected = before[4];
    expected[kDiameter] = S("1000");
    expected[kSlope] = S("1.5");
    expected[kVelocity] = S("0.87");
    expected[kCapacity] = S("928.579");
    expected[kPipeTime] = S("1.724");
    EXPECT_EQ(texts(table.cells(4)), texts(expected));
    for (int row = 0; row < table.rowCount(); ++row)
        EXPECT_TRUE(row == 4 || table.cells(row) == before[static_cast<std::size_t>(row)]) << row;
    for (const ResultColumn c : kPipeColumns)
        EXPECT_NE(table.text(4, c), before[4][c]) << c;
}

TEST(SegmentAdjustment, TheRowsBelowTakeTheParametersInForce)
{
    ResultTable table = designed(kFiveSegments);
    const std::vector<ResultCells> before = allRows(table);
    // Changed in the network window after the calculation: P 5, HDPE pipe.
    NetworkParameters parameters = openingParameters();
    parameters.returnPeriod = S("5");
    parameters.roughness = S("0.01");
    parameters.diameters = NetworkDiameterList(kHdpeCorrugatedPipe);

    const Answer result =
        adjust(table, 2, before[2][kDiameter], before[2][kSlope], parameters);
    EXPECT_EQ(result.outcome, Done::Adjusted);
    // Rows above and the adjusted row's flows keep the old parameters.
    for (int row = 0; row < 2; ++row)
        EXPECT_TRUE(table.cells(row) == before[static_cast<std::size_t>(row)]) << row;
    EXPECT_EQ(table.text(2, kIntensity), before[2][kIntensity]);
    EXPECT_EQ(table.text(2, kDesignFlow), before[2][kDesignFlow]);
    // n 0.01 on the adjusted row's capacity: 700 mm at 2 ‰.
    EXPECT_EQ(table.text(2, kCapacity), S("538.468"));
    // The next row at the same flow time: q grows by (1 + 0.85 lg 5) / (1 + 0.85 lg 2).
    EXPECT_EQ(table.text(3, kFlowTime), before[3][kFlowTime]);
    EXPECT_NEAR(number(table, 3, kIntensity) / *textio::readNumber(before[3][kIntensity]),
                (1 + 0.85 * std::log10(5.0)) / (1 + 0.85 * std::log10(2.0)), 1e-4);
    for (int row = 3; row < 5; ++row) {
        SCOPED_TRACE(row);
        const std::optional<PipeChoice> choice = ChooseNetworkPipe(
            number(table, row, kDesignFlow), 0.01, NetworkDiameterList(kHdpeCorrugatedPipe));
        ASSERT_TRUE(choice);
        EXPECT_EQ(table.text(row, kDiameter), choice->diameter);
    }
}

TEST(SegmentAdjustment, ACityWithoutAFormulaKeepsTheIntensitiesBelow)
{
    ResultTable table = designed(kFiveSegments);
    const std::vector<ResultCells> before = allRows(table);
    NetworkParameters parameters = openingParameters();
    parameters.city = S("柳州");

    const Answer result = adjust(table, 0, S("500"), S("4"), parameters);
    EXPECT_EQ(result.outcome, Done::Adjusted);
    for (int row = 1; row < 5; ++row) {
        SCOPED_TRACE(row);
        const ResultCells& old = before[static_cast<std::size_t>(row)];
        EXPECT_LT(number(table, row, kFlowTime), *textio::readNumber(old[kFlowTime]));
        EXPECT_EQ(table.text(row, kIntensity), old[kIntensity]);
        // Flows and sizes follow from the kept intensities.
        EXPECT_EQ(table.text(row, kUnitFlow),
                  textio::formatNumber(number(table, row, kMeanRunoff) * number(table, row, kIntensity),
                                       S("0.00")));
        EXPECT_EQ(table.text(row, kDesignFlow), old[kDesignFlow]);
        EXPECT_EQ(table.text(row, kDiameter), old[kDiameter]);
    }
}
