// What the saves do with open files and folders at the system's level:
// read and write a whole file, lock it, tell that an open file still is the
// one at its name, flush a folder's entries, make the per-user data folder,
// fit a name into a folder, and show a path as the engineer reads it.
#pragma once

#include "textio/file_calls.h"
#include "textio/write_fault.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

#include <fcntl.h>

namespace textio {

// Every call these helpers make on files and folders goes through
// fileCalls(); each returns 0 or an error number unless it says otherwise.

// Closes the open file it holds (none: -1) when it goes.
struct FileCloser {
    explicit FileCloser(int opened)
        : fd(opened)
    {
    }
    ~FileCloser();
    FileCloser(const FileCloser&) = delete;
    FileCloser& operator=(const FileCloser&) = delete;

    const int fd;
};

// The whole contents of the open file into `contents`, read into room made
// once for its size; EFBIG, unread, when it is (or grows) larger than
// `largest` bytes.
int contentsOf(int fd, QByteArray& contents, qint64 largest);

// Writes the bytes at `offset` of the open file, whole; 0, or the error
// number of a failure.
int writeFully(int fd, QByteArrayView bytes, qint64 offset);

// As writeFully(), for an engineer's file (a save, a restore of its old
// contents): a fault made on purpose (write_fault.h) stops it where it says.
int writeEngineersFile(int fd, QByteArrayView bytes, qint64 offset);

// flock() on the open file, or the fault of a file system that takes no
// lock; 0, or the error number (EWOULDBLOCK: another holds it).
int lockFile(int fd, int operation);

// True when the open file still is the one at `path` (not removed or
// replaced under its name since it was opened); a link at `path` is not
// followed. `path` relative to the folder open as `folderFd`, or to the
// working folder (AT_FDCWD).
bool sameFileAt(int fd, const QByteArray& path, int folderFd = AT_FDCWD);

// The file system the open file is on, as the system gives it (statfs):
// its identity, which stays when a drive comes back under another device
// number, and its type; zeros where the system gives none.
FileSystemInfo fileSystemOf(int fd);

// Removes the file at `path` that a save which died left behind (a
// temporary file, a part-written journal) when it is unused: a regular file
// (a link under the name is not followed), the running user's, held by no
// one (no flock lock, no POSIX fcntl or lockf lock) and still the file
// examined when it goes. Where the file system takes no lock, none can be
// shown unused, and it stays. `path` as for sameFileAt().
void removeLeftFile(const QByteArray& path, int folderFd = AT_FDCWD);

// Flushes a folder's entries (a new name, a removed one) to the disk; 0, or
// the error number of a failure.
int syncFolder(const QString& folder);

// The longest file name, in bytes, that `folder` takes.
qsizetype nameRoomIn(const QString& folder);

// `name` cut at its end, by whole characters (never half of one outside
// the basic plane), to at most `maxBytes` bytes as the file system stores
// it.
QString shortenedName(const QString& name, qsizetype maxBytes);

// The per-user data folder, where the program keeps its own files.
QString dataFolder();

// Makes the folder at `path` with every folder missing above it, each
// private to the user (0700, whatever the umask), and flushes each new
// name to the disk with the folder it stands in. An existing folder of the
// user's that others may read or write is made private too. 0, or the
// error number of a failure.
int makePrivateFolder(const QString& path);

// A path as the engineer's messages show it.
QString shownPath(const QString& path);

// The refusal of a save of a file another save is writing.
QString fileBusyMessage(const QString& path);

// A save that failed writing the file, for `error`.
QString writeFailedMessage(const QString& path, int error);

} // namespace textio
