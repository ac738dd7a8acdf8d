#include "textio/file_calls.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace textio {

namespace {

// 0 when the call succeeded, else its errno.
int outcome(int result)
{
    return result == 0 ? 0 : errno;
}

class SystemFileCalls final : public FileCalls {
public:
    int open(int folder, const QByteArray& path, int flags, mode_t mode, int& fd) override
    {
        do
            fd = ::openat(folder, path.constData(), flags, mode);
        while (fd < 0 && errno == EINTR);
        return fd >= 0 ? 0 : errno;
    }
    int close(int fd) override
    {
        // No retry on EINTR: Linux has closed the descriptor already.
        return outcome(::close(fd));
    }
    int read(int fd, char* to, qint64 size, qint64 offset, qint64& done) override
    {
        const ssize_t n = ::pread(fd, to, static_cast<std::size_t>(size), offset);
        done = n > 0 ? n : 0;
        return n >= 0 ? 0 : errno;
    }
    int write(int fd, const char* from, qint64 size, qint64 offset, qint64& done) override
    {
        const ssize_t n = ::pwrite(fd, from, static_cast<std::size_t>(size), offset);
        done = n > 0 ? n : 0;
        return n >= 0 ? 0 : errno;
    }
    int sync(int fd) override { return outcome(::fsync(fd)); }
    int syncData(int fd) override { return outcome(::fdatasync(fd)); }
    int truncate(int fd, qint64 size) override { return outcome(::ftruncate(fd, size)); }
    int linkOpen(int fd, int folder, const QByteArray& name) override
    {
        // Through /proc, which needs no privilege; where /proc is not
        // mounted, AT_EMPTY_PATH (which may need one).
        char opened[32];
        std::snprintf(opened, sizeof opened, "/proc/self/fd/%d", fd);
        if (::linkat(AT_FDCWD, opened, folder, name.constData(), AT_SYMLINK_FOLLOW) == 0)
            return 0;
        if (errno != ENOENT)
            return errno;
        return outcome(::linkat(fd, "", folder, name.constData(), AT_EMPTY_PATH));
    }
    int link(int fromFolder, const QByteArray& from, int toFolder, const QByteArray& to) override
    {
        return outcome(::linkat(fromFolder, from.constData(), toFolder, to.constData(), 0));
    }
    int rename(int fromFolder, const QByteArray& from, int toFolder, const QByteArray& to,
               bool noReplace) override
    {
        return outcome(::renameat2(fromFolder, from.constData(), toFolder, to.constData(),
                                   noReplace ? RENAME_NOREPLACE : 0));
    }
    int unlink(int folder, const QByteArray& name, int flags) override
    {
        return outcome(::unlinkat(folder, name.constData(), flags));
    }
    int makeFolder(int folder, const QByteArray& name, mode_t mode) override
    {
        return outcome(::mkdirat(folder, name.constData(), mode));
    }
    int lock(int fd, int operation) override
    {
        for (;;) {
            if (::flock(fd, operation) == 0)
                return 0;
            if (errno != EINTR)
                return errno;
        }
    }
    int recordLocked(int fd, bool& held) override
    {
        struct flock probe {};
        probe.l_type = F_WRLCK;
        probe.l_whence = SEEK_SET;
        probe.l_start = 0;
        probe.l_len = 0;
        if (::fcntl(fd, F_OFD_GETLK, &probe) != 0)
            return errno;
        held = probe.l_type != F_UNLCK;
        return 0;
    }
    int status(int fd, struct stat& st) override { return outcome(::fstat(fd, &st)); }
    int statusAt(int folder, const QByteArray& path, int flags, struct stat& st) override
    {
        return outcome(::fstatat(folder, path.constData(), &st, flags));
    }
    int fileSystem(int fd, FileSystemInfo& info) override
    {
        struct statfs st {};
        if (::fstatfs(fd, &st) != 0)
            return errno;
        static_assert(sizeof st.f_fsid == sizeof info.id);
        std::memcpy(&info.id, &st.f_fsid, sizeof info.id);
        info.type = static_cast<quint64>(st.f_type);
        return 0;
    }
    int changeMode(int fd, mode_t mode) override { return outcome(::fchmod(fd, mode)); }
    int names(int folder, std::vector<QByteArray>& names) override
    {
        names.clear();
        const int listed = ::fcntl(folder, F_DUPFD_CLOEXEC, 0);
        if (listed < 0)
            return errno;
        DIR* dir = ::fdopendir(listed);
        if (dir == nullptr) {
            const int error = errno;
            ::close(listed);
            return error;
        }
        ::rewinddir(dir);
        errno = 0;
        while (const dirent* entry = ::readdir(dir)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                names.emplace_back(entry->d_name);
            errno = 0;
        }
        const int error = errno;
        ::closedir(dir);
        return error;
    }
};

FileCalls* g_calls = nullptr;

} // namespace

int ForwardingFileCalls::open(int folder, const QByteArray& path, int flags, mode_t mode, int& fd)
{
    return passed([&] { return to_.open(folder, path, flags, mode, fd); });
}

int ForwardingFileCalls::close(int fd)
{
    return to_.close(fd);
}

int ForwardingFileCalls::read(int fd, char* to, qint64 size, qint64 offset, qint64& done)
{
    return passed([&] { return to_.read(fd, to, size, offset, done); });
}

int ForwardingFileCalls::write(int fd, const char* from, qint64 size, qint64 offset, qint64& done)
{
    return passed([&] { return to_.write(fd, from, size, offset, done); });
}

int ForwardingFileCalls::sync(int fd)
{
    return passed([&] { return to_.sync(fd); });
}

int ForwardingFileCalls::syncData(int fd)
{
    return passed([&] { return to_.syncData(fd); });
}

int ForwardingFileCalls::truncate(int fd, qint64 size)
{
    return passed([&] { return to_.truncate(fd, size); });
}

int ForwardingFileCalls::linkOpen(int fd, int folder, const QByteArray& name)
{
    return passed([&] { return to_.linkOpen(fd, folder, name); });
}

int ForwardingFileCalls::link(int fromFolder, const QByteArray& from, int toFolder, const QByteArray& to)
{
    return passed([&] { return to_.link(fromFolder, from, toFolder, to); });
}

int ForwardingFileCalls::rename(int fromFolder, const QByteArray& from, int toFolder, const QByteArray& to,
                                bool noReplace)
{
    return passed([&] { return to_.rename(fromFolder, from, toFolder, to, noReplace); });
}

int ForwardingFileCalls::unlink(int folder, const QByteArray& name, int flags)
{
    return passed([&] { return to_.unlink(folder, name, flags); });
}

int ForwardingFileCalls::makeFolder(int folder, const QByteArray& name, mode_t mode)
{
    return passed([&] { return to_.makeFolder(folder, name, mode); });
}

int ForwardingFileCalls::lock(int fd, int operation)
{
    return passed([&] { return to_.lock(fd, operation); });
}

int ForwardingFileCalls::recordLocked(int fd, bool& held)
{
    return passed([&] { return to_.recordLocked(fd, held); });
}

int ForwardingFileCalls::status(int fd, struct stat& st)
{
    return passed([&] { return to_.status(fd, st); });
}

int ForwardingFileCalls::statusAt(int folder, const QByteArray& path, int flags, struct stat& st)
{
    return passed([&] { return to_.statusAt(folder, path, flags, st); });
}

int ForwardingFileCalls::fileSystem(int fd, FileSystemInfo& info)
{
    return passed([&] { return to_.fileSystem(fd, info); });
}

int ForwardingFileCalls::changeMode(int fd, mode_t mode)
{
    return passed([&] { return to_.changeMode(fd, mode); });
}

int ForwardingFileCalls::names(int folder, std::vector<QByteArray>& names)
{
    return passed([&] { return to_.names(folder, names); });
}

FileCalls& systemFileCalls()
{
    static SystemFileCalls calls;
    return calls;
}

FileCalls& fileCalls()
{
    return g_calls != nullptr ? *g_calls : systemFileCalls();
}

ScopedFileCalls::ScopedFileCalls(FileCalls& calls)
    : previous_(g_calls)
{
    g_calls = &calls;
}

ScopedFileCalls::~ScopedFileCalls()
{
    g_calls = previous_;
}

} // namespace textio
