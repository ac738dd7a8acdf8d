// The moments between two steps of a save or a clean-up where another
// program may act on the same files (write_fault.h): each is the end of one
// call on files, told apart by what the call is and which file it is on, so
// that the saves themselves hold no hook.
#include "textio/file_calls.h"
#include "textio/journal_files.h"
#include "textio/save_temporaries.h"
#include "textio/write_fault.h"

#include <QFile>
#include <QFileInfo>

#include <functional>
#include <optional>
#include <set>
#include <utility>

#include <fcntl.h>

namespace textio {

namespace {

// The file name at the end of `path`, as the program names its files.
QString nameOf(const QByteArray& path)
{
    return QFileInfo(QFile::decodeName(path)).fileName();
}

// True when `path` names one of the program's own files: a journal, a
// copy of old contents, a part of either, a save's temporary file.
bool programsOwn(const QByteArray& path)
{
    const QString name = nameOf(path);
    return name.endsWith(journalEnd()) || name.endsWith(partEnd()) || name.endsWith(copyEnd())
        || isTemporaryName(name);
}

// The calls in force, with the other program's move made once, right after
// the call that ends the chosen step.
class StepCalls final : public ForwardingFileCalls {
public:
    StepCalls(FileCalls& base, SaveStep step, std::function<void()> action)
        : ForwardingFileCalls(base)
        , step_(step)
        , action_(std::move(action))
    {
    }
    int open(int folder, const QByteArray& path, int flags, mode_t mode, int& fd) override
    {
        const int error = ForwardingFileCalls::open(folder, path, flags, mode, fd);
        if (error != 0)
            return error;
        const bool unnamed = (flags & O_TMPFILE) == O_TMPFILE;
        if (!unnamed && (flags & O_ACCMODE) != O_RDONLY && !programsOwn(path))
            engineersFiles_.insert(fd);
        if (endsStep(path, flags, unnamed))
            act();
        return 0;
    }
    int close(int fd) override
    {
        engineersFiles_.erase(fd);
        return ForwardingFileCalls::close(fd);
    }
    int syncData(int fd) override
    {
        const int error = ForwardingFileCalls::syncData(fd);
        if (error == 0 && step_ == SaveStep::FileWritten && engineersFiles_.contains(fd))
            act();
        return error;
    }

private:
    // True when the open of `path` with `flags` that succeeded ends the
    // chosen step.
    bool endsStep(const QByteArray& path, int flags, bool unnamed) const
    {
        const QString name = nameOf(path);
        switch (step_) {
        case SaveStep::LeftFileOpened:
            // Opened to be examined, never made.
            return !unnamed && (flags & O_CREAT) == 0 && (flags & O_DIRECTORY) == 0
                && (name.endsWith(partEnd()) || isTemporaryName(name));
        case SaveStep::JournalOpened:
            return !unnamed && (flags & O_ACCMODE) == O_RDWR && name.endsWith(journalEnd());
        case SaveStep::JournalCreated:
            return unnamed || ((flags & O_CREAT) != 0 && name.endsWith(partEnd()));
        case SaveStep::FileWritten:
            break;
        }
        return false;
    }
    // Once: the action stands for one other program's one move.
    void act()
    {
        if (!action_)
            return;
        const std::function<void()> action = std::exchange(action_, nullptr);
        action();
    }

    const SaveStep step_;
    std::function<void()> action_;
    std::set<int> engineersFiles_;  // open for writing under a name not the program's own
};

std::optional<StepCalls> g_stepCalls;
std::optional<ScopedFileCalls> g_stepInForce;

} // namespace

ScopedSaveStep::ScopedSaveStep(SaveStep step, std::function<void()> action)
{
    g_stepCalls.emplace(fileCalls(), step, std::move(action));
    g_stepInForce.emplace(*g_stepCalls);
}

ScopedSaveStep::~ScopedSaveStep()
{
    g_stepInForce.reset();
    g_stepCalls.reset();
}

} // namespace textio
