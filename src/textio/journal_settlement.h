// The settlement of a journal a save left: one decision per journal, at the
// start or before the next save of its file, and for a failed save its own
// rollback; each gives one outcome, which journal_messages.h puts in words.
#pragma once

#include "textio/journal_files.h"
#include "textio/journal_format.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

#include <cerrno>

namespace textio {

// Why a journal cannot be used.
enum class Unfit {
    None,
    NotPlainFile,      // a link, a folder, a device
    NotOwn,            // another user's
    WritableByOthers,  // others may write it
    NoAccess,          // it cannot be opened (`Settlement::denied`)
    TooLarge,          // larger than any save makes
    Damaged,           // its bytes are incomplete or wrong
};

// What a save last verified of its journal on the disk.
enum class JournalOnDisk {
    Restores,  // at its name, flushed, in a state that makes the next start
               // restore the old contents (saving or restoring)
    Retired,   // no start takes it for a save: its done mark flushed, or its
               // removal
    Unknown,   // a mark, a flush or a removal failed part-way: the next
               // start may find it either way, and decides
};

// Where a save last verified the file's contents.
enum class FileHolds {
    Old,      // the old contents, flushed
    New,      // the new contents, flushed
    Unknown,  // partly written, or not flushed
};

// What the settling of one journal did, and what its message needs.
struct Settlement {
    enum class Outcome {
        None,               // no journal, one settled by someone else meanwhile, or one done
        Busy,               // a save of the file is running
        Restored,           // the file has its old contents back
        KeptAside,          // the file changed since: left alone, the old contents kept
        NotRestored,        // the old contents could not be written back: kept, retried later
        OutOfReach,         // the file cannot be checked now: the journal waits
        JournalNotLocked,   // the journal cannot be locked now (not held by a save): it waits
        JournalUnreadable,  // the journal cannot be opened or read now: it waits
        Unusable,           // the journal cannot be used: moved aside, never followed
    };

    Outcome outcome = Outcome::None;
    QString target;   // the file; empty where the journal does not tell it
    QString journal;  // the journal's path
    QString kept;     // where the old contents (or the unusable journal) are; empty: still in the journal
    Unfit unfit = Unfit::None;  // why a journal cannot be used
    int denied = 0;   // Unfit::NoAccess: the error of the journal's opening
    int error = 0;    // why the file could not be restored or checked, or the journal read or moved
    // For a failed save's rollback, what it last verified: its journal, and
    // the file's contents.
    JournalOnDisk onDisk = JournalOnDisk::Restores;
    FileHolds holds = FileHolds::Unknown;
};

// A journal open and locked by its settling: where it is, and what it holds.
struct OpenJournal {
    int folderFd;
    QByteArray name;
    int fd;
    JournalRecord& record;
};

// The error of a file out of reach (Outcome::OutOfReach) because what is
// at its place is on another file system than its own (an empty mount
// point, another drive): the journal waits for its file system.
constexpr int kNotOnItsFileSystem = EXDEV;

// Settles the journal `name` in `folder`: is it one to follow (the user's
// own plain file, not held by a running save, whole), and then what state
// its file is in, and what to do. `fileFd`, where not -1, is the open file
// a save is about to write: when it is the journal's file, it is settled
// as it is, whatever path the journal names it by.
Settlement settle(const JournalFolder& folder, const QString& name, int fileFd = -1);

// The journals in `folder` whose head records the open file `fileFd` (the
// same file system and inode), whatever path they name it by; none when
// `fileFd` is -1 or cannot be looked at.
QStringList journalsOfFile(const JournalFolder& folder, int fileFd);

// The save of the journal `j` failed writing the file open as `targetFd`
// (locked by the save), its journal as `onDisk` and the file as `holds`
// last verified: its old contents go back into it, else they are kept
// aside and the journal stays. Only a journal known to restore them lets
// them go back: one whose retiring failed part-way is first marked
// restoring again, its name checked; where that fails, nothing is guessed:
// the file keeps what it holds, the old contents are kept aside, and the
// journal as the disk holds it decides at the next start.
Settlement rollBackSave(const OpenJournal& j, int targetFd, JournalOnDisk onDisk, FileHolds holds);

} // namespace textio
