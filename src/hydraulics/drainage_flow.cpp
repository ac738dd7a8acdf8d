#include "hydraulics/drainage_flow.h"

#include "textio/numtext.h"

#include <array>
#include <cmath>
#include <initializer_list>

namespace hydraulics {

namespace {

std::optional<double> finite(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

bool allFinite(std::initializer_list<double> values)
{
    for (double v : values) {
        if (!std::isfinite(v))
            return false;
    }
    return true;
}

bool isConcreteOrCorrugated(DrainPipeMaterial material)
{
    return material == DrainPipeMaterial::Concrete || material == DrainPipeMaterial::Corrugated;
}

} // namespace

namespace ManningRoughness {

std::optional<double> roughness(DrainPipeMaterial material, DrainFlowMode mode)
{
    const bool full = mode == DrainFlowMode::Full;
    switch (material) {
    case DrainPipeMaterial::Concrete:
        return full ? kConcreteFull : kConcretePartFull;
    case DrainPipeMaterial::Corrugated:
        return kCorrugated;
    case DrainPipeMaterial::CastIron:
        if (full)
            break;
        return kCastIron;
    case DrainPipeMaterial::Pvcu:
        if (full)
            break;
        return kPvcu;
    }
    return std::nullopt;
}

} // namespace ManningRoughness

namespace PartialFlowTable {

std::span<const PartialFlowEntry> entries()
{
    // The tenths are rounded design-table values (36.8333 where arccos 0.8 is
    // 36.8699°); the table is symmetric about half full.
    static const std::array<PartialFlowEntry, 19> table{{
        {QStringLiteral("0.1"), 36.8333},
        {QStringLiteral("0.15"), 45.572996},
        {QStringLiteral("0.2"), 53},
        {QStringLiteral("0.25"), 60},
        {QStringLiteral("0.3"), 66.5},
        {QStringLiteral("0.35"), 72.54239688},
        {QStringLiteral("0.4"), 78.5},
        {QStringLiteral("0.45"), 84.26082952},
        {QStringLiteral("0.5"), 90},
        {QStringLiteral("0.55"), 84.26082952},
        {QStringLiteral("0.6"), 78.5},
        {QStringLiteral("0.65"), 72.54239688},
        {QStringLiteral("0.7"), 66.5},
        {QStringLiteral("0.75"), 60},
        {QStringLiteral("0.8"), 53},
        {QStringLiteral("0.85"), 45.572996},
        {QStringLiteral("0.9"), 36.8333},
        {QStringLiteral("0.95"), 25.8419328},
        {QStringLiteral("1"), 0},
    }};
    return table;
}

std::optional<double> halfAngleDegrees(QStringView fullnessText)
{
    for (const PartialFlowEntry& row : entries()) {
        if (fullnessText == row.fullness)
            return row.halfAngleDegrees;
    }
    return std::nullopt;
}

} // namespace PartialFlowTable

namespace MaxFullnessRule {

bool appliesTo(DrainPipeMaterial material, DrainFlowMode mode)
{
    return mode == DrainFlowMode::PartFull && isConcreteOrCorrugated(material);
}

double maximumFullness(double diameterM)
{
    // Diameter bands 200-300, 350-450, 500-900 and from 1000 mm.
    if (diameterM < 0.31)
        return 0.55;
    if (diameterM < 0.46)
        return 0.65;
    if (diameterM < 0.91)
        return 0.70;
    return 0.75;
}

bool exceeds(double diameterM, double fullness)
{
    if (!allFinite({diameterM, fullness}))
        return false;
    return fullness > maximumFullness(diameterM);
}

} // namespace MaxFullnessRule

namespace PvcuInnerDiameterList {

const QStringList& texts()
{
    static const QStringList list{QStringLiteral("46.0"),  QStringLiteral("70.4"),
                                  QStringLiteral("83.6"),  QStringLiteral("103.6"),
                                  QStringLiteral("118.6"), QStringLiteral("152.0"),
                                  QStringLiteral("190")};
    return list;
}

std::optional<double> innerDiameterMetres(qsizetype position)
{
    const QStringList& list = texts();
    if (position < 0 || position >= list.size())
        return std::nullopt;
    return list.at(position).toDouble() / 1000;
}

std::optional<double> innerDiameterMetresFor(QStringView outsideDiameterText)
{
    const QStringList& outside = catalogues::GravityPipeCatalogue::pvcuDiameterList();
    for (qsizetype i = 0; i < outside.size(); ++i) {
        if (outsideDiameterText == outside.at(i))
            return innerDiameterMetres(i);
    }
    return std::nullopt;
}

} // namespace PvcuInnerDiameterList

namespace DefaultSlopeTable {

namespace {

struct Row {
    const char16_t* diameter;
    const char16_t* slope;
};

constexpr std::array<Row, 5> castIronRows{{
    {u"75", u"15"},
    {u"100", u"12"},
    {u"125", u"10"},
    {u"150", u"7"},
    {u"200", u"5"},
}};

constexpr std::array<Row, 7> pvcuRows{{
    {u"50", u"7"},
    {u"75", u"5"},
    {u"90", u"4"},
    {u"110", u"4"},
    {u"125", u"3.5"},
    {u"160", u"3"},
    {u"200", u"3"},
}};

std::optional<QString> find(std::span<const Row> rows, QStringView diameterText)
{
    for (const Row& row : rows) {
        if (diameterText == QStringView(row.diameter))
            return QString::fromUtf16(row.slope);
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> slopeText(DrainPipeMaterial material, QStringView diameterText)
{
    switch (material) {
    case DrainPipeMaterial::CastIron:
        return find(castIronRows, diameterText);
    case DrainPipeMaterial::Pvcu:
        return find(pvcuRows, diameterText);
    case DrainPipeMaterial::Concrete:
    case DrainPipeMaterial::Corrugated:
        break;
    }
    return std::nullopt;
}

} // namespace DefaultSlopeTable

namespace DefaultSlopeRule {

std::optional<QString> slopeText(double diameterM)
{
    if (diameterM >= 0.4)
        return QStringLiteral("2.0");
    if (diameterM >= 0.3)
        return QStringLiteral("3.0");
    if (diameterM >= 0.2)
        return QStringLiteral("4.0");
    if (diameterM >= 0.15)
        return QStringLiteral("8");
    if (diameterM == 0)
        return QStringLiteral("请选择坡度");
    return std::nullopt;
}

} // namespace DefaultSlopeRule

namespace DefaultFullnessRule {

std::optional<QString> fullnessText(double diameterM, DrainPipeMaterial material)
{
    if (!std::isfinite(diameterM))
        return std::nullopt;
    if (isConcreteOrCorrugated(material)) {
        // The maximum design fullness of GBJ 14-87 §3.2.3 for the band, so a
        // default never exceeds it.
        if (diameterM < 0.35)
            return QStringLiteral("0.55");
        if (diameterM < 0.5)
            return QStringLiteral("0.65");
        if (diameterM < 0.91)
            return QStringLiteral("0.7");
        return QStringLiteral("0.75");
    }
    if (diameterM < 0.14)
        return QStringLiteral("0.5");
    if (diameterM < 0.21)
        return QStringLiteral("0.6");
    return std::nullopt;
}

} // namespace DefaultFullnessRule

namespace FullPipeManning {

std::optional<double> capacityLps(double diameterM, double slopeFraction, double n, double pi)
{
    if (!allFinite({diameterM, slopeFraction, n, pi}))
        return std::nullopt;
    // 4^(5/3), the factor of Manning's formula for a pipe running full.
    static const double factor = std::pow(4.0, 5.0 / 3.0);
    const double area = pi * std::pow(diameterM, 8.0 / 3.0);
    return finite(area * std::pow(slopeFraction, 0.5) * 1000 / (n * factor));
}

} // namespace FullPipeManning

namespace DrainageFlow {

std::optional<double> manningVelocity(double hydraulicRadiusM, double slopePermille, double n)
{
    if (!allFinite({hydraulicRadiusM, slopePermille, n}))
        return std::nullopt;
    return finite(std::pow(hydraulicRadiusM, 2.0 / 3.0) * std::sqrt(slopePermille / 1000) / n);
}

std::optional<double> fullPipeVelocity(double diameterM, double slopePermille, double n)
{
    if (!std::isfinite(diameterM))
        return std::nullopt;
    return manningVelocity(diameterM / 4, slopePermille, n);
}

std::optional<double> fullPipeFlow(double shownVelocity, double diameterM)
{
    if (!allFinite({shownVelocity, diameterM}))
        return std::nullopt;
    return finite(shownVelocity * (diameterM * diameterM) * FullPipeManning::kShownVelocityPi * 250);
}

std::optional<PartFullSection> partFullSection(double halfAngleDegrees, double fullness,
                                               double diameterM)
{
    if (!allFinite({halfAngleDegrees, fullness, diameterM}))
        return std::nullopt;
    // The degree-to-radian factor and the two values of π of the design
    // method, kept as they are so the results agree with its tables: the
    // section's area takes the longer π, the hydraulic radius's divisor the
    // shorter one.
    constexpr double kRadiansPerDegree = 0.01745;
    constexpr double kAreaPi = 3.14159265;
    constexpr double kRadiusDivisorPi = 3.1415926;
    const double a = halfAngleDegrees * kRadiansPerDegree;
    const double s = std::sin(a);
    const double c = std::cos(a);
    const double d2 = diameterM * diameterM;
    PartFullSection section{};
    if (fullness < 0.5) {
        section.radiusRatio = (a - s * c) / (2 * a);
        section.area = d2 * (a - s * c) / 4;
    } else {
        section.radiusRatio = (kAreaPi - a + s * c) / (2 * (kRadiusDivisorPi - a));
        section.area = d2 * (kAreaPi - a + s * c) / 4;
    }
    if (!allFinite({section.radiusRatio, section.area}))
        return std::nullopt;
    return section;
}

std::optional<double> partFullVelocity(double radiusRatio, double diameterM, double slopePermille,
                                       double n)
{
    if (!allFinite({radiusRatio, diameterM}))
        return std::nullopt;
    return manningVelocity(radiusRatio * diameterM / 2, slopePermille, n);
}

std::optional<double> partFullFlow(double shownVelocity, double areaM2)
{
    if (!allFinite({shownVelocity, areaM2}))
        return std::nullopt;
    return finite(shownVelocity * 1000 * areaM2);
}

} // namespace DrainageFlow

namespace DrainageCalculation {

namespace {

// The prompt of the list that `field` names.
const QString& promptOf(DrainageField field)
{
    switch (field) {
    case DrainageField::Slope:
        return catalogues::kSlopePrompt;
    case DrainageField::Fullness:
        return kFullnessPrompt;
    case DrainageField::Diameter:
        break;
    }
    return catalogues::kDiameterPrompt;
}

DrainageRefusal refusal(DrainFlowMode mode, DrainageField field)
{
    const QString& title =
        mode == DrainFlowMode::Full ? textio::kCompletenessTitle : textio::kCorrectnessTitle;
    return {field, promptOf(field), title};
}

// The velocity as the window shows it, and the flow from it.
void writeShown(double v, DrainPipeMaterial material, DrainageResults& out)
{
    if (material == DrainPipeMaterial::Pvcu) {
        out.velocity = textio::formatNumber(v, QStringLiteral("##.####"));
        return;
    }
    // ".749" is shown as "0.749".
    out.formattedVelocity = textio::formatNumber(v, QStringLiteral("##.###"));
    out.velocity = out.formattedVelocity.startsWith(QLatin1Char('.'))
                       ? QStringLiteral("0") + out.formattedVelocity
                       : out.formattedVelocity;
}

// The velocity as shown, and the flow computed from it by `flowFromShown`;
// refused where either is no finite number.
template <class FlowFromShown>
std::optional<DrainageRefusal> writeResults(std::optional<double> v, const DrainageInputs& in,
                                               DrainageResults& out, FlowFromShown flowFromShown)
{
    if (!v)
        return refusal(in.mode, DrainageField::Diameter);
    writeShown(*v, in.material, out);
    const std::optional<double> q =
        flowFromShown(textio::readShownNumber(out.velocity).value_or(NAN));
    if (!q)
        return refusal(in.mode, DrainageField::Diameter);
    out.flow = textio::formatNumber(*q, QStringLiteral("#.###"));
    return std::nullopt;
}

// The calculation, writing into `out` as it goes.
std::optional<DrainageRefusal> calculate(const DrainageInputs& in, DrainageResults& out)
{
    const DrainFlowMode mode = in.mode;
    const std::optional<double> nominal = textio::readPositiveNumber(in.diameterMetres);
    if (!textio::readInRange(in.diameter, kDiameterMm) || !nominal)
        return refusal(mode, DrainageField::Diameter);
    std::optional<double> inner;
    if (in.material == DrainPipeMaterial::Pvcu) {
        // PVC-U is listed by outside diameter; the flow runs in the inner one.
        inner = PvcuInnerDiameterList::innerDiameterMetresFor(in.diameter);
        if (!inner)
            return refusal(mode, DrainageField::Diameter);
    }
    const std::optional<double> slope = textio::readInRange(in.slope, kSlopePermille);
    if (!slope)
        return refusal(mode, DrainageField::Slope);
    const double n = ManningRoughness::roughness(in.material, mode).value_or(NAN);

    if (mode == DrainFlowMode::Full) {
        return writeResults(DrainageFlow::fullPipeVelocity(*nominal, *slope, n), in, out,
                            [&](double shown) { return DrainageFlow::fullPipeFlow(shown, *nominal); });
    }

    // Only the fullness values of the section table have an angle; any other
    // text (typed, or a list prompt) is refused.
    const std::optional<double> angle = PartialFlowTable::halfAngleDegrees(in.fullness);
    const std::optional<double> fullness = textio::readNumber(in.fullness);
    if (!angle || !fullness)
        return refusal(mode, DrainageField::Fullness);
    double d = *nominal;
    if (inner)
        d = textio::atTextPrecision(*inner, out.innerDiameterMetres).value_or(NAN);
    const std::optional<double> alpha = textio::atTextPrecision(*angle, out.halfAngle);
    const std::optional<DrainageFlow::PartFullSection> section =
        DrainageFlow::partFullSection(alpha.value_or(NAN), *fullness, d);
    if (!section)
        return refusal(mode, DrainageField::Diameter);
    const std::optional<double> ratio = textio::atTextPrecision(section->radiusRatio, out.radiusRatio);
    const std::optional<double> area = textio::atTextPrecision(section->area, out.area);
    if (!area)
        return refusal(mode, DrainageField::Diameter);
    if (auto error = writeResults(DrainageFlow::partFullVelocity(ratio.value_or(NAN), d, *slope, n),
                                  in, out,
                                  [&](double shown) { return DrainageFlow::partFullFlow(shown, *area); }))
        return error;
    if (MaxFullnessRule::appliesTo(in.material, mode) && MaxFullnessRule::exceeds(d, *fullness))
        out.fullnessQuestion = textio::Notice{
            kFullnessQuestion, textio::kCorrectnessTitle,
            textio::box_style::kOkCancel | textio::box_style::kCritical
                | textio::box_style::kDefaultButton2};
    return std::nullopt;
}

} // namespace

std::optional<QString> diameterMetresText(const QString& diameterMm)
{
    const std::optional<double> mm = textio::readNumber(diameterMm);
    if (!mm)
        return std::nullopt;
    return textio::generalNumberText(*mm / 1000);
}

DrainageOutcome calculate(const DrainageInputs& inputs)
{
    DrainageOutcome outcome;
    outcome.refusal = calculate(inputs, outcome.values);
    if (outcome.refusal)
        outcome.values = DrainageResults{};
    return outcome;
}

} // namespace DrainageCalculation

textio::Notice minSlopeWarning(int buttons)
{
    return {catalogues::kMinSlopeWarning, textio::kCorrectnessTitle,
            buttons | textio::box_style::kCritical};
}

std::optional<textio::Notice> drainageSlopeWarning(const QString& diameterText,
                                                   const QString& slopeText)
{
    if (!catalogues::MinSlopeTable::isBelowMinSlope(diameterText, slopeText))
        return std::nullopt;
    return minSlopeWarning(textio::box_style::kOkOnly);
}

} // namespace hydraulics
