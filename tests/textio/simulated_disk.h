// A disk held in memory, put in the place of the system's file calls
// (textio::ScopedFileCalls) by tests of what a power cut or a failing call
// leaves behind.
//
// It keeps, for every file, what was flushed to it apart from what was only
// written, and for every folder the names flushed apart from the names only
// made, removed or moved since: a power cut (powerCut) gives the disk a real
// one could hold afterwards. A test can cut the power after any call
// (cutAfterCall) or fail chosen calls without their effect (failCall,
// failCalls), and reads in the log of calls where that fell.
//
// The calls behave as Linux's do for one process of the user ::geteuid()
// (root passes every check of the mode bits): absolute paths, or paths from
// an open folder or AT_FDCWD (the working folder is "/"); symbolic links
// followed but where the call or O_NOFOLLOW / AT_SYMLINK_NOFOLLOW says
// otherwise; O_TMPFILE files named later by linkOpen; hard links; flock per
// open file description. A request for a lock that another holds fails with
// EWOULDBLOCK even without LOCK_NB: nothing here could ever release it.
#pragma once

#include "textio/file_calls.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <map>
#include <memory>
#include <optional>
#include <vector>

#include <sys/types.h>

namespace textio::testing {

// What a power cut keeps of what was written but not flushed.
struct PowerCut {
    enum class Keep {
        FlushedOnly,  // nothing: unflushed writes, lengths and names are lost
        All,          // everything written survives
        Scrambled,    // some: per file a prefix of its unflushed writes and
                      // cuts, per folder any subset of its unflushed name
                      // changes, drawn from the seed
    };
    Keep keep = Keep::FlushedOnly;
    quint64 seed = 0;
};

inline constexpr PowerCut KeepFlushedOnly{PowerCut::Keep::FlushedOnly, 0};
inline constexpr PowerCut KeepAll{PowerCut::Keep::All, 0};
constexpr PowerCut Scrambled(quint64 seed)
{
    return {PowerCut::Keep::Scrambled, seed};
}

// The calls of textio::FileCalls, as the log and the faults name them.
enum class CallKind {
    Open, Close, Read, Write, Sync, SyncData, Truncate, LinkOpen, Link, Rename, Unlink,
    MakeFolder, Lock, RecordLocked, Status, StatusAt, FileSystem, ChangeMode, Names,
};

// One call made: its number (from 1), kind, descriptor (-1 where it takes
// none; the new one for an open) and path (the second after " -> " for a
// link or a rename), and what it returned.
struct SimulatedCall {
    int number = 0;
    CallKind kind = CallKind::Open;
    int fd = -1;
    QByteArray path;
    int result = 0;

    // "12 rename saves/a.part -> saves/a: 0", for a test's message.
    QString text() const;
};

QString callKindName(CallKind kind);

class SimulatedDisk final : public FileCalls {
public:
    // An empty disk: the folder "/" (0755, of the running user), on the
    // device `device` of the file system `fileSystem`.
    explicit SimulatedDisk(dev_t device = 0x801, FileSystemInfo fileSystem = {0x1234, 0xef53});
    ~SimulatedDisk() override;
    SimulatedDisk(SimulatedDisk&&) noexcept;
    SimulatedDisk& operator=(SimulatedDisk&&) noexcept;

    // ---- textio::FileCalls
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

    // ---- power cuts
    // What a disk could hold after a cut now: no descriptor open, no lock
    // held, a file named nowhere gone. This disk stays as it is.
    SimulatedDisk powerCut(PowerCut mode) const;
    // After this disk's n-th call (every call counts, a failed one too, as
    // callCount() does) it takes powerCut(mode) as its image; every later
    // call fails with EIO and changes nothing.
    void cutAfterCall(int n, PowerCut mode = KeepFlushedOnly);
    bool isCut() const;
    // The image taken at the cut (nullptr before it).
    const SimulatedDisk* image() const;
    SimulatedDisk takeImage();

    // ---- faults: the call fails with `error` and does nothing
    // The n-th call (counted as cutAfterCall counts).
    void failCall(int n, int error);
    // Every call of `kind` from its `fromNth` on (counted among the calls of
    // that kind, from 1).
    void failCalls(CallKind kind, int fromNth, int error);

    // ---- the calls made
    int callCount() const;
    const std::vector<SimulatedCall>& calls() const;
    // The log, a call a line.
    QString callsText() const;

    // ---- set-up and checks for tests: not counted, not logged, and what
    // they make is flushed (names and contents alike). Paths are absolute;
    // links are followed but in exists() and symlink().
    void makeFolders(const QByteArray& path, mode_t mode = 0755);
    void writeFile(const QByteArray& path, const QByteArray& bytes, mode_t mode = 0644);
    void symlink(const QByteArray& target, const QByteArray& path);
    void chmod(const QByteArray& path, mode_t mode);
    void setOwner(const QByteArray& path, uid_t uid);
    // The contents as written now (flushed or not); nullopt where there is
    // no plain file.
    std::optional<QByteArray> contents(const QByteArray& path) const;
    // Whether the name is there (a link counts, whatever it points at).
    bool exists(const QByteArray& path) const;
    // The names in the folder, sorted.
    std::vector<QByteArray> list(const QByteArray& path) const;
    // Makes the folder at `path` a mount of its own: it and everything below
    // it on the device `device` of the file system `fileSystem` (the same
    // inode numbers; so a drive comes back under another device number).
    void mount(const QByteArray& path, dev_t device, FileSystemInfo fileSystem);
    // Moves a name (as a drive mounted at another place), flushed.
    void move(const QByteArray& from, const QByteArray& to);
    // The user the calls run as: ::geteuid() unless a test sets another.
    void runAs(uid_t uid);

private:
    struct State;
    explicit SimulatedDisk(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

} // namespace textio::testing
