#include "hydraulics/supply_pipe_flow.h"

#include "textio/numtext.h"

#include <cmath>

namespace hydraulics::SupplyPipeFlow {

namespace {

// A value that may be zero (no flow, no length) or lie inside its range.
std::optional<double> readZeroOrInRange(const QString& text, const textio::ValueRange& range)
{
    const std::optional<double> value = textio::readNumber(text);
    if (!value || (*value != 0 && !range.contains(*value)))
        return std::nullopt;
    return value;
}

SupplyOutcome refusal(SupplyField field, const QString& message)
{
    return {SupplyRefusal{field, message, textio::kCorrectnessTitle}, {}};
}

} // namespace

double unitHeadLoss(double k, double C, double d, double Q)
{
    const double a = std::pow(C, -1.85);
    const double b = (k * 10.5) * a;
    const double c = std::pow(d / 1000, -4.87) * b;
    return std::pow(Q / 3600, 1.85) * c;
}

double velocity(double Q, double d)
{
    return ((Q * 4000) * 1000) / (std::pow(d, 2) * 11309.73354);
}

bool flowInLitresPerSecond(const QString& modeText)
{
    return textio::readNumber(modeText) == 1.0;
}

SupplyOutcome calculate(const SupplyInputs& in)
{
    if (in.flow.isEmpty())
        return refusal(SupplyField::Flow, QStringLiteral("请输入流量！"));
    const std::optional<double> flow =
        readZeroOrInRange(in.flow, in.litresPerSecond ? kFlowLps : kFlowM3h);
    if (!flow)
        return refusal(SupplyField::Flow, QStringLiteral("请输入正确的流量！"));
    const std::optional<double> k = textio::readInRange(in.factor, kFactor);
    if (!k)
        return refusal(SupplyField::Factor, QStringLiteral("请选择正确的水温！"));
    const std::optional<double> C = textio::readInRange(in.coefficient, kCoefficient);
    if (!C)
        return refusal(SupplyField::Coefficient, QStringLiteral("请输入正确的海澄-威廉系数！"));
    const std::optional<double> d = textio::readInRange(in.innerDiameter, kInnerDiameterMm);
    if (!d)
        return refusal(SupplyField::Diameter, QStringLiteral("请选择正确的管径！"));
    std::optional<double> length;
    if (!in.length.isEmpty()) {
        length = readZeroOrInRange(in.length, kLengthM);
        if (!length)
            return refusal(SupplyField::Length, QStringLiteral("请输入正确的管段长度！"));
    }

    // The t/h flow is computed with as its field will hold it.
    const double converted = in.litresPerSecond ? catalogues::cubicMetresPerHour(*flow)
                                                : catalogues::litresPerSecond(*flow);
    QString convertedText;
    const std::optional<double> shownConverted = textio::atTextPrecision(converted, convertedText);
    const double Q = in.litresPerSecond ? shownConverted.value_or(NAN) : *flow;
    const QString iText =
        textio::formatNumber(unitHeadLoss(*k, *C, *d, Q), QStringLiteral("0.0#####"));
    // The head loss over the length uses i as shown, rounded to six decimals.
    const double shownI = textio::readNumber(iText).value_or(NAN);

    SupplyOutcome outcome;
    SupplyResults& out = outcome.values;
    out.convertedFlow = convertedText;
    out.unitHeadLoss = iText;
    out.velocity = textio::formatNumber(velocity(Q, *d), QStringLiteral("0.0##"));
    out.lengthLoss = length ? textio::generalNumberText(*length * shownI) : QStringLiteral("0");
    return outcome;
}

} // namespace hydraulics::SupplyPipeFlow
