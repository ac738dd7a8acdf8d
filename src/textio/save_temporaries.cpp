#include "textio/save_temporaries.h"

#include "textio/file_handles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace textio {

namespace {

// The name's check: the first 8 hexadecimal digits of a digest of the
// target's (shortened) name and the random part under the program's key.
QString nameCheck(const QString& name, const QString& random)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArrayView("Vantor_Tools save temporary\n"));
    hash.addData(name.toUtf8());
    hash.addData(QByteArrayView("\n"));
    hash.addData(random.toLatin1());
    return QString::fromLatin1(hash.result().left(4).toHex());
}

const QRegularExpression kTemporaryName(
    QStringLiteral("^\\.(.*)\\.~vt([0-9a-f]{8})([0-9a-f]{8})\\.tmp$"),
    QRegularExpression::DotMatchesEverythingOption);

// True when a process holds a POSIX record lock (fcntl or lockf) anywhere
// in the open file. An open file description lock conflicts with such a
// lock also when this very process holds it, so the probe sees them all.
bool heldByARecordLock(int fd)
{
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = 0;
    probe.l_len = 0;
    return ::fcntl(fd, F_OFD_GETLK, &probe) != 0 || probe.l_type != F_UNLCK;
}

} // namespace

QString temporaryPathBeside(const QString& folder, const QString& fileName)
{
    const QString random =
        QStringLiteral("%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    // ".~vt", 16 digits and ".tmp" after "." and the name.
    constexpr qsizetype kAdded = 1 + 4 + 16 + 4;
    const QString name = shortenedName(fileName, nameRoomIn(folder) - kAdded);
    return folder + QStringLiteral("/.") + name + QStringLiteral(".~vt") + random
        + nameCheck(name, random) + QStringLiteral(".tmp");
}

bool isTemporaryName(const QString& name)
{
    const QRegularExpressionMatch match = kTemporaryName.match(name);
    return match.hasMatch() && nameCheck(match.captured(1), match.captured(2)) == match.captured(3);
}

void removeLeftTemporaries(const QString& folder)
{
    const QStringList names =
        QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QString& name : names) {
        if (!isTemporaryName(name))
            continue;
        const QByteArray path = QFile::encodeName(folder + QLatin1Char('/') + name);
        // Opened without following a link planted under the name, and
        // without blocking on a device or a pipe.
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            continue;
        atSaveStep(SaveStep::LeftTemporaryOpened);
        // A save holds a flock lock on its temporary file until it is done:
        // one that can be locked (and holds no other lock) is written by no
        // one; where the file system takes no lock, none can be shown unused,
        // and all stay. The lock is kept until the name is gone.
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid()
            && lockFile(fd, LOCK_EX | LOCK_NB) == 0 && !heldByARecordLock(fd)
            // Still the file examined: not replaced under its name meanwhile.
            && sameFileAt(fd, path))
            ::unlink(path.constData());
        ::close(fd);
    }
}

} // namespace textio
