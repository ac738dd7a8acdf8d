#include "building_services/extinguisher_rules.h"

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

// The openings of the size parts of the automatic sentence.
constexpr std::array<QStringView, 5> kSizeOpenings = {
    u"，配置方案为：1.选用1kg磷酸铵盐干粉灭火器",
    u"；2.选用2kg磷酸铵盐干粉灭火器",
    u"；3.选用3kg磷酸铵盐干粉灭火器",
    u"；4.选用4kg磷酸铵盐干粉灭火器",
    u"；5.选用6kg磷酸铵盐干粉灭火器",
};

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

FireClass fireClassOf(QStringView classText)
{
    return classText == kFireClassA ? FireClass::A : FireClass::B;
}

QString ratingUnit(FireClass fireClass)
{
    return fireClass == FireClass::A ? QStringLiteral("A") : QStringLiteral("B");
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

std::optional<double> ExtinguisherRatingTable::rating(QStringView sizeText, FireClass fireClass)
{
    for (const ExtinguisherSize& size : kSizes) {
        if (size.name == sizeText)
            return fireClass == FireClass::A ? size.ratingA : size.ratingB;
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
    if (x < 2)
        return 2;
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
        sentence += kSizeOpenings[i].toString() + figuresText(sizes[i], actualRatingUnit);
    return sentence + QStringLiteral("。");
}

QString manualReportSentence(const ExtinguisherReportHead& head, const QString& sizeText,
                             const SizeReport& size, const QString& actualRatingUnit)
{
    return headText(head) + QStringLiteral("，选用") + sizeText
        + figuresText(size, actualRatingUnit) + QStringLiteral("。");
}

} // namespace building_services
