// How the adjustment of a segment scales with the number of segments below
// it, driven through the windows as the engineer drives them: in the result
// table's adjustment mode a click on the first segment's 设计管径 cell, a
// diameter typed into the adjustment dialog and 确  定, up to the table drawn
// again. Every segment of the run below the first is designed again.
//
// The run is put into the result table as the network calculation puts it,
// with the network window's opening parameters. Counter: seconds per
// segment (flat when the cost grows in proportion to the run).
#include "app/windows.h"
#include "storm/storm_water_form.h"
#include "storm_network/network_calculation.h"
#include "storm_network/network_catalogue.h"
#include "storm_network/storm_result_grid_form.h"
#include "storm_network/storm_segment_adjust_dialog.h"
#include "storm_network/storm_sewer_network_form.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

using namespace storm_network;

// A designed run of n segments in the result table, which is in its
// adjustment mode; the network window open with its opening parameters
// (天津市, P 2, t1 10, m 2.0, concrete pipe), which the adjustment reads.
void designedRun(int n)
{
    forms::destroyAllDefaultInstances();
    QApplication::processEvents();
    form2().Show();
    form2().Option4->setValue(true);

    std::vector<SegmentRow> segments;
    segments.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        segments.push_back({QString::number(50 + i % 6 * 15), QString::number(1000 + i % 3 * 400),
                            QString::number(0.45 + i % 5 * 0.1)});
    }
    NetworkOutcome result = CalculateNetwork(form13().parameters(), segments);
    if (result.refusal)
        throw std::runtime_error(result.refusal->message.toStdString());
    StormResultGridForm& grid = Form15();
    grid.ClearResultRows();
    grid.showRun(std::move(result.values.rows), result.values.totalLength);
    grid.Show();
    grid.调整->click();
    QApplication::processEvents();
}

// The first segment adjusted, the table drawn again.
void BM_AdjustFirstSegment(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    designedRun(n);
    StormResultGridForm& grid = Form15();
    StormSegmentAdjustDialog& dialog = Form10();
    // Two pipes that both carry the first segment's flow, in turn, so that
    // every adjustment changes the flow times of all the segments below.
    const QString diameters[] = {QStringLiteral("400"), QStringLiteral("300")};
    std::size_t adjustments = 0;
    for (auto _ : state) {
        grid.Text13_Click(0);
        dialog.Text1->setText(diameters[adjustments++ % 2]);
        dialog.Command1->press();
        QApplication::processEvents();
    }
    if (dialog.isVisible() || grid.table().text(0, kDiameter) != diameters[(adjustments - 1) % 2])
        state.SkipWithError("the adjustment was not made");
    state.counters["segments"] = n;
    state.counters["s_per_segment"] =
        benchmark::Counter(n, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_AdjustFirstSegment)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
