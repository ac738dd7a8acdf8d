#include "textio/save_journal.h"

#include "textio/file_handles.h"
#include "textio/textfile.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <variant>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// How the journal decides that a file is "still as its save left it".
//
// An in-place save first lengthens a file that grows to its new length,
// then writes the new contents from the first byte on, and last cuts a file
// that shrinks to its new length. A restore of the old contents does the
// same with the old ones. The journal records the old and the new contents
// and the file's identity (device and inode). Wherever a save or a restore
// dies, and in whatever order a power cut lets its pages reach the disk,
// the file has the old or the new length, and each of its bytes is the old
// or the new contents at that place, or a zero where the file was
// lengthened and the bytes did not follow. A file in any other state was
// written by someone else since: it is never overwritten. The file's time
// of change cannot serve: the save's last write is not known to the journal.

namespace textio {

namespace {

constexpr quint32 kMagic = 0x56544a32;  // "VTJ2"
constexpr qsizetype kSeal = 32;         // SHA-256 of the record
// After the seal, one byte: 0 while the save runs, 1 once a restore began.
constexpr char kSaving = 0;
constexpr char kRestoring = 1;

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
    const QString folder = journalFolder();
    const QString digest = QString::fromLatin1(
        QCryptographicHash::hash(target.toUtf8(), QCryptographicHash::Sha256).left(8).toHex());
    const QString end = QLatin1Char('.') + digest + kJournalEnd;
    const qsizetype room = nameRoomIn(folder) - QFile::encodeName(end + kPartEnd).size();
    return folder + QLatin1Char('/') + shortenedName(QFileInfo(target).fileName(), room) + end;
}

QString timeStamp()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
}

// The n-th name for a copy in `folder`: `name` shortened to leave room for
// ".", the time, "-n" and `end`.
QString numberedName(const QString& folder, const QString& name, const QString& end, int n)
{
    const QString tail = QLatin1Char('.') + timeStamp()
        + (n == 0 ? QString() : QStringLiteral("-%1").arg(n)) + end;
    return folder + QLatin1Char('/')
        + shortenedName(name, nameRoomIn(folder) - QFile::encodeName(tail).size()) + tail;
}

void removeJournal(const QString& path)
{
    ::unlink(QFile::encodeName(path).constData());
    syncFolder(QFileInfo(path).absolutePath());
}

// Keeps the old contents of a file as a plain file of the user's in the
// data folder, named after the file and the time; its path, or nothing
// when it cannot be written.
std::optional<QString> keepAside(const JournalRecord& r)
{
    const QString folder = dataFolder();
    if (folder.isEmpty() || makePrivateFolder(folder) != 0)
        return std::nullopt;
    for (int n = 0; n < 100; ++n) {
        const QString path = numberedName(folder, QFileInfo(r.target).fileName(), QStringLiteral(".old"), n);
        const QByteArray name = QFile::encodeName(path);
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return std::nullopt;
        const FileCloser closer{fd};
        if (::fchmod(fd, 0600) != 0 || writeFully(fd, r.old, 0) != 0 || ::fdatasync(fd) != 0) {
            ::unlink(name.constData());
            return std::nullopt;
        }
        syncFolder(folder);
        return path;
    }
    return std::nullopt;
}

// Moves a journal that cannot be used out of the way, under a name no
// start takes for a journal, without following or opening it; the new
// path, or the error number.
std::variant<QString, int> keepJournalAside(const QString& journal)
{
    const QString folder = QFileInfo(journal).absolutePath();
    for (int n = 0; n < 100; ++n) {
        const QString path = numberedName(folder, QFileInfo(journal).fileName(), QStringLiteral(".unusable"), n);
        const QByteArray from = QFile::encodeName(journal);
        const QByteArray to = QFile::encodeName(path);
        int done = ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
        if (done != 0 && errno == EEXIST)
            continue;
        if (done != 0 && (errno == EINVAL || errno == ENOSYS)) {
            // A file system that cannot refuse to replace: look first.
            struct stat st {};
            if (::lstat(to.constData(), &st) == 0)
                continue;
            done = std::rename(from.constData(), to.constData());
        }
        if (done != 0)
            return errno;
        syncFolder(folder);
        return path;
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

// Marks the journal open as `fd` (its record, `r`): a restore has begun.
int markRestoring(int fd, JournalRecord& r)
{
    if (r.restoring)
        return 0;
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return errno;
    const char restoring = kRestoring;
    if (const int error = writeFully(fd, QByteArrayView(&restoring, 1), st.st_size - 1))
        return error;
    if (::fdatasync(fd) != 0)
        return errno;
    r.restoring = true;
    return 0;
}

enum class Outcome {
    None,         // no journal, or one settled by someone else meanwhile
    Busy,         // a save of the file is running
    Interrupted,  // the restore was killed on purpose: nothing more done
    Restored,     // the file has its old contents back
    KeptAside,    // the file changed since: left alone, the old contents kept
    NotRestored,  // the old contents could not be written back: kept, retried later
    OutOfReach,   // the file cannot be checked now: the journal waits
    Unusable,     // the journal cannot be used: moved aside, never followed
};

struct Settlement {
    Outcome outcome = Outcome::None;
    QString target;   // the file
    QString journal;  // the journal's path
    QString kept;     // where the old contents (or the unusable journal) are
    QString why;      // why a journal cannot be used
    int error = 0;    // why the file could not be restored, checked, or the journal moved
};

// Settles the journal open as `journalFd` at `journalPath` holding
// `record`, both locked by the caller, for the file open as `targetFd`
// (locked by the caller) whose contents are `now`.
Settlement restoreOrKeep(JournalRecord record, const QString& journalPath, int journalFd,
                         int targetFd, const std::optional<QByteArray>& now)
{
    Settlement s{Outcome::KeptAside, record.target, journalPath, {}, {}, 0};
    if (now && leftBySaveOrRestore(*now, record)) {
        s.error = markRestoring(journalFd, record);
        if (s.error == 0)
            s.error = putOldContents(targetFd, record.old, now->size());
        if (s.error != 0 && killedOnPurpose()) {
            s.outcome = Outcome::Interrupted;
            return s;
        }
        if (s.error == 0) {
            removeJournal(journalPath);
            s.outcome = Outcome::Restored;
            return s;
        }
        // The journal stays: the next start or save of the file finishes
        // the restore. Meanwhile the engineer has the old contents.
        s.outcome = Outcome::NotRestored;
        s.kept = keepAside(record).value_or(journalPath);
        return s;
    }
    if (const std::optional<QString> kept = keepAside(record)) {
        s.kept = *kept;
        removeJournal(journalPath);
    } else {
        s.kept = journalPath;  // the journal itself holds them, and stays
    }
    return s;
}

// The journal at `journalPath` cannot be used: moved aside.
Settlement unusable(const QString& journalPath, const QString& why)
{
    Settlement s{Outcome::Unusable, {}, journalPath, {}, why, 0};
    const std::variant<QString, int> moved = keepJournalAside(journalPath);
    if (const QString* path = std::get_if<QString>(&moved))
        s.kept = *path;
    else
        s.error = std::get<int>(moved);
    return s;
}

// True when the file's status is that of the file the journal names.
bool isTheRecordedFile(const struct stat& st, const JournalRecord& r)
{
    return S_ISREG(st.st_mode) && static_cast<quint64>(st.st_dev) == r.device
        && static_cast<quint64>(st.st_ino) == r.inode;
}

// The journal waits: its file cannot be checked now, for `error`.
Settlement outOfReach(Settlement s, int error)
{
    s.outcome = Outcome::OutOfReach;
    s.error = error;
    return s;
}

// True when the file the journal names is gone from a folder that is there
// (on the file's own device): removed, not out of reach.
bool removedFromItsFolder(const JournalRecord& r)
{
    struct stat folder {};
    return ::stat(QFile::encodeName(QFileInfo(r.target).absolutePath()).constData(), &folder) == 0
        && S_ISDIR(folder.st_mode) && static_cast<quint64>(folder.st_dev) == r.device;
}

// True when the file the journal names, which this user may not write now,
// is another file, or holds what no save or restore of it left: it was
// changed since.
bool changedSince(const JournalRecord& r)
{
    const FileCloser file{::open(QFile::encodeName(r.target).constData(),
                                 O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK)};
    struct stat st {};
    if (file.fd < 0 || ::fstat(file.fd, &st) != 0)
        return false;
    if (!isTheRecordedFile(st, r))
        return true;
    const std::optional<QByteArray> now = contentsOf(file.fd);
    return now && !leftBySaveOrRestore(*now, r);
}

// Settles the journal at `journalPath`, locking it and its file first; a
// journal or file locked by a running save is left to it.
Settlement settle(const QString& journalPath)
{
    Settlement s;
    s.journal = journalPath;
    const QByteArray name = QFile::encodeName(journalPath);
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0)
        return s;
    if (!S_ISREG(st.st_mode))
        return unusable(journalPath, QStringLiteral("不是普通文件"));
    if (st.st_uid != ::geteuid())
        return unusable(journalPath, QStringLiteral("不属于当前用户"));
    if ((st.st_mode & 022) != 0)
        return unusable(journalPath, QStringLiteral("其他用户可以改写"));
    const FileCloser journal{::open(name.constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK)};
    if (journal.fd < 0)
        return errno == ENOENT ? s : unusable(journalPath, reasonInWords(errno));
    atSaveStep(SaveStep::JournalOpened);
    if (lockFile(journal.fd, LOCK_EX | LOCK_NB) != 0) {
        s.outcome = Outcome::Busy;
        return s;
    }
    // Settled by someone else between the look and the lock.
    if (!sameFileAt(journal.fd, name))
        return s;
    const std::optional<QByteArray> bytes = contentsOf(journal.fd);
    if (!bytes)
        return unusable(journalPath, reasonInWords(errno));
    const std::optional<JournalRecord> record = decodeJournal(*bytes);
    if (!record)
        return unusable(journalPath, QStringLiteral("内容不完整或已损坏"));
    s.target = record->target;

    const FileCloser target{::open(QFile::encodeName(record->target).constData(),
                                   O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK)};
    if (target.fd < 0) {
        const int error = errno;
        // A link now at its name, or the file removed from its folder: the
        // file was changed since.
        if (error == ELOOP || (error == ENOENT && removedFromItsFolder(*record))
            || (error != ENOENT && changedSince(*record)))
            return restoreOrKeep(*record, journalPath, journal.fd, -1, std::nullopt);
        return outOfReach(s, error);
    }
    if (const int error = lockFile(target.fd, LOCK_EX | LOCK_NB)) {
        if (error != EWOULDBLOCK)
            return outOfReach(s, error);
        s.outcome = Outcome::Busy;
        return s;
    }
    struct stat now {};
    if (::fstat(target.fd, &now) != 0)
        return outOfReach(s, errno);
    if (!isTheRecordedFile(now, *record))
        return restoreOrKeep(*record, journalPath, journal.fd, target.fd, std::nullopt);
    const std::optional<QByteArray> contents = contentsOf(target.fd);
    if (!contents)
        return outOfReach(s, errno);
    return restoreOrKeep(*record, journalPath, journal.fd, target.fd, contents);
}

// What the engineer is told of a settled journal; nothing when there is
// nothing to tell.
std::optional<QString> settlementMessage(const Settlement& s)
{
    switch (s.outcome) {
    case Outcome::Restored:
        return QStringLiteral("上次保存文件“%1”时程序意外中断，该文件已恢复为保存前的内容。")
            .arg(shownPath(s.target));
    case Outcome::KeptAside:
        return QStringLiteral("上次保存文件“%1”时程序意外中断，此后该文件已被改动，未予恢复；保存前的原内容在“%2”。")
            .arg(shownPath(s.target), shownPath(s.kept));
    case Outcome::NotRestored:
        return QStringLiteral("上次保存文件“%1”时程序意外中断，无法恢复该文件（%2）；保存前的原内容在“%3”，下次启动时将再次恢复。")
            .arg(shownPath(s.target), reasonInWords(s.error), shownPath(s.kept));
    case Outcome::OutOfReach:
        return QStringLiteral("上次保存文件“%1”时程序意外中断，现在无法检查或写入该文件（%2），未予恢复；保存前的原内容仍保留，下次启动时将再次检查。")
            .arg(shownPath(s.target), reasonInWords(s.error));
    case Outcome::Unusable:
        if (s.kept.isEmpty())
            return QStringLiteral("数据文件夹中的保存记录“%1”无法使用（%2），未予处理，也无法移开（%3）。")
                .arg(shownPath(s.journal), s.why, reasonInWords(s.error));
        return QStringLiteral("数据文件夹中的保存记录“%1”无法使用（%2），未予处理，已改名为“%3”保留。")
            .arg(shownPath(s.journal), s.why, shownPath(s.kept));
    case Outcome::None:
    case Outcome::Busy:
    case Outcome::Interrupted:
        break;
    }
    return std::nullopt;
}

} // namespace

QByteArray encodeJournal(const JournalRecord& r)
{
    QByteArray body;
    {
        QDataStream out(&body, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << kMagic << r.target << r.device << r.inode << r.old << r.written;
    }
    return body + QCryptographicHash::hash(body, QCryptographicHash::Sha256)
        + (r.restoring ? kRestoring : kSaving);
}

std::optional<JournalRecord> decodeJournal(const QByteArray& bytes)
{
    if (bytes.size() < kSeal + 1)
        return std::nullopt;
    const char state = bytes.back();
    if (state != kSaving && state != kRestoring)
        return std::nullopt;
    const QByteArray body = bytes.first(bytes.size() - kSeal - 1);
    if (QCryptographicHash::hash(body, QCryptographicHash::Sha256) != bytes.sliced(body.size(), kSeal))
        return std::nullopt;
    JournalRecord r;
    quint32 magic = 0;
    QDataStream in(body);
    in.setVersion(QDataStream::Qt_6_0);
    in >> magic >> r.target >> r.device >> r.inode >> r.old >> r.written;
    if (in.status() != QDataStream::Ok || !in.atEnd() || magic != kMagic
        || !QDir::isAbsolutePath(r.target))
        return std::nullopt;
    r.restoring = state == kRestoring;
    return r;
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
    const qsizetype zerosTo = newSize > oldSize || r.restoring ? std::max(oldSize, newSize) : 0;
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
    const QString folder = journalFolder();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return messages;
    // A folder an earlier version made under a lax umask is made private.
    makePrivateFolder(folder);
    const QDir dir(folder);
    const QDir::Filters all = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    for (const QString& name : dir.entryList({QStringLiteral("*") + kJournalEnd + kPartEnd}, all))
        removeLeftFile(QFile::encodeName(dir.filePath(name)));
    for (const QString& name : dir.entryList({QStringLiteral("*") + kJournalEnd}, all, QDir::Name)) {
        if (const std::optional<QString> message = settlementMessage(settle(dir.filePath(name))))
            messages << *message;
    }
    return messages;
}

std::optional<QString> settleBeforeSave(const QString& target)
{
    const Settlement s = settle(journalPathFor(target));
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
    case Outcome::Unusable:
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
    if (folder.isEmpty())
        return EACCES;
    if (const int error = makePrivateFolder(folder))
        return error;
    // Journals are followed only from a folder that is the user's alone.
    struct stat own {};
    if (::stat(QFile::encodeName(folder).constData(), &own) != 0)
        return errno;
    if (own.st_uid != ::geteuid() || (own.st_mode & 077) != 0)
        return EACCES;
    struct stat st {};
    if (::fstat(targetFd, &st) != 0)
        return errno;
    record_ = {target, static_cast<quint64>(st.st_dev), static_cast<quint64>(st.st_ino), old, bytes, false};
    const QByteArray journal = encodeJournal(record_);
    // Written whole under a name of its own, then given the journal's name:
    // a journal under that name is always whole. Locked from the start, so
    // that no recovery takes it for one a save left.
    path_ = journalPathFor(target);
    const QByteArray part = QFile::encodeName(path_ + kPartEnd);
    const int fd = ::open(part.constData(), O_RDWR | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno;
    int error = lockFile(fd, LOCK_EX | LOCK_NB);
    if (error == 0 && ::fchmod(fd, 0600) != 0)
        error = errno;
    if (error == 0)
        error = writeFully(fd, journal, 0);
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
    const std::optional<QByteArray> now = contentsOf(targetFd);
    const Settlement s = restoreOrKeep(record_, path_, fd_, targetFd, now);
    ::close(fd_);
    fd_ = -1;
    if (s.outcome == Outcome::Restored)
        return std::nullopt;
    return s.kept;
}

} // namespace textio
