#include "catalogues/storm_intensity_catalogue.h"
#include "forms/testing/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <set>
#include <string>

using catalogues::FindStormIntensityFormula;
using catalogues::StormFormulaKind;
using catalogues::StormIntensity;
using catalogues::StormIntensityCatalogue;
using catalogues::StormIntensityFormulas;

namespace {

using forms::testing::S;

}  // namespace

// ------------------------------------------------------------ display side

TEST(StormIntensityCatalogue, ProvincesInListOrderWithExactTexts)
{
    const QStringList expected = {
        S("天津市"), S("北京市"), S("上海市"), S("重庆市"), S("河  北"), S("山  西"),
        S("内蒙古"), S("黑龙江"), S("吉  林"), S("辽  宁"), S("山  东"), S("江  苏"),
        S("安  徽"), S("浙  江"), S("江  西"), S("福  建"), S("河  南"), S("湖  北"),
        S("湖  南"), S("广  东"), S("广  西"), S("陕  西"), S("宁  夏"), S("甘  肃"),
        S("青  海"), S("新  疆"), S("四  川"), S("贵  州"), S("云  南"),
    };
    EXPECT_EQ(StormIntensityCatalogue::Provinces(), expected);
    // Two ordinary blanks, not ideographic spaces.
    EXPECT_EQ(StormIntensityCatalogue::Provinces().at(4).at(1), QChar(u' '));
    EXPECT_EQ(StormIntensityCatalogue::Provinces().at(4).size(), 4);
}

TEST(StormIntensityCatalogue, CitiesPerProvinceInListOrder)
{
    struct Row {
        const char* province;
        QStringList cities;
    };
    const Row rows[] = {
        {"天津市", {S("天津市")}},
        {"上海市", {S("上海市")}},
        {"河  北", {S("石家庄"), S("承德"), S("唐山"), S("保定")}},
        {"黑龙江", {S("哈尔滨"), S("齐齐哈尔"), S("大庆"), S("佳木斯")}},
        // Not the order of the formula table, which holds 白城 before 通化.
        {"吉  林", {S("长春"), S("通化"), S("延吉"), S("白城")}},
        {"江  苏", {S("南京"), S("徐州"), S("连云港"), S("无锡"), S("苏州"), S("扬州")}},
        {"广  西", {S("南宁"), S("桂林"), S("柳州")}},
        {"陕  西", {S("西安"), S("延安"), S("宝鸡")}},
        {"新  疆", {S("乌鲁木齐")}},
        {"云  南", {S("昆明")}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(StormIntensityCatalogue::CitiesOf(S(row.province)), row.cities) << row.province;

    int total = 0;
    for (const QString& province : StormIntensityCatalogue::Provinces())
        total += int(StormIntensityCatalogue::CitiesOf(province).size());
    EXPECT_EQ(total, 70);
}

TEST(StormIntensityCatalogue, ProvinceTextsAreComparedExactly)
{
    for (const char* text : {"河北", "河 北", " 河  北", "河  北 ", "天津", ""})
        EXPECT_TRUE(StormIntensityCatalogue::CitiesOf(S(text)).isEmpty()) << text;
}

TEST(StormIntensityCatalogue, PrefixIsIForTheNineMillimetrePerMinuteTexts)
{
    const QStringList iCities = {S("上海市"), S("秦皇岛"), S("保定"), S("包头"), S("烟台"),
                                 S("淮南"),   S("西安"),   S("延安"), S("宝鸡")};
    for (const QString& city : iCities)
        EXPECT_EQ(StormIntensityCatalogue::PrefixOf(city), S("i=")) << city.toStdString();

    int iCount = 0;
    for (const QString& city : StormIntensityCatalogue::CaptionCities()) {
        if (StormIntensityCatalogue::PrefixOf(city) == S("i="))
            ++iCount;
    }
    EXPECT_EQ(iCount, 8);  // 秦皇岛 has no caption row
    for (const char* city : {"天津市", "唐山", "柳州", "西安 ", ""})
        EXPECT_EQ(StormIntensityCatalogue::PrefixOf(S(city)), S("q=")) << city;
}

TEST(StormIntensityCatalogue, CaptionsAsDrawn)
{
    struct Row {
        const char* province;
        int cityIndex;
        const char* city;
        const char* prefix;
        const char* numerator;
        const char* denominator;
    };
    const Row rows[] = {
        {"天津市", 0, "天津市", "q=", "3841(1+0.85lgP)", "(t+17)^0.85"},
        {"上海市", 0, "上海市", "i=", "9.45+6.7932lgP", "(t+5.54)^0.6514"},
        {"重庆市", 0, "重庆市", "q=", "2822(1+0.775lgP)", "(t+12.8P^0.076)^0.77"},
        {"河  北", 0, "石家庄", "q=", "1689(1+0.898lgP)", "(t+7)^0.729"},
        {"河  北", 1, "承德", "q=", "2839(1+0.728lg(P-0.121)))", "(t+9.6)^0.87"},
        {"河  北", 2, "唐山", "q=", "935(1+0.87lgP)", "t^0.6"},
        {"河  北", 3, "保定", "i=", "14.973+10.266lgP", "(t+13.877)^0.776"},
        {"安  徽", 2, "安庆", "q=", "1986.8(1+0.777lgP)", "(t+8.404)^0.689"},
        {"江  苏", 5, "扬州", "q=", "8248.13*(1+0.641lgP)", "(t+40.3)^0.95"},
        {"广  西", 0, "南宁", "q=", "10500(1+0.707lgP)", "t+21.1P^0.119"},
        {"陕  西", 0, "西安", "i=", "6.041(1+1.475lgP)", "(t+14.72)^0.704"},
        {"陕  西", 1, "延安", "i=", "5.582(1+1.292lgP)", "(t+8.22)^0.7"},
        {"福  建", 1, "厦门", "q=", "1085.020(1+0.581lgP)", "(t+2.954)^0.559"},
    };
    for (const Row& row : rows) {
        const QStringList cities = StormIntensityCatalogue::CitiesOf(S(row.province));
        ASSERT_GT(cities.size(), row.cityIndex) << row.city;
        ASSERT_EQ(cities.at(row.cityIndex), S(row.city));
        const auto caption = StormIntensityCatalogue::CaptionOf(S(row.city));
        ASSERT_TRUE(caption.has_value()) << row.city;
        EXPECT_EQ(caption->prefix, S(row.prefix)) << row.city;
        EXPECT_EQ(caption->numerator, S(row.numerator)) << row.city;
        EXPECT_EQ(caption->denominator, S(row.denominator)) << row.city;
    }

    // Captions of cities offered by no province.
    const auto shihezi = StormIntensityCatalogue::CaptionOf(S("石河子"));
    ASSERT_TRUE(shihezi.has_value());
    EXPECT_EQ(shihezi->numerator, S("198P^1.318)"));
    EXPECT_EQ(shihezi->denominator, S("(t^0.56)*(p^0.306)"));
    EXPECT_FALSE(StormIntensityCatalogue::CaptionOf(S("柳州")).has_value());
    EXPECT_FALSE(StormIntensityCatalogue::CaptionOf(S("秦皇岛")).has_value());
    EXPECT_FALSE(StormIntensityCatalogue::CaptionOf(S("天津")).has_value());
}

// The display side and the numeric side are separate tables; they must know
// the same cities in the same order.
TEST(StormIntensityCatalogue, CaptionRowsAndFormulaRowsShareTheirKeys)
{
    const QStringList captionCities = StormIntensityCatalogue::CaptionCities();
    const auto formulas = StormIntensityFormulas();
    ASSERT_EQ(captionCities.size(), 71);
    ASSERT_EQ(formulas.size(), 71u);
    std::set<QString> unique;
    for (std::size_t i = 0; i < formulas.size(); ++i) {
        EXPECT_EQ(formulas[i].city.toString(), captionCities.at(int(i))) << i;
        unique.insert(captionCities.at(int(i)));
    }
    EXPECT_EQ(unique.size(), 71u);
}

TEST(StormIntensityCatalogue, EveryOfferedCityHasAFormulaExceptLiuzhou)
{
    std::set<QString> offered;
    for (const QString& province : StormIntensityCatalogue::Provinces()) {
        for (const QString& city : StormIntensityCatalogue::CitiesOf(province)) {
            offered.insert(city);
            const bool hasCaption = StormIntensityCatalogue::CaptionOf(city).has_value();
            const bool hasRow = FindStormIntensityFormula(city) != nullptr;
            if (city == S("柳州")) {
                EXPECT_FALSE(hasCaption);
                EXPECT_FALSE(hasRow);
            } else {
                EXPECT_TRUE(hasCaption) << city.toStdString();
                EXPECT_TRUE(hasRow) << city.toStdString();
            }
        }
    }
    EXPECT_EQ(offered.size(), 70u);
    // Rows that no province offers.
    for (const QString& city : StormIntensityCatalogue::CaptionCities()) {
        if (!offered.count(city)) {
            EXPECT_TRUE(city == S("北海") || city == S("石河子")) << city.toStdString();
        }
    }
}

// "i=" is shown exactly for the rows whose formula gives mm/min.
TEST(StormIntensityCatalogue, IPrefixMatchesTheMillimetrePerMinuteKinds)
{
    for (const auto& row : StormIntensityFormulas()) {
        const bool mm = row.kind == StormFormulaKind::MillimetrePerMinuteSum
                        || row.kind == StormFormulaKind::MillimetrePerMinuteProduct;
        EXPECT_EQ(StormIntensityCatalogue::PrefixOf(row.city.toString()) == S("i="), mm)
            << row.city.toString().toStdString();
    }
}

// ------------------------------------------------------------ intensity

TEST(StormIntensity, WorkedExamples)
{
    struct Row {
        const char* city;
        double P;
        double t;
        double q;  // L/(s·ha), to two decimals
    };
    const Row rows[] = {
        {"天津市", 1, 10, 233.23},
        {"天津市", 2, 10, 292.91},
        {"天津市", 2, 20, 224.09},
        {"上海市", 1, 10, 263.74},    // 9.45 × 1000/6 ÷ 15.54^0.6514
        {"安庆", 1, 10, 267.07},      // 1986.8 ÷ 18.404^0.689
        {"重庆市", 0.5, 10, 199.23},  // rising with the return period
        {"重庆市", 1, 10, 254.07},    // 2822 ÷ 22.8^0.77
        {"重庆市", 2, 10, 306.20},
        {"重庆市", 5, 10, 371.00},
        {"南宁", 1, 10, 337.62},
        {"石河子", 1, 10, 54.53},
        {"承德", 1, 10, 204.56},
        {"郑州", 1, 10, 179.31},
    };
    for (const Row& row : rows) {
        const auto q = StormIntensity(S(row.city), row.P, row.t);
        ASSERT_TRUE(q.has_value()) << row.city;
        EXPECT_NEAR(*q, row.q, 0.005) << row.city << " P=" << row.P << " t=" << row.t;
    }
}

// One row of each formula kind at P = 2, where the logarithm and the extra
// duration terms all count.
TEST(StormIntensity, OneRowOfEachKind)
{
    struct Row {
        const char* city;
        StormFormulaKind kind;
        double q;
    };
    const Row rows[] = {
        {"北京市", StormFormulaKind::General, 318.87168690754},
        {"保定", StormFormulaKind::MillimetrePerMinuteSum, 256.646489844505},
        {"西安", StormFormulaKind::MillimetrePerMinuteProduct, 151.993300549903},
        {"重庆市", StormFormulaKind::PowerDurationTerm, 306.204422941213},
        {"成都", StormFormulaKind::PowerDurationTerm, 293.895694467224},
        {"南宁", StormFormulaKind::LinearDurationTerm, 386.905637392392},
        {"石河子", StormFormulaKind::PowerLaw, 109.978437664347},
    };
    for (const Row& row : rows) {
        const auto* formula = FindStormIntensityFormula(S(row.city));
        ASSERT_NE(formula, nullptr) << row.city;
        EXPECT_EQ(formula->kind, row.kind) << row.city;
        const auto q = StormIntensity(S(row.city), 2, 10);
        ASSERT_TRUE(q.has_value()) << row.city;
        EXPECT_NEAR(*q, row.q, row.q * 1e-12) << row.city;
    }
}

TEST(StormIntensity, EveryRowGivesAPositiveIntensityForOrdinaryInputs)
{
    for (const auto& row : StormIntensityFormulas()) {
        for (double P : {0.5, 1.0, 3.0, 10.0}) {
            const auto q = StormIntensity(row, P, 15);
            ASSERT_TRUE(q.has_value()) << row.city.toString().toStdString() << " P=" << P;
            EXPECT_GT(*q, 20) << row.city.toString().toStdString();
            EXPECT_LT(*q, 1000) << row.city.toString().toStdString();
        }
    }
}

TEST(StormIntensity, CityWithoutRowGivesNoValue)
{
    for (const char* city : {"北京", " 北京市", "北京市 ", "柳州", "秦皇岛", ""})
        EXPECT_FALSE(StormIntensity(S(city), 1, 10).has_value()) << city;
}

TEST(StormIntensity, InputsOutsideTheDomainGiveNoValue)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Row {
        const char* city;
        double P;
        double t;
        const char* why;
    };
    const Row rows[] = {
        {"天津市", 0, 10, "P = 0"},
        {"天津市", -1, 10, "P < 0"},
        {"天津市", 1, -17, "t + b = 0"},
        {"天津市", 1, -20, "t + b < 0"},
        {"唐山", 1, 0, "t^n with t = 0"},
        {"唐山", 1, -1, "t^n with t < 0"},
        {"南宁", 1, -21.1, "t + 21.1P^0.119 = 0"},
        {"成都", 1, -12.8, "t + 12.8P^0.231 = 0"},
        {"石河子", 1, 0, "t = 0 in the power law"},
        {"承德", 0.121, 10, "lg of P - 0.121 = 0"},
        {"承德", 0.1, 10, "lg of a negative number"},
        {"郑州", -0.143, 10, "lg of P + 0.143 = 0"},
        {"成都", 0, 10, "lg 0"},
        {"保定", -1, 10, "lg of a negative number, mm/min sum"},
        {"重庆市", 0.05, 10, "1 + 0.775·lgP < 0: negative intensity"},
        {"天津市", 0.01, 10, "1 + C·lgP < 0: negative intensity"},
        {"石河子", 0, 10, "P = 0 in the power law"},
        {"天津市", nan, 10, "NaN return period"},
        {"天津市", 1, nan, "NaN duration"},
        {"天津市", inf, 10, "infinite return period"},
        {"石河子", 1e300, 1e-300, "overflow"},
    };
    for (const Row& row : rows)
        EXPECT_FALSE(StormIntensity(S(row.city), row.P, row.t).has_value()) << row.why;
}

// Each formula is defined wherever its logarithm and powers are: a duration
// of 0 or below with t + b > 0 still gives q, and so does a return period of
// 0 or below for 郑州, whose logarithm takes P + 0.143.
TEST(StormIntensity, FormulasAreDefinedOnTheirWholeDomain)
{
    struct Row {
        const char* city;
        double P;
        double t;
        double q;
    };
    const Row rows[] = {
        {"天津市", 1, 0, 3841 / std::pow(17.0, 0.85)},
        {"天津市", 1, -5, 3841 / std::pow(12.0, 0.85)},
        {"北京市", 1, 0, 2001 / std::pow(8.0, 0.711)},
        {"南宁", 1, 0, 10500 / 21.1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.city) + " t = " + std::to_string(row.t));
        const std::optional<double> q = StormIntensity(S(row.city), row.P, row.t);
        ASSERT_TRUE(q.has_value());
        EXPECT_DOUBLE_EQ(*q, row.q);
    }
    const std::optional<double> zhengzhou = StormIntensity(S("郑州"), 0, 10);
    ASSERT_TRUE(zhengzhou.has_value());
    EXPECT_GT(*zhengzhou, 0);
    EXPECT_LT(*zhengzhou, *StormIntensity(S("郑州"), 1, 10));
    // Just above -0.143, 1 + 1.15·lg(P + 0.143) is negative: no intensity.
    EXPECT_FALSE(StormIntensity(S("郑州"), -0.1, 10).has_value());
}

TEST(StormIntensity, ShiftedLogarithmsStayDefinedJustInsideTheirDomain)
{
    EXPECT_TRUE(StormIntensity(S("承德"), 0.5, 10).has_value());
    EXPECT_TRUE(StormIntensity(S("重庆市"), 1, 10).has_value());
    // 承德's logarithm of 0.879 pulls q below the unshifted value.
    EXPECT_LT(*StormIntensity(S("承德"), 1, 10), 2839 / std::pow(19.6, 0.87));
}
