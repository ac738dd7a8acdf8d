#include "textio/journal_settlement.h"

#include "textio/file_calls.h"
#include "textio/file_handles.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace textio {

namespace {

using Outcome = Settlement::Outcome;

// Opens `path` with `flags`; the descriptor, or -1 (`error` why).
int openPath(int folder, const QByteArray& path, int flags, int& error)
{
    int fd = -1;
    error = fileCalls().open(folder, path, flags | O_CLOEXEC, 0, fd);
    return error == 0 ? fd : -1;
}

// Writes the old contents back over the file as a save writes, so that a
// restore that dies leaves a state the decision knows: the file lengthened
// first, the bytes from the first on, the file cut last, and flushed.
int putOldContents(int fd, const QByteArray& old, qint64 size)
{
    if (old.size() > size) {
        if (const int error = fileCalls().truncate(fd, old.size()))
            return error;
    }
    if (const int error = writeEngineersFile(fd, old, 0))
        return error;
    if (const int error = fileCalls().truncate(fd, old.size()))
        return error;
    return fileCalls().syncData(fd);
}

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
        if (s.error == 0) {
            s.error = putOldContents(targetFd, j.record.old, now->size());
            s.holds = s.error == 0 ? FileHolds::Old : FileHolds::Unknown;
        }
        if (s.error == 0) {
            retire(j.folderFd, j.name, j.fd);
            s.outcome = Outcome::Restored;
            return s;
        }
        // The journal stays: the next start or save of the file finishes
        // the restore. Meanwhile the engineer has the old contents.
        s.outcome = Outcome::NotRestored;
        keepAside(j.record, s.kept);
        return s;
    }
    s.outcome = Outcome::KeptAside;
    if (keepAside(j.record, s.kept) == 0)
        retire(j.folderFd, j.name, j.fd);
    return s;
}

// True when the journal open as `fd`, read as `reading`, is marked done:
// whole, or where the rest cannot be read or is wrong, with its head whole,
// its length the one the head tells, and its last byte, the state, "done".
bool markedDone(int fd, const JournalReading& reading)
{
    if (reading.kind == JournalReading::Whole)
        return reading.record.state == JournalState::Done;
    if (reading.stateAt < 0)
        return false;
    char state = 0;
    qint64 got = 0;
    return fileCalls().read(fd, &state, 1, reading.stateAt, got) == 0 && got == 1
        && state == static_cast<char>(JournalState::Done);
}

// The journal at `s.journal` cannot be used, for `unfit`: moved aside.
Settlement unusable(Settlement s, const JournalFolder& folder, Unfit unfit, int denied = 0)
{
    s.outcome = Outcome::Unusable;
    s.unfit = unfit;
    s.denied = denied;
    s.error = keepJournalAside(folder, QFileInfo(s.journal).fileName(), s.kept);
    return s;
}

// The journal, or its file, waits for a later start, for `error`.
Settlement waiting(Settlement s, Outcome outcome, int error)
{
    s.outcome = outcome;
    s.error = error;
    return s;
}

// Why the file the journal names is not at its path.
enum class Absence {
    Removed,          // gone from its folder, there on the file's own file system
    OtherFileSystem,  // its folder is on another file system: an empty mount
                      // point, another drive; out of reach
    FolderAway,       // its folder is not there, or cannot be looked at now
};

// Whether the file the journal names, not at its path, was removed or is
// out of reach.
Absence absenceOf(const JournalRecord& r)
{
    int error = 0;
    const FileCloser folder{
        openPath(AT_FDCWD, QFile::encodeName(QFileInfo(r.target).absolutePath()), O_RDONLY | O_DIRECTORY, error)};
    struct stat st {};
    FileSystemInfo fileSystem;
    if (folder.fd < 0 || fileCalls().status(folder.fd, st) != 0
        || fileCalls().fileSystem(folder.fd, fileSystem) != 0)
        return Absence::FolderAway;
    return onRecordedFileSystem(static_cast<quint64>(st.st_dev), fileSystem, r) ? Absence::Removed
                                                                              : Absence::OtherFileSystem;
}

// Whether the open file is the one the journal recorded, in `sameness`;
// 0, or the error number of a look that failed (which decides nothing).
int samenessOf(int fd, const JournalRecord& r, Sameness& sameness)
{
    struct stat st {};
    if (const int error = fileCalls().status(fd, st))
        return error;
    FileSystemInfo fileSystem;
    if (const int error = fileCalls().fileSystem(fd, fileSystem))
        return error;
    sameness = !S_ISREG(st.st_mode)
        ? Sameness::Other
        : sameAsRecorded(static_cast<quint64>(st.st_dev), static_cast<quint64>(st.st_ino), fileSystem, r);
    return 0;
}

// What the open file of the journal's record holds now, in `now`: its
// contents, or nothing when it has a length no save or restore of it leaves
// (it was changed since), told from its size alone: a file larger than the
// journal's larger length is never read. 0, or the error number.
int contentsFor(int fd, const JournalRecord& r, std::optional<QByteArray>& now)
{
    now.reset();
    struct stat st {};
    if (const int error = fileCalls().status(fd, st))
        return error;
    if (S_ISREG(st.st_mode) && !aLengthItsSaveLeaves(st.st_size, r))
        return 0;
    QByteArray contents;
    const int error = contentsOf(fd, contents, std::max(r.old.size(), r.written.size()));
    if (error == EFBIG)
        return 0;  // grown meanwhile
    if (error == 0)
        now = std::move(contents);
    return error;
}

// True when the file the journal names, which this user may not write now,
// is another file on its file system, or holds what no save or restore of
// it left: it was changed since. A file on another file system tells
// nothing of the journal's.
bool changedSince(const JournalRecord& r)
{
    int error = 0;
    const FileCloser file{
        openPath(AT_FDCWD, QFile::encodeName(r.target), O_RDONLY | O_NOFOLLOW | O_NONBLOCK, error)};
    if (file.fd < 0)
        return false;
    Sameness sameness = Sameness::Unknown;
    if (samenessOf(file.fd, r, sameness) != 0)
        return false;
    if (sameness == Sameness::Other)
        return true;
    if (sameness == Sameness::OtherFileSystem)
        return false;
    std::optional<QByteArray> now;
    return contentsFor(file.fd, r, now) == 0 && (!now || !leftBySaveOrRestore(*now, r));
}

// The journal waits: its file is on a file system that is not there now.
Settlement awayOnItsFileSystem(Settlement s)
{
    return waiting(s, Outcome::OutOfReach, kNotOnItsFileSystem);
}

// The second step: what state the file of the usable journal `j` is in,
// and what to do. `fileFd`, where not -1, is the file a save is about to
// write, found to be the journal's own: it is used whatever path named it.
Settlement settleFile(Settlement s, const OpenJournal& j, int fileFd)
{
    int error = 0;
    Sameness sameness = Sameness::Unknown;
    if (fileFd >= 0 && (samenessOf(fileFd, j.record, sameness) != 0 || sameness != Sameness::Same))
        fileFd = -1;  // not the journal's file after all: it is found by its path
    const FileCloser opened{fileFd >= 0 ? -1
                                        : openPath(AT_FDCWD, QFile::encodeName(j.record.target),
                                                   O_RDWR | O_NOFOLLOW | O_NONBLOCK, error)};
    const int fd = fileFd >= 0 ? fileFd : opened.fd;
    if (fd < 0) {
        // A link now at its name, or the file removed from its folder: the
        // file was changed since.
        if (error == ELOOP || (error != ENOENT && changedSince(j.record)))
            return restoreOrKeep(s, j, -1, std::nullopt);
        if (error == ENOENT) {
            switch (absenceOf(j.record)) {
            case Absence::Removed:
                return restoreOrKeep(s, j, -1, std::nullopt);
            case Absence::OtherFileSystem:
                return awayOnItsFileSystem(s);
            case Absence::FolderAway:
                break;
            }
        }
        return waiting(s, Outcome::OutOfReach, error);
    }
    if (const int notLocked = lockFile(fd, LOCK_EX | LOCK_NB))
        return waiting(s, notLocked == EWOULDBLOCK ? Outcome::Busy : Outcome::OutOfReach, notLocked);
    if (const int notLooked = samenessOf(fd, j.record, sameness))
        return waiting(s, Outcome::OutOfReach, notLooked);
    if (sameness == Sameness::OtherFileSystem)
        return awayOnItsFileSystem(s);
    if (sameness == Sameness::Other)
        return restoreOrKeep(s, j, fd, std::nullopt);
    std::optional<QByteArray> now;
    if (const int notRead = contentsFor(fd, j.record, now))
        return waiting(s, Outcome::OutOfReach, notRead);
    return restoreOrKeep(s, j, fd, now);
}

} // namespace

Settlement settle(const JournalFolder& folder, const QString& name, int fileFd)
{
    Settlement s;
    s.journal = folder.path() + QLatin1Char('/') + name;
    const QByteArray encoded = QFile::encodeName(name);
    int error = 0;
    const FileCloser journal{openPath(folder.fd(), encoded, O_RDWR | O_NOFOLLOW | O_NONBLOCK, error)};
    if (journal.fd < 0) {
        switch (error) {
        case ENOENT:
            return s;
        case ELOOP:
        case EISDIR:
        case ENXIO:
        case ENODEV:
            return unusable(s, folder, Unfit::NotPlainFile);
        case EACCES:
        case EPERM:
            return unusable(s, folder, Unfit::NoAccess, error);
        default:
            // Too many open files, a read error: a passing reason.
            return waiting(s, Outcome::JournalUnreadable, error);
        }
    }
    struct stat st {};
    if (const int notLooked = fileCalls().status(journal.fd, st))
        return waiting(s, Outcome::JournalUnreadable, notLooked);
    if (!S_ISREG(st.st_mode))
        return unusable(s, folder, Unfit::NotPlainFile);
    if (st.st_uid != ::geteuid())
        return unusable(s, folder, Unfit::NotOwn);
    if ((st.st_mode & 022) != 0)
        return unusable(s, folder, Unfit::WritableByOthers);
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
    // A journal marked done only goes, untold, whatever else failed (its
    // lock, a read): its save or restore finished. Where it cannot be
    // removed, a later start removes it.
    if (markedDone(journal.fd, reading)) {
        retire(folder.fd(), encoded, journal.fd);
        return Settlement{};
    }
    switch (reading.kind) {
    case JournalReading::TooLarge:
        return unusable(s, folder, Unfit::TooLarge);
    case JournalReading::Damaged:
        return unusable(s, folder, Unfit::Damaged);
    case JournalReading::Unreadable:
        return waiting(s, Outcome::JournalUnreadable, reading.error);
    case JournalReading::Whole:
        break;
    }
    if (notLocked != 0)
        return waiting(s, Outcome::JournalNotLocked, notLocked);
    return settleFile(s, OpenJournal{folder.fd(), encoded, journal.fd, reading.record}, fileFd);
}

QStringList journalsOfFile(const JournalFolder& folder, int fileFd)
{
    QStringList found;
    struct stat st {};
    FileSystemInfo fileSystem;
    if (fileFd < 0 || fileCalls().status(fileFd, st) != 0 || fileCalls().fileSystem(fileFd, fileSystem) != 0
        || !S_ISREG(st.st_mode))
        return found;
    for (const QString& name : namesIn(folder.fd(), journalEnd())) {
        int error = 0;
        const FileCloser journal{
            openPath(folder.fd(), QFile::encodeName(name), O_RDONLY | O_NOFOLLOW | O_NONBLOCK, error)};
        if (journal.fd < 0)
            continue;
        const JournalReading head = readJournal(journal.fd, JournalPart::Head);
        if (head.kind == JournalReading::Whole
            && sameAsRecorded(static_cast<quint64>(st.st_dev), static_cast<quint64>(st.st_ino), fileSystem,
                              head.record)
                == Sameness::Same)
            found << name;
    }
    return found;
}

Settlement rollBackSave(const OpenJournal& j, int targetFd, JournalOnDisk onDisk, FileHolds holds)
{
    Settlement s;
    s.target = j.record.target;
    s.onDisk = onDisk;
    s.holds = holds;
    if (onDisk != JournalOnDisk::Restores) {
        if (!sameFileAt(j.fd, j.name, j.folderFd) || markState(j.fd, JournalState::Restoring) != 0) {
            s.outcome = Outcome::NotRestored;
            keepAside(j.record, s.kept);
            return s;
        }
        j.record.state = JournalState::Restoring;
        s.onDisk = JournalOnDisk::Restores;
    }
    std::optional<QByteArray> now;
    if (const int notRead = contentsFor(targetFd, j.record, now))
        return waiting(s, Outcome::OutOfReach, notRead);
    return restoreOrKeep(s, j, targetFd, now);
}

} // namespace textio
