#include "fittings/steel_fitting_tables.h"

#include <gtest/gtest.h>

#include <map>

using namespace fittings;

namespace {

QString S(const char* text) { return QString::fromUtf8(text); }

// Outside diameter and wall thickness of the steel pipe of each nominal size.
struct Pipe {
    double D;
    double d;
};
const std::map<int, Pipe>& pipeSeries()
{
    static const std::map<int, Pipe> series = {
        {50, {57, 3.5}},  {80, {89, 4}},   {100, {108, 4}}, {125, {133, 4}},  {150, {159, 4.5}},
        {200, {219, 6}},  {250, {273, 8}}, {300, {325, 8}}, {350, {377, 9}},  {400, {426, 9}},
        {450, {480, 9}},  {500, {530, 9}}, {600, {630, 9}},
    };
    return series;
}

// The nominal sizes in "DN300X100" (300 and 100) or "DN50" (50 and 0).
std::pair<int, int> nominalSizes(QStringView size)
{
    const QStringList parts = size.mid(2).toString().split(QLatin1Char('X'));
    return {parts.value(0).toInt(), parts.value(1).toInt()};
}

const char* const kReducersWithoutRow[] = {"DN450X100", "DN450X125", "DN450X150", "DN450X200"};

} // namespace

TEST(ElbowDimensionTable, ThirteenRowsInListOrder)
{
    struct Row {
        const char* size;
        double La, d, D;
    };
    const Row rows[] = {
        {"DN50", 130, 3.5, 57},  // first
        {"DN250", 310, 8, 273},  // middle; DN250 and DN300 share La 310
        {"DN300", 310, 8, 325},
        {"DN600", 540, 9, 630},  // last
        {"DN125", 230, 4, 133},  // La as its series gives it
    };
    ASSERT_EQ(ElbowDimensionTable::rows().size(), 13u);
    EXPECT_EQ(ElbowDimensionTable::sizes(),
              QStringList({"DN50", "DN80", "DN100", "DN125", "DN150", "DN200", "DN250", "DN300",
                           "DN350", "DN400", "DN450", "DN500", "DN600"}));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.size);
        const auto found = ElbowDimensionTable::find(S(row.size));
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(found->La, row.La);
        EXPECT_EQ(found->d, row.d);
        EXPECT_EQ(found->D, row.D);
    }
    EXPECT_FALSE(ElbowDimensionTable::find(u"DN65").has_value());
}

TEST(ElbowDimensionTable, EveryRowHasItsPipeAndAGrowingLength)
{
    double previousLa = 0;
    for (const ElbowDimensions& row : ElbowDimensionTable::rows()) {
        SCOPED_TRACE(row.size.toString().toStdString());
        const Pipe pipe = pipeSeries().at(nominalSizes(row.size).first);
        EXPECT_EQ(row.D, pipe.D);
        EXPECT_EQ(row.d, pipe.d);
        // La grows with the size, never by more than half again.
        if (previousLa > 0) {
            EXPECT_GE(row.La, previousLa);
            EXPECT_LE(row.La, 1.5 * previousLa);
        }
        previousLa = row.La;
    }
}

TEST(TeeDimensionTable, FiftyFourRowsInListOrder)
{
    struct Row {
        const char* size;
        double L1, L2, d1, d2, D1, D2;
    };
    const Row rows[] = {
        {"DN50X50", 300, 150, 3.5, 3.5, 57, 57},   // first
        {"DN300X100", 500, 275, 8, 4, 325, 108},   // middle
        {"DN450X450", 900, 450, 9, 9, 480, 480},   // last
        // The cells that broke their series, as the series gives them.
        {"DN150X50", 400, 200, 4.5, 3.5, 159, 57},
        {"DN150X100", 400, 200, 4.5, 4, 159, 108},
        {"DN250X250", 600, 300, 8, 8, 273, 273},
        {"DN400X150", 500, 325, 9, 4.5, 426, 159},
    };
    ASSERT_EQ(TeeDimensionTable::rows().size(), 54u);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.size);
        const auto found = TeeDimensionTable::find(S(row.size));
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(found->L1, row.L1);
        EXPECT_EQ(found->L2, row.L2);
        EXPECT_EQ(found->d1, row.d1);
        EXPECT_EQ(found->d2, row.d2);
        EXPECT_EQ(found->D1, row.D1);
        EXPECT_EQ(found->D2, row.D2);
    }
}

TEST(TeeDimensionTable, ListsEveryBranchOfEveryRunWithItsPipes)
{
    // Runs up to DN150 take every branch from DN50, larger runs from DN100.
    const int series[] = {50, 80, 100, 125, 150, 200, 250, 300, 350, 400, 450};
    QStringList expected;
    for (int run : series) {
        for (int branch : series) {
            if (branch <= run && (run <= 150 || branch >= 100))
                expected.append(QStringLiteral("DN%1X%2").arg(run).arg(branch));
        }
    }
    EXPECT_EQ(TeeDimensionTable::sizes(), expected);
    for (const QString& size : expected) {
        SCOPED_TRACE(size.toStdString());
        const auto row = TeeDimensionTable::find(size);
        ASSERT_TRUE(row.has_value());
        const auto [run, branch] = nominalSizes(size);
        EXPECT_EQ(row->D1, pipeSeries().at(run).D);
        EXPECT_EQ(row->d1, pipeSeries().at(run).d);
        EXPECT_EQ(row->D2, pipeSeries().at(branch).D);
        EXPECT_EQ(row->d2, pipeSeries().at(branch).d);
    }
}

TEST(TeeDimensionTable, LengthsGrowWithTheBranchOnEachRun)
{
    const TeeDimensions* previous = nullptr;
    for (const TeeDimensions& row : TeeDimensionTable::rows()) {
        SCOPED_TRACE(row.size.toString().toStdString());
        const bool sameRun = previous
            && nominalSizes(previous->size).first == nominalSizes(row.size).first;
        if (sameRun) {
            EXPECT_GE(row.L1, previous->L1);
            EXPECT_GE(row.L2, previous->L2);
        }
        EXPECT_GT(row.L2, row.D1 / 2);
        EXPECT_LT(row.L2, row.L1);
        previous = &row;
    }
}

TEST(TeeDimensionTable, OnlyTheExactTextFindsARow)
{
    for (const char* text : {"请选择三（四）通规格", "dn50x50", "DN50x50", "DN50X50 ", " DN50X50", "DN50",
                             ""}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(TeeDimensionTable::find(S(text)).has_value());
    }
}

TEST(ReducerTables, TwentyNineRowsEach)
{
    struct Row {
        const char* size;
        double concentricL1, eccentricL1, d, D1, D2;
    };
    const Row rows[] = {
        {"DN80X50", 320, 340, 4, 89, 57},     // first
        {"DN100X80", 312, 340, 4, 108, 89},   // shorter than its neighbours
        {"DN150X125", 330, 365, 4.5, 159, 133},
        {"DN300X125", 650, 640, 8, 325, 133}, // middle
        {"DN450X400", 420, 415, 9, 480, 426}, // last
    };
    ASSERT_EQ(ConcentricReducerTable::rows().size(), 29u);
    ASSERT_EQ(EccentricReducerTable::rows().size(), 29u);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.size);
        const auto concentric = ConcentricReducerTable::find(S(row.size));
        const auto eccentric = EccentricReducerTable::find(S(row.size));
        ASSERT_TRUE(concentric.has_value());
        ASSERT_TRUE(eccentric.has_value());
        EXPECT_EQ(concentric->L1, row.concentricL1);
        EXPECT_EQ(eccentric->L1, row.eccentricL1);
        for (const ReducerDimensions& r : {*concentric, *eccentric}) {
            EXPECT_EQ(r.d, row.d);
            EXPECT_EQ(r.D1, row.D1);
            EXPECT_EQ(r.D2, row.D2);
        }
    }
}

TEST(ReducerTables, EveryListedSizeHasItsRowButTheFourDn450Gaps)
{
    const QStringList expected = {
        "DN80X50",   "DN100X50",  "DN100X80",  "DN125X100", "DN150X100", "DN150X125", "DN200X100",
        "DN200X125", "DN200X150", "DN250X100", "DN250X125", "DN250X150", "DN250X200", "DN300X125",
        "DN300X150", "DN300X200", "DN300X250", "DN350X150", "DN350X200", "DN350X250", "DN350X300",
        "DN400X200", "DN400X250", "DN400X300", "DN400X350", "DN450X100", "DN450X125", "DN450X150",
        "DN450X200", "DN450X250", "DN450X300", "DN450X350", "DN450X400"};
    ASSERT_EQ(reducerListSizes(), expected);

    QStringList withoutRow;
    for (const char* size : kReducersWithoutRow)
        withoutRow.append(S(size));
    std::size_t rowIndex = 0;
    for (const QString& size : expected) {
        SCOPED_TRACE(size.toStdString());
        const auto concentric = ConcentricReducerTable::find(size);
        const auto eccentric = EccentricReducerTable::find(size);
        if (withoutRow.contains(size)) {
            EXPECT_FALSE(concentric.has_value());
            EXPECT_FALSE(eccentric.has_value());
            continue;
        }
        ASSERT_TRUE(concentric.has_value());
        ASSERT_TRUE(eccentric.has_value());
        // The tables hold the listed sizes in list order.
        EXPECT_EQ(ConcentricReducerTable::rows()[rowIndex].size, size);
        EXPECT_EQ(EccentricReducerTable::rows()[rowIndex].size, size);
        ++rowIndex;
        const auto [large, small] = nominalSizes(size);
        for (const ReducerDimensions& r : {*concentric, *eccentric}) {
            EXPECT_EQ(r.D1, pipeSeries().at(large).D);
            EXPECT_EQ(r.d, pipeSeries().at(large).d);
            EXPECT_EQ(r.D2, pipeSeries().at(small).D);
            EXPECT_GT(r.L1, 300);
            EXPECT_LT(r.L1, 800);
        }
    }
    EXPECT_EQ(rowIndex, 29);
}

TEST(SteelFieldTexts, APickShowsItsRowAsShortestTextsOrEmptiesForAGap)
{
    struct Row {
        const char* name;
        std::optional<QStringList> (*texts)(QStringView);
        const char* size;
        std::optional<QStringList> expected;
    };
    const auto concentric = [](QStringView size) { return reducerFieldTexts(ReducerKind::Concentric, size); };
    const auto eccentric = [](QStringView size) { return reducerFieldTexts(ReducerKind::Eccentric, size); };
    const Row rows[] = {
        {"elbow with a half-millimetre wall", elbowFieldTexts, "DN50", QStringList{"130", "3.5", "57"}},
        {"largest elbow", elbowFieldTexts, "DN600", QStringList{"540", "9", "630"}},
        {"elbow typed in small letters", elbowFieldTexts, "dn50", std::nullopt},
        {"elbow size with a trailing blank", elbowFieldTexts, "DN50 ", std::nullopt},
        {"prompt of the elbow list", elbowFieldTexts, "请选择弯头规格", std::nullopt},
        {"tee on a DN80 run", teeFieldTexts, "DN80X50", QStringList{"300", "150", "4", "3.5", "89", "57"}},
        {"equal tee DN450", teeFieldTexts, "DN450X450", QStringList{"900", "450", "9", "9", "480", "480"}},
        {"tee size only a reducer has", teeFieldTexts, "DN125X50X", std::nullopt},
        {"concentric DN80X50", concentric, "DN80X50", QStringList{"320", "4", "89", "57"}},
        {"eccentric DN80X50", eccentric, "DN80X50", QStringList{"340", "4", "89", "57"}},
        {"concentric DN450X400", concentric, "DN450X400", QStringList{"420", "9", "480", "426"}},
        {"eccentric DN450X400", eccentric, "DN450X400", QStringList{"415", "9", "480", "426"}},
        {"concentric gap DN450X100", concentric, "DN450X100", QStringList{"", "", "", ""}},
        {"concentric gap DN450X200", concentric, "DN450X200", QStringList{"", "", "", ""}},
        {"eccentric gap DN450X125", eccentric, "DN450X125", QStringList{"", "", "", ""}},
        {"eccentric gap DN450X150", eccentric, "DN450X150", QStringList{"", "", "", ""}},
        {"reducer size no list offers", concentric, "DN450X450", std::nullopt},
        {"gap size typed in small letters", eccentric, "dn450X100", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.texts(S(row.size)), row.expected);
    }
}
