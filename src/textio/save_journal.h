// The rollback journal of a save that writes a file in place: a copy of the
// file's old contents (and of the new ones) in the per-user data folder, on
// the disk before the first byte of the file changes, so that a save that
// dies part-way (the program killed, the power cut) can be put right at the
// next start.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>

namespace textio {

// Puts right what saves that died part-way left, at the program's start:
// each file still as its save (or a restore of it that died in turn) left
// it gets its old contents back; a file changed since (another program
// wrote it) is left as it is, and its old contents are kept in a file of
// their own in the data folder; a file out of reach (its folder moved, its
// drive not mounted, its journal not to be locked or read now) waits for a
// later start with its journal; a journal that cannot be used (damaged, not
// the user's own, no plain file, larger than any save makes) is kept aside
// under a name of its own and never followed. The journals' folder is used
// only when it is a folder of the user's alone; a link or anything else
// there is told, never followed. Returns the messages to tell the engineer,
// one for each such file or journal (none when no save died). A journal of
// a save still running in another copy of the program is left to it.
QStringList recoverInterruptedSaves();

// ---- for the saves themselves (textfile.cpp)

// The largest old or new contents an in-place save keeps in its journal:
// a larger file is not written in place.
constexpr qint64 kMaxJournalledContents = qint64{512} << 20;

// Settles, before a save writes `target` (an absolute path), a journal a
// save of it that died left: the file gets its old contents back when it
// is as that save left it, and the save goes on (it replaces them anyway).
// Returns the refusal to report instead of saving: anything else found
// (the message tells what, and where the old contents are), or another
// program is saving it.
std::optional<QString> settleBeforeSave(const QString& target);

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

// The journal of one in-place save, open and locked while the save runs.
// Destroyed without end() or rollBack(), it stays on the disk, as the
// journal of a save that died.
class SaveJournal {
public:
    SaveJournal() = default;
    ~SaveJournal();
    SaveJournal(const SaveJournal&) = delete;
    SaveJournal& operator=(const SaveJournal&) = delete;

    // Writes the journal of the save of `bytes` over the open file
    // `targetFd` at `target`, holding `old`, and puts it and its name on
    // the disk. Nothing, or why it cannot be written, in words (then the
    // file must not be written).
    std::optional<QString> begin(const QString& target, int targetFd, const QByteArray& old,
                                 const QByteArray& bytes);
    // The new contents are whole on the disk: the journal is marked done
    // and goes. 0 once no start can take the save back; else the error
    // number, and the save must be rolled back.
    int end();
    // The write failed: the old contents go back into the file. Nothing
    // when they are back; else what the engineer is told of where they
    // are (the journal then stays, and the next start or save of the file
    // finishes the restore).
    std::optional<QString> rollBack(int targetFd);

private:
    int folderFd_ = -1;
    QByteArray name_;  // the journal's name in its folder
    int fd_ = -1;
    JournalRecord record_;
};

// ---- the journal's bytes and the decisions it serves

// The journal's bytes: a head (the file's path and identity, the time, the
// two lengths) sealed on its own, the old and the new contents, a seal of
// it all, and the one byte of its state (rewritten in place).
QByteArray encodeJournal(const JournalRecord& record);

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

// Whether a file found at the journal's path now is the file it recorded.
enum class Sameness {
    Same,     // the same inode on the same file system
    Other,    // another file
    Unknown,  // its drive came back under a name that tells nothing: the
              // contents alone decide
};
Sameness sameAsRecorded(quint64 device, quint64 inode, quint64 fileSystem, const JournalRecord& record);

} // namespace textio
