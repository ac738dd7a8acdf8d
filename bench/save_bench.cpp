// Peak memory of the program's saves of a large file, and of the start that
// settles the journal of such a save killed part-way, for files of 10 MB and
// 100 MB:
//   BM_AtomicSave        new contents over an old file of the same size in a
//                        folder that takes new files: a temporary beside the
//                        file takes its place;
//   BM_InPlaceSave       the same in a folder that takes no new file: the
//                        file is written in place, its old and new contents
//                        journalled in the per-user data folder;
//   BM_SettleKilledSave  the start after such an in-place save was killed
//                        halfway: recoverInterruptedSaves() gives the file
//                        its old contents back.
//
// Each operation runs in a child process of its own (fork) that does it and
// ends, so that its figure holds nothing of the benchmark's earlier work:
// the parent takes the child's peak resident memory from wait4() and
// subtracts that of a child that does nothing, which is what every child
// inherits (this program and its copy of the new contents). The killed save
// that BM_SettleKilledSave settles runs in an earlier child, as the peak is
// over the measured child's whole life.
//
// Counters: peak_MB, the operation's peak resident memory beyond the
// caller's (the caller's own copy of the new contents, one file size more
// for a save, is not in it); times_file, the same as a multiple of the file
// size. The time is the operation's own, measured in the child.
//
// Run as root, which writes into any folder and so never saves in place,
// the in-place saves and the start run as the user nobody (seteuid), who
// owns the file and the data folder; run as anyone else, the folder of the
// in-place saves is made read-only. The files go to a scratch folder and
// XDG_DATA_HOME to a scratch data folder, never the user's.
#include "textio/save_journal.h"
#include "textio/textfile.h"
#include "textio/write_fault.h"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr qint64 kMB = 1024 * 1024;
constexpr uid_t kEngineer = 65534;  // nobody
constexpr int kIterations = 3;

bool asRoot()
{
    return ::geteuid() == 0;
}

// One megabyte of a result file: lines of 32 bytes ended by CR LF. The old
// contents ('A') and the new ('B') differ in every line.
QByteArray megabyteOf(char kind)
{
    constexpr int kLine = 32;
    QByteArray block;
    block.reserve(kMB);
    char line[kLine + 1];
    for (int i = 0; i < kMB / kLine; ++i) {
        const double flow = kind == 'A' ? i * 0.125 : i * 0.25 + 1.0;
        const double slope = kind == 'A' ? 1.0 / (i + 1) : 2.0 / (i + 3);
        std::snprintf(line, sizeof line, "%c%07d %10.3f %10.4f\r\n", kind, i, flow, slope);
        block.append(line, kLine);
    }
    return block;
}

// The whole contents: `mb` such megabytes.
QByteArray contentsOf(char kind, qint64 mb)
{
    return megabyteOf(kind).repeated(mb);
}

// Writes the file's contents a megabyte at a time, into the file at its
// name (its owner and mode stay), so that the benchmark process holds no
// copy of the old contents.
bool plant(const QString& path, char kind, qint64 mb)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray block = megabyteOf(kind);
    for (qint64 i = 0; i < mb; ++i) {
        if (file.write(block) != block.size())
            return false;
    }
    return file.flush();
}

// True when the file holds exactly the contents of that kind, read a
// megabyte at a time.
bool holds(const QString& path, char kind, qint64 mb)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() != mb * kMB)
        return false;
    const QByteArray block = megabyteOf(kind);
    for (qint64 i = 0; i < mb; ++i) {
        if (file.read(kMB) != block)
            return false;
    }
    return true;
}

// The benchmark's folders: `plain` takes new files (atomic saves); `shared`
// takes none from the engineer (in-place saves); `data` is his data folder.
class Folders {
public:
    Folders()
    {
        if (!root_.isValid())
            std::fprintf(stderr, "no scratch folder: %s\n", qPrintable(root_.errorString()));
        // The engineer (nobody, when run as root) reaches the folders inside.
        ::chmod(QFile::encodeName(root_.path()).constData(), 0755);
        QDir().mkpath(plain());
        QDir().mkpath(shared());
        QDir().mkpath(data());
        if (asRoot()) {
            if (::chown(QFile::encodeName(data()).constData(), kEngineer, kEngineer) != 0)
                std::perror("chown of the data folder");
        } else {
            ::chmod(QFile::encodeName(shared()).constData(), 0555);
        }
        qputenv("XDG_DATA_HOME", QFile::encodeName(data()));
    }
    ~Folders()
    {
        // Everything left removable.
        if (!asRoot())
            ::chmod(QFile::encodeName(shared()).constData(), 0755);
    }
    Folders(const Folders&) = delete;
    Folders& operator=(const Folders&) = delete;

    QString plain() const { return root_.filePath(QStringLiteral("plain")); }
    QString shared() const { return root_.filePath(QStringLiteral("shared")); }
    QString data() const { return root_.filePath(QStringLiteral("data")); }

    QString plainFile(qint64 mb) const
    {
        return plain() + QStringLiteral("/storm_out_%1MB.txt").arg(mb);
    }

    // The file of the in-place saves, made the engineer's to write on first
    // use.
    QString sharedFile(qint64 mb) const
    {
        const QString path = shared() + QStringLiteral("/storm_out_%1MB.txt").arg(mb);
        if (QFile::exists(path))
            return path;
        const QByteArray name = QFile::encodeName(path);
        const QByteArray folder = QFile::encodeName(shared());
        if (!asRoot())
            ::chmod(folder.constData(), 0755);
        QFile file(path);
        const bool made = file.open(QIODevice::WriteOnly);
        file.close();
        if (!asRoot())
            ::chmod(folder.constData(), 0555);
        if (!made)
            return QString();
        if (asRoot() && ::chown(name.constData(), kEngineer, kEngineer) != 0)
            return QString();
        ::chmod(name.constData(), 0640);
        return path;
    }

    // Every file in the data folder: journals and kept copies.
    QStringList dataFiles() const
    {
        QStringList files;
        QDirIterator it(data(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        return files;
    }

private:
    QTemporaryDir root_;
};

Folders& folders()
{
    static Folders made;
    return made;
}

struct ChildRun {
    bool ok = false;
    double seconds = 0;
    long peakKiB = 0;  // ru_maxrss
};

// Runs `operation` in a child process, as the engineer when `asEngineer`
// and the benchmark runs as root: whether it succeeded, how long it took
// and the child's peak resident memory.
ChildRun inChild(const std::function<bool()>& operation, bool asEngineer)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeEnds[0]);
        if (asEngineer && asRoot() && ::seteuid(kEngineer) != 0)
            ::_exit(2);
        const auto start = std::chrono::steady_clock::now();
        const bool ok = operation();
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const bool told =
            ::write(pipeEnds[1], &seconds, sizeof seconds) == static_cast<ssize_t>(sizeof seconds);
        ::_exit(ok && told ? 0 : 1);
    }
    ::close(pipeEnds[1]);
    ChildRun run;
    if (pid < 0) {
        ::close(pipeEnds[0]);
        return run;
    }
    const bool timed =
        ::read(pipeEnds[0], &run.seconds, sizeof run.seconds) == static_cast<ssize_t>(sizeof run.seconds);
    ::close(pipeEnds[0]);
    int status = 0;
    rusage usage{};
    pid_t waited;
    do {
        waited = ::wait4(pid, &status, 0, &usage);
    } while (waited < 0 && errno == EINTR);
    run.ok = timed && waited == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.peakKiB = usage.ru_maxrss;
    return run;
}

// True for a save that succeeded; a failed one's message goes to stderr.
bool saved(const std::optional<QString>& error)
{
    if (error)
        std::fprintf(stderr, "save failed: %s\n", qPrintable(*error));
    return !error;
}

// The largest peak of an operation over the iterations, beyond the
// baseline child's.
class PeakCounters {
public:
    explicit PeakCounters(qint64 mb)
        : mb_(mb)
    {
    }
    void add(const ChildRun& run, const ChildRun& baseline)
    {
        overKiB_ = std::max(overKiB_, run.peakKiB - baseline.peakKiB);
    }
    void report(benchmark::State& state) const
    {
        const double peakMB = static_cast<double>(overKiB_) / 1024.0;
        state.counters["peak_MB"] = peakMB;
        state.counters["times_file"] = peakMB / static_cast<double>(mb_);
    }

private:
    qint64 mb_;
    long overKiB_ = 0;
};

// The old contents planted at `path` for an iteration, with no journal left
// from before; false, the benchmark told, where they cannot be.
bool plantedOld(benchmark::State& state, const QString& path, qint64 mb)
{
    if (!path.isEmpty() && plant(path, 'A', mb) && folders().dataFiles().isEmpty())
        return true;
    state.SkipWithError("no old file of the engineer's, or a journal left before");
    return false;
}

// Runs `operation` in a child (as the engineer where `asEngineer`) beside
// one that does nothing, checks with `leftRight` what it left, and counts
// its time and peak; false, the benchmark told `failure`, where it failed.
bool measured(benchmark::State& state, PeakCounters& peak, bool asEngineer, const std::function<bool()>& operation,
              const std::function<bool()>& leftRight, const char* failure)
{
    const ChildRun baseline = inChild([] { return true; }, asEngineer);
    const ChildRun run = inChild(operation, asEngineer);
    if (!baseline.ok || !run.ok || !leftRight()) {
        state.SkipWithError(failure);
        return false;
    }
    state.SetIterationTime(run.seconds);
    peak.add(run, baseline);
    return true;
}

// A save of the file over old contents of the same size: atomic (a
// temporary beside it, then renamed) or, where the folder takes no new file
// from the engineer, in place with its journal.
void saveOverOldContents(benchmark::State& state, bool inPlace)
{
    const qint64 mb = state.range(0);
    const QString path = inPlace ? folders().sharedFile(mb) : folders().plainFile(mb);
    const QByteArray bytes = contentsOf('B', mb);
    PeakCounters peak(mb);
    for (auto _ : state) {
        if (!plantedOld(state, path, mb)
            || !measured(
                state, peak, inPlace, [&] { return saved(textio::replaceFileContents(path, bytes)); },
                [&] { return holds(path, 'B', mb) && folders().dataFiles().isEmpty(); },
                "the save failed, left other contents or kept its journal"))
            break;
    }
    peak.report(state);
}

void BM_AtomicSave(benchmark::State& state)
{
    saveOverOldContents(state, false);
}

void BM_InPlaceSave(benchmark::State& state)
{
    saveOverOldContents(state, true);
}

void BM_SettleKilledSave(benchmark::State& state)
{
    const qint64 mb = state.range(0);
    const QString path = folders().sharedFile(mb);
    const QByteArray bytes = contentsOf('B', mb);
    PeakCounters peak(mb);
    for (auto _ : state) {
        if (!plantedOld(state, path, mb))
            break;
        // The save killed halfway through the file leaves its journal (and
        // returns the fault's message).
        const ChildRun killed = inChild(
            [&] {
                const textio::ScopedWriteFault fault(textio::WriteFault::ProgramKilled, mb * kMB / 2);
                return textio::replaceFileContents(path, bytes).has_value();
            },
            true);
        if (!killed.ok || folders().dataFiles().isEmpty()) {
            state.SkipWithError("the killed save left no journal");
            break;
        }
        if (!measured(
                state, peak, true, [] { return textio::recoverInterruptedSaves().size() == 1; },
                [&] { return holds(path, 'A', mb) && folders().dataFiles().isEmpty(); },
                "the start did not give the file its old contents back"))
            break;
    }
    peak.report(state);
}

void fileSizes(benchmark::internal::Benchmark* b)
{
    b->Arg(10)->Arg(100);
    b->ArgName("MB");
    b->Iterations(kIterations);
    b->UseManualTime();
    b->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_AtomicSave)->Apply(fileSizes);
BENCHMARK(BM_InPlaceSave)->Apply(fileSizes);
BENCHMARK(BM_SettleKilledSave)->Apply(fileSizes);

BENCHMARK_MAIN();
