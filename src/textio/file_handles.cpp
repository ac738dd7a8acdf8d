#include "textio/file_handles.h"

#include "textio/textfile.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace textio {

namespace {

struct ActiveFault {
    WriteFault fault;
    qint64 afterBytes;
};
std::optional<ActiveFault> g_fault;

// The calls of a file system that takes no lock, or makes no unnamed file,
// or of a program killed part-way, over the calls in force: put in their
// place while such a fault stands. Once the program is killed, no call
// reaches the files any more: each fails as an input/output error and
// changes nothing, as a killed program changes nothing more. Its open
// files are closed, as the system closes a killed program's files (and
// lets go of their locks).
class FaultyCalls final : public ForwardingFileCalls {
public:
    FaultyCalls(FileCalls& base, WriteFault fault)
        : ForwardingFileCalls(base)
        , fault_(fault)
    {
    }
    void kill() { killed_ = true; }
    bool killed() const { return killed_; }
    int open(int folder, const QByteArray& path, int flags, mode_t mode, int& fd) override
    {
        if (!killed_ && fault_ == WriteFault::NoUnnamedFiles && (flags & O_TMPFILE) == O_TMPFILE)
            return EOPNOTSUPP;
        return ForwardingFileCalls::open(folder, path, flags, mode, fd);
    }
    int lock(int fd, int operation) override
    {
        if (!killed_ && fault_ == WriteFault::NoLocks)
            return ENOLCK;
        return ForwardingFileCalls::lock(fd, operation);
    }
    int recordLocked(int fd, bool& held) override
    {
        if (!killed_ && fault_ == WriteFault::NoLocks)
            return ENOLCK;
        return ForwardingFileCalls::recordLocked(fd, held);
    }

private:
    int refusal() const override { return killed_ ? EIO : 0; }

    WriteFault fault_;
    bool killed_ = false;
};
std::optional<FaultyCalls> g_faultyCalls;
std::optional<ScopedFileCalls> g_faultyInForce;

// True when a process holds a POSIX record lock (fcntl or lockf) anywhere
// in the open file, or none can be shown absent.
bool heldByARecordLock(int fd)
{
    bool held = true;
    return fileCalls().recordLocked(fd, held) != 0 || held;
}

} // namespace

FileCloser::~FileCloser()
{
    if (fd >= 0)
        fileCalls().close(fd);
}

ScopedWriteFault::ScopedWriteFault(WriteFault fault, qint64 afterBytes)
{
    g_fault = ActiveFault{fault, afterBytes};
    if (fault == WriteFault::NoLocks || fault == WriteFault::NoUnnamedFiles || fault == WriteFault::ProgramKilled) {
        g_faultyCalls.emplace(fileCalls(), fault);
        g_faultyInForce.emplace(*g_faultyCalls);
    }
}

ScopedWriteFault::~ScopedWriteFault()
{
    g_faultyInForce.reset();
    g_faultyCalls.reset();
    g_fault.reset();
}

bool ScopedWriteFault::killed() const
{
    return g_faultyCalls && g_faultyCalls->killed();
}

int contentsOf(int fd, QByteArray& contents, qint64 largest)
{
    // Room for the size the file has, made once: a file read in growing
    // pieces would need up to twice its size while the room is moved.
    struct stat st {};
    if (const int error = fileCalls().status(fd, st))
        return error;
    const qint64 size = S_ISREG(st.st_mode) ? qint64(st.st_size) : 0;
    if (size > largest)
        return EFBIG;
    contents = QByteArray(qsizetype(size), Qt::Uninitialized);
    qsizetype got = 0;
    for (;;) {
        if (got == contents.size()) {
            // It grew meanwhile, or is no plain file.
            if (got > largest)
                return EFBIG;
            // One byte past `largest` at most: enough to tell it is larger.
            const qint64 more = largest - got >= 64 * 1024 ? 64 * 1024 : largest - got + 1;
            contents.resize(qsizetype(got + more));
        }
        qint64 n = 0;
        if (const int error = fileCalls().read(fd, contents.data() + got, contents.size() - got, got, n);
            error == EINTR)
            continue;
        else if (error != 0)
            return error;
        if (n == 0) {
            contents.truncate(got);
            return 0;
        }
        got += n;
    }
}

int writeFully(int fd, QByteArrayView bytes, qint64 offset)
{
    qint64 written = 0;
    while (written < bytes.size()) {
        qint64 n = 0;
        const int error = fileCalls().write(fd, bytes.data() + written, bytes.size() - written,
                                            offset + written, n);
        if (error == EINTR)
            continue;
        if (error != 0)
            return error;
        if (n <= 0)
            return EIO;
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
    // The disk takes the bytes up to the fault, then fails; a killed
    // program reaches no file after them.
    const qint64 room = std::max<qint64>(0, g_fault->afterBytes - offset);
    if (const int error = writeFully(fd, bytes.first(room), offset))
        return error;
    if (g_fault->fault == WriteFault::ProgramKilled)
        g_faultyCalls->kill();
    return g_fault->fault == WriteFault::NoSpace ? ENOSPC : EIO;
}

int lockFile(int fd, int operation)
{
    return fileCalls().lock(fd, operation);
}

bool sameFileAt(int fd, const QByteArray& path, int folderFd)
{
    struct stat open {};
    struct stat named {};
    return fileCalls().status(fd, open) == 0
        && fileCalls().statusAt(folderFd, path, AT_SYMLINK_NOFOLLOW, named) == 0 && open.st_dev == named.st_dev
        && open.st_ino == named.st_ino;
}

FileSystemInfo fileSystemOf(int fd)
{
    FileSystemInfo info;
    if (fileCalls().fileSystem(fd, info) != 0)
        return {};
    return info;
}

namespace {

// The folder at `path` open for its entries and its mode; -1 when it cannot
// be opened (`error` why).
int openFolder(const QByteArray& path, int& error)
{
    int fd = -1;
    error = fileCalls().open(AT_FDCWD, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0, fd);
    return error == 0 ? fd : -1;
}

// Gives the folder at `path` the mode `mode`; 0, or the error number.
int changeFolderMode(const QByteArray& path, mode_t mode)
{
    int error = 0;
    const FileCloser folder{openFolder(path, error)};
    return error != 0 ? error : fileCalls().changeMode(folder.fd, mode);
}

} // namespace

void removeLeftFile(const QByteArray& path, int folderFd)
{
    // Opened without following a link planted under the name, and without
    // blocking on a device or a pipe.
    int opened = -1;
    if (fileCalls().open(folderFd, path, O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0, opened) != 0)
        return;
    const FileCloser file{opened};
    // A save holds a flock lock on its files until it is done: one that can
    // be locked (and holds no other lock) is written by no one. The lock is
    // kept until the name is gone.
    struct stat st {};
    if (fileCalls().status(file.fd, st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid()
        && lockFile(file.fd, LOCK_EX | LOCK_NB) == 0 && !heldByARecordLock(file.fd)
        // Still the file examined: not replaced under its name meanwhile.
        && sameFileAt(file.fd, path, folderFd))
        fileCalls().unlink(folderFd, path, 0);
}

int syncFolder(const QString& folder)
{
    int error = 0;
    const FileCloser opened{openFolder(QFile::encodeName(folder), error)};
    return error != 0 ? error : fileCalls().sync(opened.fd);
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
        const int looked = fileCalls().statusAt(AT_FDCWD, name, 0, st);
        if (looked == 0) {
            if (!S_ISDIR(st.st_mode))
                return ENOTDIR;
            continue;
        }
        if (looked != ENOENT)
            return looked;
        if (const int error = fileCalls().makeFolder(AT_FDCWD, name, 0700); error != 0 && error != EEXIST)
            return error;
        // The umask may have taken the owner's bits too.
        if (const int error = changeFolderMode(name, 0700))
            return error;
        madeIn.append(QDir::cleanPath(folder + QStringLiteral("/..")));
    }
    for (const QString& folder : std::as_const(madeIn)) {
        if (const int error = syncFolder(folder))
            return error;
    }
    struct stat st {};
    const QByteArray name = QFile::encodeName(absolute);
    if (const int error = fileCalls().statusAt(AT_FDCWD, name, 0, st))
        return error;
    // Others' rights taken away; the owner's stay as they are.
    if (st.st_uid == ::geteuid() && (st.st_mode & 077) != 0)
        return changeFolderMode(name, st.st_mode & 07700);
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

QString writeFailedMessage(const QString& path, int error)
{
    return QStringLiteral("写入文件“%1”失败：%2").arg(shownPath(path), reasonInWords(error));
}

} // namespace textio
