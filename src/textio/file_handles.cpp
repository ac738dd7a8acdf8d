#include "textio/file_handles.h"

#include <QDir>
#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace textio {

std::optional<QByteArray> contentsOf(int fd)
{
    QByteArray contents;
    char chunk[64 * 1024];
    for (;;) {
        const ssize_t n = ::pread(fd, chunk, sizeof chunk, contents.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            return contents;
        contents.append(chunk, n);
    }
}

bool sameFileAt(int fd, const QByteArray& path)
{
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && ::lstat(path.constData(), &named) == 0
        && open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

QString shownPath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString fileBusyMessage(const QString& path)
{
    return QStringLiteral("无法保存文件“%1”：另一个程序正在保存该文件，请稍后再试").arg(shownPath(path));
}

} // namespace textio
