#include "textio/journal_files.h"

#include "textio/file_calls.h"
#include "textio/file_handles.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace textio {

namespace {

// The folder `path` open for its entries, or -1 (`error` why).
int openFolder(int at, const QByteArray& path, int flags, int& error)
{
    int fd = -1;
    error = fileCalls().open(at, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC | flags, 0, fd);
    return error == 0 ? fd : -1;
}

// The n-th name in `folder` for a file kept at `stamp`: `name` shortened to
// leave room for ".", the time, "-n", `end` and a part's ending.
QString numberedName(const QString& folder, const QString& name, const QString& stamp,
                     const QString& end, int n)
{
    const QString tail = QLatin1Char('.') + stamp + (n == 0 ? QString() : QStringLiteral("-%1").arg(n)) + end;
    return shortenedName(name, nameRoomIn(folder) - QFile::encodeName(tail + partEnd()).size()) + tail;
}

// The time `msecs` (since 1970) as names of kept files show it, in UTC: a
// start in another time zone names the same moment alike.
QString stampOf(qint64 msecs)
{
    return QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC).toString(QStringLiteral("yyyyMMdd-HHmmss"));
}

// True when `contents` are exactly the file's at `name` in the folder open
// as `folderFd`: a plain file of the user's, compared piece by piece.
bool holdsExactly(int folderFd, const QByteArray& name, const QByteArray& contents)
{
    int opened = -1;
    if (fileCalls().open(folderFd, name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0, opened) != 0)
        return false;
    const FileCloser file{opened};
    struct stat st {};
    if (fileCalls().status(file.fd, st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()
        || st.st_size != contents.size())
        return false;
    QByteArray piece(64 * 1024, Qt::Uninitialized);
    for (qsizetype at = 0; at < contents.size();) {
        qint64 got = 0;
        const int error = fileCalls().read(file.fd, piece.data(), std::min(piece.size(), contents.size() - at), at, got);
        if (error == EINTR)
            continue;
        if (error != 0 || got <= 0 || QByteArrayView(piece.data(), got) != contents.sliced(at, got))
            return false;
        at += got;
    }
    return true;
}

} // namespace

QString journalEnd()
{
    return QStringLiteral(".journal");
}

QString partEnd()
{
    return QStringLiteral(".part");
}

QString copyEnd()
{
    return QStringLiteral(".old");
}

// ------------------------------------------------------------ the folder

JournalFolder::JournalFolder(FolderUse use)
{
    const QString data = dataFolder();
    if (data.isEmpty()) {
        error_ = ENOENT;
        return;
    }
    path_ = data + QStringLiteral("/saves");
    const QByteArray name = QFile::encodeName(path_);
    bool made = false;
    if (use == FolderUse::Make) {
        if ((error_ = makePrivateFolder(data)) != 0)
            return;
        const int error = fileCalls().makeFolder(AT_FDCWD, name, 0700);
        made = error == 0;
        if (!made && error != EEXIST) {
            error_ = error;
            return;
        }
    }
    fd_ = openFolder(AT_FDCWD, name, O_NOFOLLOW, error_);
    if (fd_ < 0) {
        struct stat st {};
        if (fileCalls().statusAt(AT_FDCWD, name, AT_SYMLINK_NOFOLLOW, st) == 0 && !S_ISDIR(st.st_mode))
            fault_ = S_ISLNK(st.st_mode) ? FolderFault::Link : FolderFault::NotFolder;
        return;
    }
    struct stat st {};
    error_ = fileCalls().status(fd_, st);
    if (error_ == 0 && st.st_uid != ::geteuid())
        fault_ = FolderFault::NotOwn;
    // Others' rights taken away (a folder an earlier version made under a
    // lax umask); a new one private whatever the umask.
    if (error_ == 0 && fault_ == FolderFault::None && (made || (st.st_mode & 077) != 0))
        error_ = fileCalls().changeMode(fd_, made ? 0700 : st.st_mode & 07700);
    if (error_ == 0 && fault_ == FolderFault::None && made)
        error_ = syncFolder(data);
    if (error_ != 0 || fault_ != FolderFault::None)
        fileCalls().close(std::exchange(fd_, -1));
}

JournalFolder::~JournalFolder()
{
    if (fd_ >= 0)
        fileCalls().close(fd_);
}

int JournalFolder::release()
{
    return std::exchange(fd_, -1);
}

// ------------------------------------------------------------ names

QStringList namesIn(int folderFd, const QString& end)
{
    QStringList names;
    std::vector<QByteArray> all;
    fileCalls().names(folderFd, all);
    for (const QByteArray& encoded : all) {
        const QString name = QFile::decodeName(encoded);
        if (name.endsWith(end) && name != end)
            names << name;
    }
    names.sort();
    return names;
}

QString journalNameFor(const QString& folder, const QString& target)
{
    const QString digest = QString::fromLatin1(
        QCryptographicHash::hash(target.toUtf8(), QCryptographicHash::Sha256).left(8).toHex());
    const QString end = QLatin1Char('.') + digest + journalEnd();
    const qsizetype room = nameRoomIn(folder) - QFile::encodeName(end + partEnd()).size();
    return shortenedName(QFileInfo(target).fileName(), room) + end;
}

void removeLeftParts(const JournalFolder& folder)
{
    for (const QString& name : namesIn(folder.fd(), journalEnd() + partEnd()))
        removeLeftFile(QFile::encodeName(name), folder.fd());
    int error = 0;
    const FileCloser data{openFolder(AT_FDCWD, QFile::encodeName(dataFolder()), 0, error)};
    if (data.fd >= 0) {
        for (const QString& name : namesIn(data.fd, copyEnd() + partEnd()))
            removeLeftFile(QFile::encodeName(name), data.fd);
    }
}

// ------------------------------------------------------------ new files

NewFile::NewFile(int folderFd, const QString& name)
    : folderFd_(folderFd)
    , name_(QFile::encodeName(name))
{
}

NewFile::~NewFile()
{
    if (fd_ >= 0 && !published_ && !part_.isEmpty() && sameFileAt(fd_, part_, folderFd_))
        fileCalls().unlink(folderFd_, part_, 0);
    if (fd_ >= 0)
        fileCalls().close(fd_);
}

int NewFile::create()
{
    const int unnamed = fileCalls().open(folderFd_, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600, fd_);
    if (unnamed == 0) {
        return locked();
    }
    fd_ = -1;
    if (unnamed != EOPNOTSUPP && unnamed != EISDIR && unnamed != EINVAL)
        return unnamed;
    part_ = name_ + QFile::encodeName(partEnd());
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int error = fileCalls().open(folderFd_, part_, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                           0600, fd_);
        if (error == EEXIST) {
            fd_ = -1;
            removeLeftFile(part_, folderFd_);  // a part a save that died left
            continue;
        }
        if (error != 0) {
            fd_ = -1;
            return error;
        }
        const int notLocked = locked();
        // A start that found the part before the lock removed it: made again.
        if ((notLocked == 0 || notLocked == EWOULDBLOCK) && !sameFileAt(fd_, part_, folderFd_)) {
            fileCalls().close(std::exchange(fd_, -1));
            continue;
        }
        return notLocked;
    }
    return EEXIST;
}

int NewFile::publish()
{
    if (part_.isEmpty()) {
        if (const int error = fileCalls().linkOpen(fd_, folderFd_, name_))
            return error;
    } else {
        if (const int error = fileCalls().link(folderFd_, part_, folderFd_, name_))
            return error;
        fileCalls().unlink(folderFd_, part_, 0);
    }
    published_ = true;
    return fileCalls().sync(folderFd_);
}

int NewFile::release()
{
    return std::exchange(fd_, -1);
}

int NewFile::locked() const
{
    if (const int error = lockFile(fd_, LOCK_EX | LOCK_NB))
        return error;
    return fileCalls().changeMode(fd_, 0600);
}

// ------------------------------------------------------------ a journal's life

int markState(int fd, JournalState state)
{
    struct stat st {};
    if (const int error = fileCalls().status(fd, st))
        return error;
    const char c = static_cast<char>(state);
    if (const int error = writeFully(fd, QByteArrayView(&c, 1), st.st_size - 1))
        return error;
    return fileCalls().syncData(fd);
}

int retire(int folderFd, const QByteArray& name, int fd)
{
    const int marked = markState(fd, JournalState::Done);
    const bool removed = sameFileAt(fd, name, folderFd) && fileCalls().unlink(folderFd, name, 0) == 0
        && fileCalls().sync(folderFd) == 0;
    return marked == 0 || removed ? 0 : marked;
}

// ------------------------------------------------------------ kept aside

int keepAside(const JournalRecord& r, QString& path)
{
    const QString folder = dataFolder();
    if (folder.isEmpty())
        return ENOENT;
    if (const int error = makePrivateFolder(folder))
        return error;
    int error = 0;
    const FileCloser opened{openFolder(AT_FDCWD, QFile::encodeName(folder), 0, error)};
    if (error != 0)
        return error;
    const QString stamp = stampOf(r.savedAt);
    for (int n = 0; n < 100; ++n) {
        const QString name = numberedName(folder, QFileInfo(r.target).fileName(), stamp, copyEnd(), n);
        const QByteArray encoded = QFile::encodeName(name);
        struct stat st {};
        if (fileCalls().statusAt(opened.fd, encoded, AT_SYMLINK_NOFOLLOW, st) == 0) {
            if (holdsExactly(opened.fd, encoded, r.old)) {
                path = folder + QLatin1Char('/') + name;
                return 0;
            }
            continue;
        }
        NewFile copy(opened.fd, name);
        if ((error = copy.create()) != 0 || (error = writeFully(copy.fd(), r.old, 0)) != 0
            || (error = fileCalls().syncData(copy.fd())) != 0)
            return error;
        error = copy.publish();
        if (error == EEXIST)
            continue;
        // A name not surely on the disk keeps the journal; the next start
        // finds the copy whole under it.
        if (error == 0)
            path = folder + QLatin1Char('/') + name;
        return error;
    }
    return EEXIST;
}

int keepJournalAside(const JournalFolder& folder, const QString& journal, QString& path)
{
    const QString stamp = stampOf(QDateTime::currentMSecsSinceEpoch());
    const QByteArray from = QFile::encodeName(journal);
    for (int n = 0; n < 100; ++n) {
        const QString name = numberedName(folder.path(), journal, stamp, QStringLiteral(".unusable"), n);
        const QByteArray to = QFile::encodeName(name);
        int error = fileCalls().rename(folder.fd(), from, folder.fd(), to, true);
        if (error == EEXIST)
            continue;
        if (error == EINVAL || error == ENOSYS) {
            // A file system that cannot refuse to replace: look first.
            struct stat st {};
            if (fileCalls().statusAt(folder.fd(), to, AT_SYMLINK_NOFOLLOW, st) == 0)
                continue;
            error = fileCalls().rename(folder.fd(), from, folder.fd(), to, false);
        }
        if (error != 0)
            return error;
        fileCalls().sync(folder.fd());
        path = folder.path() + QLatin1Char('/') + name;
        return 0;
    }
    return EEXIST;
}

} // namespace textio
