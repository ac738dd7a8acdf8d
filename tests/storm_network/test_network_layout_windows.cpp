// Every figure of the network windows readable: the result table, the
// adjustment dialog and the network window's own fields filled with the
// longest texts a real design gives, laid out offscreen, and no text cut.
#include "app/windows.h"
#include "forms/testing/clipped_texts.h"
#include "forms/testing/fixture.h"
#include "forms/testing/text.h"
#include "segment_file_bytes.h"  // texts printed as text in failures
#include "storm_network/storm_result_grid_form.h"
#include "storm_network/storm_result_table_view.h"
#include "storm_network/storm_segment_adjust_dialog.h"
#include "storm_network/storm_sewer_network_form.h"
#include "storm/storm_water_form.h"

#include <gtest/gtest.h>

using forms::testing::clippedTexts;
using forms::testing::FormsTest;
using forms::testing::S;
using namespace storm_network;

namespace {

// The longest text of each column a real run shows: a run of 999 segments
// of up to 10 km over thousands of hectares, pipes up to 3000 mm at 19.9 ‰
// (82312.621 L/s with n 0.01), flow times of days.
ResultCells longestCells(int row)
{
    ResultCells cells;
    cells[kSegmentLabel] = QString::number(row + 1) + QLatin1Char('-') + QString::number(row + 2);
    cells[kLength] = S("10000.00");
    cells[kOwnArea] = S("1000.0000");
    cells[kTransferredArea] = S("8888.8888");
    cells[kCumulativeArea] = S("8888.8888");
    cells[kFlowTime] = S("8888.888");
    cells[kPipeTime] = S("1666.667");
    cells[kIntensity] = S("1888.88");
    cells[kRunoff] = S("0.650");
    cells[kMeanRunoff] = S("0.888");
    cells[kUnitFlow] = S("1888.88");
    cells[kDesignFlow] = S("82288.88");
    cells[kDiameter] = S("3000");
    cells[kSlope] = S("19.9");
    cells[kVelocity] = S("11.65");
    cells[kCapacity] = S("82312.621");
    return cells;
}

class NetworkLayoutTest : public FormsTest {};

}  // namespace

TEST_F(NetworkLayoutTest, TheResultTableShowsEveryCellAndTotalWhole)
{
    constexpr int kSegments = 999;
    std::vector<PackedCells> rows;
    for (int row = 0; row < kSegments; ++row)
        rows.emplace_back(longestCells(row));
    StormResultGridForm& w = Form15();
    w.ClearResultRows();
    w.showRun(std::move(rows), S("9990000"));
    w.Show();

    // Every page: the last but one ends with "999-1000", the last shows
    // the footer alone.
    bool sawLastLabel = false;
    ASSERT_EQ(w.Label10->Caption(), S("51"));
    for (int page = 1; page <= 51; ++page) {
        SCOPED_TRACE(page);
        ASSERT_EQ(w.Label6->Caption(), QString::number(page));
        const forms::TextBox* last = w.view().cellOfRow(kSegments - 1, kSegmentLabel);
        sawLastLabel = sawLastLabel || (last && last->Text() == S("999-1000"));
        const QStringList clipped = clippedTexts(w);
        EXPECT_TRUE(clipped.isEmpty()) << clipped.join(S("; ")).toStdString();
        w.Command2->press();  // 下一页>>
    }
    EXPECT_TRUE(sawLastLabel);
    EXPECT_TRUE(w.Text19->isVisibleTo(&w));
    EXPECT_EQ(w.Text19->Text(), S("9990000"));
    EXPECT_EQ(w.Text20->Text(), S("8888.8888"));
}

TEST_F(NetworkLayoutTest, TheAdjustmentDialogShowsTheLongestPipeWhole)
{
    StormSegmentAdjustDialog& d = Form10();
    d.Show();
    for (const char* slope : {"19.99", "1000.0"}) {
        SCOPED_TRACE(slope);
        d.Text1->setText(S("3000"));
        d.Text2->setText(S(slope));
        const QStringList clipped = clippedTexts(d);
        EXPECT_TRUE(clipped.isEmpty()) << clipped.join(S("; ")).toStdString();
    }
}

TEST_F(NetworkLayoutTest, TheNetworkWindowShowsItsParametersWhole)
{
    form2().Show();
    form2().Option4->setValue(true);
    StormSewerNetworkForm& w = form13();
    // The edges of the ranges the calculation takes.
    w.Text1->setText(S("1000"));
    w.Text2->setText(S("10"));
    w.Text3->setText(S("1000"));
    w.Text4->setText(S("0.65"));
    const QStringList clipped = clippedTexts(w);
    EXPECT_TRUE(clipped.isEmpty()) << clipped.join(S("; ")).toStdString();
}
