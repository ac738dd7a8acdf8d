// The journals' files: their folder (the data folder's "saves", used only
// when it is the user's alone), their names, new files that no one finds
// under a name before they are whole, the state mark and the retiring of a
// journal that has served, copies of old contents kept in the data folder,
// and journals that cannot be used, set aside. Every call on files and
// folders goes through fileCalls(); each returns 0 or an error number.
#pragma once

#include "textio/journal_format.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cerrno>

namespace textio {

// The endings of journals, of files not yet whole, and of copies of old
// contents.
QString journalEnd();
QString partEnd();
QString copyEnd();

// What the journals' folder is for its user.
enum class FolderUse {
    Open,  // used where it is: a start, a save's settling
    Make,  // made (with the data folder) where missing: a save's journal
};

// Why the journals' folder is not the user's alone.
enum class FolderFault {
    None,
    Link,       // a link stands at its name
    NotFolder,  // something else stands at its name
    NotOwn,     // another user's
};

// The journals' folder, the data folder's "saves", open: used only when it
// is a folder of the user's alone. A link or anything else under its name
// is never followed.
class JournalFolder {
public:
    explicit JournalFolder(FolderUse use);
    ~JournalFolder();
    JournalFolder(const JournalFolder&) = delete;
    JournalFolder& operator=(const JournalFolder&) = delete;

    int fd() const { return fd_; }
    QString path() const { return path_; }
    // There is none (and none was to be made).
    bool missing() const { return fd_ < 0 && fault_ == FolderFault::None && error_ == ENOENT; }
    // Why it cannot be used as not the user's alone; None when it is.
    FolderFault fault() const { return fault_; }
    // Why it could not be opened or made (0: it is open, or has a fault).
    int error() const { return error_; }
    // The open folder, now the caller's to close.
    int release();

private:
    QString path_;
    int fd_ = -1;
    int error_ = 0;
    FolderFault fault_ = FolderFault::None;
};

// The names in the folder open as `folderFd` that end with `end`, sorted.
QStringList namesIn(int folderFd, const QString& end);

// The one journal name of a file: its name, shortened, and a digest of its
// whole path.
QString journalNameFor(const QString& folder, const QString& target);

// Removes what saves and starts that died left half written: journals
// and copies of old contents under their part names, unused.
void removeLeftParts(const JournalFolder& folder);

// A new file of the user's alone in the folder open as `folderFd` that no
// one finds under a name before it is locked and whole: written unnamed
// (O_TMPFILE) and given its name once whole, or, on a file system that
// makes no unnamed file, written as "<name>.part", locked the moment it is
// there (a start removes only parts it can lock, and a part removed before
// the lock is made again). Not published, it is gone with this object.
class NewFile {
public:
    NewFile(int folderFd, const QString& name);
    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    // Makes it, locked; 0, or the error number.
    int create();
    int fd() const { return fd_; }
    // It has its name (whether or not the name is on the disk).
    bool published() const { return published_; }
    // Gives it its name and puts the name on the disk; 0, or the error
    // number (EEXIST: the name is taken).
    int publish();
    // The open file, now the caller's to close.
    int release();

private:
    int locked() const;

    int folderFd_;
    QByteArray name_;
    QByteArray part_;
    int fd_ = -1;
    bool published_ = false;
};

// Writes the state byte of the journal open as `fd` and flushes it.
int markState(int fd, JournalState state);

// The journal open as `fd` as `name` in the folder open as `folderFd` has
// served: marked done, so that no start takes it for a save that died, and
// removed. 0 once no start can take it so (marked, or its removal on the
// disk); else the error number.
int retire(int folderFd, const QByteArray& name, int fd);

// Keeps the old contents of a file as a plain file of the user's in the
// data folder, named after the file and the time its save began (UTC), once
// for each journal: the copy an earlier start made serves again. It counts
// as kept only when whole under its name, the name on the disk. 0 and its
// path in `path`, or the error number.
int keepAside(const JournalRecord& record, QString& path);

// Moves the journal `journal` that cannot be used out of the way, under a
// name no start takes for a journal, without following or opening it; 0
// and the new path in `path`, or the error number.
int keepJournalAside(const JournalFolder& folder, const QString& journal, QString& path);

} // namespace textio
