// In-place saves, their rollbacks and the start's restores, with the power
// cut after every call they make, over the simulated disk: whatever the
// cut keeps, the file is its old or its new contents once the next start
// has run, nothing the engineer was told turns out untrue, and nothing is
// left for a later start to act on.
#include "simulated_disk.h"

#include "textio/file_calls.h"
#include "textio/file_handles.h"
#include "textio/in_place_save.h"
#include "textio/journal_messages.h"
#include "textio/journal_settlement.h"
#include "textio/save_journal.h"

#include <QFile>
#include <QRegularExpression>

#include <functional>
#include <map>
#include <optional>

#include <cerrno>

#include <gtest/gtest.h>

namespace {

using textio::testing::CallKind;
using textio::testing::KeepAll;
using textio::testing::KeepFlushedOnly;
using textio::testing::PowerCut;
using textio::testing::Scrambled;
using textio::testing::SimulatedCall;
using textio::testing::SimulatedDisk;

const QString kFile = QStringLiteral("/work/shared/calc.txt");
const QByteArray kFileName = QFile::encodeName(kFile);

// Contents of `size` bytes, none a zero, that differ at every place from
// those of another `first`.
QByteArray contents(qsizetype size, char first)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(first + i % 10);
    return bytes;
}

QString modeName(PowerCut cut)
{
    switch (cut.keep) {
    case PowerCut::Keep::FlushedOnly:
        return QStringLiteral("flushed only");
    case PowerCut::Keep::All:
        return QStringLiteral("all kept");
    case PowerCut::Keep::Scrambled:
        return QStringLiteral("scrambled %1").arg(cut.seed);
    }
    return QString();
}

// While alive, the data folder is under a home of the simulated disk's.
class DataHome {
public:
    DataHome() { qputenv("XDG_DATA_HOME", "/home/eng/.local/share"); }
    ~DataHome()
    {
        if (saved_.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", saved_);
    }
    DataHome(const DataHome&) = delete;
    DataHome& operator=(const DataHome&) = delete;

private:
    QByteArray saved_ = qgetenv("XDG_DATA_HOME");
};

QByteArray dataFolder()
{
    return QFile::encodeName(textio::dataFolder());
}

// The engineer's file holding `old` in a folder that takes no new file,
// and the data folder, without its journals' folder yet.
SimulatedDisk planted(const QByteArray& old)
{
    SimulatedDisk disk;
    disk.makeFolders(dataFolder(), 0700);
    disk.makeFolders("/work/shared", 0755);
    disk.writeFile(kFileName, old, 0644);
    disk.chmod("/work/shared", 0555);
    return disk;
}

// A copy of what the disk holds now (nothing of it unflushed).
SimulatedDisk copyOf(const SimulatedDisk& disk)
{
    return disk.powerCut(KeepAll);
}

// Every plain file under `folder`, and what it holds.
void filesUnder(const SimulatedDisk& disk, const QByteArray& folder, std::map<QByteArray, QByteArray>& files)
{
    if (!disk.exists(folder))
        return;
    for (const QByteArray& name : disk.list(folder)) {
        const QByteArray path = folder + '/' + name;
        if (const std::optional<QByteArray> bytes = disk.contents(path))
            files[path] = *bytes;
        else
            filesUnder(disk, path, files);
    }
}

std::map<QByteArray, QByteArray> dataFiles(const SimulatedDisk& disk)
{
    std::map<QByteArray, QByteArray> files;
    filesUnder(disk, dataFolder(), files);
    return files;
}

// The journals in the data folder.
QByteArrayList journalsIn(const SimulatedDisk& disk)
{
    QByteArrayList journals;
    for (const auto& [path, bytes] : dataFiles(disk))
        if (path.endsWith(".journal"))
            journals << path;
    return journals;
}

// What an engineer sees of the disk: the file, and the copies of old
// contents kept for him.
std::map<QByteArray, QByteArray> engineersView(const SimulatedDisk& disk)
{
    std::map<QByteArray, QByteArray> view;
    for (const auto& [path, bytes] : dataFiles(disk))
        if (path.endsWith(QFile::encodeName(textio::copyEnd())))
            view[path] = bytes;
    view[kFileName] = disk.contents(kFileName).value_or("(no file)");
    return view;
}

// The copies of old contents the messages name.
QStringList copiesNamedIn(const QStringList& messages)
{
    static const QRegularExpression named(QStringLiteral("“([^”]*)”"));
    QStringList copies;
    for (const QString& message : messages)
        for (const QRegularExpressionMatch& m : named.globalMatch(message))
            if (m.captured(1).endsWith(textio::copyEnd()))
                copies << m.captured(1);
    return copies;
}

QString restoredMessage()
{
    textio::Settlement restored;
    restored.outcome = textio::Settlement::Outcome::Restored;
    restored.target = kFile;
    return *textio::settlementMessage(restored);
}

// What the run of a save or a start said.
struct Said {
    bool saved = false;    // a save reported success
    QStringList messages;  // the save's refusal or failure, or the start's messages
};

Said startOn(SimulatedDisk& disk)
{
    const textio::ScopedFileCalls inForce(disk);
    return {false, textio::recoverInterruptedSaves()};
}

// The numbers of the calls on the engineer's file of `kind` in the log:
// those on the descriptor the first open of it gave.
std::vector<int> callsOnFile(const std::vector<SimulatedCall>& calls, CallKind kind)
{
    std::vector<int> numbers;
    int fd = -1;
    for (const SimulatedCall& call : calls) {
        if (fd < 0 && call.kind == CallKind::Open && call.path == kFileName && call.result == 0)
            fd = call.fd;
        else if (fd >= 0 && call.kind == kind && call.fd == fd)
            numbers.push_back(call.number);
    }
    return numbers;
}

enum class Sizes { Grows, Shrinks, SameLength };

QByteArray newContents(const QByteArray& old, Sizes sizes)
{
    switch (sizes) {
    case Sizes::Grows:
        return contents(old.size() + 77, 'A');
    case Sizes::Shrinks:
        return contents(old.size() - 61, 'A');
    case Sizes::SameLength:
        break;
    }
    return contents(old.size(), 'A');
}

// What is swept: the calls of a save or a start, and the faults they meet.
enum class Run {
    Save,                // a save that succeeds
    SaveJournalKept,     // a save whose journal cannot be removed: told ok, marked done
    RollBack,            // the file's write fails: the old contents go back
    RollBackNotRestored, // and their write back fails too: a copy is kept
    Start,               // a start restoring a file its save wrote whole
    StartNotRestored,    // and the restore's write fails: a copy is kept
};

QString runName(Run run)
{
    switch (run) {
    case Run::Save:
        return QStringLiteral("save");
    case Run::SaveJournalKept:
        return QStringLiteral("save, journal not removed");
    case Run::RollBack:
        return QStringLiteral("rollback");
    case Run::RollBackNotRestored:
        return QStringLiteral("rollback, restore fails");
    case Run::Start:
        return QStringLiteral("start");
    case Run::StartNotRestored:
        return QStringLiteral("start, restore fails");
    }
    return QString();
}

bool isStart(Run run)
{
    return run == Run::Start || run == Run::StartNotRestored;
}

// One sweep: the disk before, the faults put in, and the run.
class Sweep {
public:
    Sweep(Run run, Sizes sizes)
        : run_(run)
        , old_(contents(300, 'a'))
        , new_(newContents(old_, sizes))
    {
        before_ = std::make_unique<SimulatedDisk>(planted(old_));
        // The calls of a whole save, and where it writes and cuts the file.
        SimulatedDisk dry = planted(old_);
        save(dry);
        const std::vector<int> writes = callsOnFile(dry.calls(), CallKind::Write);
        const std::vector<int> cuts = callsOnFile(dry.calls(), CallKind::Truncate);
        EXPECT_FALSE(writes.empty() || cuts.empty()) << dry.callsText().toStdString();
        if (writes.empty() || cuts.empty())
            return;
        fileWrite_ = writes.front();
        if (run_ == Run::RollBackNotRestored) {
            SimulatedDisk rolledBack = planted(old_);
            rolledBack.failCall(fileWrite_, ENOSPC);
            save(rolledBack);
            // The write after the failed one puts the old contents back.
            const std::vector<int> after = callsOnFile(rolledBack.calls(), CallKind::Write);
            EXPECT_GE(after.size(), 2u) << rolledBack.callsText().toStdString();
            restoreWrite_ = after.size() >= 2 ? after[1] : 0;
        }
        if (isStart(run_)) {
            // The save cut once the file holds the new contents, all kept.
            SimulatedDisk saving = planted(old_);
            saving.cutAfterCall(cuts.back(), KeepAll);
            save(saving);
            before_ = std::make_unique<SimulatedDisk>(saving.takeImage());
            EXPECT_EQ(before_->contents(kFileName), new_);
            EXPECT_EQ(journalsIn(*before_).size(), 1);
            if (run_ == Run::StartNotRestored) {
                SimulatedDisk starting = copyOf(*before_);
                startOn(starting);
                const std::vector<int> restores = callsOnFile(starting.calls(), CallKind::Write);
                EXPECT_FALSE(restores.empty()) << starting.callsText().toStdString();
                restoreWrite_ = restores.empty() ? 0 : restores.front();
            }
        }
    }

    // The disk with the run's faults put in.
    SimulatedDisk armed() const
    {
        SimulatedDisk disk = copyOf(*before_);
        switch (run_) {
        case Run::Save:
        case Run::Start:
            break;
        case Run::SaveJournalKept:
            disk.failCalls(CallKind::Unlink, 1, EIO);
            break;
        case Run::RollBack:
            disk.failCall(fileWrite_, ENOSPC);
            break;
        case Run::RollBackNotRestored:
            disk.failCall(fileWrite_, ENOSPC);
            disk.failCall(restoreWrite_, EIO);
            break;
        case Run::StartNotRestored:
            disk.failCall(restoreWrite_, EIO);
            break;
        }
        return disk;
    }

    Said runOn(SimulatedDisk& disk) const
    {
        return isStart(run_) ? startOn(disk) : save(disk);
    }

    // How many calls the run makes, uncut.
    int callCount() const
    {
        SimulatedDisk disk = armed();
        runOn(disk);
        return disk.callCount();
    }

    // The run cut after its call `n` under `cut`; the next start, a power
    // cut once it is done, and the start after it. Every failure names
    // the cut.
    void cutAfter(int n, bool finished, PowerCut cut) const
    {
        SimulatedDisk disk = armed();
        disk.cutAfterCall(n, cut);
        const Said said = runOn(disk);
        SimulatedDisk image = disk.isCut() ? disk.takeImage() : disk.powerCut(cut);
        const QString log = disk.callsText();
        SCOPED_TRACE(QStringLiteral("cut after call %1 (%2), the run's calls:\n%3")
                         .arg(n)
                         .arg(modeName(cut), log)
                         .toStdString());
        // What a run that finished told the engineer holds on the disk the
        // cut left.
        if (finished)
            expectCopiesWhole(image, said.messages);

        const QByteArray cutFile = image.contents(kFileName).value_or("(no file)");
        const bool journalLeft = !journalsIn(image).isEmpty();
        const Said first = startOn(image);
        const QByteArray firstFile = image.contents(kFileName).value_or("(no file)");
        SimulatedDisk afterFirst = image.powerCut(cut);
        const std::map<QByteArray, QByteArray> seen = engineersView(afterFirst);
        const Said second = startOn(afterFirst);

        const QString restored = restoredMessage();
        // The start says at most that it restored the file, and then it has.
        EXPECT_TRUE(first.messages.isEmpty() || first.messages == QStringList{restored})
            << first.messages.join(QLatin1Char('\n')).toStdString();
        if (first.messages == QStringList{restored}) {
            EXPECT_EQ(seen.at(kFileName), old_);
        }
        // Silent, it changed nothing; and it had nothing to say where no
        // journal was left.
        if (first.messages.isEmpty()) {
            EXPECT_EQ(firstFile, cutFile);
        }
        if (!journalLeft) {
            EXPECT_TRUE(first.messages.isEmpty());
        }
        // The file is one or the other, and stays so after a power cut.
        EXPECT_TRUE(firstFile == old_ || firstFile == new_) << firstFile.toStdString();
        EXPECT_EQ(seen.at(kFileName), firstFile);

        if (finished)
            expectToldTrue(said, first, seen);

        // Nothing left for a later start: it says nothing, changes nothing.
        EXPECT_TRUE(second.messages.isEmpty()) << second.messages.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(engineersView(afterFirst), seen);
        EXPECT_TRUE(journalsIn(afterFirst).isEmpty());
        expectCopiesWhole(afterFirst, {});
    }

    std::string name() const
    {
        return (runName(run_) + QStringLiteral(", %1 -> %2 bytes").arg(old_.size()).arg(new_.size()))
            .toStdString();
    }

private:
    Said save(SimulatedDisk& disk) const
    {
        const textio::ScopedFileCalls inForce(disk);
        const std::optional<QString> failed = textio::saveInPlace(kFile, new_);
        return {!failed, failed ? QStringList{*failed} : QStringList{}};
    }

    // Every copy of old contents named, and every one in the data folder,
    // holds them whole.
    void expectCopiesWhole(const SimulatedDisk& disk, const QStringList& messages) const
    {
        for (const QString& copy : copiesNamedIn(messages)) {
            EXPECT_EQ(disk.contents(QFile::encodeName(copy)), old_) << "named copy " << copy.toStdString();
        }
        for (const auto& [path, bytes] : engineersView(disk)) {
            if (path != kFileName) {
                EXPECT_EQ(bytes, old_) << "copy " << path.constData();
            }
        }
    }

    // What the run said, once it finished, is what the next start finds.
    void expectToldTrue(const Said& said, const Said& first, const std::map<QByteArray, QByteArray>& seen) const
    {
        const QString restored = restoredMessage();
        if (said.saved) {
            // Never taken back.
            EXPECT_EQ(seen.at(kFileName), new_);
            EXPECT_TRUE(first.messages.isEmpty());
            return;
        }
        if (isStart(run_)) {
            // Restored now: nothing more to do. Not restored: the journal
            // waits, and the next start restores.
            if (said.messages == QStringList{restored}) {
                EXPECT_TRUE(first.messages.isEmpty());
            } else {
                EXPECT_EQ(first.messages, QStringList{restored}) << said.messages.join('\n').toStdString();
            }
            return;
        }
        // A failed save: the old contents back, or the journal left for the
        // next start to put them back; the file old in the end.
        ASSERT_EQ(said.messages.size(), 1);
        const bool rolledBack = said.messages.front() == textio::writeFailedMessage(kFile, ENOSPC);
        if (rolledBack) {
            EXPECT_TRUE(first.messages.isEmpty()) << said.messages.front().toStdString();
        } else {
            EXPECT_EQ(first.messages, QStringList{restored}) << said.messages.front().toStdString();
        }
        EXPECT_EQ(seen.at(kFileName), old_);
    }

    Run run_;
    QByteArray old_;
    QByteArray new_;
    int fileWrite_ = 0;     // the save's write of the file
    int restoreWrite_ = 0;  // the restore's write of the file
    std::unique_ptr<SimulatedDisk> before_;
};

struct PowerCutCase {
    Run run;
    Sizes sizes;
};

// The failures and traces the running test has met so far.
int failureParts()
{
    return ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
}

class PowerCuts : public ::testing::Test {
protected:
    DataHome home_;
};

TEST_F(PowerCuts, AfterEveryCallTheFileIsOldOrNewAndNothingSaidIsUntrue)
{
    const PowerCut cuts[] = {KeepFlushedOnly, KeepAll, Scrambled(1), Scrambled(2), Scrambled(3), Scrambled(4), Scrambled(5), Scrambled(6), Scrambled(7), Scrambled(8)};
    const PowerCutCase cases[] = {
        {Run::Save, Sizes::Grows},
        {Run::Save, Sizes::Shrinks},
        {Run::Save, Sizes::SameLength},
        {Run::SaveJournalKept, Sizes::Grows},
        {Run::RollBack, Sizes::Grows},
        {Run::RollBack, Sizes::Shrinks},
        {Run::RollBack, Sizes::SameLength},
        {Run::RollBackNotRestored, Sizes::Shrinks},
        {Run::Start, Sizes::Grows},
        {Run::Start, Sizes::Shrinks},
        {Run::Start, Sizes::SameLength},
        {Run::StartNotRestored, Sizes::Shrinks},
    };
    for (const PowerCutCase& c : cases) {
        const Sweep sweep(c.run, c.sizes);
        SCOPED_TRACE(sweep.name());
        const int calls = sweep.callCount();
        // The first cut that fails a case is enough to tell.
        const int partsBefore = failureParts();
        for (const PowerCut& cut : cuts)
            for (int n = 1; n <= calls && failureParts() == partsBefore; ++n)
                sweep.cutAfter(n, n == calls, cut);
    }
}

} // namespace
