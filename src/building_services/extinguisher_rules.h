// Portable fire extinguisher configuration by GBJ140-90 for ammonium
// phosphate dry-powder extinguishers: the fire rating of each size, the base
// values of each hazard level, the rating each placement point needs, how
// many extinguishers of a size a point takes, and the report sentences.
//
// Ratings are in units of A (solid fires) or B (liquid fires), areas in m²,
// protection distances in m.
#pragma once

#include "textio/field_values.h"
#include "textio/refusal.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <optional>
#include <span>

namespace building_services {

enum class FireClass { A, B };

// The fire class texts the window keeps.
inline constexpr QStringView kFireClassA = u"A类火灾";
inline constexpr QStringView kFireClassB = u"B类火灾";

// The hazard level texts the window keeps.
inline constexpr QStringView kSevereHazard = u"严重危险级";
inline constexpr QStringView kMediumHazard = u"中危险级";
inline constexpr QStringView kLightHazard = u"轻危险级";

// Class A for the text "A类火灾", class B for any other.
FireClass fireClassOf(QStringView classText);
// The rating unit of a class: "A" or "B".
QString ratingUnit(FireClass fireClass);
// The unit of the base area of a class: "平米/A" or "平米/B".
QString areaPerRatingUnit(FireClass fireClass);

// Location factor: 1.3 below ground, 1 above ground.
inline constexpr double kBelowGroundFactor = 1.3;
inline constexpr double kAboveGroundFactor = 1.0;

// The fixed fire protection the area already has, as the window offers it.
enum class FixedProtection {
    Hydrants,              // K 0.7
    None,                  // neither hydrants nor sprinklers, K 1
    Sprinklers,            // K 0.5
    HydrantsAndSprinklers, // K 0.3
    OutdoorStorage,        // open stacks, liquid and gas tanks, K 0.3
};

// Reduction factor K of the fixed fire protection.
double reductionFactor(FixedProtection protection);

// GBJ140-90 4.0.7: no more than five extinguishers at one placement point.
inline constexpr double kMaxExtinguishersPerPoint = 5;
// Each placement point takes at least two extinguishers.
inline constexpr double kMinExtinguishersPerPoint = 2;

// The protected areas a design can have, m²: from one square metre (a
// smaller area has no placement point of its own) to a million.
inline constexpr textio::ValueRange kProtectedAreaRange{1, 1000000, true, false};
// The placement points: a whole number from 1 to 10,000.
inline constexpr textio::ValueRange kPlacementPointsRange{1, 10000, true, true};
// The remark of a size that needs more than five per point.
inline constexpr QStringView kTooManyPerPointRemark =
    u"（超过规范规定【GBJ140-90-4.0.7】，不推荐采用）";

struct ExtinguisherSize {
    QStringView name; // "2kg磷酸铵盐干粉灭火器"
    double ratingA;
    double ratingB;
};

namespace ExtinguisherRatingTable {

// The five sizes in list order: 1, 2, 3, 4 and 6 kg.
std::span<const ExtinguisherSize> sizes();
// The size a manual configuration starts from: 2 kg.
const ExtinguisherSize& manualOpeningSize();
QStringList sizeNames();
// The rating of one extinguisher of the size named exactly by `sizeText`;
// empty for a text that is none of the five.
std::optional<double> rating(QStringView sizeText, FireClass fireClass);

} // namespace ExtinguisherRatingTable

struct HazardBase {
    double areaPerUnit;         // U, m² per A or per B
    double protectionDistanceM; // maximum protection distance
    double minimumRating;       // minimum rating of one extinguisher
};

namespace HazardBaseTable {

// The base values of a class and hazard level text; empty for a text that
// is no hazard level.
std::optional<HazardBase> base(FireClass fireClass, QStringView hazardText);

} // namespace HazardBaseTable

namespace ExtinguisherConfiguration {

// The rating each placement point needs, Qe = F·K·S ÷ (U·N): location factor
// F, reduction factor K, area S in m², base area U and points N. Empty when
// U·N is not above zero or the result is not finite.
std::optional<double> requiredRatingPerPoint(double locationFactor, double reductionFactor,
                                             double areaM2, double areaPerUnit, double points);

// Extinguishers per point for a required rating Qe and the rating r of one
// extinguisher: Qe/r rounded up to a whole number, and at least
// kMinExtinguishersPerPoint.
double extinguishersPerPoint(double requiredRating, double rating);

// True when a count per point breaks GBJ140-90 4.0.7 (more than five).
bool tooManyPerPoint(double countPerPoint);

// The remark of a count per point: the remark text above five, else empty.
QString remarkFor(double countPerPoint);

} // namespace ExtinguisherConfiguration

// The opening of both sentences, as the window's fields and labels hold it.
struct ExtinguisherReportHead {
    QString area;          // S as typed
    QString hazardLevel;   // "中危险级"
    QString fireClass;     // "A类火灾"
    QString areaPerUnit;   // U
    QString areaUnit;      // "平米/A"
    QString points;        // N as typed
    QString requiredRating; // Qe, written through "##.##" when it is a number
    QString ratingUnit;    // "A"
};

// The figures of one size as the sentence reports them; the unit of the
// actual rating is passed beside them.
struct SizeReport {
    QString perPoint;
    QString ratingPerPoint;
    QString total;
    QString remark;
};

// The inputs as the window holds them: area and points as typed, the
// choices as its hidden fields keep them, the fixed protection chosen, the
// size of manual mode.
struct ExtinguisherInputTexts {
    QString area;      // S, m²
    QString points;    // N
    QString fireClass; // "A类火灾" or "B类火灾"
    QString hazard;    // "中危险级"
    QString location;  // F
    FixedProtection protection = FixedProtection::Hydrants; // K
    QString size;      // manual mode only
    bool automatic = false;
};

// The input a refused calculation names; Choices are the window's own
// hidden texts, which it never leaves wrong (refused without a message).
enum class ExtinguisherField { Points, Area, Size, Choices };

// The message is empty for Choices.
using ExtinguisherRefusal = textio::Refusal<ExtinguisherField>;

// The figures of a calculation as texts.
struct ExtinguisherResults {
    QString ratingUnit;         // "A" or "B"
    QString areaPerUnit;        // U
    QString protectionDistance; // m
    QString minimumRating;      // of one extinguisher
    QString requiredRating;     // Qe per point, general number text
    // Automatic mode: the five sizes in list order.
    std::array<SizeReport, 5> sizes;
    // Manual mode: the rating of one extinguisher of the chosen size, its
    // figures (no remark: the report adds it) and the checks of the code.
    QString sizeRating;
    SizeReport manual;
    bool tooManyPerPoint = false; // more than five per point
    bool sizeTooSmall = false;    // below the minimum rating
    // The one warning of a manual calculation that breaks the code, OK
    // alone and no icon: too many per point (GBJ140-90 4.0.7, "警告！")
    // goes before too small a size ("警告").
    std::optional<textio::Notice> warning;
};

using ExtinguisherOutcome = textio::Outcome<ExtinguisherResults, ExtinguisherField>;

// The calculation of "计 算". Refusals in this order: no points
// "请输入设置点数量！" (确认数据完整性); an area outside kProtectedAreaRange
// "请输入正确的保护面积！"; points outside kPlacementPointsRange
// "请输入正确的设置点数量！设置点数应为正整数。" (both 确认数据正确性); in manual
// mode a size that is none of the five "请选择灭火器规格！" (确认数据完整性).
// Qe is carried at the precision of its field; automatic totals take the
// whole part of N.
ExtinguisherOutcome configureExtinguishers(const ExtinguisherInputTexts& in);

// The automatic sentence: the opening, then one part per size in the order
// 1, 2, 3, 4, 6 kg, each "…选用<size><n>具，实际配置级别为<r><unit>，共需配置
// 灭火器<t>具<remark>", and "。".
QString automaticReportSentence(const ExtinguisherReportHead& head,
                                const std::array<SizeReport, 5>& sizes,
                                const QString& actualRatingUnit);

// The manual figures as the engineer may have edited them before a report,
// each up to beyond what a calculation within the input ranges gives
// (Qe at most 260,000, 130,000 per point, 1,300,000,000 in all).
inline constexpr textio::ValueRange kEditedRequiredRatingRange = textio::positiveUpTo(1e6);
inline constexpr textio::ValueRange kEditedPerPointRange = textio::positiveUpTo(1e6, true);
inline constexpr textio::ValueRange kEditedRatingPerPointRange = textio::positiveUpTo(1e7);
inline constexpr textio::ValueRange kEditedTotalRange = textio::positiveUpTo(1e10, true);

struct ManualFigureTexts {
    QString requiredRating; // Qe
    QString perPoint;
    QString ratingPerPoint;
    QString total;
};

enum class ManualFigure { RequiredRating, PerPoint, RatingPerPoint, Total };

using ManualFigureRefusal = textio::Refusal<ManualFigure>;
// The remark of the count per point, or the refusal of a figure.
using ManualFigureOutcome = textio::Outcome<QString, ManualFigure>;

// The figures in the order above, each against its range:
// "请输入正确的灭火级别！", "请输入正确的每处配置数量！", "请输入正确的实际配置级别！",
// "请输入正确的总计配置数量！" (确认数据正确性); else the remark of the count.
ManualFigureOutcome checkManualFigures(const ManualFigureTexts& texts);

// The manual sentence: the opening, "，选用", the size text and its figures.
QString manualReportSentence(const ExtinguisherReportHead& head, const QString& sizeText,
                             const SizeReport& size, const QString& actualRatingUnit);

} // namespace building_services
