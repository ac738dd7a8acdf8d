#include "textio/file_handles.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <functional>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace textio {

namespace {

struct ActiveFault {
    WriteFault fault;
    qint64 afterBytes;
};
std::optional<ActiveFault> g_fault;

struct StepAction {
    SaveStep step;
    std::function<void()> action;
};
std::optional<StepAction> g_step;

// True when a process holds a POSIX record lock (fcntl or lockf) anywhere
// in the open file. An open file description lock conflicts with such a
// lock also when this very process holds it, so the probe sees them all.
bool heldByARecordLock(int fd)
{
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = 0;
    probe.l_len = 0;
    return ::fcntl(fd, F_OFD_GETLK, &probe) != 0 || probe.l_type != F_UNLCK;
}

} // namespace

FileCloser::~FileCloser()
{
    if (fd >= 0)
        ::close(fd);
}

ScopedWriteFault::ScopedWriteFault(WriteFault fault, qint64 afterBytes)
{
    g_fault = ActiveFault{fault, afterBytes};
}

ScopedWriteFault::~ScopedWriteFault()
{
    g_fault.reset();
}

ScopedSaveStep::ScopedSaveStep(SaveStep step, std::function<void()> action)
{
    g_step = StepAction{step, std::move(action)};
}

ScopedSaveStep::~ScopedSaveStep()
{
    g_step.reset();
}

void atSaveStep(SaveStep step)
{
    if (!g_step || g_step->step != step)
        return;
    // Once: the action stands for one other program's one move.
    const std::function<void()> action = std::move(g_step->action);
    g_step.reset();
    action();
}

std::optional<QByteArray> contentsOf(int fd)
{
    // Room for the size the file has, made once: a file read in growing
    // pieces would need up to twice its size while the room is moved.
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return std::nullopt;
    QByteArray contents(S_ISREG(st.st_mode) ? qsizetype(st.st_size) : 0, Qt::Uninitialized);
    qsizetype got = 0;
    for (;;) {
        if (got == contents.size())
            contents.resize(got + 64 * 1024);  // it grew meanwhile, or is no plain file
        const ssize_t n = ::pread(fd, contents.data() + got, static_cast<std::size_t>(contents.size() - got), got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0) {
            contents.truncate(got);
            return contents;
        }
        got += n;
    }
}

int writeFully(int fd, QByteArrayView bytes, qint64 offset)
{
    qint64 written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.data() + written,
                                   static_cast<std::size_t>(bytes.size() - written), offset + written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        written += n;
    }
    return 0;
}

int writeEngineersFile(int fd, QByteArrayView bytes, qint64 offset)
{
    // A disk with room for the bytes takes them; a program killed once it
    // has written them dies before it goes on.
    const bool reached = g_fault
        && (g_fault->fault == WriteFault::ProgramKilled ? offset + bytes.size() >= g_fault->afterBytes
                                                        : offset + bytes.size() > g_fault->afterBytes);
    if (!reached || g_fault->fault == WriteFault::NoLocks || g_fault->fault == WriteFault::NoUnnamedFiles)
        return writeFully(fd, bytes, offset);
    // The disk takes the bytes up to the fault, then fails.
    const qint64 room = std::max<qint64>(0, g_fault->afterBytes - offset);
    if (const int error = writeFully(fd, bytes.first(room), offset))
        return error;
    return g_fault->fault == WriteFault::NoSpace ? ENOSPC : EIO;
}

bool killedOnPurpose()
{
    return g_fault && g_fault->fault == WriteFault::ProgramKilled;
}

bool unnamedFilesRefused()
{
    return g_fault && g_fault->fault == WriteFault::NoUnnamedFiles;
}

int lockFile(int fd, int operation)
{
    if (g_fault && g_fault->fault == WriteFault::NoLocks)
        return ENOLCK;
    for (;;) {
        if (::flock(fd, operation) == 0)
            return 0;
        if (errno != EINTR)
            return errno;
    }
}

bool sameFileAt(int fd, const QByteArray& path, int folderFd)
{
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && ::fstatat(folderFd, path.constData(), &named, AT_SYMLINK_NOFOLLOW) == 0
        && open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

quint64 fileSystemOf(int fd)
{
    struct statfs st {};
    if (::fstatfs(fd, &st) != 0)
        return 0;
    quint64 id = 0;
    static_assert(sizeof st.f_fsid == sizeof id);
    std::memcpy(&id, &st.f_fsid, sizeof id);
    return id;
}

void removeLeftFile(const QByteArray& path, int folderFd)
{
    // Opened without following a link planted under the name, and without
    // blocking on a device or a pipe.
    const FileCloser file{
        ::openat(folderFd, path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK)};
    if (file.fd < 0)
        return;
    atSaveStep(SaveStep::LeftFileOpened);
    // A save holds a flock lock on its files until it is done: one that can
    // be locked (and holds no other lock) is written by no one. The lock is
    // kept until the name is gone.
    struct stat st {};
    if (::fstat(file.fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid()
        && lockFile(file.fd, LOCK_EX | LOCK_NB) == 0 && !heldByARecordLock(file.fd)
        // Still the file examined: not replaced under its name meanwhile.
        && sameFileAt(file.fd, path, folderFd))
        ::unlinkat(folderFd, path.constData(), 0);
}

int syncFolder(const QString& folder)
{
    const FileCloser opened{::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    return opened.fd >= 0 && ::fsync(opened.fd) == 0 ? 0 : errno;
}

qsizetype nameRoomIn(const QString& folder)
{
    const long longest = ::pathconf(QFile::encodeName(folder).constData(), _PC_NAME_MAX);
    return longest > 0 ? qsizetype(longest) : 255;
}

QString shortenedName(const QString& name, qsizetype maxBytes)
{
    QString shortened = name;
    while (!shortened.isEmpty() && QFile::encodeName(shortened).size() > maxBytes)
        shortened.chop(shortened.size() >= 2 && shortened.back().isLowSurrogate()
                               && shortened[shortened.size() - 2].isHighSurrogate()
                           ? 2
                           : 1);
    return shortened;
}

QString dataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

int makePrivateFolder(const QString& path)
{
    if (path.isEmpty())
        return ENOENT;
    const QString absolute = QDir::cleanPath(QDir(path).absolutePath());
    // The folders from the top down to `path`; each missing one is made.
    QStringList chain;
    for (QString at = absolute; at != QStringLiteral("/") && !at.isEmpty();
         at = QDir::cleanPath(at + QStringLiteral("/..")))
        chain.prepend(at);
    QStringList madeIn;  // the folders that got a new entry
    for (const QString& folder : chain) {
        const QByteArray name = QFile::encodeName(folder);
        struct stat st {};
        if (::stat(name.constData(), &st) == 0) {
            if (!S_ISDIR(st.st_mode))
                return ENOTDIR;
            continue;
        }
        if (errno != ENOENT)
            return errno;
        if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
            return errno;
        // The umask may have taken the owner's bits too.
        if (::chmod(name.constData(), 0700) != 0)
            return errno;
        madeIn.append(QDir::cleanPath(folder + QStringLiteral("/..")));
    }
    for (const QString& folder : std::as_const(madeIn)) {
        if (const int error = syncFolder(folder))
            return error;
    }
    struct stat st {};
    const QByteArray name = QFile::encodeName(absolute);
    if (::stat(name.constData(), &st) != 0)
        return errno;
    // Others' rights taken away; the owner's stay as they are.
    if (st.st_uid == ::geteuid() && (st.st_mode & 077) != 0
        && ::chmod(name.constData(), st.st_mode & 07700) != 0)
        return errno;
    return 0;
}

QString shownPath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString fileBusyMessage(const QString& path)
{
    return QStringLiteral("无法保存文件“%1”：另一个程序正在保存该文件，请稍后再试").arg(shownPath(path));
}

} // namespace textio
