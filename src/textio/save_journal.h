// The rollback journal of a save that writes a file in place: a copy of the
// file's old contents (and of the new ones) in the per-user data folder, on
// the disk before the first byte of the file changes, so that a save that
// dies part-way (the program killed, the power cut) can be put right at the
// next start. Its bytes and the decision they serve: journal_format.h; its
// files and folder: journal_files.h; the settling of one a save left:
// journal_settlement.h; what the engineer is told: journal_messages.h.
#pragma once

#include "textio/journal_format.h"
#include "textio/journal_settlement.h"

#include <QByteArray>
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

// ---- for the saves themselves (in_place_save.cpp, textfile.cpp)

// Settles, before a save writes `target` (an absolute path), a journal a
// save of it that died left: the file gets its old contents back when it
// is as that save left it, and the save goes on (it replaces them anyway).
// Returns the refusal to report instead of saving: anything else found
// (the message tells what, and where the old contents are), or another
// program is saving it.
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
    // `targetFd` at `target`, holding `old`, and puts it and its name on
    // the disk. Nothing, or why it cannot be written, in words (then the
    // file must not be written).
    std::optional<QString> begin(const QString& target, int targetFd, const QByteArray& old,
                                 const QByteArray& bytes);
    // The new contents are whole on the disk: the journal is marked done
    // and goes. 0 once no start can take the save back; else the error
    // number, and the save must be rolled back.
    int end();
    // The write failed, or end() did, the file holding what `holds` says:
    // the old contents go back into the file. Restored when they are back;
    // else the journal stays, and the next start or save of the file
    // finishes the restore, or, where the journal could not be verified,
    // the journal as the disk holds it decides (failedSaveMessage() tells
    // where the contents are).
    Settlement rollBack(int targetFd, FileHolds holds);

private:
    int folderFd_ = -1;
    QByteArray name_;  // the journal's name in its folder
    int fd_ = -1;
    JournalRecord record_;
    // What was last verified of the journal on the disk.
    JournalOnDisk onDisk_ = JournalOnDisk::Unknown;
};

} // namespace textio
