// Every sentence the engineer is told about the journals of in-place saves,
// written in one place from the outcome they tell: at the start, before a
// save of a file a save that died left, and for a save that failed.
#pragma once

#include "textio/journal_files.h"
#include "textio/journal_settlement.h"

#include <QString>

#include <optional>

namespace textio {

// What the engineer is told at the start of a settled journal; nothing when
// there is nothing to tell.
std::optional<QString> settlementMessage(const Settlement& s);

// What the start tells of a journals' folder it cannot use (not missing).
QString journalFolderMessage(const JournalFolder& folder);

// Why no journal can be written in the folder, in words; nothing when one
// can.
std::optional<QString> journalFolderProblem(const JournalFolder& folder);

// The refusal of a save of `target` for what its settling found; nothing
// when the save goes on.
std::optional<QString> beforeSaveRefusal(const QString& target, const Settlement& s);

// The in-place save of `path` failed for `error` and was rolled back as
// `s` tells: where the old and the new contents are, as last verified, and
// what the next start will do (or that it cannot be known).
QString failedSaveMessage(const QString& path, int error, const Settlement& s);

// The in-place save of `path` refused: its journal could not be written
// (`why`, in words).
QString journalNotWrittenMessage(const QString& path, const QString& why);

// Which contents are too large for a journal.
enum class TooLarge {
    File,      // the file's own
    Contents,  // the new ones
};

// The in-place save of `path` refused: the contents are too large to keep
// in a journal.
QString tooLargeForJournalMessage(const QString& path, TooLarge which);

} // namespace textio
