// The save that writes the new contents over a file itself, for a writable
// file in a folder that takes no new file, with a rollback journal
// (save_journal.h).
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace textio {

// Writes `bytes` over the file at `path` (absolute; a link at the name is
// not followed) in place: the file is locked for the whole write, so that
// a second save of it is refused, not interleaved; its old and new contents
// go to a journal in the per-user data folder, on the disk before the first
// byte of the file changes. A file that grows is lengthened first and one
// that shrinks is cut last, so that wherever the save dies the file has its
// old or its new length (see journal_format.h). Should the new contents not
// be written whole, the old ones are written back. The journal goes once
// the file holds one or the other; one left by a save that died is settled
// at the next start or before the next save of the file. Old or new
// contents larger than a journal keeps are refused before the file is
// read. Nothing, or the refusal or failure to report, naming the file as
// `shownAs` (empty: as `path`).
std::optional<QString> saveInPlace(const QString& path, const QByteArray& bytes,
                                   const QString& shownAs = QString());

} // namespace textio
