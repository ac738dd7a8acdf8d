// The result table's rows and the states its rules decide, run after run.
#include "storm_network/result_table.h"
#include "forms/testing/text.h"

#include "segment_file_bytes.h"  // texts printed as text in failures

#include <gtest/gtest.h>

using namespace storm_network;

namespace {

using forms::testing::S;

// n rows labelled as a run labels them, each with a pipe time.
std::vector<PackedCells> run(int n)
{
    std::vector<PackedCells> rows;
    for (int i = 0; i < n; ++i) {
        ResultCells cells;
        cells[kSegmentLabel] = QString::number(i + 1) + QLatin1Char('-') + QString::number(i + 2);
        cells[kCumulativeArea] = QString::number(i + 1) + S(".0000");
        cells[kPipeTime] = S("1.000");
        rows.emplace_back(cells);
    }
    return rows;
}

}  // namespace

TEST(ResultTable, RunsGrowTheTableAndAShorterOneHidesTheRowsItLeavesBlank)
{
    ResultTable table;
    EXPECT_EQ(table.rowCount(), 10);
    EXPECT_TRUE(table.rowVisible(0));
    EXPECT_FALSE(table.rowVisible(1));

    table.takeRun(run(30), S("3000"));
    EXPECT_EQ(table.rowCount(), 30);
    EXPECT_EQ(table.segmentCount(), 30);
    EXPECT_EQ(table.totalArea(), S("30.0000"));

    table.takeRun(run(12), S("1200"));
    EXPECT_EQ(table.rowCount(), 30);
    EXPECT_EQ(table.segmentCount(), 12);
    EXPECT_EQ(table.lastSegmentRow(), 11);
    EXPECT_EQ(table.totalLength(), S("1200"));
    EXPECT_EQ(table.totalArea(), S("12.0000"));
    EXPECT_TRUE(table.rowVisible(11));
    EXPECT_FALSE(table.rowVisible(12));
    EXPECT_FALSE(table.rowVisible(29));
    EXPECT_TRUE(table.cells(12) == ResultCells());
    EXPECT_TRUE(table.cells(29) == ResultCells());
}

TEST(ResultTable, ANewRunEndsTheAdjustmentModeAndForgetsTheCapacityChecks)
{
    ResultTable table;
    table.takeRun(run(3), S("300"));
    table.enterAdjustmentMode();
    table.setCapacityCheck(1, CapacityCheck::Short);
    table.setEnabled(1, kCapacity, true);
    for (int row = 0; row < table.rowCount(); ++row) {
        EXPECT_TRUE(table.enabled(row, kDiameter) && table.enabled(row, kSlope)) << row;
        EXPECT_TRUE(table.readOnly(row, kDiameter) && table.readOnly(row, kSlope)) << row;
    }

    table.takeRun(run(3), S("300"));
    for (int row = 0; row < table.rowCount(); ++row) {
        SCOPED_TRACE(row);
        EXPECT_TRUE(table.enabled(row, kSegmentLabel));
        for (const ResultColumn c : {kDiameter, kSlope, kCapacity})
            EXPECT_FALSE(table.enabled(row, c)) << c;
        EXPECT_EQ(table.capacityCheck(row), CapacityCheck::None);
    }
}

TEST(ResultTable, EveryChangeOfAPipeTimeIsTold)
{
    ResultTable table;
    int told = 0;
    table.setPipeTimeObserver([&told] { ++told; });
    table.takeRun(run(2), S("200"));
    EXPECT_EQ(told, 1);  // written into an empty table
    table.setText(0, kPipeTime, S("1.000"));
    EXPECT_EQ(told, 1);  // the same text
    table.setText(0, kPipeTime, S("2.000"));
    EXPECT_EQ(told, 2);
    table.setText(0, kDiameter, S("500"));
    EXPECT_EQ(told, 2);
    table.takeRun(run(2), S("200"));
    EXPECT_EQ(told, 4);  // cleared, then written
    table.clearRows();
    EXPECT_EQ(told, 5);
    table.clearRows();
    EXPECT_EQ(told, 5);  // nothing left to clear
}
