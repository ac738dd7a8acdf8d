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

namespace Calculation = DrainageCalculation;
using Calculation::DrainageField;

struct Shown {
    QString velocity;
    QString flow;
};

// The calculation as the window runs it for a diameter picked from the list:
// the diameter in metres is the listed diameter / 1000.
Calculation::DrainageInputs inputs(M material, F mode, const QString& diameter,
                                   const QString& slope, const QString& fullness = QString())
{
    const QString metres = textio::generalNumberText(textio::readNumber(diameter).value() / 1000);
    return {material, mode, diameter, metres, slope, fullness};
}

// The calculation's refusal, its values into `out`.
std::optional<Calculation::DrainageRefusal> calculateInto(const Calculation::DrainageInputs& in,
                                                         Calculation::DrainageResults& out)
{
    const Calculation::DrainageOutcome outcome = Calculation::calculate(in);
    out = outcome.values;
    return outcome.refusal;
}

Shown calculated(const Calculation::DrainageInputs& in)
{
    Calculation::DrainageResults out;
    const auto error = calculateInto(in, out);
    EXPECT_FALSE(error) << error->message.toStdString();
    return {out.velocity, out.flow};
}

TEST(DrainageFlowTest, FullFlowWorkedExample)
{
    const auto v = DrainageFlow::fullPipeVelocity(0.3, 3.0, 0.013);
    ASSERT_TRUE(v);
    EXPECT_NEAR(*v, 0.749304, 1e-6);
    // The flow is computed from the shown 0.749, not from 0.749304.
    EXPECT_NEAR(*DrainageFlow::fullPipeFlow(0.749, 0.3), 52.943645, 1e-6);

    const Shown shown = calculated(inputs(M::Concrete, F::Full, u"300"_s, u"3.0"_s));
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
        const Shown shown =
            calculated(inputs(row.material, F::PartFull, QString::fromUtf16(row.diameter),
                              QString::fromUtf16(row.slope), QString::fromUtf16(row.fullness)));
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

TEST(DrainageFlowTest, FullPipeCapacityWithTheNetworksPi)
{
    // Q = 1000 · π · D^(8/3) · √I / (4^(5/3) · n), worked by hand for
    // D = 0.5 m, I = 0.002, n = 0.013, π = 3.1415926.
    const auto q = FullPipeManning::capacityLps(0.5, 0.002, ManningRoughness::kConcreteFull,
                                                FullPipeManning::kNetworkPi);
    ASSERT_TRUE(q);
    EXPECT_NEAR(*q, 168.865736, 1e-6);
    EXPECT_FALSE(FullPipeManning::capacityLps(kNaN, 0.002, 0.013, FullPipeManning::kNetworkPi));
}

// The diameter in metres as the window's diameter-text rule writes it.
QString metresFor(const QString& diameter)
{
    if (diameter.isEmpty() || diameter == catalogues::kDiameterPrompt)
        return u"0"_s;
    const std::optional<double> mm = textio::readNumber(diameter);
    return mm ? textio::generalNumberText(*mm / 1000) : QString();
}

TEST(DrainageCalculationTest, RefusalsNameTheListAtFaultUnderTheModesTitle)
{
    // Concrete 300 / "3.0" / "0.5" unless a row says otherwise. Empty
    // `refused`: computed.
    struct Row {
        const char* name;
        M material;
        F mode;
        QString diameter, slope, fullness;
        std::optional<DrainageField> refused;
    };
    const QString d = u"300"_s, i = u"3.0"_s, f = u"0.5"_s;
    const auto D = DrainageField::Diameter;
    const auto I = DrainageField::Slope;
    const auto H = DrainageField::Fullness;
    const Row rows[] = {
        {"diameter prompt", M::Concrete, F::PartFull, u"请选择管径"_s, i, f, D},
        {"diameter letters", M::Concrete, F::PartFull, u"abc"_s, i, f, D},
        {"diameter 0", M::Concrete, F::PartFull, u"0"_s, i, f, D},
        {"diameter -300", M::Concrete, F::PartFull, u"-300"_s, i, f, D},
        {"diameter empty", M::Concrete, F::PartFull, u""_s, i, f, D},
        {"diameter 1e300", M::Concrete, F::PartFull, u"1e300"_s, i, f, D},
        {"diameter 10", M::Concrete, F::PartFull, u"10"_s, i, f, {}},
        {"diameter 9.9", M::Concrete, F::PartFull, u"9.9"_s, i, f, D},
        {"diameter 3000", M::Concrete, F::PartFull, u"3000"_s, i, f, {}},
        {"diameter 3001", M::Concrete, F::PartFull, u"3001"_s, i, f, D},
        {"slope prompt", M::Concrete, F::PartFull, d, u"请选择坡度"_s, f, I},
        {"slope 0", M::Concrete, F::PartFull, d, u"0"_s, f, I},
        {"slope with unit", M::Concrete, F::PartFull, d, u"3‰"_s, f, I},
        {"slope empty", M::Concrete, F::PartFull, d, u""_s, f, I},
        {"slope 1e-9", M::Concrete, F::PartFull, d, u"1e-9"_s, f, {}},
        {"slope 1000", M::Concrete, F::PartFull, d, u"1000"_s, f, {}},
        {"slope 1000.1", M::Concrete, F::PartFull, d, u"1000.1"_s, f, I},
        {"fullness prompt", M::Concrete, F::PartFull, d, i, u"请选择充满度"_s, H},
        {"fullness not listed", M::Concrete, F::PartFull, d, i, u"0.62"_s, H},
        {"fullness written otherwise", M::Concrete, F::PartFull, d, i, u"0.50"_s, H},
        {"fullness empty", M::Concrete, F::PartFull, d, i, u""_s, H},
        {"fullness full-flow prompt", M::Concrete, F::PartFull, d, i, u"请选择坡充满度"_s, H},
        {"full diameter prompt", M::Concrete, F::Full, u"请选择管径"_s, i, f, D},
        {"full diameter letters", M::Concrete, F::Full, u"abc"_s, i, f, D},
        {"full diameter 1e300", M::Concrete, F::Full, u"1e300"_s, i, f, D},
        // Both wrong: the diameter is checked first.
        {"full diameter and slope absurd", M::Concrete, F::Full, u"1e300"_s, u"1e308"_s, f, D},
        {"full slope -3", M::Concrete, F::Full, d, u"-3"_s, f, I},
        {"full slope 1000", M::Corrugated, F::Full, u"700"_s, u"1000"_s, f, {}},
        {"full slope 1000.1", M::Corrugated, F::Full, u"700"_s, u"1000.1"_s, f, I},
        {"full ignores the fullness", M::Concrete, F::Full, d, i, u"请选择坡充满度"_s, {}},
        {"PVC-U listed diameter", M::Pvcu, F::PartFull, u"110"_s, u"4"_s, f, {}},
        {"PVC-U diameter not listed", M::Pvcu, F::PartFull, u"100"_s, u"4"_s, f, D},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Calculation::DrainageInputs in{row.material, row.mode,  row.diameter,
                                             metresFor(row.diameter), row.slope, row.fullness};
        Calculation::DrainageResults out;
        const auto error = calculateInto(in, out);
        if (!row.refused) {
            ASSERT_FALSE(error) << error->message.toStdString();
            EXPECT_FALSE(out.velocity.isEmpty() || out.flow.isEmpty());
            for (const QString& text : {out.velocity, out.flow})
                EXPECT_FALSE(text.contains(u'E') || text.contains(u"Inf") || text.contains(u"NaN"));
            continue;
        }
        ASSERT_TRUE(error);
        EXPECT_EQ(error->field, *row.refused);
        const QString prompts[] = {u"请选择管径"_s, u"请选择坡度"_s, u"请选择充满度"_s};
        EXPECT_EQ(error->message, prompts[static_cast<int>(*row.refused)]);
        EXPECT_EQ(error->title, row.mode == F::Full ? u"确认数据完整性"_s : u"确认数据正确性"_s);
    }
}

TEST(DrainageCalculationTest, DiameterInMetresMustBeAPositiveNumber)
{
    // The diameter list shows a number while its field in metres holds none.
    for (const QString& metres : {QString(), u"0"_s, u"-0.3"_s}) {
        Calculation::DrainageResults out;
        const auto error = calculateInto(
            {M::Concrete, F::PartFull, u"300"_s, metres, u"3.0"_s, u"0.5"_s}, out);
        ASSERT_TRUE(error) << metres.toStdString();
        EXPECT_EQ(error->field, DrainageField::Diameter);
    }
}

TEST(DrainageCalculationTest, LargestPipesAndSteepestSlopes)
{
    struct Row {
        const char* name;
        Calculation::DrainageInputs in;
        const char16_t* velocity;
        const char16_t* flow;
    };
    const Row rows[] = {
        {"largest listed, full", inputs(M::Concrete, F::Full, u"3000"_s, u"100"_s), u"20.08",
         u"141937.036"},
        {"largest listed, part-full and full", inputs(M::Concrete, F::PartFull, u"3000"_s, u"140"_s, u"1"_s),
         u"22.062", u"155947.088"},
        {"largest typed slope, full", inputs(M::Concrete, F::Full, u"3000"_s, u"1000"_s), u"63.499",
         u"448847.603"},
        {"largest typed slope, part-full", inputs(M::Concrete, F::PartFull, u"3000"_s, u"1000"_s, u"1"_s),
         u"58.963", u"416784.887"},
        {"largest corrugated", inputs(M::Corrugated, F::PartFull, u"700"_s, u"140"_s, u"0.7"_s),
         u"13.106", u"3768.063"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Shown shown = calculated(row.in);
        EXPECT_EQ(shown.velocity, QString::fromUtf16(row.velocity));
        EXPECT_EQ(shown.flow, QString::fromUtf16(row.flow));
    }
}

TEST(DrainageCalculationTest, WorkingValuesAtTheirFieldsPrecision)
{
    Calculation::DrainageResults out;
    ASSERT_FALSE(calculateInto(inputs(M::Concrete, F::PartFull, u"300"_s, u"3.0"_s, u"0.5"_s), out));
    EXPECT_EQ(out.formattedVelocity, u".696");
    EXPECT_EQ(out.halfAngle, u"90");
    EXPECT_EQ(out.radiusRatio, u"0.500094321867963");
    EXPECT_EQ(out.area, u"0.0353562519774949");
    EXPECT_TRUE(out.innerDiameterMetres.isEmpty());
    EXPECT_FALSE(out.fullnessQuestion);

    ASSERT_FALSE(calculateInto(inputs(M::Pvcu, F::PartFull, u"110"_s, u"4"_s, u"0.5"_s), out));
    EXPECT_EQ(out.innerDiameterMetres, u"0.1036");
    EXPECT_TRUE(out.formattedVelocity.isEmpty());

    // Full flow leaves the part-full working values as they were.
    ASSERT_FALSE(calculateInto(inputs(M::Concrete, F::Full, u"300"_s, u"3.0"_s), out));
    EXPECT_EQ(out.formattedVelocity, u".749");
    EXPECT_TRUE(out.halfAngle.isEmpty() && out.radiusRatio.isEmpty() && out.area.isEmpty());
}

TEST(DrainageCalculationTest, FullnessAboveTheMaximumAsksForConcreteAndPeOnly)
{
    struct Row {
        M material;
        const char16_t* diameter;
        const char16_t* fullness;
        bool asks;
    };
    const Row rows[] = {
        {M::Concrete, u"300", u"0.55", false}, {M::Concrete, u"300", u"0.6", true},
        {M::Concrete, u"900", u"0.75", true},  {M::Concrete, u"1000", u"0.75", false},
        {M::Corrugated, u"225", u"0.6", true}, {M::Corrugated, u"500", u"0.7", false},
        {M::CastIron, u"300", u"0.6", false},  {M::Pvcu, u"200", u"0.6", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(QString::fromUtf16(row.diameter).toStdString() + " "
                     + QString::fromUtf16(row.fullness).toStdString());
        Calculation::DrainageResults out;
        ASSERT_FALSE(calculateInto(inputs(row.material, F::PartFull, QString::fromUtf16(row.diameter),
                                                   u"3"_s, QString::fromUtf16(row.fullness)),
                                            out));
        EXPECT_EQ(out.fullnessQuestion.has_value(), row.asks);
    }
}

} // namespace
} // namespace hydraulics
