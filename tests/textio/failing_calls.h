// The system's file calls with one of them failing once, for the tests of
// what a save or a start does on a passing error (a read error, too many
// open files, a signal): the first call of the chosen kind on a path that
// ends with the chosen ending (for calls on an open file, the path it was
// opened by) fails with the chosen error; every other call is the system's.
#pragma once

#include "textio/file_calls.h"

#include <QByteArray>

#include <map>
#include <utility>
#include <vector>

#include <sys/stat.h>

class OneFailingCall final : public textio::FileCalls {
public:
    enum class Call { Open, Read, Status, Lock, Sync };

    OneFailingCall(Call call, QByteArray pathEnd, int error)
        : call_(call)
        , pathEnd_(std::move(pathEnd))
        , error_(error)
    {
    }
    // Whether the call has failed.
    bool failed() const { return failed_; }

    int open(int folder, const QByteArray& path, int flags, mode_t mode, int& fd) override
    {
        if (fails(Call::Open, path))
            return error_;
        const int error = system().open(folder, path, flags, mode, fd);
        if (error == 0)
            paths_[fd] = path;
        return error;
    }
    int close(int fd) override
    {
        paths_.erase(fd);
        return system().close(fd);
    }
    int read(int fd, char* to, qint64 size, qint64 offset, qint64& done) override
    {
        return fails(Call::Read, fd) ? error_ : system().read(fd, to, size, offset, done);
    }
    int write(int fd, const char* from, qint64 size, qint64 offset, qint64& done) override
    {
        return system().write(fd, from, size, offset, done);
    }
    int sync(int fd) override { return fails(Call::Sync, fd) ? error_ : system().sync(fd); }
    int syncData(int fd) override { return system().syncData(fd); }
    int truncate(int fd, qint64 size) override { return system().truncate(fd, size); }
    int linkOpen(int fd, int folder, const QByteArray& name) override { return system().linkOpen(fd, folder, name); }
    int link(int fromFolder, const QByteArray& from, int toFolder, const QByteArray& to) override
    {
        return system().link(fromFolder, from, toFolder, to);
    }
    int rename(int fromFolder, const QByteArray& from, int toFolder, const QByteArray& to,
               bool noReplace) override
    {
        return system().rename(fromFolder, from, toFolder, to, noReplace);
    }
    int unlink(int folder, const QByteArray& name, int flags) override { return system().unlink(folder, name, flags); }
    int makeFolder(int folder, const QByteArray& name, mode_t mode) override
    {
        return system().makeFolder(folder, name, mode);
    }
    int lock(int fd, int operation) override { return fails(Call::Lock, fd) ? error_ : system().lock(fd, operation); }
    int recordLocked(int fd, bool& held) override { return system().recordLocked(fd, held); }
    int status(int fd, struct stat& st) override { return fails(Call::Status, fd) ? error_ : system().status(fd, st); }
    int statusAt(int folder, const QByteArray& path, int flags, struct stat& st) override
    {
        return system().statusAt(folder, path, flags, st);
    }
    int fileSystem(int fd, textio::FileSystemInfo& info) override { return system().fileSystem(fd, info); }
    int changeMode(int fd, mode_t mode) override { return system().changeMode(fd, mode); }
    int names(int folder, std::vector<QByteArray>& names) override { return system().names(folder, names); }

private:
    static textio::FileCalls& system() { return textio::systemFileCalls(); }
    bool fails(Call call, const QByteArray& path)
    {
        if (failed_ || call != call_ || !path.endsWith(pathEnd_))
            return false;
        failed_ = true;
        return true;
    }
    bool fails(Call call, int fd)
    {
        const auto opened = paths_.find(fd);
        return opened != paths_.end() && fails(call, opened->second);
    }

    Call call_;
    QByteArray pathEnd_;
    int error_;
    bool failed_ = false;
    std::map<int, QByteArray> paths_;
};
