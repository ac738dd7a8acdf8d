#include "building_services/fire_hydrant_hydraulics.h"

#include "textio/field_values.h"
#include "textio/numtext.h"

#include <array>
#include <cmath>
#include <limits>

namespace building_services {

namespace {

struct NozzleRow {
    QStringView diameter;
    double coefficient;
};

constexpr std::array<NozzleRow, 6> kNozzles = {{
    {u"9", 0.0079},
    {u"13", 0.0346},
    {u"16", 0.0793},
    {u"19", 0.1577},
    {u"22", 0.2834},
    {u"25", 0.4727},
}};

// The hose resistance A by hose diameter, rubber-lined and linen.
struct HoseRow {
    double diameterMm;
    double rubberLined;
    double linen;
};

constexpr std::array<HoseRow, 2> kHoses = {{
    {50, 0.0677, 0.1501},
    {65, 0.0172, 0.043},
}};

using textio::atTextPrecision;

const QString kWrongWaterColumn = QStringLiteral("请输入正确的充实水柱！");
const QString kWrongHoseLength = QStringLiteral("请输入正确的水带长度！");
const QString kUnreachableWaterColumn =
    QStringLiteral("充实水柱过长，该喷嘴无法达到！请减小充实水柱或加大喷嘴直径。");

HydrantRefusal refused(HydrantField field, const QString& message)
{
    return {field, message, textio::kCorrectnessTitle};
}

} // namespace

QStringList NozzleCoefficientTable::diameterTexts()
{
    QStringList texts;
    for (const NozzleRow& row : kNozzles)
        texts.append(row.diameter.toString());
    return texts;
}

std::optional<double> NozzleCoefficientTable::coefficient(QStringView diameterText)
{
    for (const NozzleRow& row : kNozzles) {
        if (row.diameter == diameterText)
            return row.coefficient;
    }
    return std::nullopt;
}

QStringList HoseResistanceTable::diameterTexts()
{
    QStringList texts;
    for (const HoseRow& row : kHoses)
        texts.append(textio::generalNumberText(row.diameterMm));
    return texts;
}

QStringList HoseResistanceTable::materialTexts()
{
    return {kRubberLinedHose.toString(), kLinenHose.toString()};
}

double HoseResistanceTable::resistance(double hoseDiameterMm, QStringView material)
{
    // Any diameter but the first row's is taken as the last row's.
    const HoseRow& row = hoseDiameterMm == kHoses.front().diameterMm ? kHoses.front() : kHoses.back();
    return material == kRubberLinedHose ? row.rubberLined : row.linen;
}

double FireHydrantHydraulics::nozzleFactor(double nozzleDiameterMm)
{
    return 0.25 / (nozzleDiameterMm + std::pow(nozzleDiameterMm / 10, 3));
}

double FireHydrantHydraulics::jetFactor(double waterColumnM)
{
    return 1.19 + 80 * std::pow(0.01 * waterColumnM, 4);
}

std::optional<double> FireHydrantHydraulics::nozzlePressure(double jetFactor, double waterColumnM,
                                                            double nozzleFactor)
{
    const double denominator = 1 - (nozzleFactor * jetFactor) * waterColumnM;
    if (!(denominator > 0))
        return std::nullopt;
    return (jetFactor * waterColumnM) / denominator;
}

double FireHydrantHydraulics::hoseLoss(double nozzleCoefficient, double hoseLengthM,
                                       double nozzlePressureM, double hoseResistance)
{
    return ((nozzleCoefficient * hoseLengthM) * nozzlePressureM) * hoseResistance;
}

double FireHydrantHydraulics::outletPressure(double hoseLossM, double nozzlePressureM)
{
    return (hoseLossM + kHydrantOutletLossM) + nozzlePressureM;
}

std::optional<double> FireHydrantHydraulics::jetFlow(double nozzleCoefficient,
                                                     double nozzlePressureM)
{
    const double square = nozzleCoefficient * nozzlePressureM * 10;
    if (!(square >= 0))
        return std::nullopt;
    return std::sqrt(square);
}

std::optional<NozzlePressureTexts> nozzlePressureSteps(double waterColumnM, double nozzleFactor)
{
    using namespace FireHydrantHydraulics;
    NozzlePressureTexts texts;
    const std::optional<double> alpha = atTextPrecision(jetFactor(waterColumnM), texts.jetFactor);
    if (!alpha)
        return std::nullopt;
    const std::optional<double> hq = nozzlePressure(*alpha, waterColumnM, nozzleFactor);
    if (!hq || *hq > kHighestNozzlePressureM || !atTextPrecision(*hq, texts.nozzlePressure))
        return std::nullopt;
    return texts;
}

std::optional<NozzlePressureTexts> nozzlePressureSteps(const QString& waterColumn,
                                                       const QString& nozzleFactor)
{
    const std::optional<double> hm = textio::readNumber(waterColumn);
    const std::optional<double> phi = textio::readNumber(nozzleFactor);
    if (!hm || !phi)
        return std::nullopt;
    return nozzlePressureSteps(*hm, *phi);
}

std::optional<QString> nozzleFactorText(const QString& nozzleDiameter)
{
    const std::optional<double> df = textio::readNumber(nozzleDiameter);
    if (!df)
        return std::nullopt;
    return textio::generalNumberText(FireHydrantHydraulics::nozzleFactor(*df));
}

std::optional<QString> nozzleCoefficientText(QStringView nozzleDiameter)
{
    const std::optional<double> b = NozzleCoefficientTable::coefficient(nozzleDiameter);
    if (!b)
        return std::nullopt;
    return textio::generalNumberText(*b);
}

QString hoseResistanceText(const QString& hoseDiameter, QStringView material)
{
    const double diameter =
        textio::readNumber(hoseDiameter).value_or(std::numeric_limits<double>::quiet_NaN());
    return textio::generalNumberText(HoseResistanceTable::resistance(diameter, material));
}

HydrantOutcome calculateHydrant(const HydrantInputs& in)
{
    using namespace FireHydrantHydraulics;
    if (!kWaterColumnRange.contains(in.waterColumnM))
        return {refused(HydrantField::WaterColumn, kWrongWaterColumn), {}};
    if (!kHoseLengthRange.contains(in.hoseLengthM))
        return {refused(HydrantField::HoseLength, kWrongHoseLength), {}};
    const std::optional<NozzlePressureTexts> nozzle =
        nozzlePressureSteps(in.waterColumnM, in.nozzleFactor);
    if (!nozzle)
        return {refused(HydrantField::WaterColumn, kUnreachableWaterColumn), {}};

    HydrantOutcome out;
    HydrantResultTexts& texts = out.values;
    texts.jetFactor = nozzle->jetFactor;
    texts.nozzlePressure = nozzle->nozzlePressure;
    const double hq = *textio::readNumber(texts.nozzlePressure);
    const std::optional<double> hd = atTextPrecision(
        hoseLoss(in.nozzleCoefficient, in.hoseLengthM, hq, in.hoseResistance), texts.hoseLoss);
    const std::optional<double> q = jetFlow(in.nozzleCoefficient, hq);
    // Within the ranges every step is finite; a table value gone wrong is
    // met as a hose the window cannot calculate.
    if (!hd || !atTextPrecision(outletPressure(*hd, hq), texts.outletPressure) || !q
        || !atTextPrecision(*q, texts.jetFlow))
        return {refused(HydrantField::HoseLength, kWrongHoseLength), {}};
    return out;
}

HydrantOutcome calculateHydrant(const HydrantInputTexts& in)
{
    const std::optional<double> hm = textio::readInRange(in.waterColumn, kWaterColumnRange);
    if (!hm)
        return {refused(HydrantField::WaterColumn, kWrongWaterColumn), {}};
    const std::optional<double> ld = textio::readInRange(in.hoseLength, kHoseLengthRange);
    if (!ld)
        return {refused(HydrantField::HoseLength, kWrongHoseLength), {}};
    const auto number = [](const QString& text) {
        return textio::readNumber(text).value_or(std::nan(""));
    };
    return calculateHydrant(HydrantInputs{*hm, number(in.nozzleFactor),
                                          number(in.nozzleCoefficient), *ld,
                                          number(in.hoseResistance)});
}

QString hydrantReportSentence(const HydrantReport& report)
{
    return QStringLiteral("充实水柱长度 Hm= ") + report.waterColumn
        + QStringLiteral("米,水枪喷口直径 df=") + report.nozzleDiameter
        + QStringLiteral("毫米,水带长度 Ld=") + report.hoseLength
        + QStringLiteral("米,采用直径d=") + report.hoseDiameter + QStringLiteral("毫米")
        + report.hoseMaterial + QStringLiteral("。水枪喷口的射流量 Qxh= ")
        + textio::formatNumber(report.jetFlow, QStringLiteral("###.###"))
        + QStringLiteral("升/秒,消火栓口所需水压 Hxh=")
        + textio::formatNumber(report.outletPressureM / 100, QStringLiteral("0.###"))
        + QStringLiteral("MPa。");
}

HydrantReportOutcome hydrantReport(const HydrantReportTexts& texts)
{
    const std::optional<double> q = textio::readInRange(texts.jetFlow, kReportedJetFlowRange);
    if (!q)
        return {refused(HydrantField::JetFlow, QStringLiteral("请输入正确的流量Q！")), {}};
    const std::optional<double> hxh =
        textio::readInRange(texts.outletPressure, kReportedOutletPressureRange);
    if (!hxh)
        return {refused(HydrantField::OutletPressure, QStringLiteral("请输入正确的栓口水压Hxh！")), {}};
    return {std::nullopt, hydrantReportSentence(HydrantReport{
                              .waterColumn = texts.waterColumn,
                              .nozzleDiameter = texts.nozzleDiameter,
                              .hoseLength = texts.hoseLength,
                              .hoseDiameter = texts.hoseDiameter,
                              .hoseMaterial = texts.hoseMaterial,
                              .jetFlow = *q,
                              .outletPressureM = *hxh,
                          })};
}

} // namespace building_services
