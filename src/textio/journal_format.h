// The rollback journal's bytes, and the decisions that need only them: what
// a journal records of its save, how it is written and read back whole, and
// whether a file found at the start is as that save left it. Pure: the
// only call on a file is the read of an open journal, through fileCalls().
//
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
//   "VTJ4", the head's length (4 bytes each, big-endian)
//   the head: the file's path, device, inode, file system identity and
//             type, the save's start and the two lengths (QDataStream,
//             Qt 6.0)
//   SHA-256 of the above            (the head whole: the file is known)
//   the old contents, the new contents
//   SHA-256 of everything above     (the journal whole)
//   one byte: the state (saving, restoring, done), rewritten in place
// Journals of the earlier versions are read too: "VTJ3", the same without
// the file system's type; "VTJ2", one QDataStream (Qt 6.0) of the magic,
// the path, device, inode, old and new contents, then SHA-256 of those
// bytes and the state byte. Neither tells whether its file system's
// identity lasts: for them the contents judge, as for a file system whose
// identity follows the device.
#pragma once

#include "textio/file_calls.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>

namespace textio {

// The largest old or new contents an in-place save keeps in its journal:
// a larger file is not written in place.
constexpr qint64 kMaxJournalledContents = qint64{512} << 20;

// What a journal records of its save.
enum class JournalState : char {
    Saving = 0,     // the save runs, or died
    Restoring = 1,  // a restore of the old contents has begun
    Done = 2,       // the save or the restore finished: the journal only goes
};

struct JournalRecord {
    QString target;        // absolute path of the file
    quint64 device = 0;    // the file's identity: its device and inode, and
    quint64 inode = 0;     // the identity of its file system, which stays
    quint64 fileSystem = 0;  // when a drive comes back under another device
    quint64 fileSystemType = 0;  // the file system's kind (statfs f_type); 0: not known
    qint64 savedAt = 0;    // when the save began, in ms since 1970 (UTC)
    QByteArray old;        // the file's contents before the save
    QByteArray written;    // the contents the save writes
    JournalState state = JournalState::Saving;
};

// The journal's bytes: a head (the file's path and identity, the time, the
// two lengths) sealed on its own, the old and the new contents, a seal of
// it all, and the one byte of its state (rewritten in place).
QByteArray encodeJournal(const JournalRecord& record);

// Gives the journal's bytes piece by piece to `put` (0, or an error number
// that stops it), the contents as they are: nothing is copied but the head.
// 0, or the error number `put` gave.
int writeJournal(const JournalRecord& record, const std::function<int(QByteArrayView)>& put);

// What a journal's bytes give.
struct JournalReading {
    enum Kind {
        Whole,       // `record` holds it all
        Damaged,     // wrong bytes; `record.target` is the file where its head is whole
        TooLarge,    // larger than any save makes: not read
        Unreadable,  // could not be read now (`error`)
    };
    Kind kind = Damaged;
    JournalRecord record;
    int error = 0;
    // Where its state byte is, its last, once its head is whole and its
    // length the one the head tells; else -1.
    qint64 stateAt = -1;
};

// How much of a journal is read.
enum class JournalPart {
    Head,   // what tells its file: the path and the identity, not the contents
    Whole,  // all of it, every seal checked
};

// Reads the journal open as `fd`, checking its size before anything and
// each seal as it reads. Of a head alone, Whole means the head tells its
// file (sealed, but in a "VTJ2" journal, whose one seal is at its end: its
// file is known for sure only once the journal is read whole).
JournalReading readJournal(int fd, JournalPart part = JournalPart::Whole);

// readJournal() of these bytes.
JournalReading decodeJournal(const QByteArray& bytes, JournalPart part = JournalPart::Whole);

// True when `now` is a state the save of `record` (and a restore of it,
// once begun) can leave the file in, wherever it dies or the power is cut:
// its length is the old or the new one, and each of its bytes is the old or
// the new contents at its place, or a zero where the file was lengthened
// before the bytes were written.
bool leftBySaveOrRestore(QByteArrayView now, const JournalRecord& record);

// True when a file of `size` bytes has a length the save of `record` (or a
// restore of it) leaves: the old or the new one.
bool aLengthItsSaveLeaves(qint64 size, const JournalRecord& record);

// True when file systems of the kind `type` (statfs f_type) keep their
// identity (statfs f_fsid, derived from the volume's own UUID) whatever
// device they come back under: ext2/3/4 and btrfs. Elsewhere (xfs, vfat,
// exfat and the like) the identity follows the device.
bool identityLasts(quint64 type);

// Whether a file found now is the file the journal recorded.
enum class Sameness {
    Same,             // the same inode on the same file system
    Other,            // another file on the journal's file system
    Unknown,          // its drive came back under a name that tells nothing:
                      // the contents alone decide
    OtherFileSystem,  // on a file system surely not the journal's (whose
                      // identity lasts): not its file, which is out of reach
};
Sameness sameAsRecorded(quint64 device, quint64 inode, const FileSystemInfo& fileSystem,
                        const JournalRecord& record);

// True when a file on `device`, of the file system `fileSystem` (its id 0:
// none known), is surely on the file system the journal recorded: the same
// identity and type where the recorded identity lasts, else the same
// device or identity.
bool onRecordedFileSystem(quint64 device, const FileSystemInfo& fileSystem, const JournalRecord& record);

} // namespace textio
