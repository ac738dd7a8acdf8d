#include "storm_network/segment_adjustment.h"

#include "storm_network/network_pipe_sizing.h"
#include "textio/numtext.h"

#include <vector>

namespace storm_network {

namespace {

const QString kTableKept = QStringLiteral("调整未进行，计算表保持原样。");

AdjustmentOutcome refused(AdjustmentField field, const QString& message,
                          const QString& title = kAdjustmentTitle)
{
    return AdjustmentOutcome{AdjustmentRefusal{field, message, title}, Adjustment{}};
}

// A refusal of the network calculation's own, with the note that nothing
// was written.
AdjustmentOutcome refused(const NetworkRefusal& refusal)
{
    return refused(AdjustmentField::Table, refusal.message + QChar(10) + kTableKept, refusal.title);
}

NetworkRefusal incompleteRow(int index)
{
    return NetworkRefusal{NetworkField::DesignFlow,
                          QStringLiteral("第 %1 段的计算结果不完整，请重新计算管网").arg(index + 1),
                          textio::kCorrectnessTitle};
}

// Why a typed diameter or slope cannot be imposed, or nothing.
std::optional<QString> imposedValueFault(const QString& text, const textio::ValueRange& range,
                                         const QString& name, const QString& unit)
{
    const RangeReading reading = ReadInRange(text, range);
    if (reading.value)
        return std::nullopt;
    switch (reading.fault) {
    case RangeFault::NotANumber:
        return name + QStringLiteral("应为数值，请重新输入！");
    case RangeFault::TooSmall:
        return name + QStringLiteral("过小，") + RangeWords(range, unit)
               + QStringLiteral("，请重新输入！");
    case RangeFault::TooLarge:
        break;
    }
    return name + QStringLiteral("过大，") + RangeWords(range, unit) + QStringLiteral("，请重新输入！");
}

// Row `index` designed again below a row whose new cells are `above`: the
// areas, the flow time and the intensity from the table as shown, then the
// flows and the pipe as the network calculation designs them.
std::optional<NetworkRefusal> redesignRow(int index, const ResultCells& above,
                                          const NetworkNumbers& numbers, ResultCells& row)
{
    const std::optional<double> own = textio::readNumber(row[kOwnArea]);
    const std::optional<double> transferred = textio::readNumber(row[kTransferredArea]);
    const std::optional<double> flowTimeAbove = textio::readNumber(above[kFlowTime]);
    const std::optional<double> pipeTimeAbove = textio::readNumber(above[kPipeTime]);
    if (!own || !transferred || !flowTimeAbove || !pipeTimeAbove
        || !WriteShown(row[kCumulativeArea], kCumulativeArea, *transferred + *own))
        return incompleteRow(index);
    const std::optional<double> flowTime =
        WriteShown(row[kFlowTime], kFlowTime, *flowTimeAbove + *pipeTimeAbove);
    if (!flowTime)
        return incompleteRow(index);

    if (numbers.formula != nullptr) {
        if (std::optional<NetworkRefusal> error =
                WriteSegmentIntensity(index, numbers, *flowTime, row))
            return error;
    } else {
        // No formula for the city: the intensity stays as the table shows it.
        const std::optional<double> shown = textio::readNumber(row[kIntensity]);
        if (!shown || !WriteShown(row[kIntensity], kIntensity, *shown))
            return incompleteRow(index);
    }
    return ComputeSegmentFlowAndPipe(index, numbers, row);
}

}  // namespace

AdjustmentOutcome AdjustSegment(ResultTable& table, int row, const QString& diameter,
                                const QString& slope, const NetworkParameters& parameters)
{
    if (diameter.isEmpty())
        return refused(AdjustmentField::Diameter, QStringLiteral("请输入管径！"));
    if (slope.isEmpty())
        return refused(AdjustmentField::Slope, QStringLiteral("请输入坡度！"));
    if (const std::optional<QString> fault = imposedValueFault(
            diameter, kImposedDiameterRange, QStringLiteral("管径"), QStringLiteral(" mm")))
        return refused(AdjustmentField::Diameter, *fault);
    if (const std::optional<QString> fault =
            imposedValueFault(slope, kImposedSlopeRange, QStringLiteral("坡度"), QStringLiteral("‰")))
        return refused(AdjustmentField::Slope, *fault);
    if (row < 0 || row >= table.segmentCount())
        return refused(AdjustmentField::Table,
                       QStringLiteral("计算表中没有这一管段，请在计算表中点击要调整管段的设计管径或水力坡度。"));

    NetworkNumbers numbers;
    if (std::optional<NetworkRefusal> error =
            CheckNetworkParameters(parameters, &numbers, CityFormula::Optional))
        return refused(*error);

    // The adjusted row keeps its design flow and length.
    const ResultCells before = table.cells(row);
    if (!textio::readNumber(before[kDesignFlow]) || !textio::readNumber(before[kLength]))
        return refused(incompleteRow(row));
    ResultCells adjusted = before;
    adjusted[kDiameter] = diameter;
    adjusted[kSlope] = slope;
    switch (WritePipeHydraulics(adjusted, numbers.roughness)) {
    case SizingStatus::Sized:
        break;
    case SizingStatus::ZeroVelocity:
        return refused(AdjustmentField::Diameter,
                       QStringLiteral("管径%1 mm时流速为0.00 m/s，无法计算管内时间，请重新确认管径！")
                           .arg(diameter.trimmed()));
    default:
        return refused(AdjustmentField::Diameter,
                       QStringLiteral("管径或坡度过大，无法计算，请重新确认管径及坡度！"));
    }
    bool changed = adjusted != before;

    const double capacity = textio::readNumber(adjusted[kCapacity]).value_or(0);
    const double designFlow = textio::readNumber(adjusted[kDesignFlow]).value_or(0);
    if (capacity < designFlow) {
        table.setCells(row, adjusted);
        // Clickable but not editable, so that the short capacity shows.
        table.setCapacityCheck(row, CapacityCheck::Short);
        table.setEnabled(row, kCapacity, true);
        table.setReadOnly(row, kCapacity, true);
        return AdjustmentOutcome{
            std::nullopt,
            Adjustment{textio::Notice{kCapacityShortMessage, kAdjustmentTitle, textio::box_style::kOkOnly},
                       changed}};
    }

    // The rows below, into copies first.
    const int last = table.segmentCount() - 1;
    std::vector<PackedCells> below;
    below.reserve(static_cast<std::size_t>(last - row));
    ResultCells above = adjusted;
    for (int i = row + 1; i <= last; ++i) {
        const ResultCells old = table.cells(i);
        ResultCells cells = old;
        if (std::optional<NetworkRefusal> error = redesignRow(i, above, numbers, cells))
            return refused(*error);
        changed = changed || cells != old;
        below.emplace_back(cells);
        above = std::move(cells);
    }

    table.setCells(row, adjusted);
    table.setCapacityCheck(row, CapacityCheck::Carried);
    table.setEnabled(row, kCapacity, false);
    for (std::size_t k = 0; k < below.size(); ++k)
        table.setCells(row + 1 + static_cast<int>(k), below[k].unpack());
    return AdjustmentOutcome{std::nullopt, Adjustment{std::nullopt, changed}};
}

}  // namespace storm_network
