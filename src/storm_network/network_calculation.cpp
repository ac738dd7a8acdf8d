#include "storm_network/network_calculation.h"

#include "storm_network/network_pipe_sizing.h"
#include "textio/numtext.h"

#include <cmath>

namespace storm_network {

RangeReading ReadInRange(const QString& text, const textio::ValueRange& range)
{
    if (const std::optional<double> value = textio::readInRange(text, range))
        return RangeReading{value, RangeFault::NotANumber};
    const std::optional<double> value = textio::readNumber(text);
    if (!value)
        return RangeReading{std::nullopt, RangeFault::NotANumber};
    const bool low = range.lowestIncluded ? *value < range.lowest : !(*value > range.lowest);
    return RangeReading{std::nullopt, low ? RangeFault::TooSmall : RangeFault::TooLarge};
}

QString RangeWords(const textio::ValueRange& range, const QString& unit)
{
    return QStringLiteral("应%1%2且不大于%3%4")
        .arg(range.lowestIncluded ? QStringLiteral("不小于") : QStringLiteral("大于"),
             textio::generalNumberText(range.lowest), textio::generalNumberText(range.highest),
             unit);
}

namespace {

NetworkRefusal wrong(NetworkField field, const QString& message)
{
    return NetworkRefusal{field, message, textio::kCorrectnessTitle};
}

// A design parameter read against its range: "请输入正确的…" for a text that is
// no number, the range in words for a value outside it.
std::optional<double> readParameter(const QString& text, const textio::ValueRange& range,
                                    NetworkField field, const QString& name,
                                    const QString& unit, std::optional<NetworkRefusal>& error)
{
    const RangeReading reading = ReadInRange(text, range);
    if (reading.value)
        return reading.value;
    error = wrong(field, reading.fault == RangeFault::NotANumber
                             ? QStringLiteral("请输入正确的") + name
                             : name + RangeWords(range, unit) + QStringLiteral("，请重新输入"));
    return std::nullopt;
}

// "第 3 段：" for row 2.
QString segmentPrefix(int index)
{
    return QStringLiteral("第 %1 段：").arg(index + 1);
}

NetworkRefusal wrongSegment(int index, NetworkField field, const QString& what)
{
    return wrong(field, segmentPrefix(index) + what);
}

NetworkRefusal flowNotFinite(int index)
{
    return wrongSegment(index, NetworkField::DesignFlow, QStringLiteral("设计流量不是有限的数值"));
}

QString segmentLabel(int index)
{
    return QString::number(index + 1) + QLatin1Char('-') + QString::number(index + 2);
}

// A segment's value read against its range, the refusal naming the segment.
std::optional<double> readSegmentValue(int index, const QString& text,
                                       const textio::ValueRange& range, NetworkField field,
                                       const QString& name, const QString& unit,
                                       std::optional<NetworkRefusal>& error)
{
    if (const std::optional<double> value = readParameter(text, range, field, name, unit, error))
        return value;
    error->message.prepend(segmentPrefix(index));
    return std::nullopt;
}

// A duration in a message: to the thousandth of a minute, as the 汇流时间
// cells show it, without trailing zeros.
QString minutesText(double t)
{
    return textio::generalNumberText(std::round(t * 1000) / 1000);
}

}  // namespace

std::optional<NetworkRefusal> CheckNetworkParameters(const NetworkParameters& parameters,
                                                     NetworkNumbers* numbers, CityFormula city)
{
    // Only emptiness makes a value missing; a blank is a wrong value.
    if (parameters.returnPeriod.isEmpty())
        return NetworkRefusal{NetworkField::ReturnPeriod, QStringLiteral("请输入重现期"),
                              textio::kCompletenessTitle};
    if (parameters.initialTime.isEmpty())
        return NetworkRefusal{NetworkField::InitialTime, QStringLiteral("请输入地面集水时间"),
                              textio::kCompletenessTitle};

    std::optional<NetworkRefusal> error;
    const std::optional<double> P =
        readParameter(parameters.returnPeriod, kReturnPeriodRange, NetworkField::ReturnPeriod,
                      QStringLiteral("重现期"), QStringLiteral("年"), error);
    if (!P)
        return error;
    const std::optional<double> t1 =
        readParameter(parameters.initialTime, kInitialTimeRange, NetworkField::InitialTime,
                      QStringLiteral("地面集水时间"), QStringLiteral(" min"), error);
    if (!t1)
        return error;
    const std::optional<double> m = readParameter(parameters.reduction, kReductionRange,
                                                  NetworkField::Reduction,
                                                  QStringLiteral("折减系数"), QString(), error);
    if (!m)
        return error;
    const std::optional<double> n = textio::readNumber(parameters.roughness);
    if (!n || !(*n > 0))
        return wrong(NetworkField::Roughness,
                     QStringLiteral("管材的粗糙系数“%1”不正确，请重新选择管材").arg(parameters.roughness));
    const catalogues::StormIntensityFormula* formula =
        catalogues::FindStormIntensityFormula(parameters.city);
    if (formula == nullptr && city == CityFormula::Required)
        return wrong(NetworkField::City,
                     QStringLiteral("%1没有暴雨强度公式，请选择其他城市").arg(parameters.city));

    if (numbers) {
        numbers->returnPeriod = *P;
        numbers->returnPeriodText = parameters.returnPeriod.trimmed();
        numbers->initialTime = *t1;
        numbers->reduction = *m;
        numbers->roughness = *n;
        numbers->formula = formula;
        numbers->diameters = parameters.diameters;
    }
    return std::nullopt;
}

std::optional<double> SegmentIntensity(const NetworkNumbers& numbers, double flowTimeMin)
{
    if (numbers.formula == nullptr)
        return std::nullopt;
    const double t = numbers.initialTime + numbers.reduction * flowTimeMin;
    return catalogues::StormIntensity(*numbers.formula, numbers.returnPeriod, t);
}

std::optional<NetworkRefusal> ComputeSegment(int index, const SegmentRow& segment,
                                             const NetworkNumbers& numbers,
                                             NetworkRunningSums& sums, ResultCells& row)
{
    std::optional<NetworkRefusal> error;
    const std::optional<double> length =
        readSegmentValue(index, segment.length, kSegmentLengthRange, NetworkField::Length,
                         QStringLiteral("管段长度"), QStringLiteral(" m"), error);
    if (!length)
        return error;
    const std::optional<double> area =
        readSegmentValue(index, segment.area, kSegmentAreaRange, NetworkField::Area,
                         QStringLiteral("汇水面积"), QStringLiteral(" m²"), error);
    if (!area)
        return error;
    const std::optional<double> runoff =
        readSegmentValue(index, segment.runoff, kRunoffRange, NetworkField::Runoff,
                         QStringLiteral("径流系数"), QString(), error);
    if (!runoff)
        return error;
    // The sums are plain decimal texts this run wrote itself.
    const double transferredAbove = textio::readNumber(sums.transferredArea).value_or(0);
    const double flowTimeAbove = textio::readNumber(sums.flowTime).value_or(0);

    row[kSegmentLabel] = segmentLabel(index);
    const std::optional<double> shownLength = WriteShown(row[kLength], kLength, *length);
    const std::optional<double> ownArea = WriteShown(row[kOwnArea], kOwnArea, *area / 10000);
    const std::optional<double> transferred =
        WriteShown(row[kTransferredArea], kTransferredArea, transferredAbove);
    if (!shownLength || !ownArea || !transferred)
        return wrongSegment(index, NetworkField::Area, QStringLiteral("请输入正确的汇水面积"));
    const std::optional<double> cumulative =
        WriteShown(row[kCumulativeArea], kCumulativeArea, *transferred + *ownArea);
    if (!cumulative)
        return wrongSegment(index, NetworkField::Area, QStringLiteral("请输入正确的汇水面积"));
    sums.transferredArea = textio::generalNumberText(*cumulative);
    WriteShown(row[kFlowTime], kFlowTime, flowTimeAbove);

    // The intensity takes the flow time above at full precision, not as the
    // 汇流时间 cell shows it.
    if (std::optional<NetworkRefusal> intensityError =
            WriteSegmentIntensity(index, numbers, flowTimeAbove, row))
        return intensityError;
    const std::optional<double> shownRunoff = WriteShown(row[kRunoff], kRunoff, *runoff);
    if (!shownRunoff)
        return wrongSegment(index, NetworkField::Runoff, QStringLiteral("请输入正确的径流系数"));

    if (*cumulative == 0)
        return wrongSegment(index, NetworkField::CumulativeArea,
                            QStringLiteral("累计面积为0.0000 ha，无法计算平均径流系数，请检查汇水面积"));
    sums.weightedRunoff += *shownRunoff * *ownArea;
    if (!WriteShown(row[kMeanRunoff], kMeanRunoff, sums.weightedRunoff / *cumulative))
        return flowNotFinite(index);
    if (std::optional<NetworkRefusal> pipeError = ComputeSegmentFlowAndPipe(index, numbers, row))
        return pipeError;

    // The next segment's flow time adds this one's pipe time as shown.
    const std::optional<double> pipeTime = textio::readNumber(row[kPipeTime]);
    sums.flowTime = textio::generalNumberText(flowTimeAbove + pipeTime.value_or(0));
    return std::nullopt;
}

std::optional<NetworkRefusal> WriteSegmentIntensity(int index, const NetworkNumbers& numbers,
                                                    double flowTimeMin, ResultCells& row)
{
    const std::optional<double> q = SegmentIntensity(numbers, flowTimeMin);
    if (!q || !WriteShown(row[kIntensity], kIntensity, *q))
        return wrongSegment(
            index, NetworkField::Intensity,
            QStringLiteral("重现期P = %1、降雨历时t = %2 min 超出暴雨强度公式的适用范围")
                .arg(numbers.returnPeriodText,
                     minutesText(numbers.initialTime + numbers.reduction * flowTimeMin)));
    return std::nullopt;
}

std::optional<NetworkRefusal> ComputeSegmentFlowAndPipe(int index, const NetworkNumbers& numbers,
                                                        ResultCells& row)
{
    const std::optional<double> cumulative = textio::readNumber(row[kCumulativeArea]);
    const std::optional<double> intensity = textio::readNumber(row[kIntensity]);
    const std::optional<double> meanRunoff = textio::readNumber(row[kMeanRunoff]);
    const std::optional<double> unitFlow =
        meanRunoff && intensity ? WriteShown(row[kUnitFlow], kUnitFlow, *meanRunoff * *intensity)
                                : std::nullopt;
    const std::optional<double> designFlow =
        unitFlow && cumulative ? WriteShown(row[kDesignFlow], kDesignFlow, *cumulative * *unitFlow)
                               : std::nullopt;
    if (!designFlow)
        return flowNotFinite(index);

    switch (NetworkPipeSizing(row, numbers.roughness, numbers.diameters)) {
    case SizingStatus::Sized:
        return std::nullopt;
    case SizingStatus::NegativeFlow:
        return wrongSegment(index, NetworkField::DesignFlow,
                            QStringLiteral("设计流量%1 L/s为负值，请检查汇水面积和径流系数")
                                .arg(row[kDesignFlow]));
    case SizingStatus::NoPipeLargeEnough:
        return wrongSegment(index, NetworkField::DesignFlow,
                            QStringLiteral("设计流量%1 L/s超过管径%2 mm在坡度%3‰时的最大流量")
                                .arg(row[kDesignFlow], LargestSearchedDiameter(),
                                     SteepestSearchedSlope()));
    case SizingStatus::ZeroVelocity:
        return wrongSegment(index, NetworkField::Velocity,
                            QStringLiteral("设计流量%1 L/s过小，流速为0.00 m/s，无法计算管内时间")
                                .arg(row[kDesignFlow]));
    case SizingStatus::BadRoughness:
        return wrong(NetworkField::Roughness, QStringLiteral("管材的粗糙系数不正确，请重新选择管材"));
    case SizingStatus::FlowNotANumber:
    case SizingStatus::BadPipeCell:
        break;
    }
    return flowNotFinite(index);
}

NetworkOutcome CalculateNetwork(const NetworkParameters& parameters,
                                std::span<const SegmentRow> segments)
{
    NetworkOutcome result;
    NetworkNumbers numbers;
    if (std::optional<NetworkRefusal> error = CheckNetworkParameters(parameters, &numbers)) {
        result.refusal = std::move(error);
        return result;
    }

    NetworkRun& run = result.values;
    run.rows.reserve(segments.size());
    double totalLength = 0;
    ResultCells row;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        if (std::optional<NetworkRefusal> error =
                ComputeSegment(static_cast<int>(i), segments[i], numbers, run.sums, row)) {
            result.refusal = std::move(error);
            result.values = NetworkRun();
            return result;
        }
        totalLength += textio::readNumber(row[kLength]).value_or(0);
        run.rows.emplace_back(row);
    }
    run.totalLength = textio::generalNumberText(totalLength);
    return result;
}

textio::Notice WorkFileFailureNotice(const QString& error)
{
    return {error + QChar(10) + QStringLiteral("数据文件夹中的工作文件未能更新，计算照常进行。"),
            textio::kHintTitle, textio::box_style::kOkOnly | textio::box_style::kExclamation};
}

}  // namespace storm_network
