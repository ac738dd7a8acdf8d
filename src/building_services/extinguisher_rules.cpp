#include "building_services/extinguisher_rules.h"

#include "textio/field_values.h"
#include "textio/numtext.h"

#include <cmath>

namespace building_services {

namespace {

constexpr std::array<ExtinguisherSize, 5> kSizes = {{
    {u"1kg磷酸铵盐干粉灭火器", 3, 2},
    {u"2kg磷酸铵盐干粉灭火器", 5, 5},
    {u"3kg磷酸铵盐干粉灭火器", 5, 7},
    {u"4kg磷酸铵盐干粉灭火器", 8, 10},
    {u"6kg磷酸铵盐干粉灭火器", 8, 12},
}};

struct HazardRow {
    FireClass fireClass;
    QStringView hazard;
    HazardBase base;
};

// Class B light hazard asks for the same minimum rating as severe hazard.
constexpr std::array<HazardRow, 6> kHazards = {{
    {FireClass::A, kSevereHazard, {10, 15, 5}},
    {FireClass::A, kMediumHazard, {15, 20, 5}},
    {FireClass::A, kLightHazard, {20, 25, 3}},
    {FireClass::B, kSevereHazard, {5, 9, 8}},
    {FireClass::B, kMediumHazard, {7.5, 12, 4}},
    {FireClass::B, kLightHazard, {10, 15, 8}},
}};

// The opening of size part i (from 0) of the automatic sentence:
// "，配置方案为：1.选用1kg磷酸铵盐干粉灭火器", then "；2.选用2kg…" and so on.
QString sizeOpening(std::size_t i)
{
    return (i == 0 ? QStringLiteral("，配置方案为：") : QStringLiteral("；"))
        + QString::number(i + 1) + QStringLiteral(".选用") + kSizes[i].name.toString();
}

double ratingOf(const ExtinguisherSize& size, FireClass fireClass)
{
    return fireClass == FireClass::A ? size.ratingA : size.ratingB;
}

ExtinguisherOutcome refused(ExtinguisherField field, const QString& message, const QString& title)
{
    return {ExtinguisherRefusal{field, message, title}, {}};
}

const textio::Notice kTooManyPerPointWarning{
    QStringLiteral("每处设置的灭火器数量超过规范规定【GBJ140-90-4.0.7】！"
                   "请增加设置点数量或改变灭火器规格！"),
    QStringLiteral("警告！")};
const textio::Notice kSizeTooSmallWarning{
    QStringLiteral("灭火器规格偏小，不能满足规范最小配置级别要求！"), textio::kWarningTitle};

// One size's figures for `count` extinguishers of `rating` at each of
// `points` placement points; the remark is left to the caller.
SizeReport sizeFigures(double count, double rating, double points)
{
    return {textio::generalNumberText(count), textio::generalNumberText(count * rating),
            textio::generalNumberText(points * count), QString()};
}

QString headText(const ExtinguisherReportHead& head)
{
    return QStringLiteral("建筑面积为") + head.area + QStringLiteral("平方米，危险等级为")
        + head.hazardLevel + QStringLiteral(",火灾种类为") + head.fireClass
        + QStringLiteral("，配置基准为") + head.areaPerUnit + head.areaUnit
        + QStringLiteral("，灭火器设置点为") + head.points + QStringLiteral("处，每处灭火级别为")
        + textio::formatText(head.requiredRating, QStringLiteral("##.##")) + head.ratingUnit;
}

// "<n>具，实际配置级别为<r><unit>，共需配置灭火器<t>具<remark>"
QString figuresText(const SizeReport& size, const QString& unit)
{
    return size.perPoint + QStringLiteral("具，实际配置级别为") + size.ratingPerPoint + unit
        + QStringLiteral("，共需配置灭火器") + size.total + QStringLiteral("具") + size.remark;
}

} // namespace

double reductionFactor(FixedProtection protection)
{
    switch (protection) {
    case FixedProtection::Hydrants:
        return 0.7;
    case FixedProtection::None:
        return 1.0;
    case FixedProtection::Sprinklers:
        return 0.5;
    case FixedProtection::HydrantsAndSprinklers:
    case FixedProtection::OutdoorStorage:
        return 0.3;
    }
    return 1.0;
}

FireClass fireClassOf(QStringView classText)
{
    return classText == kFireClassA ? FireClass::A : FireClass::B;
}

QString ratingUnit(FireClass fireClass)
{
    return fireClass == FireClass::A ? QStringLiteral("A") : QStringLiteral("B");
}

QString areaPerRatingUnit(FireClass fireClass)
{
    return QStringLiteral("平米/") + ratingUnit(fireClass);
}

std::span<const ExtinguisherSize> ExtinguisherRatingTable::sizes()
{
    return kSizes;
}

QStringList ExtinguisherRatingTable::sizeNames()
{
    QStringList names;
    for (const ExtinguisherSize& size : kSizes)
        names.append(size.name.toString());
    return names;
}

const ExtinguisherSize& ExtinguisherRatingTable::manualOpeningSize()
{
    return kSizes[1];
}

std::optional<double> ExtinguisherRatingTable::rating(QStringView sizeText, FireClass fireClass)
{
    for (const ExtinguisherSize& size : kSizes) {
        if (size.name == sizeText)
            return ratingOf(size, fireClass);
    }
    return std::nullopt;
}

std::optional<HazardBase> HazardBaseTable::base(FireClass fireClass, QStringView hazardText)
{
    for (const HazardRow& row : kHazards) {
        if (row.fireClass == fireClass && row.hazard == hazardText)
            return row.base;
    }
    return std::nullopt;
}

std::optional<double> ExtinguisherConfiguration::requiredRatingPerPoint(
    double locationFactor, double reductionFactor, double areaM2, double areaPerUnit, double points)
{
    const double divisor = areaPerUnit * points;
    if (!(divisor > 0))
        return std::nullopt;
    const double rating = ((locationFactor * reductionFactor) * areaM2) / divisor;
    if (!std::isfinite(rating))
        return std::nullopt;
    return rating;
}

double ExtinguisherConfiguration::extinguishersPerPoint(double requiredRating, double rating)
{
    const double x = requiredRating / rating;
    if (x < kMinExtinguishersPerPoint)
        return kMinExtinguishersPerPoint;
    const double whole = std::floor(x);
    return whole == x ? x : whole + 1;
}

bool ExtinguisherConfiguration::tooManyPerPoint(double countPerPoint)
{
    return countPerPoint > kMaxExtinguishersPerPoint;
}

QString ExtinguisherConfiguration::remarkFor(double countPerPoint)
{
    return tooManyPerPoint(countPerPoint) ? kTooManyPerPointRemark.toString() : QString();
}

QString automaticReportSentence(const ExtinguisherReportHead& head,
                                const std::array<SizeReport, 5>& sizes,
                                const QString& actualRatingUnit)
{
    QString sentence = headText(head);
    for (std::size_t i = 0; i < sizes.size(); ++i)
        sentence += sizeOpening(i) + figuresText(sizes[i], actualRatingUnit);
    return sentence + QStringLiteral("。");
}

QString manualReportSentence(const ExtinguisherReportHead& head, const QString& sizeText,
                             const SizeReport& size, const QString& actualRatingUnit)
{
    return headText(head) + QStringLiteral("，选用") + sizeText
        + figuresText(size, actualRatingUnit) + QStringLiteral("。");
}

ExtinguisherOutcome configureExtinguishers(const ExtinguisherInputTexts& in)
{
    using namespace ExtinguisherConfiguration;
    if (in.points.isEmpty())
        return refused(ExtinguisherField::Points, QStringLiteral("请输入设置点数量！"),
                       textio::kCompletenessTitle);
    const std::optional<double> area = textio::readInRange(in.area, kProtectedAreaRange);
    if (!area)
        return refused(ExtinguisherField::Area, QStringLiteral("请输入正确的保护面积！"),
                       textio::kCorrectnessTitle);
    const std::optional<double> points = textio::readInRange(in.points, kPlacementPointsRange);
    if (!points)
        return refused(ExtinguisherField::Points,
                       QStringLiteral("请输入正确的设置点数量！设置点数应为正整数。"),
                       textio::kCorrectnessTitle);
    const FireClass fireClass = fireClassOf(in.fireClass);
    std::optional<double> sizeRating;
    if (!in.automatic) {
        sizeRating = ExtinguisherRatingTable::rating(in.size, fireClass);
        if (!sizeRating)
            return refused(ExtinguisherField::Size, QStringLiteral("请选择灭火器规格！"),
                           textio::kCompletenessTitle);
    }
    const std::optional<HazardBase> base = HazardBaseTable::base(fireClass, in.hazard);
    const std::optional<double> location = textio::readNumber(in.location);
    const double k = reductionFactor(in.protection);
    if (!base || !location)
        return refused(ExtinguisherField::Choices, QString(), QString());
    // Within the ranges Qe is finite and positive; the required rating is
    // carried as its field shows it.
    ExtinguisherOutcome out;
    ExtinguisherResults& r = out.values;
    const std::optional<double> qe = textio::atTextPrecision(
        requiredRatingPerPoint(*location, k, *area, base->areaPerUnit, *points).value_or(NAN),
        r.requiredRating);
    if (!qe)
        return refused(ExtinguisherField::Area, QStringLiteral("请输入正确的保护面积！"),
                       textio::kCorrectnessTitle);

    r.ratingUnit = ratingUnit(fireClass);
    r.areaPerUnit = textio::generalNumberText(base->areaPerUnit);
    r.protectionDistance = textio::generalNumberText(base->protectionDistanceM);
    r.minimumRating = textio::generalNumberText(base->minimumRating);
    if (in.automatic) {
        for (std::size_t i = 0; i < kSizes.size(); ++i) {
            const double rating = ratingOf(kSizes[i], fireClass);
            const double count = extinguishersPerPoint(*qe, rating);
            r.sizes[i] = sizeFigures(count, rating, std::floor(*points));
            r.sizes[i].remark = remarkFor(count);
        }
        return out;
    }
    r.sizeRating = textio::generalNumberText(*sizeRating);
    const double count = extinguishersPerPoint(*qe, *sizeRating);
    r.manual = sizeFigures(count, *sizeRating, *points);
    r.tooManyPerPoint = tooManyPerPoint(count);
    r.sizeTooSmall = *sizeRating < base->minimumRating;
    if (r.tooManyPerPoint)
        r.warning = kTooManyPerPointWarning;
    else if (r.sizeTooSmall)
        r.warning = kSizeTooSmallWarning;
    return out;
}

ManualFigureOutcome checkManualFigures(const ManualFigureTexts& texts)
{
    struct Figure {
        const QString& text;
        textio::ValueRange range;
        ManualFigure figure;
        const char* message;
    };
    const Figure figures[] = {
        {texts.requiredRating, kEditedRequiredRatingRange, ManualFigure::RequiredRating,
         "请输入正确的灭火级别！"},
        {texts.perPoint, kEditedPerPointRange, ManualFigure::PerPoint, "请输入正确的每处配置数量！"},
        {texts.ratingPerPoint, kEditedRatingPerPointRange, ManualFigure::RatingPerPoint,
         "请输入正确的实际配置级别！"},
        {texts.total, kEditedTotalRange, ManualFigure::Total, "请输入正确的总计配置数量！"},
    };
    for (const Figure& f : figures) {
        if (!textio::readInRange(f.text, f.range))
            return {ManualFigureRefusal{f.figure, QString::fromUtf8(f.message),
                                        textio::kCorrectnessTitle},
                    {}};
    }
    const double count = *textio::readNumber(texts.perPoint);
    return {std::nullopt, ExtinguisherConfiguration::remarkFor(count)};
}

} // namespace building_services
