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
class StepCalls final : public FileCalls {
public:
    StepCalls(FileCalls& base, SaveStep step, std::function<void()> action)
        : base_(base)
        , step_(step)
        , action_(std::move(action))
    {
    }
    int open(int folder, const QByteArray& path, int flags, mode_t mode, int& fd) override
    {
        const int error = base_.open(folder, path, flags, mode, fd);
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
        return base_.close(fd);
    }
    int read(int fd, char* to, qint64 size, qint64 offset, qint64& done) override
    {
        return base_.read(fd, to, size, offset, done);
    }
    int write(int fd, const char* from, qint64 size, qint64 offset, qint64& done) override
    {
        return base_.write(fd, from, size, offset, done);
    }
    int sync(int fd) override { return base_.sync(fd); }
    int syncData(int fd) override
    {
        const int error = base_.syncData(fd);
        if (error == 0 && step_ == SaveStep::FileWritten && engineersFiles_.contains(fd))
            act();
        return error;
    }
    int truncate(int fd, qint64 size) override { return base_.truncate(fd, size); }
    int linkOpen(int fd, int folder, const QByteArray& name) override { return base_.linkOpen(fd, folder, name); }
    int link(int fromFolder, const QByteArray& from, int toFolder, const QByteArray& to) override
    {
        return base_.link(fromFolder, from, toFolder, to);
    }
    int rename(int fromFolder, const QByteArray& from, int toFolder, const QByteArray& to,
               bool noReplace) override
    {
        return base_.rename(fromFolder, from, toFolder, to, noReplace);
    }
    int unlink(int folder, const QByteArray& name, int flags) override { return base_.unlink(folder, name, flags); }
    int makeFolder(int folder, const QByteArray& name, mode_t mode) override
    {
        return base_.makeFolder(folder, name, mode);
    }
    int lock(int fd, int operation) override { return base_.lock(fd, operation); }
    int recordLocked(int fd, bool& held) override { return base_.recordLocked(fd, held); }
    int status(int fd, struct stat& st) override { return base_.status(fd, st); }
    int statusAt(int folder, const QByteArray& path, int flags, struct stat& st) override
    {
        return base_.statusAt(folder, path, flags, st);
    }
    int fileSystem(int fd, FileSystemInfo& info) override { return base_.fileSystem(fd, info); }
    int changeMode(int fd, mode_t mode) override { return base_.changeMode(fd, mode); }
    int names(int folder, std::vector<QByteArray>& names) override { return base_.names(folder, names); }

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

    FileCalls& base_;
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
