#include "storm/storm_water_design.h"

#include "catalogues/flow_units.h"
#include "catalogues/gravity_pipe_catalogue.h"
#include "catalogues/storm_intensity_catalogue.h"
#include "hydraulics/drainage_flow.h"
#include "textio/numtext.h"

namespace storm {

namespace {

using textio::kCompletenessTitle;
using textio::kCorrectnessTitle;

StormWaterRefusal missing(StormWaterField field, const QString& message)
{
    return {field, message, kCompletenessTitle};
}

// The message of a field whose text is no value of its range.
QString wrongMessage(StormWaterField field)
{
    switch (field) {
    case StormWaterField::ReturnPeriod:
        return QStringLiteral("请输入正确的重现期");
    case StormWaterField::Duration:
        return QStringLiteral("请输入正确的降水历时");
    case StormWaterField::City:
        return QStringLiteral("所选城市暂无暴雨强度公式，请选择其他城市");
    case StormWaterField::Area:
        return QStringLiteral("请输入正确的汇水面积");
    case StormWaterField::Runoff:
        return QStringLiteral("请输入正确的径流系数");
    case StormWaterField::PipeCount:
        return QStringLiteral("请输入正确的管道数量");
    }
    return QString();
}

StormWaterRefusal wrong(StormWaterField field)
{
    return {field, wrongMessage(field), kCorrectnessTitle};
}

StormWaterOutcome refused(StormWaterRefusal refusal, const QString& intensity = QString())
{
    StormWaterOutcome outcome;
    outcome.values.intensity = intensity;
    outcome.refusal = std::move(refusal);
    return outcome;
}

// The design intensity of the formula at P and t, when it gives one.
std::optional<double> designIntensity(const catalogues::StormIntensityFormula& formula, double P,
                                      double t)
{
    const std::optional<double> q = catalogues::StormIntensity(formula, P, t);
    if (!q || !kDesignIntensity.contains(*q))
        return std::nullopt;
    return q;
}

// A duration inside every formula's domain, where a formula that gives no
// intensity has the return period at fault.
constexpr double kProbeDurationMinutes = 10.0;

}  // namespace

StormWaterOutcome DesignStormWater(const StormWaterInputs& in)
{
    if (in.returnPeriod.isEmpty())
        return refused(missing(StormWaterField::ReturnPeriod, QStringLiteral("请输入重现期")));
    if (in.duration.isEmpty())
        return refused(missing(StormWaterField::Duration, QStringLiteral("请输入降水历时")));
    const std::optional<double> P = textio::readInRange(in.returnPeriod, kReturnPeriodYears);
    if (!P)
        return refused(wrong(StormWaterField::ReturnPeriod));
    const std::optional<double> t = textio::readInRange(in.duration, kDurationMinutes);
    if (!t)
        return refused(wrong(StormWaterField::Duration));
    const catalogues::StormIntensityFormula* formula =
        catalogues::FindStormIntensityFormula(in.city);
    // A city without a formula: no intensity, and no flows from another
    // city's intensity.
    if (formula == nullptr)
        return refused(wrong(StormWaterField::City));
    const std::optional<double> q = designIntensity(*formula, *P, *t);
    if (!q) {
        return refused(wrong(designIntensity(*formula, *P, kProbeDurationMinutes)
                                 ? StormWaterField::Duration
                                 : StormWaterField::ReturnPeriod));
    }

    StormWaterOutcome outcome;
    StormWaterDesign& design = outcome.values;
    const std::optional<double> shownIntensity = textio::atTextPrecision(*q, design.intensity);
    if (in.area.isEmpty())
        return outcome;
    if (in.runoff.isEmpty())
        return refused(missing(StormWaterField::Runoff, QStringLiteral("请选择径流系数")),
                       design.intensity);
    if (in.pipeCount.isEmpty())
        return refused(missing(StormWaterField::PipeCount, QStringLiteral("请输入管道数量")),
                       design.intensity);
    const std::optional<double> area = textio::readInRange(in.area, kCatchmentAreaM2);
    if (!area)
        return refused(wrong(StormWaterField::Area), design.intensity);
    const std::optional<double> psi = textio::readInRange(in.runoff, kRunoffCoefficient);
    if (!psi)
        return refused(wrong(StormWaterField::Runoff), design.intensity);
    const std::optional<double> pipes = textio::readInRange(in.pipeCount, kOutletPipeCount);
    if (!pipes)
        return refused(wrong(StormWaterField::PipeCount), design.intensity);

    // Within the ranges every flow is finite and positive.
    StormWaterFlows flows;
    flows.total = textio::generalNumberText(
        CatchmentDesignFlow(*psi, shownIntensity.value_or(*q), *area));
    const std::optional<double> shownPerPipe = textio::atTextPrecision(
        DesignFlowPerPipe(*psi, shownIntensity.value_or(*q), *area, *pipes).value_or(0.0),
        flows.perPipe);
    flows.perPipeM3h =
        textio::generalNumberText(catalogues::cubicMetresPerHour(shownPerPipe.value_or(0.0)));
    flows.pipe = StormPipeSizingTable::Choose(in.kind, in.material, shownPerPipe.value_or(0.0));
    design.flows = std::move(flows);
    return outcome;
}

// ------------------------------------------------------------ full-pipe check

std::optional<CheckDiameter> CheckDiameterOf(const QString& text)
{
    QString number = text.trimmed();
    if (number.startsWith(QLatin1Char('d')))
        number.remove(0, 1);
    // "d 300" names no diameter, nor does an empty text.
    if (number.isEmpty() || number.front().isSpace())
        return std::nullopt;
    const std::optional<double> mm = textio::readInRange(number, kCheckDiameterMm);
    if (!mm)
        return std::nullopt;
    return CheckDiameter{QStringLiteral("d") + textio::generalNumberText(*mm), *mm,
                         textio::generalNumberText(*mm / 1000)};
}

std::optional<textio::Notice> SlopeWarningFor(const QString& diameterText, const QString& slopeText)
{
    // Minimum slope per GBJ 14-87 §3.2.9, checked for d200 to d400 only; the
    // minimum is that of the diameter text in force, picked or typed.
    const std::optional<CheckDiameter> diameter = CheckDiameterOf(diameterText);
    if (!diameter
        || !catalogues::MinSlopeTable::isBelowMinSlope(textio::generalNumberText(diameter->millimetres),
                                                      slopeText))
        return std::nullopt;
    using namespace textio::box_style;
    return hydraulics::minSlopeWarning(diameter->listText == u"d200"
                                           ? kOkOnly
                                           : kOkCancel | kDefaultButton2);
}

FullPipeCheckOutcome CheckFullPipe(const QString& diameterText, const QString& slopeText)
{
    FullPipeCheckOutcome outcome;
    const std::optional<CheckDiameter> diameter = CheckDiameterOf(diameterText);
    if (!diameter) {
        outcome.refusal = {CheckField::Diameter, catalogues::kDiameterPrompt, kCompletenessTitle};
        return outcome;
    }
    const std::optional<double> slope = textio::readInRange(slopeText, kCheckSlopePermille);
    if (!slope) {
        outcome.refusal = {CheckField::Slope, catalogues::kSlopePrompt, kCompletenessTitle};
        return outcome;
    }
    FullPipeCheck& check = outcome.values;
    const double D = diameter->millimetres / 1000;
    // Within the ranges the velocity and the flow are finite.
    const double velocity =
        hydraulics::DrainageFlow::fullPipeVelocity(D, *slope,
                                                   hydraulics::ManningRoughness::kConcreteFull)
            .value_or(0.0);
    check.velocity = textio::formatNumber(velocity, QStringLiteral("##.###"));
    // The capacity follows from the velocity as shown.
    const double shownVelocity = textio::readShownNumber(check.velocity).value_or(0.0);
    check.flow = textio::formatNumber(
        hydraulics::DrainageFlow::fullPipeFlow(shownVelocity, D).value_or(0.0),
        QStringLiteral("#.###"));
    check.diameterM = diameter->metres;
    check.minimumSlope = catalogues::MinSlopeTable::stormMinSlopeText(diameter->listText);
    return outcome;
}

}  // namespace storm
