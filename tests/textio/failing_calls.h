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

class OneFailingCall final : public textio::ForwardingFileCalls {
public:
    enum class Call { Open, Read, Status, Lock, Sync };

    OneFailingCall(Call call, QByteArray pathEnd, int error)
        : ForwardingFileCalls(textio::systemFileCalls())
        , call_(call)
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
        const int error = ForwardingFileCalls::open(folder, path, flags, mode, fd);
        if (error == 0)
            paths_[fd] = path;
        return error;
    }
    int close(int fd) override
    {
        paths_.erase(fd);
        return ForwardingFileCalls::close(fd);
    }
    int read(int fd, char* to, qint64 size, qint64 offset, qint64& done) override
    {
        return fails(Call::Read, fd) ? error_ : ForwardingFileCalls::read(fd, to, size, offset, done);
    }
    int sync(int fd) override { return fails(Call::Sync, fd) ? error_ : ForwardingFileCalls::sync(fd); }
    int lock(int fd, int operation) override { return fails(Call::Lock, fd) ? error_ : ForwardingFileCalls::lock(fd, operation); }
    int status(int fd, struct stat& st) override { return fails(Call::Status, fd) ? error_ : ForwardingFileCalls::status(fd, st); }

private:
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
