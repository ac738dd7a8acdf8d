#include "textio/field_values.h"
#include "textio/numtext.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <limits>
#include <random>
#include <string>

namespace {

using textio::formatNumber;
using textio::formatText;
using textio::generalNumberText;
using textio::isNumber;
using textio::readNumber;

struct GeneralCase {
    double value;
    const char* expected;
};

TEST(GeneralNumberText, ShortestTextOfFifteenDigits)
{
    const GeneralCase cases[] = {
        {0.1 + 0.2, "0.3"},
        {100 * 0.024761, "2.4761"},
        {2 * 3.6, "7.2"},
        {7.2 / 3.6, "2"},
        {0.0, "0"},
        {-0.0, "0"},
        {-0.3, "-0.3"},
        {0.0172, "0.0172"},
        {130, "130"},
        {3.5, "3.5"},
        {-245, "-245"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {5.99999999999999, "5.99999999999999"},
        {5.999999999999999, "6"},
        {1e9, "1000000000"},
        {123456789012345.0, "123456789012345"},
        {1234567890123456.0, "1234567890123460"},
        {1e15, "1000000000000000"},
        {1e-10, "0.0000000001"},
        {-1.25e-7, "-0.000000125"},
        {1e16, "1E+16"},
        {-2.5e300, "-2.5E+300"},
        {1.5e-11, "1.5E-11"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(generalNumberText(c.value), QString::fromLatin1(c.expected)) << c.value;
    }
}

TEST(GeneralNumberText, NonFiniteIsNeverReadBackAsNumber)
{
    const double values[] = {std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN()};
    for (double v : values) {
        const QString text = generalNumberText(v);
        EXPECT_FALSE(text.isEmpty());
        EXPECT_FALSE(isNumber(text)) << text.toStdString();
    }
}

TEST(GeneralNumberText, ReadingBackGivesTheSameText)
{
    std::mt19937_64 rng(936);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-12, 17);
    for (int n = 0; n < 2000; ++n) {
        const double v = mantissa(rng) * std::pow(10.0, exponent(rng));
        const QString text = generalNumberText(v);
        const auto back = readNumber(text);
        ASSERT_TRUE(back.has_value()) << text.toStdString();
        EXPECT_EQ(generalNumberText(*back), text);
        EXPECT_NEAR(*back, v, std::fabs(v) * 1e-14);
    }
}

struct FormatCase {
    double value;
    const char* pattern;
    const char* expected;
};

void PrintTo(const FormatCase& c, std::ostream* os)
{
    *os << c.value << " with \"" << c.pattern << "\" gives \"" << c.expected << '"';
}

class FormatNumberTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatNumberTest, WritesThePattern)
{
    const FormatCase& c = GetParam();
    EXPECT_EQ(formatNumber(c.value, QString::fromLatin1(c.pattern)),
              QString::fromLatin1(c.expected))
        << c.value << " with " << c.pattern;
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, FormatNumberTest,
    ::testing::Values(
        // Unit head loss: one to six decimals, a digit before the point.
        FormatCase{0.0123456789, "0.0#####", "0.012346"},
        FormatCase{1, "0.0#####", "1.0"},
        FormatCase{0, "0.0#####", "0.0"},
        FormatCase{2.4761, "0.0#####", "2.4761"},
        FormatCase{0.00000049, "0.0#####", "0.0"},
        FormatCase{0.0000005, "0.0#####", "0.000001"},
        FormatCase{-0.0000004, "0.0#####", "0.0"},
        FormatCase{123.4567895, "0.0#####", "123.45679"},
        FormatCase{1.5e-11, "0.0#####", "0.0"},
        // Velocity: one to three decimals.
        FormatCase{1.23456, "0.0##", "1.235"},
        FormatCase{2, "0.0##", "2.0"},
        FormatCase{0, "0.0##", "0.0"},
        FormatCase{0.0005, "0.0##", "0.001"},
        FormatCase{0.0004, "0.0##", "0.0"},
        FormatCase{2.5, "0.0##", "2.5"},
        // Fixed decimals; ties are taken on the 15-digit decimal text.
        FormatCase{2.675, "0.00", "2.68"},
        FormatCase{-2.675, "0.00", "-2.68"},
        FormatCase{1.005, "0.00", "1.01"},
        FormatCase{0.125, "0.00", "0.13"},
        FormatCase{9.995, "0.00", "10.00"},
        FormatCase{0.1 + 0.2, "0.00", "0.30"},
        FormatCase{0, "0.00", "0.00"},
        FormatCase{-0.004, "0.00", "0.00"},
        FormatCase{-0.005, "0.00", "-0.01"},
        FormatCase{1e9, "0.00", "1000000000.00"},
        FormatCase{123456789012345.0, "0.00", "123456789012345.00"},
        FormatCase{123456789012345.67, "0.00", "123456789012346.00"},
        FormatCase{1e20, "0.00", "100000000000000000000.00"},
        FormatCase{1.0005, "0.000", "1.001"},
        FormatCase{245, "0.000", "245.000"},
        FormatCase{0.0005, "0.000", "0.001"},
        FormatCase{2.0004999, "0.000", "2.000"},
        FormatCase{-12.3456, "0.000", "-12.346"},
        FormatCase{3.14159265, "0.0000", "3.1416"},
        FormatCase{0.00005, "0.0000", "0.0001"},
        FormatCase{12.5, "0.0000", "12.5000"},
        FormatCase{0.05, "0.0", "0.1"},
        FormatCase{0.04, "0.0", "0.0"},
        FormatCase{7.25, "0.0", "7.3"},
        FormatCase{-0.04, "0.0", "0.0"},
        // Slopes: one or two decimals.
        FormatCase{3, "0.0#", "3.0"},
        FormatCase{2.5, "0.0#", "2.5"},
        FormatCase{2.25, "0.0#", "2.25"},
        FormatCase{2.255, "0.0#", "2.26"},
        FormatCase{5.99999999999999, "0.0#", "6.0"},
        // Only "#" before the point: no digit for a value below 1, the point
        // always written, trailing zeros dropped.
        FormatCase{0.7493, "##.###", ".749"},
        FormatCase{1.2, "##.###", "1.2"},
        FormatCase{2, "##.###", "2."},
        FormatCase{0, "##.###", "."},
        FormatCase{0.0004, "##.###", "."},
        FormatCase{0.0005, "##.###", ".001"},
        FormatCase{1234.5678, "##.###", "1234.568"},
        FormatCase{-0.5, "##.###", "-.5"},
        FormatCase{9.9996, "##.###", "10."},
        FormatCase{3, "#.###", "3."},
        FormatCase{0.5, "#.###", ".5"},
        FormatCase{12.3456, "#.###", "12.346"},
        FormatCase{0.12345, "##.####", ".1235"},
        FormatCase{1.5, "##.####", "1.5"},
        FormatCase{0.5, "###.###", ".5"},
        FormatCase{5, "###.###", "5."},
        FormatCase{2.6665, "###.###", "2.667"},
        FormatCase{35.0 / 3.0, "##.##", "11.67"},
        FormatCase{12, "##.##", "12."},
        FormatCase{0.5, "##.##", ".5"},
        FormatCase{1234.5, "##.##", "1234.5"},
        FormatCase{0.5, "0.###", "0.5"},
        FormatCase{2, "0.###", "2."},
        FormatCase{0, "0.###", "0."},
        FormatCase{0.0456, "0.###", "0.046"},
        // Whole numbers.
        FormatCase{0, "#", ""},
        FormatCase{0.4, "#", ""},
        FormatCase{-0.4, "#", ""},
        FormatCase{0.5, "#", "1"},
        FormatCase{2.5, "#", "3"},
        FormatCase{-2.5, "#", "-3"},
        FormatCase{12.49, "#", "12"},
        FormatCase{0.5, "0", "1"},
        FormatCase{0, "0", "0"},
        FormatCase{1.5, "0", "2"},
        FormatCase{-0.5, "0", "-1"},
        FormatCase{1e9, "0", "1000000000"},
        FormatCase{123456789012345.0, "0", "123456789012345"},
        FormatCase{5, "00.0", "05.0"}),
    // "0_012345678_with_0_0hhhhh": the value and the pattern ('#' as h,
    // the point and the sign as _ and m).
    [](const ::testing::TestParamInfo<FormatCase>& caseInfo) {
        std::string name = generalNumberText(caseInfo.param.value).toStdString() + "_with_"
            + caseInfo.param.pattern;
        for (char& c : name) {
            if (c == '#')
                c = 'h';
            else if (c == '-')
                c = 'm';
            else if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        }
        return name;
    });

TEST(FormatNumber, EmptyPatternAndNonFiniteGiveGeneralText)
{
    EXPECT_EQ(formatNumber(0.1 + 0.2, QString()), QStringLiteral("0.3"));
    EXPECT_EQ(formatNumber(std::numeric_limits<double>::infinity(), QStringLiteral("0.00")),
              generalNumberText(std::numeric_limits<double>::infinity()));
}

struct ReadCase {
    const char* text;
    double value;
};

TEST(ReadNumber, AcceptsOneWholeDecimalNumber)
{
    const ReadCase cases[] = {
        {"0", 0},
        {"12", 12},
        {" 12 ", 12},
        {"\t3.5\t", 3.5},
        {"-3", -3},
        {"+3", 3},
        {".749", 0.749},
        {"0.", 0},
        {"2.", 2},
        {"-.5", -0.5},
        {"007", 7},
        {"1e3", 1000},
        {"1.5E-2", 0.015},
        {"1E+2", 100},
        {"-2.5e1", -25},
        {"1e-999", 0},
        {"1.7976931348623157e308", 1.7976931348623157e308},
    };
    for (const auto& c : cases) {
        const auto value = readNumber(QString::fromLatin1(c.text));
        ASSERT_TRUE(value.has_value()) << c.text;
        EXPECT_DOUBLE_EQ(*value, c.value) << c.text;
    }
}

TEST(ReadNumber, RefusesEverythingElse)
{
    const char* const texts[] = {
        "",     " ",     "\t",   ".",        "+",    "-",     "e5",       ".e5",
        "1e",   "1e+",   "1e.5", "inf",      "nan",  "NaN",   "infinity", "Inf",
        "0x10", "1,000", "1 000", "1.2.3",   "12abc", "1d3",  "--1",      "+-1",
        "1\n",  "\n1",   "1e999", "-1e999",  "1.7976931348623159e308",    "1e99999999999999999999",
    };
    for (const char* text : texts) {
        EXPECT_FALSE(readNumber(QString::fromLatin1(text)).has_value()) << '"' << text << '"';
        EXPECT_FALSE(isNumber(QString::fromLatin1(text))) << '"' << text << '"';
    }
    // Full-width and other non-ASCII digits, the ideographic space.
    const QString wide[] = {QStringLiteral("１２"), QStringLiteral("\u0661"),
                            QStringLiteral("\u30001"), QStringLiteral("1．5")};
    for (const QString& text : wide) {
        EXPECT_FALSE(isNumber(text)) << text.toStdString();
    }
}

TEST(FormatText, FormatsNumbersAndLeavesOtherTextAlone)
{
    const struct {
        const char* text;
        const char* pattern;
        const char* expected;
    } cases[] = {
        {"0.7493", "##.###", ".749"},
        {" 2 ", "0.0#", "2.0"},
        {"1e3", "0.0", "1000.0"},
        {"5.99999999999999", "0.0#", "6.0"},
        {"abc", "0.00", "abc"},
        {"", "0.00", ""},
        {"12abc", "0.00", "12abc"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatText(QString::fromLatin1(c.text), QString::fromLatin1(c.pattern)),
                  QString::fromLatin1(c.expected))
            << c.text << " with " << c.pattern;
    }
}

} // namespace

TEST(ReadShownNumber, ReadsBackWhatThePatternsWrite)
{
    struct Case {
        double value;
        const char* pattern;
        double shown;
    };
    const Case cases[] = {
        {0.7494, "##.###", 0.749}, {0.0004, "##.###", 0.0}, {0.00004, "##.####", 0.0},
        {0.0, "#", 0.0},           {2.0, "#.###", 2.0},     {52.9444, "#.###", 52.944},
        {0.0247614, "0.0#####", 0.024761},
    };
    for (const Case& c : cases) {
        const QString text = textio::formatNumber(c.value, QString::fromLatin1(c.pattern));
        SCOPED_TRACE(text.toStdString());
        ASSERT_TRUE(textio::readShownNumber(text).has_value());
        EXPECT_DOUBLE_EQ(*textio::readShownNumber(text), c.shown);
    }
    EXPECT_FALSE(textio::readShownNumber(QStringLiteral("abc")).has_value());
}

// A value range's lower bound: excluded unless the range includes it.
TEST(ValueRangeTest, LowerBoundExcludedUnlessIncluded)
{
    struct Row {
        const char* text;
        textio::ValueRange range;
        bool inside;
    };
    const Row rows[] = {
        {"0", textio::positiveUpTo(1000), false},
        {"0.001", textio::positiveUpTo(1000), true},
        {"1000", textio::positiveUpTo(1000), true},
        {"10", textio::ValueRange{10, 3000, true}, true},
        {"10", textio::ValueRange{10, 3000, false}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(textio::readInRange(QString::fromLatin1(row.text), row.range).has_value(), row.inside);
    }
}
