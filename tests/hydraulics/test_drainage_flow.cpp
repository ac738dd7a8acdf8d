#include "hydraulics/drainage_flow.h"

#include "textio/numtext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace hydraulics {
namespace {

using namespace Qt::StringLiterals;
using M = DrainPipeMaterial;
using F = DrainFlowMode;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A value passed through a hidden text field: written as general number text
// and read back.
double throughField(double v)
{
    return textio::readNumber(textio::generalNumberText(v)).value();
}

// The velocity text as the calculator shows it: "##.###" with a "0" put in
// front of a leading point; PVC-U "##.####" as it comes.
QString velocityText(double v, M material)
{
    if (material == M::Pvcu)
        return textio::formatNumber(v, u"##.####"_s);
    const QString text = textio::formatNumber(v, u"##.###"_s);
    return text.startsWith(u'.') ? u"0"_s + text : text;
}

struct Shown {
    QString velocity;
    QString flow;
};

// Full flow for concrete or PE: diameter in mm as listed, slope text.
Shown fullFlow(M material, double diameterMm, const QString& slope)
{
    const double d = throughField(diameterMm / 1000);
    const double n = ManningRoughness::roughness(material, F::Full).value();
    const double v = DrainageFlow::fullPipeVelocity(d, textio::readNumber(slope).value(), n).value();
    const QString vText = velocityText(v, material);
    const double q = DrainageFlow::fullPipeFlow(textio::readNumber(vText).value(), d).value();
    return {vText, textio::formatNumber(q, u"#.###"_s)};
}

// Part-full flow: the diameter as listed; for PVC-U the inner diameter at the
// outside diameter's position replaces it.
Shown partFullFlow(M material, const QString& diameter, const QString& slope, const QString& fullness)
{
    double d = throughField(textio::readNumber(diameter).value() / 1000);
    const double alpha = throughField(PartialFlowTable::halfAngleDegrees(fullness).value());
    if (material == M::Pvcu)
        d = throughField(PvcuInnerDiameterList::innerDiameterMetresFor(diameter).value());
    const double f = textio::readNumber(fullness).value();
    const auto section = DrainageFlow::partFullSection(alpha, f, d).value();
    const double ratio = throughField(section.radiusRatio);
    const double area = throughField(section.area);
    const double n = ManningRoughness::roughness(material, F::PartFull).value();
    const double v =
        DrainageFlow::partFullVelocity(ratio, d, textio::readNumber(slope).value(), n).value();
    const QString vText = velocityText(v, material);
    const double q = DrainageFlow::partFullFlow(textio::readNumber(vText).value(), area).value();
    return {vText, textio::formatNumber(q, u"#.###"_s)};
}

TEST(DrainageFlowTest, FullFlowWorkedExample)
{
    const auto v = DrainageFlow::fullPipeVelocity(0.3, 3.0, 0.013);
    ASSERT_TRUE(v);
    EXPECT_NEAR(*v, 0.749304, 1e-6);
    // The flow is computed from the shown 0.749, not from 0.749304.
    EXPECT_NEAR(*DrainageFlow::fullPipeFlow(0.749, 0.3), 52.943645, 1e-6);

    const Shown shown = fullFlow(M::Concrete, 300, u"3.0"_s);
    EXPECT_EQ(shown.velocity, u"0.749");
    EXPECT_EQ(shown.flow, u"52.944");
}

TEST(DrainageFlowTest, PartFullHalfSectionIntermediates)
{
    const auto section = DrainageFlow::partFullSection(90, 0.5, 0.3);
    ASSERT_TRUE(section);
    EXPECT_NEAR(section->radiusRatio, 0.500094, 1e-6);
    EXPECT_NEAR(section->area, 0.0353563, 1e-7);
    const auto v = DrainageFlow::partFullVelocity(section->radiusRatio, 0.3, 3.0, 0.014);
    ASSERT_TRUE(v);
    EXPECT_NEAR(*v, 0.695870, 1e-6);
}

TEST(DrainageFlowTest, PartFullWorkedExamples)
{
    struct Row {
        M material;
        const char16_t* diameter;
        const char16_t* slope;
        const char16_t* fullness;
        const char16_t* velocity;
        const char16_t* flow;
    };
    const Row rows[] = {
        {M::Concrete, u"300", u"3.0", u"0.5", u"0.696", u"24.608"},
        {M::Concrete, u"300", u"3.0", u"0.3", u"0.541", u"9.672"},
        // A fullness of 1 has α = 0 and takes the upper branch: A = D²·π/4.
        {M::Concrete, u"1000", u"2.0", u"1", u"1.268", u"995.885"},
        // Inner diameter 103.6 mm, four decimals and no leading zero.
        {M::Pvcu, u"110", u"4", u"0.5", u".6152", u"2.594"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(QString::fromUtf16(row.diameter).toStdString() + "/"
                     + QString::fromUtf16(row.fullness).toStdString());
        const Shown shown = partFullFlow(row.material, QString::fromUtf16(row.diameter),
                                         QString::fromUtf16(row.slope), QString::fromUtf16(row.fullness));
        EXPECT_EQ(shown.velocity, QString::fromUtf16(row.velocity));
        EXPECT_EQ(shown.flow, QString::fromUtf16(row.flow));
    }
}

TEST(DrainageFlowTest, ManningRoughnessByMaterialAndMode)
{
    struct Row {
        M material;
        F mode;
        std::optional<double> n;
    };
    const Row rows[] = {
        {M::Concrete, F::Full, 0.013},   {M::Concrete, F::PartFull, 0.014},
        {M::Corrugated, F::Full, 0.01},  {M::Corrugated, F::PartFull, 0.01},
        {M::CastIron, F::Full, {}},      {M::CastIron, F::PartFull, 0.013},
        {M::Pvcu, F::Full, {}},          {M::Pvcu, F::PartFull, 0.009},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ManningRoughness::roughness(row.material, row.mode), row.n);
}

TEST(DrainageFlowTest, PartialFlowTableCoversEveryFullnessText)
{
    const auto entries = PartialFlowTable::entries();
    ASSERT_EQ(entries.size(), 19u);
    const QStringList& fullness = catalogues::GravityPipeCatalogue::fullnessList();
    for (qsizetype i = 0; i < fullness.size(); ++i) {
        EXPECT_EQ(entries[static_cast<std::size_t>(i)].fullness, fullness.at(i));
        EXPECT_TRUE(PartialFlowTable::halfAngleDegrees(fullness.at(i)));
    }
    // Symmetric about half full; the half steps agree with arccos|1 − 2·h/D|.
    for (std::size_t i = 0; i < 8; ++i)
        EXPECT_EQ(entries[i].halfAngleDegrees, entries[16 - i].halfAngleDegrees) << i;
    for (std::size_t i = 1; i < 18; i += 2) {
        const double h = entries[i].fullness.toDouble();
        const double exact = std::acos(std::fabs(1 - 2 * h)) * 180 / std::numbers::pi;
        EXPECT_NEAR(entries[i].halfAngleDegrees, exact, 1e-5) << i;
    }
    EXPECT_EQ(PartialFlowTable::halfAngleDegrees(u"0.1"), 36.8333);
    EXPECT_EQ(PartialFlowTable::halfAngleDegrees(u"1"), 0.0);
    for (const char16_t* text : {u"0.62", u"0.50", u"1.0", u" 0.5", u"", u"请选择充满度"})
        EXPECT_FALSE(PartialFlowTable::halfAngleDegrees(QStringView(text)));
}

TEST(DrainageFlowTest, MaxFullnessRuleBands)
{
    struct Row {
        double diameterM;
        double fullness;
        bool exceeds;
    };
    const Row rows[] = {
        {0.3, 0.55, false}, {0.3, 0.6, true},   {0.2, 0.55, false},  {0.35, 0.65, false},
        {0.45, 0.7, true},  {0.5, 0.7, false},  {0.9, 0.75, true},   {1.0, 0.75, false},
        {1.0, 1.0, true},   {3.0, 0.75, false}, {0.31, 0.6, false},  {0.46, 0.7, false},
        {0.91, 0.75, false}, {kNaN, 1.0, false}, {0.3, kNaN, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(MaxFullnessRule::exceeds(row.diameterM, row.fullness), row.exceeds)
            << row.diameterM << " " << row.fullness;

    EXPECT_TRUE(MaxFullnessRule::appliesTo(M::Concrete, F::PartFull));
    EXPECT_TRUE(MaxFullnessRule::appliesTo(M::Corrugated, F::PartFull));
    EXPECT_FALSE(MaxFullnessRule::appliesTo(M::Concrete, F::Full));
    EXPECT_FALSE(MaxFullnessRule::appliesTo(M::CastIron, F::PartFull));
    EXPECT_FALSE(MaxFullnessRule::appliesTo(M::Pvcu, F::PartFull));
}

TEST(DrainageFlowTest, DefaultFullnessNeverExceedsTheMaximum)
{
    for (const QString& d : catalogues::GravityPipeCatalogue::partFullDiameterList()) {
        const double m = d.toDouble() / 1000;
        const double f = DefaultFullnessRule::fullnessText(m, M::Concrete)->toDouble();
        EXPECT_FALSE(MaxFullnessRule::exceeds(m, f)) << d.toStdString();
    }
}

TEST(DrainageFlowTest, PvcuInnerDiametersPairWithOutsideDiameters)
{
    const QStringList& outside = catalogues::GravityPipeCatalogue::pvcuDiameterList();
    ASSERT_EQ(PvcuInnerDiameterList::texts().size(), outside.size());
    EXPECT_EQ(PvcuInnerDiameterList::texts(),
              (QStringList{u"46.0"_s, u"70.4"_s, u"83.6"_s, u"103.6"_s, u"118.6"_s, u"152.0"_s, u"190"_s}));
    EXPECT_DOUBLE_EQ(*PvcuInnerDiameterList::innerDiameterMetresFor(u"110"), 0.1036);
    EXPECT_DOUBLE_EQ(*PvcuInnerDiameterList::innerDiameterMetres(0), 0.046);
    EXPECT_DOUBLE_EQ(*PvcuInnerDiameterList::innerDiameterMetres(6), 0.19);
    EXPECT_FALSE(PvcuInnerDiameterList::innerDiameterMetres(-1));
    EXPECT_FALSE(PvcuInnerDiameterList::innerDiameterMetres(7));
    EXPECT_FALSE(PvcuInnerDiameterList::innerDiameterMetresFor(u"100"));
    EXPECT_FALSE(PvcuInnerDiameterList::innerDiameterMetresFor(u"110.0"));
}

TEST(DrainageFlowTest, DefaultSlopeTableAndRule)
{
    struct TableRow {
        M material;
        const char16_t* diameter;
        std::optional<QString> slope;
    };
    const TableRow table[] = {
        {M::CastIron, u"75", u"15"_s}, {M::CastIron, u"125", u"10"_s}, {M::CastIron, u"150", u"7"_s},
        {M::CastIron, u"250", {}},     {M::Pvcu, u"50", u"7"_s},        {M::Pvcu, u"125", u"3.5"_s},
        {M::Pvcu, u"160", u"3"_s},     {M::Pvcu, u"100", {}},            {M::Concrete, u"300", {}},
        {M::Corrugated, u"225", {}},
    };
    for (const TableRow& row : table)
        EXPECT_EQ(DefaultSlopeTable::slopeText(row.material, QStringView(row.diameter)), row.slope)
            << QString::fromUtf16(row.diameter).toStdString();

    struct RuleRow {
        double d;
        std::optional<QString> slope;
    };
    const RuleRow rule[] = {
        {3.0, u"2.0"_s}, {0.4, u"2.0"_s}, {0.35, u"3.0"_s}, {0.3, u"3.0"_s},     {0.25, u"4.0"_s},
        {0.2, u"4.0"_s}, {0.19, u"8"_s},  {0.15, u"8"_s},   {0.0, u"请选择坡度"_s}, {0.1, {}},
        {-0.3, {}},      {kNaN, {}},
    };
    for (const RuleRow& row : rule)
        EXPECT_EQ(DefaultSlopeRule::slopeText(row.d), row.slope) << row.d;
}

TEST(DrainageFlowTest, DefaultFullnessRuleBands)
{
    struct Row {
        double d;
        M material;
        std::optional<QString> fullness;
    };
    const Row rows[] = {
        {0.15, M::Concrete, u"0.55"_s},  {0.3, M::Concrete, u"0.55"_s},   {0.35, M::Concrete, u"0.65"_s},
        {0.45, M::Concrete, u"0.65"_s},  {0.5, M::Corrugated, u"0.7"_s},  {0.9, M::Concrete, u"0.7"_s},
        {0.91, M::Concrete, u"0.75"_s},  {1.0, M::Concrete, u"0.75"_s},   {0.125, M::CastIron, u"0.5"_s},
        {0.15, M::CastIron, u"0.6"_s},   {0.25, M::CastIron, {}},          {0.11, M::Pvcu, u"0.5"_s},
        {0.16, M::Pvcu, u"0.6"_s},       {0.2, M::Pvcu, u"0.6"_s},         {0.21, M::Pvcu, {}},
        {kInf, M::Concrete, {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(DefaultFullnessRule::fullnessText(row.d, row.material), row.fullness) << row.d;
}

TEST(DrainageFlowTest, NonFiniteOrImpossibleResultsAreEmpty)
{
    EXPECT_FALSE(DrainageFlow::fullPipeVelocity(kNaN, 3.0, 0.013));
    EXPECT_FALSE(DrainageFlow::fullPipeVelocity(0.3, kInf, 0.013));
    EXPECT_FALSE(DrainageFlow::fullPipeVelocity(0.3, -3.0, 0.013)); // root of a negative slope
    EXPECT_FALSE(DrainageFlow::fullPipeVelocity(-0.3, 3.0, 0.013)); // negative diameter
    EXPECT_FALSE(DrainageFlow::fullPipeVelocity(0.3, 3.0, 0.0));    // zero roughness
    EXPECT_FALSE(DrainageFlow::fullPipeFlow(kNaN, 0.3));
    EXPECT_FALSE(DrainageFlow::fullPipeFlow(1.0, 1e200));           // overflows
    EXPECT_FALSE(DrainageFlow::partFullSection(0, 0.3, 0.3));       // 0/0 below half full
    EXPECT_FALSE(DrainageFlow::partFullSection(kNaN, 0.5, 0.3));
    EXPECT_FALSE(DrainageFlow::partFullVelocity(0.5, kNaN, 3.0, 0.014));
    EXPECT_FALSE(DrainageFlow::partFullFlow(0.5, kInf));

    // Zero slope or zero diameter is a finite, if useless, result.
    EXPECT_EQ(DrainageFlow::fullPipeVelocity(0.3, 0.0, 0.013), 0.0);
    EXPECT_EQ(DrainageFlow::fullPipeVelocity(0.0, 3.0, 0.013), 0.0);
}

} // namespace
} // namespace hydraulics
