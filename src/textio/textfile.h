// Sequential text files of the program: code page 936 without a byte order
// mark, every line ended by CR LF, as the Windows programs that share these
// files expect them.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace textio {

// What a save does with a symbolic link at the target's path: a file the
// engineer picked is the file the link names; a work file of the program
// is its own, and a link planted under its name is replaced, never followed.
enum class LinkRule { Follow, Replace };

// The reason of a failed file operation as an engineer reads it ("磁盘已满"),
// from the system's error number.
QString reasonInWords(int error);

// Writes `bytes` as the whole new contents of the file at `path`, all or
// nothing: they go to a temporary file beside it, every write, the flush to
// the disk and the close are checked, and only then does the temporary file
// take the place of the target. On any failure the target is byte for byte
// as it was (or still absent) and no temporary file is left. A target that
// exists but is read-only, or is no file (a folder, a device, a pipe), is
// refused. A replaced file keeps its owner and mode, and its new name is
// flushed to the disk with its folder. Temporary files that the program's
// saves which died part-way left in the folder are removed first (only
// those: see save_temporaries.h).
// A writable file in a folder that takes no new file is written in place,
// locked for the whole write (a second save of it meanwhile is refused):
// its old contents are kept in a journal in the per-user data folder until
// the new ones are whole on the disk, and written back should the write
// fail. Only a copy that could not be written back stays, and the message
// names it. A file whose old or new contents pass kMaxJournalledContents
// (journal_format.h) is not written in place: the save is refused (see
// in_place_save.h). A journal a save that died left for the file is settled before
// the file is written again (see save_journal.h); when the file changed
// since, the save is refused with a message telling where the old contents
// are.
// Returns a message naming the file and the reason in words ("磁盘已满"),
// or nothing on success.
std::optional<QString> replaceFileContents(const QString& path, const QByteArray& bytes,
                                           LinkRule links = LinkRule::Follow);

// Writes each line followed by CR LF, replacing the file's contents as
// replaceFileContents() does. Returns an error message, or nothing on
// success. The whole text is encoded before anything is written: a
// character that code page 936 cannot hold is reported (with its line and
// column) and the file is not touched.
std::optional<QString> writeCp936Lines(const QString& path, const QStringList& lines,
                                       LinkRule links = LinkRule::Follow);

// Writes a whole text as lines: its own line breaks (CR LF, a lone CR or a
// lone LF) become CR LF and a final CR LF is appended, as a Print statement
// of the text would write it. So "" gives a file holding only CR LF, and
// "a\n" gives "a" CR LF CR LF. Errors as writeCp936Lines().
std::optional<QString> writeCp936Text(const QString& path, const QString& text);

struct ReadLinesResult {
    QStringList lines;
    std::optional<QString> error;
};

// Reads a code page 936 file as lines. A line ends at CR LF, a lone CR or a
// lone LF; a last line without a line break counts as a line; an empty file
// gives no lines. A byte sequence that is not code page 936 is an error, and
// then no lines are returned.
ReadLinesResult readCp936Lines(const QString& path);

// True when the path names an existing file (not a folder).
bool fileExists(const QString& path);

// Clears the read-only state of a file before it is overwritten: sets the
// owner's write permission. True on success, also when it was writable.
bool clearReadOnly(const QString& path);

// Overwrites a file the engineer chose to replace: an existing read-only
// file is made writable first and, should `write` fail, gets its former
// permissions back. Returns the error of `write`, or that of clearing the
// read-only state (then `write` is not called); nothing on success.
std::optional<QString> overwriteFile(const QString& path,
                                     const std::function<std::optional<QString>()>& write);

} // namespace textio
