#include "textio/save_journal.h"

#include "textio/file_handles.h"
#include "textio/textfile.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// How the journal decides that a file is "still as its save left it".
//
// An in-place save writes the new contents from the file's first byte on,
// in order, and then cuts the file to their length. Wherever it dies, the
// file holds the first k bytes of the new contents and, after them, the old
// contents from byte k on (as long as the longer of the two), or the new
// contents whole. The journal records the old contents, the file's identity
// (device and inode) and a digest of each page of the new contents. At
// recovery the file is as the save left it when it is the same file and
// has exactly that shape: its leading pages match the new contents' digests
// up to one page, and everything after that page is the old contents byte
// for byte, at the length the shape allows. Only the bytes of the one page
// the save died in cannot be told apart (a digest covers a whole page); any
// other change by another program shows. The file's time of change cannot
// serve: the save's last write is not known to the journal.

namespace textio {

namespace {

constexpr qint64 kPage = 4096;
constexpr qsizetype kPageDigest = 8;
constexpr quint32 kMagic = 0x56544a31;  // "VTJ1"
constexpr qsizetype kSeal = 32;         // SHA-256 of the rest, at the end

struct Record {
    QString target;  // absolute path of the file
    quint64 device = 0;
    quint64 inode = 0;
    qint64 newSize = 0;
    QByteArray pageDigests;  // kPageDigest bytes for each page of the new contents
    QByteArray old;
};

QByteArray digestOf(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).left(kPageDigest);
}

QByteArray pageDigestsOf(const QByteArray& bytes)
{
    QByteArray digests;
    for (qint64 at = 0; at < bytes.size(); at += kPage)
        digests += digestOf(QByteArrayView(bytes).sliced(at, std::min(kPage, bytes.size() - at)));
    return digests;
}

QByteArray encode(const Record& r)
{
    QByteArray body;
    {
        QDataStream out(&body, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << kMagic << r.target << r.device << r.inode << r.newSize << r.pageDigests << r.old;
    }
    return body + QCryptographicHash::hash(body, QCryptographicHash::Sha256);
}

// The record of a whole journal; nothing for one cut short or damaged.
std::optional<Record> decode(const QByteArray& bytes)
{
    if (bytes.size() < kSeal)
        return std::nullopt;
    const QByteArray body = bytes.first(bytes.size() - kSeal);
    if (QCryptographicHash::hash(body, QCryptographicHash::Sha256) != bytes.last(kSeal))
        return std::nullopt;
    Record r;
    quint32 magic = 0;
    QDataStream in(body);
    in.setVersion(QDataStream::Qt_6_0);
    in >> magic >> r.target >> r.device >> r.inode >> r.newSize >> r.pageDigests >> r.old;
    if (in.status() != QDataStream::Ok || !in.atEnd() || magic != kMagic || r.newSize < 0
        || r.pageDigests.size() != (r.newSize + kPage - 1) / kPage * kPageDigest)
        return std::nullopt;
    return r;
}

// True when `now` has the shape a save of `r` leaves wherever it dies (see
// the comment at the top).
bool shapeLeftBySave(const QByteArray& now, const Record& r)
{
    const qint64 size = now.size();
    const qint64 oldSize = r.old.size();
    const qint64 pages = r.pageDigests.size() / kPageDigest;
    qint64 whole = 0;  // leading pages as the save wrote them
    for (; whole < pages; ++whole) {
        const qint64 at = whole * kPage;
        const qint64 length = std::min(kPage, r.newSize - at);
        if (at + length > size
            || digestOf(QByteArrayView(now).sliced(at, length))
                != QByteArrayView(r.pageDigests).sliced(whole * kPageDigest, kPageDigest))
            break;
    }
    if (whole == pages && size == r.newSize)
        return true;  // the new contents whole
    // The save died within this page of the new contents.
    const qint64 from = whole * kPage;
    const qint64 to = std::min(from + kPage, r.newSize);
    if (size > oldSize)  // written past the old end: the file ends where the save stopped
        return from <= size && size <= to;
    if (size < oldSize || from > oldSize)
        return false;
    const qint64 oldFrom = std::max(from, std::min(to, oldSize));
    return QByteArrayView(now).sliced(oldFrom) == QByteArrayView(r.old).sliced(oldFrom);
}

struct FileCloser {
    int fd = -1;
    ~FileCloser()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// Writes the bytes at the file's position, the error number or 0.
int writeWhole(int fd, const QByteArray& bytes)
{
    qint64 written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written,
                                  static_cast<std::size_t>(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        written += n;
    }
    return 0;
}

// Writes the bytes as the file's whole contents and flushes them to the
// disk; the error number of a failure, or 0.
int putAtStart(int fd, const QByteArray& bytes)
{
    if (::lseek(fd, 0, SEEK_SET) != 0)
        return errno;
    if (const int error = writeWhole(fd, bytes))
        return error;
    return ::ftruncate(fd, bytes.size()) == 0 && ::fdatasync(fd) == 0 ? 0 : errno;
}

QString dataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

QString journalFolder()
{
    const QString data = dataFolder();
    return data.isEmpty() ? QString() : data + QStringLiteral("/saves");
}

const QString kJournalEnd = QStringLiteral(".journal");
const QString kPartEnd = QStringLiteral(".part");

// The one journal name of a file: its name, shortened, and a digest of its
// whole path.
QString journalPathFor(const QString& target)
{
    QString name = QFileInfo(target).fileName().left(60);
    if (!name.isEmpty() && name.back().isHighSurrogate())
        name.chop(1);
    const QByteArray digest =
        QCryptographicHash::hash(target.toUtf8(), QCryptographicHash::Sha256).left(8).toHex();
    return journalFolder() + QLatin1Char('/') + name + QLatin1Char('.')
        + QString::fromLatin1(digest) + kJournalEnd;
}

void removeJournal(const QString& path)
{
    ::unlink(QFile::encodeName(path).constData());
    syncFolder(QFileInfo(path).absolutePath());
}

// Keeps the old contents of a file changed since its save died as a plain
// file in the data folder, named after the file and the time; its path, or
// nothing when it cannot be written.
std::optional<QString> keepAside(const Record& r)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString stem = dataFolder() + QLatin1Char('/') + QFileInfo(r.target).fileName().left(60)
        + QLatin1Char('.') + stamp;
    for (int n = 0; n < 100; ++n) {
        const QString path = stem + (n == 0 ? QString() : QStringLiteral("-%1").arg(n))
            + QStringLiteral(".old");
        const int fd = ::open(QFile::encodeName(path).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return std::nullopt;
        const FileCloser closer{fd};
        if (writeWhole(fd, r.old) != 0 || ::fdatasync(fd) != 0) {
            ::unlink(QFile::encodeName(path).constData());
            return std::nullopt;
        }
        syncFolder(dataFolder());
        return path;
    }
    return std::nullopt;
}

struct Settlement {
    enum class Outcome {
        None,         // no journal, or one whose save died before the file changed
        Busy,         // a save of the file is running
        Restored,     // the file has its old contents back
        KeptAside,    // the file changed since: left alone, the old contents kept
        NotRestored,  // the old contents could not be written back: kept
    };
    Outcome outcome = Outcome::None;
    QString target;
    QString kept;   // where the old contents are
    int error = 0;  // why they could not be written back
};

// The record of the journal open as `fd`; nothing for one cut short.
std::optional<Record> recordOf(int fd)
{
    const std::optional<QByteArray> bytes = contentsOf(fd);
    return bytes ? decode(*bytes) : std::nullopt;
}

// Settles the journal at `journalPath` holding `record` (locked by the
// caller) for the file open as `targetFd` (locked by the caller; -1 when it
// cannot be opened).
Settlement settleLocked(const std::optional<Record>& record, const QString& journalPath,
                        int targetFd)
{
    Settlement s;
    if (!record) {
        // Cut short: the save died before the file's first byte changed.
        removeJournal(journalPath);
        return s;
    }
    s.target = record->target;
    struct stat st {};
    const bool same = targetFd >= 0 && ::fstat(targetFd, &st) == 0 && S_ISREG(st.st_mode)
        && static_cast<quint64>(st.st_dev) == record->device
        && static_cast<quint64>(st.st_ino) == record->inode;
    const std::optional<QByteArray> now = same ? contentsOf(targetFd) : std::nullopt;
    if (now && shapeLeftBySave(*now, *record)) {
        s.error = putAtStart(targetFd, record->old);
        if (s.error == 0) {
            removeJournal(journalPath);
            s.outcome = Settlement::Outcome::Restored;
            return s;
        }
        s.outcome = Settlement::Outcome::NotRestored;
    } else {
        s.outcome = Settlement::Outcome::KeptAside;
    }
    if (const std::optional<QString> kept = keepAside(*record)) {
        s.kept = *kept;
        removeJournal(journalPath);
    } else {
        s.kept = journalPath;  // the journal itself holds them
    }
    return s;
}

// Settles the journal at `journalPath`, locking it and its file first; a
// journal or file locked by a running save is left to it.
Settlement settle(const QString& journalPath)
{
    Settlement s;
    const QByteArray name = QFile::encodeName(journalPath);
    const FileCloser journal{::open(name.constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK)};
    if (journal.fd < 0)
        return s;
    if (::flock(journal.fd, LOCK_EX | LOCK_NB) != 0) {
        s.outcome = Settlement::Outcome::Busy;
        return s;
    }
    // Settled by someone else between the open and the lock.
    if (!sameFileAt(journal.fd, name))
        return s;
    struct stat st {};
    if (::fstat(journal.fd, &st) != 0 || !S_ISREG(st.st_mode))
        return s;
    const std::optional<Record> record = recordOf(journal.fd);
    const FileCloser target{record ? ::open(QFile::encodeName(record->target).constData(),
                                            O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK)
                                   : -1};
    if (target.fd >= 0 && ::flock(target.fd, LOCK_EX | LOCK_NB) != 0) {
        s.outcome = Settlement::Outcome::Busy;
        return s;
    }
    return settleLocked(record, journalPath, target.fd);
}

// What the engineer is told of a settled journal; nothing when there is
// nothing to tell.
std::optional<QString> settlementMessage(const Settlement& s)
{
    switch (s.outcome) {
    case Settlement::Outcome::Restored:
        return QStringLiteral("上次保存文件“%1”时程序意外中断，该文件已恢复为保存前的内容。")
            .arg(shownPath(s.target));
    case Settlement::Outcome::KeptAside:
        return QStringLiteral("上次保存文件“%1”时程序意外中断，此后该文件已被改动，未予恢复；保存前的原内容在“%2”。")
            .arg(shownPath(s.target), shownPath(s.kept));
    case Settlement::Outcome::NotRestored:
        return QStringLiteral("上次保存文件“%1”时程序意外中断，无法恢复该文件（%2）；保存前的原内容在“%3”。")
            .arg(shownPath(s.target), reasonInWords(s.error), shownPath(s.kept));
    case Settlement::Outcome::None:
    case Settlement::Outcome::Busy:
        break;
    }
    return std::nullopt;
}

// Removes a part-written journal its save left when it died.
void removeLeftPart(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    const FileCloser part{::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK)};
    if (part.fd >= 0 && ::flock(part.fd, LOCK_EX | LOCK_NB) == 0 && sameFileAt(part.fd, name))
        ::unlink(name.constData());
}

} // namespace

QStringList recoverInterruptedSaves()
{
    QStringList messages;
    const QString folder = journalFolder();
    if (folder.isEmpty())
        return messages;
    const QDir dir(folder);
    const QDir::Filters filter = QDir::Files | QDir::Hidden | QDir::System;
    for (const QString& name : dir.entryList({QStringLiteral("*") + kJournalEnd + kPartEnd}, filter))
        removeLeftPart(dir.filePath(name));
    for (const QString& name : dir.entryList({QStringLiteral("*") + kJournalEnd}, filter, QDir::Name)) {
        if (const std::optional<QString> message = settlementMessage(settle(dir.filePath(name))))
            messages << *message;
    }
    return messages;
}

std::optional<QString> settleBeforeSave(const QString& target)
{
    const Settlement s = settle(journalPathFor(target));
    switch (s.outcome) {
    case Settlement::Outcome::None:
    case Settlement::Outcome::Restored:
        return std::nullopt;
    case Settlement::Outcome::Busy:
        return fileBusyMessage(target);
    case Settlement::Outcome::KeptAside:
    case Settlement::Outcome::NotRestored:
        break;
    }
    return *settlementMessage(s) + QStringLiteral("本次未保存，请核对后再保存。");
}

SaveJournal::~SaveJournal()
{
    if (fd_ >= 0)
        ::close(fd_);
}

int SaveJournal::begin(const QString& target, int targetFd, const QByteArray& old,
                       const QByteArray& bytes)
{
    const QString folder = journalFolder();
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return EACCES;
    struct stat st {};
    if (::fstat(targetFd, &st) != 0)
        return errno;
    const QByteArray journal = encode({target, static_cast<quint64>(st.st_dev),
                                       static_cast<quint64>(st.st_ino), bytes.size(),
                                       pageDigestsOf(bytes), old});
    // Written whole under a name of its own, then given the journal's name:
    // a journal under that name is always whole. Locked from the start, so
    // that no recovery takes it for one a save left.
    path_ = journalPathFor(target);
    const QByteArray part = QFile::encodeName(path_ + kPartEnd);
    const int fd = ::open(part.constData(), O_RDWR | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno;
    int error = ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? writeWhole(fd, journal) : EBUSY;
    if (error == 0 && ::fdatasync(fd) != 0)
        error = errno;
    if (error == 0 && ::link(part.constData(), QFile::encodeName(path_).constData()) != 0)
        error = errno;
    ::unlink(part.constData());
    if (error != 0) {
        ::close(fd);
        return error;
    }
    syncFolder(folder);
    fd_ = fd;
    return 0;
}

void SaveJournal::end()
{
    // The removal is on the disk before the save reports success: a
    // journal found later would take back the contents just saved.
    removeJournal(path_);
    ::close(fd_);
    fd_ = -1;
}

std::optional<QString> SaveJournal::rollBack(int targetFd)
{
    const Settlement s = settleLocked(recordOf(fd_), path_, targetFd);
    ::close(fd_);
    fd_ = -1;
    if (s.outcome == Settlement::Outcome::Restored)
        return std::nullopt;
    return s.kept;
}

} // namespace textio
