// The network calculation over segment rows: the cells of each row as shown,
// the rounding carried from cell to cell, the running sums, and every input
// the run refuses.
#include "storm_network/network_calculation.h"
#include "forms/testing/text.h"
#include "network_fixtures.h"

#include "catalogues/storm_intensity_catalogue.h"
#include "textio/numtext.h"
#include "segment_file_bytes.h"  // texts printed as text in failures

#include "storm_network/network_catalogue.h"

#include <gtest/gtest.h>

using namespace storm_network;

namespace {

using forms::testing::S;
using storm_network::testing::openingParameters;

SegmentRow segment(const char* length, const char* area, const char* runoff)
{
    return SegmentRow{S(length), S(area), S(runoff)};
}

QStringList texts(const PackedCells& row)
{
    QStringList list;
    const ResultCells cells = row.unpack();
    for (const QString& text : cells.texts)
        list << text;
    return list;
}

}  // namespace

TEST(NetworkCalculation, OneSegment)
{
    const std::vector<SegmentRow> segments = {segment("50", "12345", "0.9")};
    const NetworkOutcome result = CalculateNetwork(openingParameters(), segments);
    ASSERT_FALSE(result.refusal) << result.refusal->message.toStdString();
    ASSERT_EQ(result.values.rows.size(), 1u);

    // t = t1 = 10 min: q = 3841·(1 + 0.85·lg 2) / 27^0.85 = 292.91 L/(s·ha).
    ASSERT_EQ(textio::formatNumber(*catalogues::StormIntensity(S("天津市"), 2, 10), S("0.00")),
              S("292.91"));
    // 单位流量 0.9 × 292.91, 设计流量 1.2345 × 263.62; 700 mm at 2 ‰ carries
    // it at 0.85 m/s, 50 m in 0.980 min.
    EXPECT_EQ(texts(result.values.rows[0]),
              (QStringList{S("1-2"), S("50.00"), S("1.2345"), S("0.0000"), S("1.2345"),
                           S("0.000"), S("0.980"), S("292.91"), S("0.900"), S("0.900"),
                           S("263.62"), S("325.44"), S("700"), S("2.0"), S("0.85"),
                           S("414.206")}));
    EXPECT_EQ(result.values.sums.flowTime, S("0.98"));
    EXPECT_EQ(result.values.sums.transferredArea, S("1.2345"));
    EXPECT_EQ(result.values.totalLength, S("50"));
}

TEST(NetworkCalculation, AreasAndTheMeanRunoffCoefficientCarryDown)
{
    // (0.9 × 1 + 0.3 × 3) / 4 = 0.450.
    const std::vector<SegmentRow> segments = {segment("120.5", "10000", "0.9"),
                                              segment("80", "30000", "0.3")};
    const NetworkOutcome result = CalculateNetwork(openingParameters(), segments);
    ASSERT_FALSE(result.refusal);
    const ResultCells second = result.values.rows[1].unpack();
    EXPECT_EQ(second[kSegmentLabel], S("2-3"));
    EXPECT_EQ(second[kOwnArea], S("3.0000"));
    EXPECT_EQ(second[kTransferredArea], S("1.0000"));
    EXPECT_EQ(second[kCumulativeArea], S("4.0000"));
    EXPECT_EQ(second[kMeanRunoff], S("0.450"));
    // The transferred area is written as plain decimal text of the shown 累计面积.
    EXPECT_EQ(result.values.sums.transferredArea, S("4"));
    EXPECT_EQ(result.values.totalLength, S("200.5"));
}

TEST(NetworkCalculation, TheMeanRunoffCoefficientWeighsEachCoefficientAsShown)
{
    // Ψ 0.9004 shows as 0.900: (0.900 × 9 + 0.302 × 1) / 10 = 0.8402 shows
    // as 0.840, where the typed 0.9004 would give 0.84056, shown 0.841.
    const std::vector<SegmentRow> segments = {segment("100", "90000", "0.9004"),
                                              segment("100", "10000", "0.302")};
    const NetworkOutcome result = CalculateNetwork(openingParameters(), segments);
    ASSERT_FALSE(result.refusal) << result.refusal->message.toStdString();
    EXPECT_EQ(result.values.rows[0].text(kRunoff), S("0.900"));
    EXPECT_EQ(result.values.rows[1].text(kMeanRunoff), S("0.840"));
}

TEST(NetworkCalculation, FlowTimeAddsThePipeTimesAsShown)
{
    // Pipe times shown as 1.234 and 2.346: the flow time above the third
    // segment is 3.58, not the sum of the unrounded times.
    const std::vector<SegmentRow> segments = {segment("27.39", "1000", "0.9"),
                                              segment("97.11", "1000", "0.9"),
                                              segment("100", "1000", "0.9")};
    const NetworkOutcome result = CalculateNetwork(openingParameters(), segments);
    ASSERT_FALSE(result.refusal);
    EXPECT_EQ(result.values.rows[0].text(kPipeTime), S("1.234"));
    EXPECT_EQ(result.values.rows[1].text(kFlowTime), S("1.234"));
    EXPECT_EQ(result.values.rows[1].text(kPipeTime), S("2.346"));
    EXPECT_EQ(result.values.rows[2].text(kFlowTime), S("3.580"));

    // The intensity of the third segment takes t = 10 + 2 × 3.58.
    const double q = *catalogues::StormIntensity(S("天津市"), 2, 10 + 2.0 * 3.58);
    EXPECT_EQ(result.values.rows[2].text(kIntensity), textio::formatNumber(q, S("0.00")));

    NetworkRunningSums sums;
    NetworkNumbers numbers;
    ASSERT_FALSE(CheckNetworkParameters(openingParameters(), &numbers));
    ResultCells row;
    ASSERT_FALSE(ComputeSegment(0, segments[0], numbers, sums, row));
    ASSERT_FALSE(ComputeSegment(1, segments[1], numbers, sums, row));
    EXPECT_EQ(sums.flowTime, S("3.58"));
}

TEST(NetworkCalculation, RowsNumberedPastNinetyNine)
{
    std::vector<SegmentRow> segments(100, segment("100", "2000", "0.65"));
    const NetworkOutcome result = CalculateNetwork(openingParameters(), segments);
    ASSERT_FALSE(result.refusal);
    ASSERT_EQ(result.values.rows.size(), 100u);
    EXPECT_EQ(result.values.rows[9].text(kSegmentLabel), S("10-11"));
    EXPECT_EQ(result.values.rows[98].text(kSegmentLabel), S("99-100"));
    EXPECT_EQ(result.values.rows[99].text(kSegmentLabel), S("100-101"));
    EXPECT_EQ(result.values.rows[99].text(kCumulativeArea), S("20.0000"));
    EXPECT_EQ(result.values.totalLength, S("10000"));
}

TEST(NetworkCalculation, RefusedInputsNameTheSegmentAndTheField)
{
    struct Case {
        const char* name;
        NetworkParameters parameters;
        std::vector<SegmentRow> segments;
        NetworkField field;
        int segment;
        const char* title;
        const char* message;
    };
    const SegmentRow good = segment("100", "5000", "0.65");
    auto with = [](void (*change)(NetworkParameters&)) {
        NetworkParameters p = openingParameters();
        change(p);
        return p;
    };
    const std::vector<Case> cases = {
        {"P empty, before t1 empty",
         with([](NetworkParameters& p) { p.returnPeriod.clear(); p.initialTime.clear(); }),
         {good}, NetworkField::ReturnPeriod, -1, "确认数据完整性", "请输入重现期"},
        {"t1 empty", with([](NetworkParameters& p) { p.initialTime.clear(); }), {good},
         NetworkField::InitialTime, -1, "确认数据完整性", "请输入地面集水时间"},
        {"P a blank", with([](NetworkParameters& p) { p.returnPeriod = S(" "); }), {good},
         NetworkField::ReturnPeriod, -1, "确认数据正确性", "请输入正确的重现期"},
        {"P not a number", with([](NetworkParameters& p) { p.returnPeriod = S("2年"); }), {good},
         NetworkField::ReturnPeriod, -1, "确认数据正确性", "请输入正确的重现期"},
        {"t1 not a number", with([](NetworkParameters& p) { p.initialTime = S("10,5"); }), {good},
         NetworkField::InitialTime, -1, "确认数据正确性", "请输入正确的地面集水时间"},
        {"m empty", with([](NetworkParameters& p) { p.reduction.clear(); }), {good},
         NetworkField::Reduction, -1, "确认数据正确性", "请输入正确的折减系数"},
        {"n not a number", with([](NetworkParameters& p) { p.roughness = S("n"); }), {good},
         NetworkField::Roughness, -1, "确认数据正确性", "管材的粗糙系数“n”不正确，请重新选择管材"},
        {"n of zero", with([](NetworkParameters& p) { p.roughness = S("0"); }), {good},
         NetworkField::Roughness, -1, "确认数据正确性", "管材的粗糙系数“0”不正确，请重新选择管材"},
        {"city without a formula", with([](NetworkParameters& p) { p.city = S("柳州"); }), {good},
         NetworkField::City, -1, "确认数据正确性", "柳州没有暴雨强度公式，请选择其他城市"},
        {"P outside the formula", with([](NetworkParameters& p) { p.returnPeriod = S("0.01"); }),
         {good}, NetworkField::Intensity, 0, "确认数据正确性",
         "第 1 段：重现期P = 0.01、降雨历时t = 10 min 超出暴雨强度公式的适用范围"},
        {"P of zero", with([](NetworkParameters& p) { p.returnPeriod = S("0"); }), {good},
         NetworkField::ReturnPeriod, -1, "确认数据正确性", "重现期应大于0且不大于1000年，请重新输入"},
        {"P just above a thousand years",
         with([](NetworkParameters& p) { p.returnPeriod = S("1000.001"); }), {good},
         NetworkField::ReturnPeriod, -1, "确认数据正确性", "重现期应大于0且不大于1000年，请重新输入"},
        {"P absurd", with([](NetworkParameters& p) { p.returnPeriod = S("1e300"); }), {good},
         NetworkField::ReturnPeriod, -1, "确认数据正确性", "重现期应大于0且不大于1000年，请重新输入"},
        {"t1 negative", with([](NetworkParameters& p) { p.initialTime = S("-0.001"); }), {good},
         NetworkField::InitialTime, -1, "确认数据正确性",
         "地面集水时间应不小于0且不大于1000 min，请重新输入"},
        {"t1 absurd, before m absurd",
         with([](NetworkParameters& p) { p.initialTime = S("1e300"); p.reduction = S("1e300"); }),
         {good}, NetworkField::InitialTime, -1, "确认数据正确性",
         "地面集水时间应不小于0且不大于1000 min，请重新输入"},
        {"t1 just above its range", with([](NetworkParameters& p) { p.initialTime = S("1000.5"); }),
         {good}, NetworkField::InitialTime, -1, "确认数据正确性",
         "地面集水时间应不小于0且不大于1000 min，请重新输入"},
        {"m just below one", with([](NetworkParameters& p) { p.reduction = S("0.99"); }), {good},
         NetworkField::Reduction, -1, "确认数据正确性", "折减系数应不小于1且不大于10，请重新输入"},
        {"m negative", with([](NetworkParameters& p) { p.reduction = S("-1"); }), {good},
         NetworkField::Reduction, -1, "确认数据正确性", "折减系数应不小于1且不大于10，请重新输入"},
        {"m just above ten", with([](NetworkParameters& p) { p.reduction = S("10.01"); }), {good},
         NetworkField::Reduction, -1, "确认数据正确性", "折减系数应不小于1且不大于10，请重新输入"},
        {"m absurd", with([](NetworkParameters& p) { p.reduction = S("1e300"); }), {good, good},
         NetworkField::Reduction, -1, "确认数据正确性", "折减系数应不小于1且不大于10，请重新输入"},
        {"length of zero", openingParameters(), {segment("0", "5000", "0.65")},
         NetworkField::Length, 0, "确认数据正确性",
         "第 1 段：管段长度应大于0且不大于10000 m，请重新输入"},
        {"length negative", openingParameters(), {good, segment("-100", "5000", "0.65")},
         NetworkField::Length, 1, "确认数据正确性",
         "第 2 段：管段长度应大于0且不大于10000 m，请重新输入"},
        {"length just above ten kilometres", openingParameters(),
         {segment("10000.01", "5000", "0.65")}, NetworkField::Length, 0, "确认数据正确性",
         "第 1 段：管段长度应大于0且不大于10000 m，请重新输入"},
        {"first length absurd", openingParameters(), {segment("1e12", "5000", "0.65"), good},
         NetworkField::Length, 0, "确认数据正确性",
         "第 1 段：管段长度应大于0且不大于10000 m，请重新输入"},
        {"area negative", openingParameters(), {good, segment("100", "-500", "0.65")},
         NetworkField::Area, 1, "确认数据正确性",
         "第 2 段：汇水面积应不小于0且不大于10000000 m²，请重新输入"},
        {"area just above a thousand hectares", openingParameters(),
         {segment("100", "10000001", "0.15")}, NetworkField::Area, 0, "确认数据正确性",
         "第 1 段：汇水面积应不小于0且不大于10000000 m²，请重新输入"},
        {"runoff of zero", openingParameters(), {segment("100", "5000", "0")}, NetworkField::Runoff,
         0, "确认数据正确性", "第 1 段：径流系数应大于0且不大于1，请重新输入"},
        {"runoff just above one", openingParameters(), {good, segment("100", "5000", "1.001")},
         NetworkField::Runoff, 1, "确认数据正确性", "第 2 段：径流系数应大于0且不大于1，请重新输入"},
        {"runoff of five", openingParameters(), {segment("100", "5000", "5")}, NetworkField::Runoff,
         0, "确认数据正确性", "第 1 段：径流系数应大于0且不大于1，请重新输入"},
        {"length not a number", openingParameters(), {good, segment("abc", "5000", "0.65")},
         NetworkField::Length, 1, "确认数据正确性", "第 2 段：请输入正确的管段长度"},
        {"area empty", openingParameters(), {segment("100", "", "0.65")}, NetworkField::Area, 0,
         "确认数据正确性", "第 1 段：请输入正确的汇水面积"},
        {"runoff with a comma", openingParameters(), {good, good, segment("100", "5000", "0,65")},
         NetworkField::Runoff, 2, "确认数据正确性", "第 3 段：请输入正确的径流系数"},
        {"no area on the first segment", openingParameters(), {segment("100", "0", "0.65")},
         NetworkField::CumulativeArea, 0, "确认数据正确性",
         "第 1 段：累计面积为0.0000 ha，无法计算平均径流系数，请检查汇水面积"},
        {"an area shown as 0.0000", openingParameters(), {segment("100", "0.4", "0.65")},
         NetworkField::CumulativeArea, 0, "确认数据正确性",
         "第 1 段：累计面积为0.0000 ha，无法计算平均径流系数，请检查汇水面积"},
        {"a flow no pipe carries", openingParameters(), {segment("100", "3000000", "0.9")},
         NetworkField::DesignFlow, 0, "确认数据正确性",
         "第 1 段：设计流量79086.00 L/s超过管径3000 mm在坡度19.9‰时的最大流量"},
        {"a velocity shown as 0.00", openingParameters(), {segment("100", "1", "0.9")},
         NetworkField::Velocity, 0, "确认数据正确性",
         "第 1 段：设计流量0.03 L/s过小，流速为0.00 m/s，无法计算管内时间"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const NetworkOutcome result = CalculateNetwork(c.parameters, c.segments);
        ASSERT_TRUE(result.refusal.has_value());
        EXPECT_EQ(result.refusal->field, c.field);
        // A segment's refusal names it first, a design parameter's no segment.
        EXPECT_EQ(result.refusal->message.startsWith(S("第 %1 段：").arg(c.segment + 1)),
                  c.segment >= 0);
        EXPECT_EQ(result.refusal->message.startsWith(S("第 ")), c.segment >= 0);
        EXPECT_EQ(result.refusal->title, S(c.title));
        EXPECT_EQ(result.refusal->message, S(c.message));
        EXPECT_TRUE(result.values.rows.empty());
        EXPECT_EQ(result.values.sums.flowTime, S("0"));
        EXPECT_EQ(result.values.sums.transferredArea, S("0"));
    }
}

TEST(NetworkCalculation, ValuesAtTheEdgesOfTheirRangesAreDesigned)
{
    struct Case {
        const char* name;
        NetworkParameters parameters;
        std::vector<SegmentRow> segments;
    };
    const SegmentRow good = segment("100", "5000", "0.65");
    auto with = [](void (*change)(NetworkParameters&)) {
        NetworkParameters p = openingParameters();
        change(p);
        return p;
    };
    const std::vector<Case> cases = {
        {"P of a thousand years", with([](NetworkParameters& p) { p.returnPeriod = S("1000"); }),
         {good, good}},
        {"P of a tenth of a year", with([](NetworkParameters& p) { p.returnPeriod = S("0.1"); }),
         {good, good}},
        {"t1 of zero", with([](NetworkParameters& p) { p.initialTime = S("0"); }), {good, good}},
        {"t1 of a thousand minutes", with([](NetworkParameters& p) { p.initialTime = S("1000"); }),
         {good, good}},
        {"m of one", with([](NetworkParameters& p) { p.reduction = S("1"); }), {good, good}},
        {"m of ten", with([](NetworkParameters& p) { p.reduction = S("10"); }), {good, good}},
        {"ten kilometres", openingParameters(), {segment("10000", "5000", "0.65"), good}},
        {"a length too short to show", openingParameters(), {segment("1e-300", "5000", "0.65")}},
        {"a thousand hectares", openingParameters(), {segment("100", "10000000", "0.15")}},
        {"no area of its own below", openingParameters(), {good, segment("100", "0", "0.65")}},
        {"runoff of one", openingParameters(), {segment("100", "5000", "1")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const NetworkOutcome result = CalculateNetwork(c.parameters, c.segments);
        ASSERT_FALSE(result.refusal) << result.refusal->message.toStdString();
        ASSERT_EQ(result.values.rows.size(), c.segments.size());
        // Only digits, points and the label's hyphen: no exponent, no Inf.
        for (const PackedCells& row : result.values.rows) {
            for (const QString& text : texts(row)) {
                for (const QChar ch : text)
                    EXPECT_TRUE(ch.isDigit() || ch == u'.' || ch == u'-') << text.toStdString();
            }
        }
        for (const QChar ch : result.values.totalLength)
            EXPECT_TRUE(ch.isDigit() || ch == u'.') << result.values.totalLength.toStdString();
    }

    // 1000 ha at Ψ 0.15: 43940.00 L/s, 3000 mm found at 9.6 ‰.
    const NetworkOutcome large =
        CalculateNetwork(openingParameters(), std::vector{segment("100", "10000000", "0.15")});
    ASSERT_FALSE(large.refusal);
    EXPECT_EQ(texts(large.values.rows[0]).mid(1),
              (QStringList{S("100.00"), S("1000.0000"), S("0.0000"), S("1000.0000"), S("0.000"),
                           S("0.268"), S("292.91"), S("0.150"), S("0.150"), S("43.94"),
                           S("43940.00"), S("3000"), S("9.6"), S("6.22"), S("43977.664")}));
    const NetworkOutcome longest =
        CalculateNetwork(openingParameters(), std::vector{segment("10000", "5000", "0.65")});
    ASSERT_FALSE(longest.refusal);
    EXPECT_EQ(longest.values.rows[0].text(kLength), S("10000.00"));
    EXPECT_EQ(longest.values.totalLength, S("10000"));
}

TEST(NetworkWorkFiles, AFailedWriteIsToldWithItsCause)
{
    const textio::Notice notice = storm_network::WorkFileFailureNotice(S("磁盘已满"));
    EXPECT_EQ(notice.message, S("磁盘已满\n数据文件夹中的工作文件未能更新，计算照常进行。"));
    EXPECT_EQ(notice.title, S("提示"));
    EXPECT_EQ(notice.style, 48);  // OK alone, exclamation mark
}
