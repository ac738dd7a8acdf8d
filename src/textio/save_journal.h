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
// drive not mounted) waits for a later start with its journal; a journal
// that cannot be used (damaged, not the user's own, no plain file) is kept
// aside under a name of its own and never followed. Returns the messages to
// tell the engineer, one for each such file or journal (none when no save
// died). A journal of a save still running in another copy of the program
// is left to it.
QStringList recoverInterruptedSaves();

// ---- for the saves themselves (textfile.cpp)

// Settles, before a save writes `target` (an absolute path), a journal a
// save of it that died left: the file gets its old contents back when it
// is as that save left it, and the save goes on (it replaces them anyway).
// Returns the refusal to report instead of saving: anything else found
// (the message tells what, and where the old contents are), or another
// program is saving it.
std::optional<QString> settleBeforeSave(const QString& target);

// What a journal records of its save.
struct JournalRecord {
    QString target;          // absolute path of the file
    quint64 device = 0;      // the file's identity
    quint64 inode = 0;
    QByteArray old;          // the file's contents before the save
    QByteArray written;      // the contents the save writes
    bool restoring = false;  // a restore of `old` has begun
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
    // `targetFd` at `target`, holding `old`, and flushes it and its folder
    // to the disk. 0, or the error number of a failure (then the file must
    // not be written).
    int begin(const QString& target, int targetFd, const QByteArray& old, const QByteArray& bytes);
    // The new contents are whole on the disk: the journal goes.
    void end();
    // The write failed: the old contents go back into the file. Nothing
    // when they are back; else where they are kept (the journal then stays,
    // and the next start or save of the file finishes the restore).
    std::optional<QString> rollBack(int targetFd);

private:
    QString path_;
    int fd_ = -1;
    JournalRecord record_;
};

// ---- the journal's bytes and the decision it serves

// The journal's bytes: the record, a SHA-256 seal of it, and the one byte
// that tells that a restore has begun (rewritten in place).
QByteArray encodeJournal(const JournalRecord& record);

// The record of a whole, sealed journal; nothing for any other bytes.
std::optional<JournalRecord> decodeJournal(const QByteArray& bytes);

// True when `now` is a state the save of `record` (and a restore of it,
// once begun) can leave the file in, wherever it dies or the power is cut:
// its length is the old or the new one, and each of its bytes is the old or
// the new contents at its place, or a zero where the file was lengthened
// before the bytes were written.
bool leftBySaveOrRestore(QByteArrayView now, const JournalRecord& record);

} // namespace textio
