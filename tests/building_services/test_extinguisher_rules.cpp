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
              textio::generalNumberText(35.0 / 3));
    EXPECT_EQ(textio::generalNumberText(*requiredRatingPerPoint(1.3, 1, 500, 5, 3)),
              textio::generalNumberText(130.0 / 3));
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
    return {u"1000"_s, u"中危险级"_s, u"A类火灾"_s, u"15"_s,
            u"平米/A"_s, u"4"_s, textio::generalNumberText(35.0 / 3), u"A"_s};
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
