// What the saves do with open files and folders at the system's level:
// read a whole file, tell that an open file still is the one at its name,
// flush a folder's entries, and show a path as the engineer reads it.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace textio {

// The whole contents of the open file; nothing when it cannot be read.
std::optional<QByteArray> contentsOf(int fd);

// True when the open file still is the one at `path` (not removed or
// replaced under its name since it was opened); a link at `path` is not
// followed.
bool sameFileAt(int fd, const QByteArray& path);

// Flushes a folder's entries (a new name, a removed one) to the disk.
void syncFolder(const QString& folder);

// A path as the engineer's messages show it.
QString shownPath(const QString& path);

// The refusal of a save of a file another save is writing.
QString fileBusyMessage(const QString& path);

} // namespace textio
