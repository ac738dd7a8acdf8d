// How the storm sewer network design scales with the number of segments,
// driven through its windows as the engineer drives them: a segment file
// imported into the segment list, "计 算" up to the first page of the result
// table drawn, paging, and saving the report. Message boxes and file dialogs
// are answered by a platform of the benchmark's own.
//
// Counters: seconds per segment (flat when the cost grows in proportion to
// the run) and the resident memory of the process after the run, in MB.
#include "app/windows.h"
#include "forms/application.h"
#include "forms/platform.h"
#include "storm_network/segment_file.h"
#include "storm_network/storm_result_grid_form.h"
#include "storm_network/storm_result_table_view.h"
#include "storm_network/storm_segment_list_form.h"
#include "storm_network/storm_sewer_network_form.h"
#include "storm/storm_water_form.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace {

// Answers every question with Yes or OK, and every file dialog with the
// path set for it.
class BenchPlatform final : public forms::Platform {
public:
    QString openPath;
    QString savePath;

    int messageBox(const QString& text, int style, const QString& title) override
    {
        // "现有数据列表是否保留？" before an import: No, the file replaces the list.
        if ((style & 7) == forms::vbYesNoCancel)
            return forms::vbNo;
        std::fprintf(stderr, "unexpected message: %s (%s)\n", qPrintable(text), qPrintable(title));
        return forms::vbOK;
    }
    std::optional<QString> fileDialog(const forms::FileDialogRequest& request) override
    {
        return request.mode == forms::FileDialogRequest::Mode::Open ? openPath : savePath;
    }
    QString findProgram(const QString&) override { return QString(); }
    bool startDetached(const QString&, const QStringList&) override { return false; }
    void endProgram() override { throw std::runtime_error("program ended"); }
    bool timersRun() const override { return false; }
    void raiseWindow(QWidget&) override {}
};

BenchPlatform& benchPlatform()
{
    static BenchPlatform platform;
    return platform;
}

QTemporaryDir& scratch()
{
    static QTemporaryDir dir;
    return dir;
}

// A segment file of n segments: lengths, areas and coefficients that vary
// a little from segment to segment, as a real run does.
QString segmentFile(int n)
{
    const QString path = scratch().filePath(QStringLiteral("storm_in_%1.txt").arg(n));
    if (QFile::exists(path))
        return path;
    std::vector<storm_network::SegmentRow> rows;
    rows.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        rows.push_back({QString::number(40 + i % 7 * 10), QString::number(800 + i % 5 * 150),
                        QString::number(0.5 + i % 4 * 0.1)});
    }
    if (const std::optional<QString> error = storm_network::StormSegmentInputFile::Write(path, rows))
        throw std::runtime_error(error->toStdString());
    return path;
}

double residentMegabytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(static_cast<qsizetype>(std::strlen(field))).trimmed().split(' ').value(0).toDouble() / 1024;
    }
    return 0;
}

// Every window as a new run of the program finds it, the network window
// open: the result table with its ten first rows only.
void freshWindows()
{
    forms::destroyAllDefaultInstances();
    QApplication::processEvents();
    form2().Show();
    form2().Option4->setValue(true);
}

void importSegments(int n)
{
    benchPlatform().openPath = segmentFile(n);
    Form14().导入_Click();
}

void calculate()
{
    form13().Command1->press();
    // The first page drawn.
    QApplication::processEvents();
}

void reportCounters(benchmark::State& state, int n)
{
    state.counters["segments"] = n;
    state.counters["s_per_segment"] =
        benchmark::Counter(n, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["rss_MB"] = residentMegabytes("VmRSS:");
    state.counters["peak_MB"] = residentMegabytes("VmHWM:");
}

// Import of the segment file and the calculation up to the first page.
void BM_ImportAndCalculate(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    segmentFile(n);
    freshWindows();
    for (auto _ : state) {
        importSegments(n);
        calculate();
    }
    if (Form15().table().segmentCount() != n)
        state.SkipWithError("the run was not calculated");
    reportCounters(state, n);
}

// The import of the segment file into the segment list alone.
void BM_Import(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    segmentFile(n);
    freshWindows();
    for (auto _ : state)
        importSegments(n);
    reportCounters(state, n);
}

// The calculation alone, the segments already in the list.
void BM_Calculate(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    freshWindows();
    importSegments(n);
    for (auto _ : state)
        calculate();
    reportCounters(state, n);
}

// 下一页>> from the first page to the last.
void BM_PageToLast(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    freshWindows();
    importSegments(n);
    calculate();
    StormResultGridForm& grid = Form15();
    const int pages = grid.view().pageCount();
    for (auto _ : state) {
        state.PauseTiming();
        while (grid.view().currentPage() > 1)
            grid.Command1_Click();
        state.ResumeTiming();
        for (int page = 1; page < pages; ++page)
            grid.Command2->press();
        QApplication::processEvents();
    }
    if (grid.view().currentPage() != pages)
        state.SkipWithError("the last page was not reached");
    state.counters["pages"] = pages;
    state.counters["s_per_page"] = benchmark::Counter(
        pages - 1, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// 保存: the save dialog and the report file.
void BM_SaveReport(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    freshWindows();
    importSegments(n);
    calculate();
    benchPlatform().savePath = scratch().filePath(QStringLiteral("storm_out.txt"));
    for (auto _ : state)
        Form15().保存_Click();
    if (Form15().Text22->Text() != QStringLiteral("1"))
        state.SkipWithError("the report was not saved");
    reportCounters(state, n);
}

constexpr int kRuns[] = {100, 1000, 10000, 100000};

void runSizes(benchmark::internal::Benchmark* b)
{
    for (const int n : kRuns)
        b->Arg(n);
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_ImportAndCalculate)->Apply(runSizes);
BENCHMARK(BM_Import)->Apply(runSizes);
BENCHMARK(BM_Calculate)->Apply(runSizes);
BENCHMARK(BM_PageToLast)->Apply(runSizes);
BENCHMARK(BM_SaveReport)->Apply(runSizes);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    forms::setUpApplication(app);
    forms::setPlatform(&benchPlatform());
    // The work files go to a scratch data folder, not the user's.
    QStandardPaths::setTestModeEnabled(true);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
