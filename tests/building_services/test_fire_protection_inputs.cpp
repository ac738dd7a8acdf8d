#include "building_services/fire_protection_inputs.h"
#include "textio/field_values.h"

#include <gtest/gtest.h>

using namespace building_services;
using namespace Qt::StringLiterals;

// The reading of the figures the engineer edits in the result fields before
// a report: a positive finite number, a whole one for the counts.
TEST(FireProtectionInputs, EditedFiguresArePositiveNumbers)
{
    struct Row {
        const char* text;
        bool whole;
        std::optional<double> value;
    };
    const Row rows[] = {
        {"10", false, 10},      {" 2.5 ", false, 2.5},  {"1e3", false, 1000},
        {"0", false, {}},       {"-3", false, {}},      {"", false, {}},
        {"   ", false, {}},     {"10m", false, {}},     {"十", false, {}},
        {"4", true, 4},         {"4.0", true, 4},       {"4.5", true, {}},
        {"0", true, {}},        {"-4", true, {}},       {"1e999", false, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string("\"") + row.text + (row.whole ? "\" whole" : "\""));
        EXPECT_EQ(textio::readPositiveNumber(QString::fromUtf8(row.text), row.whole), row.value);
    }
}

TEST(FireProtectionInputs, ReportWaitsForACalculationOfTheInputsShown)
{
    CalculatedInputs calculated;
    const QStringList shown = {u"10"_s, u"19"_s};
    EXPECT_FALSE(calculated.areShown(shown));
    EXPECT_FALSE(calculated.areShown({}));
    calculated.record(shown);
    EXPECT_TRUE(calculated.areShown(shown));
    EXPECT_FALSE(calculated.areShown({u"12"_s, u"19"_s}));
    calculated.forget();
    EXPECT_FALSE(calculated.areShown(shown));
}
