#include "textio/save_journal.h"

#include "textio/file_handles.h"
#include "textio/textfile.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <variant>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

// How the journal decides that a file is "still as its save left it".
//
// An in-place save first lengthens a file that grows to its new length,
// then writes the new contents from the first byte on, and last cuts a file
// that shrinks to its new length. A restore of the old contents does the
// same with the old ones. The journal records the old and the new contents
// and the file's identity (device, inode and file system). Wherever a save
// or a restore dies, and in whatever order a power cut lets its pages reach
// the disk, the file has the old or the new length, and each of its bytes
// is the old or the new contents at that place, or a zero where the file
// was lengthened and the bytes did not follow. A file in any other state
// was written by someone else since: it is never overwritten. The file's
// time of change cannot serve: the save's last write is not known to the
// journal.
//
// The journal's bytes, each part checked as it is read:
//   "VTJ3", the head's length (4 bytes each, big-endian)
//   the head: the file's path, device, inode, file system, the save's
//             start and the two lengths (QDataStream, Qt 6.0)
//   SHA-256 of the above            (the head whole: the file is known)
//   the old contents, the new contents
//   SHA-256 of everything above     (the journal whole)
//   one byte: the state (saving, restoring, done), rewritten in place

namespace textio {

namespace {

constexpr quint32 kMagic = 0x56544a33;  // "VTJ3"
constexpr qint64 kPrefix = 8;           // the magic and the head's length
constexpr qint64 kSeal = 32;            // SHA-256
constexpr quint32 kMaxHead = 64 * 1024;
// The largest journal a save makes.
constexpr qint64 kMaxJournal = kPrefix + kMaxHead + kSeal + 2 * kMaxJournalledContents + kSeal + 1;

const QString kJournalEnd = QStringLiteral(".journal");
const QString kPartEnd = QStringLiteral(".part");
const QString kCopyEnd = QStringLiteral(".old");

QByteArray sha256(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// ------------------------------------------------------------ folders

// The journals' folder, the data folder's "saves", open: used only when it
// is a folder of the user's alone. A link or anything else under its name
// is never followed.
class JournalFolder {
public:
    // Opens it; `make`: makes it (and the data folder) where missing.
    explicit JournalFolder(bool make)
    {
        const QString data = dataFolder();
        if (data.isEmpty()) {
            error_ = ENOENT;
            return;
        }
        path_ = data + QStringLiteral("/saves");
        const QByteArray name = QFile::encodeName(path_);
        bool made = false;
        if (make) {
            if ((error_ = makePrivateFolder(data)) != 0)
                return;
            made = ::mkdir(name.constData(), 0700) == 0;
            if (!made && errno != EEXIST) {
                error_ = errno;
                return;
            }
        }
        fd_ = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd_ < 0) {
            error_ = errno;
            struct stat st {};
            if (::lstat(name.constData(), &st) == 0 && !S_ISDIR(st.st_mode))
                notOwn_ = S_ISLNK(st.st_mode) ? QStringLiteral("是一个链接") : QStringLiteral("不是文件夹");
            return;
        }
        struct stat st {};
        if (::fstat(fd_, &st) != 0) {
            error_ = errno;
        } else if (st.st_uid != ::geteuid()) {
            notOwn_ = QStringLiteral("不属于当前用户");
        } else if ((made || (st.st_mode & 077) != 0) && ::fchmod(fd_, made ? 0700 : st.st_mode & 07700) != 0) {
            // Others' rights taken away (a folder an earlier version made
            // under a lax umask); a new one private whatever the umask.
            error_ = errno;
        } else if (made) {
            error_ = syncFolder(data);
        }
        if (error_ != 0 || !notOwn_.isEmpty()) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~JournalFolder()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    JournalFolder(const JournalFolder&) = delete;
    JournalFolder& operator=(const JournalFolder&) = delete;

    int fd() const { return fd_; }
    QString path() const { return path_; }
    // There is none (and none was to be made).
    bool missing() const { return fd_ < 0 && notOwn_.isEmpty() && error_ == ENOENT; }
    // Why it cannot be used: not the user's alone, in words; else nothing.
    const QString& notOwn() const { return notOwn_; }
    int error() const { return error_; }
    // Why no journal can be written there, in words; nothing when one can.
    std::optional<QString> problem() const
    {
        if (!notOwn_.isEmpty())
            return QStringLiteral("“%1”%2，不是本用户专用的文件夹").arg(shownPath(path_), notOwn_);
        if (fd_ < 0)
            return reasonInWords(error_);
        return std::nullopt;
    }
    // The open folder, now the caller's to close.
    int release() { return std::exchange(fd_, -1); }

private:
    QString path_;
    int fd_ = -1;
    int error_ = 0;
    QString notOwn_;
};

// The names in the folder open as `folderFd` that end with `end`, sorted.
QStringList namesIn(int folderFd, const QString& end)
{
    QStringList names;
    const int listed = ::fcntl(folderFd, F_DUPFD_CLOEXEC, 0);
    DIR* dir = listed >= 0 ? ::fdopendir(listed) : nullptr;
    if (dir == nullptr) {
        if (listed >= 0)
            ::close(listed);
        return names;
    }
    ::rewinddir(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (name.endsWith(end) && name != end)
            names << name;
    }
    ::closedir(dir);
    names.sort();
    return names;
}

// The one journal name of a file: its name, shortened, and a digest of its
// whole path.
QString journalNameFor(const QString& folder, const QString& target)
{
    const QString digest = QString::fromLatin1(sha256(target.toUtf8()).left(8).toHex());
    const QString end = QLatin1Char('.') + digest + kJournalEnd;
    const qsizetype room = nameRoomIn(folder) - QFile::encodeName(end + kPartEnd).size();
    return shortenedName(QFileInfo(target).fileName(), room) + end;
}

// The n-th name in `folder` for a file kept at `stamp`: `name` shortened to
// leave room for ".", the time, "-n", `end` and a part's ending.
QString numberedName(const QString& folder, const QString& name, const QString& stamp,
                     const QString& end, int n)
{
    const QString tail = QLatin1Char('.') + stamp + (n == 0 ? QString() : QStringLiteral("-%1").arg(n)) + end;
    return shortenedName(name, nameRoomIn(folder) - QFile::encodeName(tail + kPartEnd).size()) + tail;
}

QString stampOf(const QDateTime& at)
{
    return at.toString(QStringLiteral("yyyyMMdd-HHmmss"));
}

// ------------------------------------------------------------ new files

// A new file of the user's alone in the folder open as `folderFd` that no
// one finds under a name before it is locked and whole: written unnamed
// (O_TMPFILE) and given its name once whole, or, on a file system that
// makes no unnamed file, written as "<name>.part", locked the moment it is
// there (a start removes only parts it can lock, and a part removed before
// the lock is made again). Not published, it is gone with this object.
class NewFile {
public:
    NewFile(int folderFd, const QString& name)
        : folderFd_(folderFd)
        , name_(QFile::encodeName(name))
    {
    }
    ~NewFile()
    {
        if (fd_ >= 0 && !published_ && !part_.isEmpty() && sameFileAt(fd_, part_, folderFd_))
            ::unlinkat(folderFd_, part_.constData(), 0);
        if (fd_ >= 0)
            ::close(fd_);
    }
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    // Makes it, locked; 0, or the error number.
    int create()
    {
        if (!unnamedFilesRefused()) {
            fd_ = ::openat(folderFd_, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
            if (fd_ >= 0) {
                atSaveStep(SaveStep::JournalCreated);
                return locked();
            }
            if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
                return errno;
        }
        part_ = name_ + QFile::encodeName(kPartEnd);
        for (int attempt = 0; attempt < 8; ++attempt) {
            fd_ = ::openat(folderFd_, part_.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
            if (fd_ < 0 && errno == EEXIST) {
                removeLeftFile(part_, folderFd_);  // a part a save that died left
                continue;
            }
            if (fd_ < 0)
                return errno;
            atSaveStep(SaveStep::JournalCreated);
            const int error = locked();
            // A start that found the part before the lock removed it: made again.
            if ((error == 0 || error == EWOULDBLOCK) && !sameFileAt(fd_, part_, folderFd_)) {
                ::close(std::exchange(fd_, -1));
                continue;
            }
            return error;
        }
        return EEXIST;
    }
    int fd() const { return fd_; }
    bool published() const { return published_; }
    // Gives it its name and puts the name on the disk; 0, or the error
    // number (EEXIST: the name is taken).
    int publish()
    {
        if (part_.isEmpty()) {
            char opened[32];
            std::snprintf(opened, sizeof opened, "/proc/self/fd/%d", fd_);
            if (::linkat(AT_FDCWD, opened, folderFd_, name_.constData(), AT_SYMLINK_FOLLOW) != 0
                && (errno != ENOENT || ::linkat(fd_, "", folderFd_, name_.constData(), AT_EMPTY_PATH) != 0))
                return errno;
        } else {
            if (::linkat(folderFd_, part_.constData(), folderFd_, name_.constData(), 0) != 0)
                return errno;
            ::unlinkat(folderFd_, part_.constData(), 0);
        }
        published_ = true;
        return ::fsync(folderFd_) == 0 ? 0 : errno;
    }
    // The open file, now the caller's to close.
    int release() { return std::exchange(fd_, -1); }

private:
    int locked() const
    {
        if (const int error = lockFile(fd_, LOCK_EX | LOCK_NB))
            return error;
        return ::fchmod(fd_, 0600) == 0 ? 0 : errno;
    }

    int folderFd_;
    QByteArray name_;
    QByteArray part_;
    int fd_ = -1;
    bool published_ = false;
};

// ------------------------------------------------------------ the journal's bytes

// The magic, the head's length and the head.
QByteArray headOf(const JournalRecord& r)
{
    QByteArray head;
    {
        QDataStream out(&head, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << r.target << r.device << r.inode << r.fileSystem << r.savedAt
            << quint64(r.old.size()) << quint64(r.written.size());
    }
    QByteArray prefix(kPrefix, Qt::Uninitialized);
    qToBigEndian(kMagic, prefix.data());
    qToBigEndian(quint32(head.size()), prefix.data() + 4);
    return prefix + head;
}

// Writes the journal piece by piece through `put` (0, or an error number),
// the contents as they are: nothing is copied but the head.
int writeJournal(const JournalRecord& r, const std::function<int(QByteArrayView)>& put)
{
    const QByteArray head = headOf(r);
    const QByteArray headSeal = sha256(head);
    QCryptographicHash all(QCryptographicHash::Sha256);
    for (QByteArrayView piece : {QByteArrayView(head), QByteArrayView(headSeal), QByteArrayView(r.old),
                                 QByteArrayView(r.written)}) {
        all.addData(piece);
        if (const int error = put(piece))
            return error;
    }
    const QByteArray seal = all.result();
    const char state = static_cast<char>(r.state);
    if (const int error = put(seal))
        return error;
    return put(QByteArrayView(&state, 1));
}

// Reads the open file from its first byte on.
class Reader {
public:
    explicit Reader(int fd)
        : fd_(fd)
    {
    }
    // The next `size` bytes into `to`; false at the end or on an error.
    bool read(char* to, qint64 size)
    {
        qint64 got = 0;
        while (got < size) {
            const ssize_t n = ::pread(fd_, to + got, static_cast<std::size_t>(size - got), at_ + got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                error_ = n < 0 ? errno : 0;
                return false;
            }
            got += n;
        }
        at_ += size;
        return true;
    }
    int error() const { return error_; }

private:
    int fd_;
    qint64 at_ = 0;
    int error_ = 0;
};

// Writes the state byte of the journal open as `fd` and flushes it.
int markState(int fd, JournalState state)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return errno;
    const char c = static_cast<char>(state);
    if (const int error = writeFully(fd, QByteArrayView(&c, 1), st.st_size - 1))
        return error;
    return ::fdatasync(fd) == 0 ? 0 : errno;
}

// The journal open as `fd` as `name` in the folder open as `folderFd` has
// served: marked done, so that no start takes it for a save that died, and
// removed. 0 once no start can take it so (marked, or its removal on the
// disk); else the error number.
int retire(int folderFd, const QByteArray& name, int fd)
{
    const int marked = markState(fd, JournalState::Done);
    const bool removed = sameFileAt(fd, name, folderFd) && ::unlinkat(folderFd, name.constData(), 0) == 0
        && ::fsync(folderFd) == 0;
    return marked == 0 || removed ? 0 : marked;
}

// ------------------------------------------------------------ settling

// True when `contents` are exactly the file's at `name` in the folder open
// as `folderFd`: a plain file of the user's, compared piece by piece.
bool holdsExactly(int folderFd, const QByteArray& name, const QByteArray& contents)
{
    const FileCloser file{::openat(folderFd, name.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK)};
    struct stat st {};
    if (file.fd < 0 || ::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()
        || st.st_size != contents.size())
        return false;
    Reader in(file.fd);
    QByteArray piece(64 * 1024, Qt::Uninitialized);
    for (qsizetype at = 0; at < contents.size(); at += piece.size()) {
        const qsizetype size = std::min(piece.size(), contents.size() - at);
        if (!in.read(piece.data(), size) || QByteArrayView(piece.data(), size) != contents.sliced(at, size))
            return false;
    }
    return true;
}

// Keeps the old contents of a file as a plain file of the user's in the
// data folder, named after the file and the time its save began, once for
// each journal: the copy an earlier start made serves again. It appears
// under its name only when whole. Its path, or nothing when it cannot be
// written.
std::optional<QString> keepAside(const JournalRecord& r)
{
    const QString folder = dataFolder();
    if (folder.isEmpty() || makePrivateFolder(folder) != 0)
        return std::nullopt;
    const FileCloser opened{::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (opened.fd < 0)
        return std::nullopt;
    const QString stamp = stampOf(QDateTime::fromMSecsSinceEpoch(r.savedAt));
    for (int n = 0; n < 100; ++n) {
        const QString name = numberedName(folder, QFileInfo(r.target).fileName(), stamp, kCopyEnd, n);
        const QString path = folder + QLatin1Char('/') + name;
        struct stat st {};
        if (::fstatat(opened.fd, QFile::encodeName(name).constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
            if (holdsExactly(opened.fd, QFile::encodeName(name), r.old))
                return path;
            continue;
        }
        NewFile copy(opened.fd, name);
        if (copy.create() != 0 || writeFully(copy.fd(), r.old, 0) != 0 || ::fdatasync(copy.fd()) != 0)
            return std::nullopt;
        const int error = copy.publish();
        if (error == EEXIST)
            continue;
        return error == 0 || copy.published() ? std::optional<QString>(path) : std::nullopt;
    }
    return std::nullopt;
}

// Moves a journal that cannot be used out of the way, under a name no
// start takes for a journal, without following or opening it; the new
// path, or the error number.
std::variant<QString, int> keepJournalAside(const JournalFolder& folder, const QString& journal)
{
    const QString stamp = stampOf(QDateTime::currentDateTime());
    const QByteArray from = QFile::encodeName(journal);
    for (int n = 0; n < 100; ++n) {
        const QString name = numberedName(folder.path(), journal, stamp, QStringLiteral(".unusable"), n);
        const QByteArray to = QFile::encodeName(name);
        int done = ::renameat2(folder.fd(), from.constData(), folder.fd(), to.constData(), RENAME_NOREPLACE);
        if (done != 0 && errno == EEXIST)
            continue;
        if (done != 0 && (errno == EINVAL || errno == ENOSYS)) {
            // A file system that cannot refuse to replace: look first.
            struct stat st {};
            if (::fstatat(folder.fd(), to.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0)
                continue;
            done = ::renameat(folder.fd(), from.constData(), folder.fd(), to.constData());
        }
        if (done != 0)
            return errno;
        ::fsync(folder.fd());
        return folder.path() + QLatin1Char('/') + name;
    }
    return EEXIST;
}

// Writes the old contents back over the file as a save writes, so that a
// restore that dies leaves a state the decision knows: the file lengthened
// first, the bytes from the first on, the file cut last, and flushed.
int putOldContents(int fd, const QByteArray& old, qint64 size)
{
    if (old.size() > size && ::ftruncate(fd, old.size()) != 0)
        return errno;
    if (const int error = writeEngineersFile(fd, old, 0))
        return error;
    return ::ftruncate(fd, old.size()) == 0 && ::fdatasync(fd) == 0 ? 0 : errno;
}

enum class Outcome {
    None,               // no journal, one settled by someone else meanwhile, or one done
    Busy,               // a save of the file is running
    Interrupted,        // the restore was killed on purpose: nothing more done
    Restored,           // the file has its old contents back
    KeptAside,          // the file changed since: left alone, the old contents kept
    NotRestored,        // the old contents could not be written back: kept, retried later
    OutOfReach,         // the file cannot be checked now: the journal waits
    JournalNotLocked,   // the journal cannot be locked now (not held by a save): it waits
    JournalUnreadable,  // the journal cannot be opened or read now: it waits
    Unusable,           // the journal cannot be used: moved aside, never followed
};

struct Settlement {
    Outcome outcome = Outcome::None;
    QString target;   // the file; empty where the journal does not tell it
    QString journal;  // the journal's path
    QString kept;     // where the old contents (or the unusable journal) are; empty: still in the journal
    QString why;      // why a journal cannot be used
    int error = 0;    // why the file could not be restored or checked, or the journal read or moved
};

// A journal open and locked by its settling: where it is, and what it holds.
struct OpenJournal {
    int folderFd;
    QByteArray name;
    int fd;
    JournalRecord& record;
};

// Settles the journal `j` for the file open as `targetFd` (locked by the
// caller) whose contents are `now`: the file gets its old contents back
// when its save (or a restore) left it so, else they are kept aside.
Settlement restoreOrKeep(Settlement s, const OpenJournal& j, int targetFd, const std::optional<QByteArray>& now)
{
    if (now && leftBySaveOrRestore(*now, j.record)) {
        if (j.record.state == JournalState::Saving) {
            s.error = markState(j.fd, JournalState::Restoring);
            if (s.error == 0)
                j.record.state = JournalState::Restoring;
        }
        if (s.error == 0)
            s.error = putOldContents(targetFd, j.record.old, now->size());
        if (s.error != 0 && killedOnPurpose()) {
            s.outcome = Outcome::Interrupted;
            return s;
        }
        if (s.error == 0) {
            retire(j.folderFd, j.name, j.fd);
            s.outcome = Outcome::Restored;
            return s;
        }
        // The journal stays: the next start or save of the file finishes
        // the restore. Meanwhile the engineer has the old contents.
        s.outcome = Outcome::NotRestored;
        s.kept = keepAside(j.record).value_or(QString());
        return s;
    }
    s.outcome = Outcome::KeptAside;
    if (const std::optional<QString> kept = keepAside(j.record)) {
        s.kept = *kept;
        retire(j.folderFd, j.name, j.fd);
    }
    return s;
}

// The journal at `s.journal` cannot be used: moved aside.
Settlement unusable(Settlement s, const JournalFolder& folder, const QString& why)
{
    s.outcome = Outcome::Unusable;
    s.why = why;
    const std::variant<QString, int> moved = keepJournalAside(folder, QFileInfo(s.journal).fileName());
    if (const QString* path = std::get_if<QString>(&moved))
        s.kept = *path;
    else
        s.error = std::get<int>(moved);
    return s;
}

// The journal, or its file, waits for a later start, for `error`.
Settlement waiting(Settlement s, Outcome outcome, int error)
{
    s.outcome = outcome;
    s.error = error;
    return s;
}

bool onRecordedFileSystem(quint64 device, quint64 fileSystem, const JournalRecord& r)
{
    return device == r.device || (fileSystem != 0 && fileSystem == r.fileSystem);
}

// True when the file the journal names is gone from a folder that is there
// (on the file's own file system): removed, not out of reach.
bool removedFromItsFolder(const JournalRecord& r)
{
    const FileCloser folder{::open(QFile::encodeName(QFileInfo(r.target).absolutePath()).constData(),
                                   O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    struct stat st {};
    return folder.fd >= 0 && ::fstat(folder.fd, &st) == 0
        && onRecordedFileSystem(static_cast<quint64>(st.st_dev), fileSystemOf(folder.fd), r);
}

// Whether the open file is the one the journal recorded.
Sameness samenessOf(int fd, const JournalRecord& r)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return Sameness::Other;
    return sameAsRecorded(static_cast<quint64>(st.st_dev), static_cast<quint64>(st.st_ino), fileSystemOf(fd), r);
}

// True when the file the journal names, which this user may not write now,
// is another file, or holds what no save or restore of it left: it was
// changed since.
bool changedSince(const JournalRecord& r)
{
    const FileCloser file{::open(QFile::encodeName(r.target).constData(),
                                 O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK)};
    if (file.fd < 0)
        return false;
    if (samenessOf(file.fd, r) == Sameness::Other)
        return true;
    const std::optional<QByteArray> now = contentsOf(file.fd);
    return now && !leftBySaveOrRestore(*now, r);
}

// The second step: what state the file of the usable journal `j` is in,
// and what to do.
Settlement settleFile(Settlement s, const OpenJournal& j)
{
    const FileCloser target{::open(QFile::encodeName(j.record.target).constData(),
                                   O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK)};
    if (target.fd < 0) {
        const int error = errno;
        // A link now at its name, or the file removed from its folder: the
        // file was changed since.
        if (error == ELOOP || (error == ENOENT && removedFromItsFolder(j.record))
            || (error != ENOENT && changedSince(j.record)))
            return restoreOrKeep(s, j, -1, std::nullopt);
        return waiting(s, Outcome::OutOfReach, error);
    }
    if (const int error = lockFile(target.fd, LOCK_EX | LOCK_NB))
        return waiting(s, error == EWOULDBLOCK ? Outcome::Busy : Outcome::OutOfReach, error);
    if (samenessOf(target.fd, j.record) == Sameness::Other)
        return restoreOrKeep(s, j, target.fd, std::nullopt);
    const std::optional<QByteArray> contents = contentsOf(target.fd);
    if (!contents)
        return waiting(s, Outcome::OutOfReach, errno);
    return restoreOrKeep(s, j, target.fd, contents);
}

// Settles the journal `name` in `folder`. The first step: is the journal
// one to follow (the user's own plain file, not held by a running save,
// whole); then the second, settleFile().
Settlement settle(const JournalFolder& folder, const QString& name)
{
    Settlement s;
    s.journal = folder.path() + QLatin1Char('/') + name;
    const QByteArray encoded = QFile::encodeName(name);
    const FileCloser journal{
        ::openat(folder.fd(), encoded.constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK)};
    if (journal.fd < 0) {
        switch (errno) {
        case ENOENT:
            return s;
        case ELOOP:
        case EISDIR:
        case ENXIO:
        case ENODEV:
            return unusable(s, folder, QStringLiteral("不是普通文件"));
        case EACCES:
        case EPERM:
            return unusable(s, folder, reasonInWords(errno));
        default:
            // Too many open files, a read error: a passing reason.
            return waiting(s, Outcome::JournalUnreadable, errno);
        }
    }
    atSaveStep(SaveStep::JournalOpened);
    struct stat st {};
    if (::fstat(journal.fd, &st) != 0)
        return waiting(s, Outcome::JournalUnreadable, errno);
    if (!S_ISREG(st.st_mode))
        return unusable(s, folder, QStringLiteral("不是普通文件"));
    if (st.st_uid != ::geteuid())
        return unusable(s, folder, QStringLiteral("不属于当前用户"));
    if ((st.st_mode & 022) != 0)
        return unusable(s, folder, QStringLiteral("其他用户可以改写"));
    // Only a lock another holds means a running save; a lock that cannot
    // be taken for another reason is told, and the journal waits.
    const int notLocked = lockFile(journal.fd, LOCK_EX | LOCK_NB);
    if (notLocked == EWOULDBLOCK)
        return waiting(s, Outcome::Busy, 0);
    // Settled by someone else between the look and the lock.
    if (!sameFileAt(journal.fd, encoded, folder.fd()))
        return s;
    JournalReading reading = readJournal(journal.fd);
    s.target = reading.record.target;
    switch (reading.kind) {
    case JournalReading::TooLarge:
        return unusable(s, folder, QStringLiteral("大于任何保存所写的记录"));
    case JournalReading::Damaged:
        return unusable(s, folder, QStringLiteral("内容不完整或已损坏"));
    case JournalReading::Unreadable:
        return waiting(s, Outcome::JournalUnreadable, reading.error);
    case JournalReading::Whole:
        break;
    }
    if (notLocked != 0)
        return waiting(s, Outcome::JournalNotLocked, notLocked);
    if (reading.record.state == JournalState::Done) {
        retire(folder.fd(), encoded, journal.fd);
        return s;
    }
    return settleFile(s, OpenJournal{folder.fd(), encoded, journal.fd, reading.record});
}

// What the engineer is told of a settled journal; nothing when there is
// nothing to tell.
std::optional<QString> settlementMessage(const Settlement& s)
{
    const QString interrupted = QStringLiteral("上次保存文件“%1”时程序意外中断，").arg(shownPath(s.target));
    switch (s.outcome) {
    case Outcome::Restored:
        return interrupted + QStringLiteral("该文件已恢复为保存前的内容。");
    case Outcome::KeptAside:
        if (s.kept.isEmpty())
            return interrupted + QStringLiteral("此后该文件已被改动，未予恢复；保存前的原内容暂时无法另存为文件，仍保留在程序的保存记录中，下次启动时将再次尝试。");
        return interrupted + QStringLiteral("此后该文件已被改动，未予恢复；保存前的原内容在“%1”。").arg(shownPath(s.kept));
    case Outcome::NotRestored:
        if (s.kept.isEmpty())
            return interrupted + QStringLiteral("无法恢复该文件（%1）；保存前的原内容仍保留在程序的保存记录中，下次启动时将再次恢复。")
                .arg(reasonInWords(s.error));
        return interrupted + QStringLiteral("无法恢复该文件（%1）；保存前的原内容在“%2”，下次启动时将再次恢复。")
            .arg(reasonInWords(s.error), shownPath(s.kept));
    case Outcome::OutOfReach:
        return interrupted + QStringLiteral("现在无法检查或写入该文件（%1），未予恢复；保存前的原内容仍保留，下次启动时将再次检查。")
            .arg(reasonInWords(s.error));
    case Outcome::JournalNotLocked:
        return interrupted + QStringLiteral("现在无法锁定其保存记录（%1），未予恢复；保存前的原内容仍保留，下次启动时将再次检查。")
            .arg(reasonInWords(s.error));
    case Outcome::JournalUnreadable:
        return QStringLiteral("数据文件夹中的保存记录“%1”现在无法读取（%2），未予处理，下次启动时将再次检查。")
            .arg(shownPath(s.journal), reasonInWords(s.error));
    case Outcome::Unusable: {
        // The file is named wherever the journal's head still tells it.
        const QString head = s.target.isEmpty()
            ? QStringLiteral("数据文件夹中的保存记录“%1”").arg(shownPath(s.journal))
            : interrupted + QStringLiteral("该文件可能只写入了一部分；其保存记录“%1”").arg(shownPath(s.journal));
        if (s.kept.isEmpty())
            return head + QStringLiteral("无法使用（%1），未予处理，也无法移开（%2）。").arg(s.why, reasonInWords(s.error));
        return head + QStringLiteral("无法使用（%1），未予处理，已改名为“%2”保留。").arg(s.why, shownPath(s.kept));
    }
    case Outcome::None:
    case Outcome::Busy:
    case Outcome::Interrupted:
        break;
    }
    return std::nullopt;
}

} // namespace

Sameness sameAsRecorded(quint64 device, quint64 inode, quint64 fileSystem, const JournalRecord& r)
{
    if (!onRecordedFileSystem(device, fileSystem, r))
        return Sameness::Unknown;
    return inode == r.inode ? Sameness::Same : Sameness::Other;
}

QByteArray encodeJournal(const JournalRecord& record)
{
    QByteArray bytes;
    writeJournal(record, [&](QByteArrayView piece) {
        bytes += piece;
        return 0;
    });
    return bytes;
}

JournalReading readJournal(int fd)
{
    JournalReading reading;
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return {JournalReading::Unreadable, {}, errno};
    const qint64 size = st.st_size;
    if (size > kMaxJournal)
        return {JournalReading::TooLarge, {}, 0};
    Reader in(fd);
    // Wrong bytes make the journal damaged; a read that fails, unreadable.
    const auto failed = [&] {
        if (in.error() != 0) {
            reading.kind = JournalReading::Unreadable;
            reading.error = in.error();
        }
        reading.record.old.clear();
        reading.record.written.clear();
        return reading;
    };
    QByteArray head(kPrefix, Qt::Uninitialized);
    if (size < kPrefix + kSeal || !in.read(head.data(), kPrefix))
        return failed();
    const quint32 headSize = qFromBigEndian<quint32>(head.constData() + 4);
    if (qFromBigEndian<quint32>(head.constData()) != kMagic || headSize > kMaxHead
        || kPrefix + headSize + kSeal > size)
        return failed();
    head.resize(kPrefix + headSize + kSeal);
    if (!in.read(head.data() + kPrefix, headSize + kSeal)
        || sha256(head.first(kPrefix + headSize)) != head.sliced(kPrefix + headSize))
        return failed();
    JournalRecord& r = reading.record;
    quint64 oldSize = 0;
    quint64 newSize = 0;
    {
        QDataStream fields(head.sliced(kPrefix, headSize));
        fields.setVersion(QDataStream::Qt_6_0);
        fields >> r.target >> r.device >> r.inode >> r.fileSystem >> r.savedAt >> oldSize >> newSize;
        if (fields.status() != QDataStream::Ok || !fields.atEnd() || !QDir::isAbsolutePath(r.target)) {
            r = {};
            return failed();
        }
    }
    // From here on the head is whole: the file is known, whatever else is wrong.
    if (oldSize > quint64(kMaxJournalledContents) || newSize > quint64(kMaxJournalledContents)
        || quint64(size) != quint64(kPrefix + headSize + 2 * kSeal + 1) + oldSize + newSize)
        return failed();
    QCryptographicHash all(QCryptographicHash::Sha256);
    all.addData(head);
    for (QByteArray* contents : {&r.old, &r.written}) {
        *contents = QByteArray(qsizetype(contents == &r.old ? oldSize : newSize), Qt::Uninitialized);
        if (!in.read(contents->data(), contents->size()))
            return failed();
        all.addData(*contents);
    }
    char tail[kSeal + 1];
    if (!in.read(tail, sizeof tail) || all.result() != QByteArrayView(tail, kSeal)
        || tail[kSeal] < char(JournalState::Saving) || tail[kSeal] > char(JournalState::Done))
        return failed();
    r.state = JournalState(tail[kSeal]);
    reading.kind = JournalReading::Whole;
    return reading;
}

JournalReading decodeJournal(const QByteArray& bytes)
{
    const FileCloser memory{::memfd_create("journal", MFD_CLOEXEC)};
    if (memory.fd < 0 || writeFully(memory.fd, bytes, 0) != 0)
        return {JournalReading::Unreadable, {}, errno};
    return readJournal(memory.fd);
}

bool leftBySaveOrRestore(QByteArrayView now, const JournalRecord& r)
{
    const qsizetype oldSize = r.old.size();
    const qsizetype newSize = r.written.size();
    if (now.size() != oldSize && now.size() != newSize)
        return false;
    // Zeros stand only where a growing save, or a restore, lengthened the
    // file before writing.
    const qsizetype zerosFrom = std::min(oldSize, newSize);
    const qsizetype zerosTo = newSize > oldSize || r.state == JournalState::Restoring ? std::max(oldSize, newSize) : 0;
    for (qsizetype i = 0; i < now.size(); ++i) {
        const char c = now[i];
        if ((i < oldSize && c == r.old[i]) || (i < newSize && c == r.written[i])
            || (c == 0 && i >= zerosFrom && i < zerosTo))
            continue;
        return false;
    }
    return true;
}

QStringList recoverInterruptedSaves()
{
    QStringList messages;
    const JournalFolder folder(false);
    if (folder.missing())
        return messages;
    if (folder.fd() < 0) {
        if (!folder.notOwn().isEmpty())
            messages << QStringLiteral("数据文件夹中的“%1”%2，不是本用户专用的文件夹，其中的保存记录未予处理；在此之前，不能写入的文件夹中的文件无法保存。")
                            .arg(shownPath(folder.path()), folder.notOwn());
        else
            messages << QStringLiteral("数据文件夹中的“%1”现在无法打开（%2），其中的保存记录未予处理，下次启动时将再次检查。")
                            .arg(shownPath(folder.path()), reasonInWords(folder.error()));
        return messages;
    }
    // What saves and starts that died left half written: journals and
    // copies of old contents under their part names.
    for (const QString& name : namesIn(folder.fd(), kJournalEnd + kPartEnd))
        removeLeftFile(QFile::encodeName(name), folder.fd());
    const FileCloser data{::open(QFile::encodeName(dataFolder()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (data.fd >= 0) {
        for (const QString& name : namesIn(data.fd, kCopyEnd + kPartEnd))
            removeLeftFile(QFile::encodeName(name), data.fd);
    }
    for (const QString& name : namesIn(folder.fd(), kJournalEnd)) {
        if (const std::optional<QString> message = settlementMessage(settle(folder, name)))
            messages << *message;
    }
    return messages;
}

std::optional<QString> settleBeforeSave(const QString& target)
{
    // No journal is followed from a folder that is not the user's alone;
    // an in-place save that needs one says why it cannot write it.
    const JournalFolder folder(false);
    if (folder.fd() < 0)
        return std::nullopt;
    const Settlement s = settle(folder, journalNameFor(folder.path(), target));
    switch (s.outcome) {
    case Outcome::None:
    case Outcome::Restored:
        return std::nullopt;
    case Outcome::Busy:
        return fileBusyMessage(target);
    case Outcome::Interrupted:
        return QStringLiteral("无法保存文件“%1”：程序已中断").arg(shownPath(target));
    case Outcome::KeptAside:
    case Outcome::NotRestored:
    case Outcome::OutOfReach:
    case Outcome::JournalNotLocked:
    case Outcome::JournalUnreadable:
    case Outcome::Unusable:
        break;
    }
    return *settlementMessage(s) + QStringLiteral("本次未保存，请核对后再保存。");
}

SaveJournal::~SaveJournal()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (folderFd_ >= 0)
        ::close(folderFd_);
}

std::optional<QString> SaveJournal::begin(const QString& target, int targetFd, const QByteArray& old,
                                          const QByteArray& bytes)
{
    JournalFolder folder(true);
    if (std::optional<QString> problem = folder.problem())
        return problem;
    struct stat st {};
    if (::fstat(targetFd, &st) != 0)
        return reasonInWords(errno);
    record_ = {target,
               static_cast<quint64>(st.st_dev),
               static_cast<quint64>(st.st_ino),
               fileSystemOf(targetFd),
               QDateTime::currentMSecsSinceEpoch(),
               old,
               bytes,
               JournalState::Saving};
    const QString name = journalNameFor(folder.path(), target);
    folderFd_ = folder.release();
    name_ = QFile::encodeName(name);
    // Written whole, locked, before it has its name: no start finds it
    // half written or unlocked.
    NewFile journal(folderFd_, name);
    int error = journal.create();
    qint64 at = 0;
    if (error == 0) {
        error = writeJournal(record_, [&](QByteArrayView piece) {
            const int failed = writeFully(journal.fd(), piece, at);
            at += piece.size();
            return failed;
        });
    }
    if (error == 0 && ::fdatasync(journal.fd()) != 0)
        error = errno;
    if (error == 0)
        error = journal.publish();
    if (error != 0) {
        // Named but not surely on the disk: the file stays untouched, and
        // the journal is retired so that no start takes it for a save.
        if (journal.published())
            retire(folderFd_, name_, journal.fd());
        return reasonInWords(error);
    }
    fd_ = journal.release();
    return std::nullopt;
}

int SaveJournal::end()
{
    if (const int error = retire(folderFd_, name_, fd_))
        return error;
    ::close(std::exchange(fd_, -1));
    return 0;
}

std::optional<QString> SaveJournal::rollBack(int targetFd)
{
    const FileCloser journal{std::exchange(fd_, -1)};
    const std::optional<QByteArray> now = contentsOf(targetFd);
    if (!now)
        return QStringLiteral("；该文件现在无法读回，原内容仍保留在程序的保存记录中，下次启动时将再次检查并恢复");
    Settlement s;
    s.target = record_.target;
    s = restoreOrKeep(s, OpenJournal{folderFd_, name_, journal.fd, record_}, targetFd, now);
    if (s.outcome == Outcome::Restored)
        return std::nullopt;
    if (s.kept.isEmpty())
        return QStringLiteral("；原内容仍保留在程序的保存记录中，下次启动时将恢复该文件");
    return QStringLiteral("；原内容保存在“%1”").arg(shownPath(s.kept));
}

} // namespace textio
