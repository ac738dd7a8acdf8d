#include "building_services/extinguisher_rules.h"
#include "forms/testing/text.h"

#include "textio/numtext.h"

#include <gtest/gtest.h>

using namespace building_services;
using namespace Qt::StringLiterals;

namespace {

using forms::testing::S;

const QString kRemark = u"（超过规范规定【GBJ140-90-4.0.7】，不推荐采用）"_s;

} // namespace

TEST(FireClass, ClassAOnlyForItsOwnText)
{
    EXPECT_EQ(fireClassOf(u"A类火灾"), FireClass::A);
    EXPECT_EQ(fireClassOf(u"B类火灾"), FireClass::B);
    EXPECT_EQ(fireClassOf(u"A"), FireClass::B);
    EXPECT_EQ(fireClassOf(u""), FireClass::B);
    EXPECT_EQ(ratingUnit(FireClass::A), u"A"_s);
    EXPECT_EQ(ratingUnit(FireClass::B), u"B"_s);
}

TEST(ExtinguisherRatingTable, RatingBySizeAndClass)
{
    struct Row {
        const char* size;
        std::optional<double> a;
        std::optional<double> b;
    };
    const Row rows[] = {
        {"1kg磷酸铵盐干粉灭火器", 3, 2},
        {"2kg磷酸铵盐干粉灭火器", 5, 5},
        {"3kg磷酸铵盐干粉灭火器", 5, 7},
        {"4kg磷酸铵盐干粉灭火器", 8, 10},
        {"6kg磷酸铵盐干粉灭火器", 8, 12},
        {"5kg磷酸铵盐干粉灭火器", std::nullopt, std::nullopt},
        {"请选择灭火器规格", std::nullopt, std::nullopt},
        {"2kg磷酸铵盐干粉灭火器 ", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.size);
        EXPECT_EQ(ExtinguisherRatingTable::rating(S(row.size), FireClass::A), row.a);
        EXPECT_EQ(ExtinguisherRatingTable::rating(S(row.size), FireClass::B), row.b);
    }
    EXPECT_EQ(ExtinguisherRatingTable::sizeNames(),
              (QStringList{u"1kg磷酸铵盐干粉灭火器"_s, u"2kg磷酸铵盐干粉灭火器"_s,
                           u"3kg磷酸铵盐干粉灭火器"_s, u"4kg磷酸铵盐干粉灭火器"_s,
                           u"6kg磷酸铵盐干粉灭火器"_s}));
}

TEST(HazardBaseTable, BaseValuesByClassAndHazardLevel)
{
    struct Row {
        FireClass fireClass;
        const char* hazard;
        double u;
        double distance;
        double minimum;
    };
    const Row rows[] = {
        {FireClass::A, "严重危险级", 10, 15, 5}, {FireClass::A, "中危险级", 15, 20, 5},
        {FireClass::A, "轻危险级", 20, 25, 3},   {FireClass::B, "严重危险级", 5, 9, 8},
        {FireClass::B, "中危险级", 7.5, 12, 4},  {FireClass::B, "轻危险级", 10, 15, 8},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.fireClass == FireClass::A ? "A " : "B ") + row.hazard);
        const std::optional<HazardBase> base = HazardBaseTable::base(row.fireClass, S(row.hazard));
        ASSERT_TRUE(base.has_value());
        EXPECT_EQ(base->areaPerUnit, row.u);
        EXPECT_EQ(base->protectionDistanceM, row.distance);
        EXPECT_EQ(base->minimumRating, row.minimum);
    }
    EXPECT_FALSE(HazardBaseTable::base(FireClass::A, u"中危险").has_value());
    EXPECT_FALSE(HazardBaseTable::base(FireClass::B, u"").has_value());
}

TEST(ExtinguisherConfiguration, RequiredRatingPerPoint)
{
    using ExtinguisherConfiguration::requiredRatingPerPoint;
    // F·K·S ÷ (U·N)
    EXPECT_EQ(textio::generalNumberText(*requiredRatingPerPoint(1, 0.7, 1000, 15, 4)),
              u"11.6666666666667"_s);
    EXPECT_EQ(textio::generalNumberText(*requiredRatingPerPoint(1.3, 1, 500, 5, 3)),
              u"43.3333333333333"_s);
    EXPECT_DOUBLE_EQ(*requiredRatingPerPoint(1, 0.3, 100, 10, 4.5), 30.0 / 45);
    EXPECT_FALSE(requiredRatingPerPoint(1, 0.7, 1000, 15, 0).has_value());
    EXPECT_FALSE(requiredRatingPerPoint(1, 0.7, 1000, 0, 4).has_value());
    EXPECT_FALSE(requiredRatingPerPoint(1.3, 1, 1e308, 5, 1e-308).has_value());
}

TEST(ExtinguisherConfiguration, CountPerPointIsTheQuotientRoundedUpAndAtLeastTwo)
{
    struct Row {
        const char* name;
        double required;
        double rating;
        double count;
    };
    const Row rows[] = {
        {"far below two", 0.5, 8, 2},
        {"just below two", 9.99, 5, 2},
        {"exactly two", 10, 5, 2},
        {"just above two", 10.05, 5, 3},
        {"exactly three", 15, 5, 3},
        {"just above three", 15.000001, 5, 4},
        {"worked example 1 kg", 11.6666666666667, 3, 4},
        {"worked example 6 kg", 11.6666666666667, 8, 2},
        {"class B severe 1 kg", 43.3333333333333, 2, 22},
        {"class B severe 4 kg", 43.3333333333333, 10, 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ExtinguisherConfiguration::extinguishersPerPoint(row.required, row.rating),
                  row.count);
    }
}

TEST(ExtinguisherConfiguration, MoreThanFivePerPointBreaksTheCode)
{
    using namespace ExtinguisherConfiguration;
    EXPECT_FALSE(tooManyPerPoint(5));
    EXPECT_TRUE(tooManyPerPoint(6));
    EXPECT_EQ(remarkFor(5), QString());
    EXPECT_EQ(remarkFor(6), kRemark);
}

namespace {

ExtinguisherReportHead workedExampleHead()
{
    return {.area = u"1000"_s,
            .hazardLevel = u"中危险级"_s,
            .fireClass = u"A类火灾"_s,
            .areaPerUnit = u"15"_s,
            .areaUnit = u"平米/A"_s,
            .points = u"4"_s,
            .requiredRating = u"11.6666666666667"_s,
            .ratingUnit = u"A"_s};
}

} // namespace

TEST(ExtinguisherReportSentence, AutomaticWorkedExample)
{
    const std::array<SizeReport, 5> sizes = {{
        {u"4"_s, u"12"_s, u"16"_s, QString()},
        {u"3"_s, u"15"_s, u"12"_s, QString()},
        {u"3"_s, u"15"_s, u"12"_s, QString()},
        {u"2"_s, u"16"_s, u"8"_s, QString()},
        {u"2"_s, u"16"_s, u"8"_s, QString()},
    }};
    EXPECT_EQ(automaticReportSentence(workedExampleHead(), sizes, u"A"_s),
              u"建筑面积为1000平方米，危险等级为中危险级,火灾种类为A类火灾，配置基准为15平米/A，"
              u"灭火器设置点为4处，每处灭火级别为11.67A，配置方案为：1.选用1kg磷酸铵盐干粉灭火器4具，"
              u"实际配置级别为12A，共需配置灭火器16具；2.选用2kg磷酸铵盐干粉灭火器3具，实际配置级别为"
              u"15A，共需配置灭火器12具；3.选用3kg磷酸铵盐干粉灭火器3具，实际配置级别为15A，共需配置"
              u"灭火器12具；4.选用4kg磷酸铵盐干粉灭火器2具，实际配置级别为16A，共需配置灭火器8具；"
              u"5.选用6kg磷酸铵盐干粉灭火器2具，实际配置级别为16A，共需配置灭火器8具。"_s);
}

TEST(ExtinguisherReportSentence, ManualSentenceWithRemark)
{
    ExtinguisherReportHead head = workedExampleHead();
    head.requiredRating = u"12"_s;
    const SizeReport size{u"6"_s, u"18"_s, u"24"_s, kRemark};
    EXPECT_EQ(manualReportSentence(head, u"1kg磷酸铵盐干粉灭火器"_s, size, u"A"_s),
              u"建筑面积为1000平方米，危险等级为中危险级,火灾种类为A类火灾，配置基准为15平米/A，"
              u"灭火器设置点为4处，每处灭火级别为12.A，选用1kg磷酸铵盐干粉灭火器6具，实际配置级别为"
              u"18A，共需配置灭火器24具（超过规范规定【GBJ140-90-4.0.7】，不推荐采用）。"_s);
}

TEST(ExtinguisherReportSentence, RequiredRatingThroughItsPattern)
{
    struct Row {
        const char* field;
        const char* shown;
    };
    const Row rows[] = {
        {"11.6666666666667", "11.67"}, {"12", "12."}, {"0.5", ".5"}, {"0.004", "."},
        {"1234.567", "1234.57"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.field);
        ExtinguisherReportHead head = workedExampleHead();
        head.requiredRating = S(row.field);
        const QString sentence = manualReportSentence(head, u"2kg磷酸铵盐干粉灭火器"_s, {}, u"A"_s);
        EXPECT_TRUE(sentence.contains(u"每处灭火级别为"_s + S(row.shown) + u"A，选用"_s))
            << sentence.toStdString();
    }
}

namespace {

// Class A, medium hazard, above ground, hydrants (K 0.7): the window's
// opening choices, in manual mode with the 2 kg size.
ExtinguisherInputTexts openingInputs(const char* area, const char* points)
{
    return {
        .area = S(area),
        .points = S(points),
        .fireClass = u"A类火灾"_s,
        .hazard = u"中危险级"_s,
        .location = u"1"_s,
        .protection = FixedProtection::Hydrants,
        .size = u"2kg磷酸铵盐干粉灭火器"_s,
        .automatic = false,
    };
}

} // namespace

TEST(ExtinguisherCalculation, InputsOutsideTheirRangesAreRefusedInOrder)
{
    enum class Refusal { None, NoPoints, WrongArea, WrongPoints, NoSize };
    struct Row {
        const char* name;
        bool automatic;
        const char* area;
        const char* points;
        const char* size;
        Refusal refusal;
    };
    const char* size2 = "2kg磷酸铵盐干粉灭火器";
    const Row rows[] = {
        {"no points, manual", false, "1000", "", size2, Refusal::NoPoints},
        {"no points, automatic", true, "1000", "", size2, Refusal::NoPoints},
        {"no points and no area", false, "", "", size2, Refusal::NoPoints},
        {"area empty", false, "", "4", size2, Refusal::WrongArea},
        {"area text", true, "一千", "4", size2, Refusal::WrongArea},
        {"area zero", false, "0", "4", size2, Refusal::WrongArea},
        {"area negative", true, "-1000", "4", size2, Refusal::WrongArea},
        {"area just below 1 m²", false, "0.999", "1", size2, Refusal::WrongArea},
        {"area 1 m²", false, "1", "1", size2, Refusal::None},
        {"area a million m²", true, "1000000", "1", size2, Refusal::None},
        {"area just above a million m²", true, "1000000.1", "1", size2, Refusal::WrongArea},
        {"area 1e20 m²", true, "1e20", "4", size2, Refusal::WrongArea},
        {"area checked before points", false, "0", "0", size2, Refusal::WrongArea},
        {"points blanks", false, "1000", "  ", size2, Refusal::WrongPoints},
        {"points half", false, "1000", "4.5", size2, Refusal::WrongPoints},
        {"points half, automatic", true, "1000", "4.5", size2, Refusal::WrongPoints},
        {"points zero", true, "1000", "0", size2, Refusal::WrongPoints},
        {"points negative", false, "1000", "-4", size2, Refusal::WrongPoints},
        {"points text", false, "1000", "四处", size2, Refusal::WrongPoints},
        {"points 1", false, "1000", "1", size2, Refusal::None},
        {"points 10,000", true, "1000", "10000", size2, Refusal::None},
        {"points 10,001", true, "1000", "10001", size2, Refusal::WrongPoints},
        {"points 1e20", true, "1000", "1e20", size2, Refusal::WrongPoints},
        {"points 1e308", true, "1000", "1e308", size2, Refusal::WrongPoints},
        {"size unknown", false, "1000", "4", "5kg磷酸铵盐干粉灭火器", Refusal::NoSize},
        {"size prompt", false, "1000", "4", "请选择灭火器规格", Refusal::NoSize},
        {"size prompt, automatic", true, "1000", "4", "请选择灭火器规格", Refusal::None},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ExtinguisherInputTexts in = openingInputs(row.area, row.points);
        in.size = S(row.size);
        in.automatic = row.automatic;
        const ExtinguisherOutcome c = configureExtinguishers(in);
        struct Expected {
            ExtinguisherField field;
            const char* message;
            const char* title;
        };
        std::optional<Expected> expected;
        switch (row.refusal) {
        case Refusal::None: break;
        case Refusal::NoPoints:
            expected = {ExtinguisherField::Points, "请输入设置点数量！", "确认数据完整性"};
            break;
        case Refusal::WrongArea:
            expected = {ExtinguisherField::Area, "请输入正确的保护面积！", "确认数据正确性"};
            break;
        case Refusal::WrongPoints:
            expected = {ExtinguisherField::Points, "请输入正确的设置点数量！设置点数应为正整数。",
                        "确认数据正确性"};
            break;
        case Refusal::NoSize:
            expected = {ExtinguisherField::Size, "请选择灭火器规格！", "确认数据完整性"};
            break;
        }
        if (!expected) {
            EXPECT_FALSE(c.refusal.has_value());
            continue;
        }
        ASSERT_TRUE(c.refusal.has_value());
        EXPECT_EQ(c.refusal->field, expected->field);
        EXPECT_EQ(c.refusal->message, S(expected->message));
        EXPECT_EQ(c.refusal->title, S(expected->title));
    }
}

// The largest figures the ranges allow stay plain digits: class B severe
// hazard below ground with no fixed protection, a million m² at one point:
// Qe = 1.3 · 1 · 1000000 / (5 · 1) = 260000 B; the 1 kg size (2 B) needs
// 130000 per point. The smallest: class A light hazard with sprinklers and
// hydrants, 1 m² at 10,000 points: Qe = 0.3 / 200000 = 0.0000015 A, two of
// every size per point, 20000 in all.
TEST(ExtinguisherCalculation, FiguresAtTheEndsOfTheRangesArePlainDigits)
{
    ExtinguisherInputTexts largest = openingInputs("1000000", "1");
    largest.fireClass = u"B类火灾"_s;
    largest.hazard = u"严重危险级"_s;
    largest.location = u"1.3"_s;
    largest.protection = FixedProtection::None;
    largest.automatic = true;
    const ExtinguisherOutcome big = configureExtinguishers(largest);
    ASSERT_FALSE(big.refusal.has_value());
    EXPECT_EQ(big.values.requiredRating, u"260000"_s);
    EXPECT_EQ(big.values.sizes[0].perPoint, u"130000"_s);
    EXPECT_EQ(big.values.sizes[0].ratingPerPoint, u"260000"_s);
    EXPECT_EQ(big.values.sizes[0].total, u"130000"_s);
    EXPECT_EQ(big.values.sizes[0].remark, kRemark);

    ExtinguisherInputTexts smallest = openingInputs("1", "10000");
    smallest.hazard = u"轻危险级"_s;
    smallest.protection = FixedProtection::HydrantsAndSprinklers;
    const ExtinguisherOutcome small = configureExtinguishers(smallest);
    ASSERT_FALSE(small.refusal.has_value());
    EXPECT_EQ(small.values.requiredRating, u"0.0000015"_s);
    EXPECT_EQ(small.values.manual.perPoint, u"2"_s);
    EXPECT_EQ(small.values.manual.ratingPerPoint, u"10"_s);
    EXPECT_EQ(small.values.manual.total, u"20000"_s);
    EXPECT_FALSE(small.values.tooManyPerPoint);
    EXPECT_FALSE(small.values.sizeTooSmall);
}

TEST(ExtinguisherCalculation, ManualChecksOfTheCode)
{
    struct Row {
        const char* name;
        const char* fireClass;
        const char* hazard;
        const char* points;
        const char* size;
        bool tooMany;
        bool tooSmall;
    };
    const Row rows[] = {
        // Qe = 700 / 15 / 4 = 11.67 A: 3 of 5 A.
        {"worked example", "A类火灾", "中危险级", "4", "2kg磷酸铵盐干粉灭火器", false, false},
        // Qe = 700 / 10 / 2 = 35 A: 7 of 5 A.
        {"seven per point", "A类火灾", "严重危险级", "2", "2kg磷酸铵盐干粉灭火器", true, false},
        // Qe = 700 / 10 / 4 = 17.5 A: 6 of 3 A, and 3 A is below the 5 A asked.
        {"1 kg below 5 A", "A类火灾", "严重危险级", "4", "1kg磷酸铵盐干粉灭火器", true, true},
        // B light: minimum 8 B; Qe = 700 / 10 / 10 = 7 B: 2 of 7 B.
        {"3 kg below 8 B", "B类火灾", "轻危险级", "10", "3kg磷酸铵盐干粉灭火器", false, true},
        {"4 kg of 10 B", "B类火灾", "轻危险级", "10", "4kg磷酸铵盐干粉灭火器", false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ExtinguisherInputTexts in = openingInputs("1000", row.points);
        in.fireClass = S(row.fireClass);
        in.hazard = S(row.hazard);
        in.size = S(row.size);
        const ExtinguisherOutcome c = configureExtinguishers(in);
        ASSERT_FALSE(c.refusal.has_value());
        EXPECT_EQ(c.values.tooManyPerPoint, row.tooMany);
        EXPECT_EQ(c.values.sizeTooSmall, row.tooSmall);
    }
}

TEST(ExtinguisherReportSentence, EditedManualFiguresOutsideTheirRangesAreRefused)
{
    struct Row {
        const char* name;
        ManualFigureTexts texts;
        std::optional<ManualFigure> figure; // none: reported
        const char* message;
        const char* remark;
    };
    const ManualFigureTexts example{u"11.6666666666667"_s, u"3"_s, u"15"_s, u"12"_s};
    const auto with = [&](QString ManualFigureTexts::*field, const char* text) {
        ManualFigureTexts t = example;
        t.*field = S(text);
        return t;
    };
    using T = ManualFigureTexts;
    const char* rating = "请输入正确的灭火级别！";
    const char* count = "请输入正确的每处配置数量！";
    const char* actual = "请输入正确的实际配置级别！";
    const char* total = "请输入正确的总计配置数量！";
    const Row rows[] = {
        {"worked example", example, std::nullopt, "", ""},
        {"six per point carries the remark", with(&T::perPoint, "6"), std::nullopt, "", "remark"},
        {"five per point", with(&T::perPoint, "5"), std::nullopt, "", ""},
        {"rating empty", with(&T::requiredRating, ""), ManualFigure::RequiredRating, rating, ""},
        {"rating negative", with(&T::requiredRating, "-11.67"), ManualFigure::RequiredRating,
         rating, ""},
        {"rating a million", with(&T::requiredRating, "1000000"), std::nullopt, "", ""},
        {"rating above a million", with(&T::requiredRating, "1000000.01"),
         ManualFigure::RequiredRating, rating, ""},
        {"count text", with(&T::perPoint, "三"), ManualFigure::PerPoint, count, ""},
        {"count half", with(&T::perPoint, "3.5"), ManualFigure::PerPoint, count, ""},
        {"count zero", with(&T::perPoint, "0"), ManualFigure::PerPoint, count, ""},
        {"count a million", with(&T::perPoint, "1000000"), std::nullopt, "", "remark"},
        {"count above a million", with(&T::perPoint, "1000001"), ManualFigure::PerPoint, count,
         ""},
        {"actual rating negative", with(&T::ratingPerPoint, "-15"), ManualFigure::RatingPerPoint,
         actual, ""},
        {"actual rating 1e308", with(&T::ratingPerPoint, "1e308"), ManualFigure::RatingPerPoint,
         actual, ""},
        {"total empty", with(&T::total, ""), ManualFigure::Total, total, ""},
        {"total fractional", with(&T::total, "12.5"), ManualFigure::Total, total, ""},
        {"total ten thousand million", with(&T::total, "10000000000"), std::nullopt, "", ""},
        {"total above", with(&T::total, "10000000001"), ManualFigure::Total, total, ""},
        {"the first wrong figure is named", {u""_s, u""_s, u""_s, u""_s},
         ManualFigure::RequiredRating, rating, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ManualFigureOutcome check = checkManualFigures(row.texts);
        if (!row.figure) {
            EXPECT_FALSE(check.refusal.has_value());
            EXPECT_EQ(check.values, std::string(row.remark) == "remark" ? kRemark : QString());
            continue;
        }
        ASSERT_TRUE(check.refusal.has_value());
        EXPECT_EQ(check.refusal->field, *row.figure);
        EXPECT_EQ(check.refusal->message, S(row.message));
        EXPECT_EQ(check.refusal->title, u"确认数据正确性"_s);
    }
}
