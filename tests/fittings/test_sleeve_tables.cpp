#include "fittings/sleeve_tables.h"

#include <gtest/gtest.h>

using namespace fittings;

namespace {

QString S(const char* text) { return QString::fromUtf8(text); }

const char* typeName(SleeveType type)
{
    switch (type) {
    case SleeveType::A: return "A";
    case SleeveType::B: return "B";
    case SleeveType::C: return "C";
    }
    return "?";
}

const QStringList kTypeASizes = {"DN50",  "DN65",  "DN80",  "DN100", "DN150", "DN200",
                                 "DN250", "DN300", "DN350", "DN400", "DN450", "DN500",
                                 "DN600", "DN700", "DN800", "DN900", "DN1000"};
const QStringList kTypeBcSizes = {"DN75",  "DN100", "DN150", "DN200", "DN250", "DN300", "DN350",
                                  "DN400", "DN450", "DN500", "DN600", "DN700", "DN800"};

} // namespace

TEST(SleeveDimensionTable, RowCountsAndListsByType)
{
    EXPECT_EQ(SleeveDimensionTable::sizes(SleeveType::A), kTypeASizes);
    EXPECT_EQ(SleeveDimensionTable::sizes(SleeveType::B), kTypeBcSizes);
    EXPECT_EQ(SleeveDimensionTable::sizes(SleeveType::C), kTypeBcSizes);
    EXPECT_EQ(SleeveDimensionTable::rows(SleeveType::A).size(), 17u);
    EXPECT_EQ(SleeveDimensionTable::rows(SleeveType::B).size(), 13u);
    EXPECT_EQ(SleeveDimensionTable::rows(SleeveType::C).size(), 13u);
}

TEST(SleeveDimensionTable, FirstMiddleLastAndTheNamedRows)
{
    struct Row {
        SleeveType type;
        const char* size;
        double D1, D2, D3, d;
        std::optional<double> ductile;
    };
    const Row rows[] = {
        {SleeveType::A, "DN50", 60, 114, 225, 3.5, std::nullopt},     // first
        {SleeveType::A, "DN65", 75.5, 121, 230, 3.75, std::nullopt},
        {SleeveType::A, "DN300", 325, 377, 500, 10, std::nullopt},    // middle
        {SleeveType::A, "DN700", 720, 790, 920, 10, std::nullopt},    // D3 as given
        {SleeveType::A, "DN1000", 1020, 1080, 1230, 10, std::nullopt}, // last
        {SleeveType::B, "DN75", 93, 140, 250, 4, std::nullopt},        // first, no ductile pipe
        {SleeveType::B, "DN250", 271.6, 325, 435, 8, 274},
        {SleeveType::B, "DN350", 374, 426, 550, 10, 378},              // middle
        {SleeveType::B, "DN450", 476.8, 530, 650, 10, std::nullopt},
        {SleeveType::B, "DN800", 836, 900, 1040, 10, 842},             // last
        {SleeveType::C, "DN75", 93, 135, 245, 4, std::nullopt},        // first
        {SleeveType::C, "DN100", 118, 160, 270, 4.5, 118},
        {SleeveType::C, "DN350", 374, 435, 555, 10, 378},              // middle
        {SleeveType::C, "DN400", 425.6, 485, 605, 10, 429},            // D2 as its series gives it
        {SleeveType::C, "DN450", 476.8, 535, 655, 10, std::nullopt},
        {SleeveType::C, "DN800", 836, 910, 1050, 10, 842},             // last
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(typeName(row.type)) + " " + row.size);
        const auto found = SleeveDimensionTable::find(row.type, S(row.size));
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(found->D1, row.D1);
        EXPECT_EQ(found->D2, row.D2);
        EXPECT_EQ(found->D3, row.D3);
        EXPECT_EQ(found->d, row.d);
        EXPECT_EQ(found->D1DuctileIron, row.ductile);
    }
}

TEST(SleeveDimensionTable, EveryRowNestsPipeInSleeveInRing)
{
    for (SleeveType type : {SleeveType::A, SleeveType::B, SleeveType::C}) {
        double previousD3 = 0;
        for (const SleeveDimensions& row : SleeveDimensionTable::rows(type)) {
            SCOPED_TRACE(std::string(typeName(type)) + " " + row.size.toString().toStdString());
            EXPECT_LT(row.D1, row.D2 - 2 * row.d);
            EXPECT_LT(row.D1DuctileIron.value_or(0), row.D2 - 2 * row.d);
            EXPECT_GE(row.D3 - row.D2, 100);
            EXPECT_LE(row.D3 - row.D2, 150);
            EXPECT_GT(row.D3, previousD3);
            previousD3 = row.D3;
            EXPECT_EQ(row.D1DuctileIron.has_value(), type != SleeveType::A
                                                         && row.size != u"DN75"
                                                         && row.size != u"DN450");
        }
    }
}

TEST(SleeveDimensionTable, TypeCHasThePipesAndWallsOfTypeB)
{
    for (const SleeveDimensions& b : SleeveDimensionTable::rows(SleeveType::B)) {
        SCOPED_TRACE(b.size.toString().toStdString());
        const auto c = SleeveDimensionTable::find(SleeveType::C, b.size);
        ASSERT_TRUE(c.has_value());
        EXPECT_EQ(c->D1, b.D1);
        EXPECT_EQ(c->D1DuctileIron, b.D1DuctileIron);
        EXPECT_EQ(c->d, b.d);
    }
}

TEST(SleeveDimensionTable, OnlyTheExactTextOfTheTypeFindsARow)
{
    struct Case {
        SleeveType type;
        const char* text;
    };
    const Case cases[] = {
        {SleeveType::A, "请选择套管规格"}, {SleeveType::A, "dn50"}, {SleeveType::A, "DN50 "},
        {SleeveType::A, "DN75"},            {SleeveType::B, "DN50"}, {SleeveType::C, "DN1000"},
        {SleeveType::B, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(typeName(c.type)) + " '" + c.text + "'");
        EXPECT_FALSE(SleeveDimensionTable::find(c.type, S(c.text)).has_value());
    }
}

TEST(SleeveDimensionTable, APickShowsShortestTextsAndTheDuctileColumnOnlyForBAndC)
{
    struct Row {
        SleeveType type;
        const char* size;
        bool found;
        QStringList texts; // D1, D2, D3, d
        std::optional<QString> ductile;
    };
    const Row rows[] = {
        {SleeveType::A, "DN65", true, {"75.5", "121", "230", "3.75"}, std::nullopt},
        {SleeveType::A, "DN1000", true, {"1020", "1080", "1230", "10"}, std::nullopt},
        {SleeveType::B, "DN75", true, {"93", "140", "250", "4"}, S("")},
        {SleeveType::B, "DN250", true, {"271.6", "325", "435", "8"}, S("274")},
        {SleeveType::C, "DN100", true, {"118", "160", "270", "4.5"}, S("118")},
        {SleeveType::C, "DN450", true, {"476.8", "535", "655", "10"}, S("")},
        {SleeveType::A, "DN75", false, {}, std::nullopt},
        {SleeveType::B, "DN50", false, {}, std::nullopt},
        {SleeveType::C, "dn100", false, {}, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(typeName(row.type)) + " " + row.size);
        const auto texts = SleeveDimensionTable::fieldTexts(row.type, S(row.size));
        ASSERT_EQ(texts.has_value(), row.found);
        if (!texts)
            continue;
        EXPECT_EQ((QStringList{texts->D1, texts->D2, texts->D3, texts->d}), row.texts);
        EXPECT_EQ(texts->D1DuctileIron, row.ductile);
    }
}
