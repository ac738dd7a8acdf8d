// The rollback journal of a save that writes a file in place: a copy of the
// file's old contents in the per-user data folder, on the disk before the
// first byte of the file changes, so that a save that dies part-way (the
// program killed, the power cut) can be put right at the next start.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace textio {

// Puts right what saves that died part-way left, at the program's start:
// each file still as its save left it gets its old contents back; a file
// changed since (another program wrote it) is left as it is, and its old
// contents are kept in a file of their own in the data folder. Returns the
// messages to tell the engineer, one for each such file (none when no save
// died). A journal of a save still running in another copy of the program
// is left to it.
QStringList recoverInterruptedSaves();

// ---- for the saves themselves (textfile.cpp)

// Settles, before a save writes `target` (an absolute path), a journal a
// save of it that died left: the file gets its old contents back when it
// is as that save left it, and the save goes on (it replaces them anyway).
// Returns the refusal to report instead of saving: the file changed since
// (the message tells where the old contents are), or another program
// is saving it.
std::optional<QString> settleBeforeSave(const QString& target);

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
    // when they are back; else where they are kept.
    std::optional<QString> rollBack(int targetFd);

private:
    QString path_;
    int fd_ = -1;
};

} // namespace textio
