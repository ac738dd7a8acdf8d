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
//   "VTJ3", the head's length (4 bytes each, big-endian)
//   the head: the file's path, device, inode, file system, the save's
//             start and the two lengths (QDataStream, Qt 6.0)
//   SHA-256 of the above            (the head whole: the file is known)
//   the old contents, the new contents
//   SHA-256 of everything above     (the journal whole)
//   one byte: the state (saving, restoring, done), rewritten in place
#pragma once

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

// Reads the journal open as `fd`, checking its size before anything and
// each seal as it reads.
JournalReading readJournal(int fd);

// readJournal() of these bytes.
JournalReading decodeJournal(const QByteArray& bytes);

// True when `now` is a state the save of `record` (and a restore of it,
// once begun) can leave the file in, wherever it dies or the power is cut:
// its length is the old or the new one, and each of its bytes is the old or
// the new contents at its place, or a zero where the file was lengthened
// before the bytes were written.
bool leftBySaveOrRestore(QByteArrayView now, const JournalRecord& record);

// True when a file of `size` bytes has a length the save of `record` (or a
// restore of it) leaves: the old or the new one.
bool aLengthItsSaveLeaves(qint64 size, const JournalRecord& record);

// Whether a file found at the journal's path now is the file it recorded.
enum class Sameness {
    Same,     // the same inode on the same file system
    Other,    // another file
    Unknown,  // its drive came back under a name that tells nothing: the
              // contents alone decide
};
Sameness sameAsRecorded(quint64 device, quint64 inode, quint64 fileSystem, const JournalRecord& record);

// True when a file on `device`, of the file system `fileSystem` (0: none
// known), is on the file system the journal recorded.
bool onRecordedFileSystem(quint64 device, quint64 fileSystem, const JournalRecord& record);

} // namespace textio
