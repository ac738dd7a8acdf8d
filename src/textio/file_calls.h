// The calls the in-place saves and their journals make on files and folders,
// behind one seam: the program's are the system's own; a test puts a
// simulated disk in their place (one that keeps what is flushed apart from
// what is only written, and can lose the latter as a power cut does), or
// one that fails a chosen call.
//
// One convention for every call: it returns 0, or the error number (an
// errno value) of its failure; what it gives back goes into its last
// arguments. Paths are bytes as the file system stores them; `folder` is a
// folder open as a descriptor, or AT_FDCWD for the working folder (an
// absolute path ignores it).
#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <vector>

#include <sys/stat.h>
#include <sys/types.h>

namespace textio {

// What the system tells of the file system a file is on (statfs).
struct FileSystemInfo {
    quint64 id = 0;    // f_fsid: 0 where the system gives none
    quint64 type = 0;  // f_type: the kind of file system (its magic number)
};

class FileCalls {
public:
    virtual ~FileCalls() = default;

    // openat(2): `fd` the new descriptor. O_TMPFILE makes an unnamed file.
    virtual int open(int folder, const QByteArray& path, int flags, mode_t mode, int& fd) = 0;
    virtual int close(int fd) = 0;
    // pread(2) and pwrite(2), one call each: `done` the bytes moved (0 at
    // the end of the file, for a read).
    virtual int read(int fd, char* to, qint64 size, qint64 offset, qint64& done) = 0;
    virtual int write(int fd, const char* from, qint64 size, qint64 offset, qint64& done) = 0;
    // fsync(2) (a file, or a folder's names) and fdatasync(2).
    virtual int sync(int fd) = 0;
    virtual int syncData(int fd) = 0;
    virtual int truncate(int fd, qint64 size) = 0;
    // Gives the open unnamed file `fd` the name `name` in `folder`
    // (linkat(2) of the open file; EEXIST: the name is taken).
    virtual int linkOpen(int fd, int folder, const QByteArray& name) = 0;
    // linkat(2) without following a link; renameat2(2), `noReplace`:
    // RENAME_NOREPLACE (EEXIST: the name is taken); unlinkat(2), `flags`
    // AT_REMOVEDIR for a folder.
    virtual int link(int fromFolder, const QByteArray& from, int toFolder, const QByteArray& to) = 0;
    virtual int rename(int fromFolder, const QByteArray& from, int toFolder, const QByteArray& to,
                       bool noReplace) = 0;
    virtual int unlink(int folder, const QByteArray& name, int flags) = 0;
    // mkdirat(2).
    virtual int makeFolder(int folder, const QByteArray& name, mode_t mode) = 0;
    // flock(2) (EWOULDBLOCK: another holds it; ENOLCK: the file system takes
    // no lock).
    virtual int lock(int fd, int operation) = 0;
    // Whether a POSIX record lock (fcntl or lockf, of any process, this one
    // included) stands anywhere in the open file: an F_OFD_GETLK probe.
    virtual int recordLocked(int fd, bool& held) = 0;
    // fstat(2), fstatat(2) (`flags` AT_SYMLINK_NOFOLLOW), fstatfs(2).
    virtual int status(int fd, struct stat& st) = 0;
    virtual int statusAt(int folder, const QByteArray& path, int flags, struct stat& st) = 0;
    virtual int fileSystem(int fd, FileSystemInfo& info) = 0;
    // fchmod(2).
    virtual int changeMode(int fd, mode_t mode) = 0;
    // The names in the open folder (readdir(3), "." and ".." left out).
    virtual int names(int folder, std::vector<QByteArray>& names) = 0;
};

// Calls passed on to others: the base of calls that change a few of them
// (a fault made on purpose, another program's move in a test). Before each
// call but close() passes, refusal() is asked: an error number stops the
// call there, with nothing changed. A close always passes, as the system
// closes a file whatever else fails.
class ForwardingFileCalls : public FileCalls {
public:
    explicit ForwardingFileCalls(FileCalls& to)
        : to_(to)
    {
    }

    int open(int folder, const QByteArray& path, int flags, mode_t mode, int& fd) override;
    int close(int fd) override;
    int read(int fd, char* to, qint64 size, qint64 offset, qint64& done) override;
    int write(int fd, const char* from, qint64 size, qint64 offset, qint64& done) override;
    int sync(int fd) override;
    int syncData(int fd) override;
    int truncate(int fd, qint64 size) override;
    int linkOpen(int fd, int folder, const QByteArray& name) override;
    int link(int fromFolder, const QByteArray& from, int toFolder, const QByteArray& to) override;
    int rename(int fromFolder, const QByteArray& from, int toFolder, const QByteArray& to,
               bool noReplace) override;
    int unlink(int folder, const QByteArray& name, int flags) override;
    int makeFolder(int folder, const QByteArray& name, mode_t mode) override;
    int lock(int fd, int operation) override;
    int recordLocked(int fd, bool& held) override;
    int status(int fd, struct stat& st) override;
    int statusAt(int folder, const QByteArray& path, int flags, struct stat& st) override;
    int fileSystem(int fd, FileSystemInfo& info) override;
    int changeMode(int fd, mode_t mode) override;
    int names(int folder, std::vector<QByteArray>& names) override;

protected:
    // 0 to let every call pass; else the error number each call fails with.
    virtual int refusal() const { return 0; }
    FileCalls& passedTo() const { return to_; }

private:
    template <typename Call>
    int passed(const Call& call) const
    {
        const int refused = refusal();
        return refused != 0 ? refused : call();
    }

    FileCalls& to_;
};

// The calls in force: the system's, unless a test put others in their place.
FileCalls& fileCalls();

// The system's own calls.
FileCalls& systemFileCalls();

// Puts `calls` in force while it lives (tests only).
class ScopedFileCalls {
public:
    explicit ScopedFileCalls(FileCalls& calls);
    ~ScopedFileCalls();
    ScopedFileCalls(const ScopedFileCalls&) = delete;
    ScopedFileCalls& operator=(const ScopedFileCalls&) = delete;

private:
    FileCalls* previous_;
};

} // namespace textio
