#include "textio/textfile.h"

#include "textio/cp936.h"
#include "textio/file_calls.h"
#include "textio/file_handles.h"
#include "textio/in_place_save.h"
#include "textio/save_journal.h"
#include "textio/save_temporaries.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace textio {

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

// Splits at CR LF, a lone CR or a lone LF. Every break ends a line; the
// text after the last break is a further line, also when it is empty.
QStringList splitAtBreaks(const QString& text)
{
    QStringList lines;
    QString current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
                ++i;
            }
            lines.append(current);
            current.clear();
        } else {
            current.append(c);
        }
    }
    lines.append(current);
    return lines;
}

} // namespace

// The reason of a failed file operation as an engineer reads it.
QString reasonInWords(int error)
{
    switch (error) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("磁盘已满");
    case EACCES:
    case EPERM:
        return QStringLiteral("没有写入该位置的权限");
    case EROFS:
        return QStringLiteral("磁盘为只读");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("文件夹不存在");
    case EISDIR:
        return QStringLiteral("不是文件");
    case ENAMETOOLONG:
        return QStringLiteral("文件名过长");
    case EIO:
        return QStringLiteral("磁盘读写错误");
    default:
        return QStringLiteral("系统错误 %1（%2）")
            .arg(QString::number(error), QString::fromLocal8Bit(std::strerror(error)));
    }
}

std::optional<QString> replaceFileContents(const QString& path, const QByteArray& bytes,
                                           LinkRule links)
{
    // A link is followed unless the file is the program's own: then the
    // link itself is replaced.
    QFileInfo target(path);
    if (links == LinkRule::Follow && target.isSymLink() && target.exists())
        target = QFileInfo(target.canonicalFilePath());
    const QByteArray targetName = QFile::encodeName(target.absoluteFilePath());
    struct stat former {};
    const bool existed = (links == LinkRule::Follow ? ::stat(targetName.constData(), &former)
                                                    : ::lstat(targetName.constData(), &former))
            == 0
        && !S_ISLNK(former.st_mode);
    if (existed && !S_ISREG(former.st_mode))
        return QStringLiteral("无法保存文件“%1”：不是文件").arg(shownPath(path));
    if (existed && (::access(targetName.constData(), W_OK) != 0 || !(former.st_mode & S_IWUSR)))
        return QStringLiteral("无法保存文件“%1”：文件为只读").arg(shownPath(path));

    // A save of this file that died part-way is settled before it is
    // written again.
    if (existed) {
        if (std::optional<QString> refusal = settleBeforeSave(QFile::decodeName(targetName)))
            return refusal;
    }
    const QString folder = target.absolutePath();
    removeLeftTemporaries(folder);
    QFile file;
    for (int attempt = 0; attempt < 8 && !file.isOpen(); ++attempt) {
        file.setFileName(temporaryPathBeside(folder, target.fileName()));
        errno = 0;
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
            // Locked while it is written, so that no other save takes it
            // for one left behind. A file system that takes no lock leaves
            // it unlocked: its random name keeps it apart, and no clean-up
            // removes a file it cannot show unused.
            lockFile(file.handle(), LOCK_EX);
            if (sameFileAt(file.handle(), QFile::encodeName(file.fileName())))
                break;
            // Another program put a file of its own under the name
            // meanwhile: that one is left alone.
            file.close();
            continue;
        }
        // The folder takes no new file, but the file itself may be written.
        if (existed && (errno == EACCES || errno == EPERM || errno == EROFS))
            return saveInPlace(QFile::decodeName(targetName), bytes, path);
        if (errno != EEXIST)
            return QStringLiteral("无法打开文件“%1”：%2")
                .arg(shownPath(path), reasonInWords(errno != 0 ? errno : EACCES));
    }
    if (!file.isOpen())
        return QStringLiteral("无法打开文件“%1”：%2").arg(shownPath(path), reasonInWords(EEXIST));

    const auto fail = [&](int error) {
        fileCalls().unlink(AT_FDCWD, QFile::encodeName(file.fileName()), 0);
        file.close();
        return writeFailedMessage(path, error);
    };
    if (const int error = writeEngineersFile(file.handle(), bytes, 0))
        return fail(error);
    // A replaced file keeps its owner and the mode bits of owner, group and
    // others. Giving it to its owner needs the right to; without it the file
    // becomes the saver's, as any new file does.
    if (existed) {
        [[maybe_unused]] const int owned = ::fchown(file.handle(), former.st_uid, former.st_gid);
        if (::fchmod(file.handle(), former.st_mode & 07777) != 0)
            return fail(errno);
    }
    // The disk may report a full device only when the data is flushed.
    if (::fdatasync(file.handle()) != 0)
        return fail(errno);
    if (std::rename(QFile::encodeName(file.fileName()).constData(), targetName.constData()) != 0)
        return fail(errno);
    file.close();
    if (file.error() != QFileDevice::NoError)
        return writeFailedMessage(path, EIO);
    // The new name on the disk too, so that a power cut keeps it.
    syncFolder(folder);
    return std::nullopt;
}

std::optional<QString> writeCp936Lines(const QString& path, const QStringList& lines,
                                       LinkRule links)
{
    QByteArray bytes;
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const EncodeResult encoded = encodeCp936(lines[n]);
        if (!encoded.ok()) {
            return QStringLiteral("无法保存文件“%1”：第%2行%3")
                .arg(shownPath(path), QString::number(n + 1), encoded.error->message);
        }
        bytes += encoded.bytes;
        bytes += kLineEnd;
    }

    return replaceFileContents(path, bytes, links);
}

std::optional<QString> writeCp936Text(const QString& path, const QString& text)
{
    return writeCp936Lines(path, splitAtBreaks(text));
}

ReadLinesResult readCp936Lines(const QString& path)
{
    ReadLinesResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error =
            QStringLiteral("无法打开文件“%1”：%2").arg(shownPath(path), file.errorString());
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.error =
            QStringLiteral("读取文件“%1”失败：%2").arg(shownPath(path), file.errorString());
        return result;
    }
    const DecodeResult decoded = decodeCp936(bytes);
    if (!decoded.ok()) {
        result.error =
            QStringLiteral("无法读取文件“%1”：%2").arg(shownPath(path), decoded.error->message);
        return result;
    }
    if (decoded.text.isEmpty()) {
        return result;
    }
    result.lines = splitAtBreaks(decoded.text);
    // A break at the very end closes the last line; it starts no new one.
    if (decoded.text.endsWith(QLatin1Char('\r')) || decoded.text.endsWith(QLatin1Char('\n'))) {
        result.lines.removeLast();
    }
    return result;
}

bool fileExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

bool clearReadOnly(const QString& path)
{
    if (!fileExists(path)) {
        return false;
    }
    const QFileDevice::Permissions permissions = QFile::permissions(path);
    if (permissions.testFlag(QFileDevice::WriteOwner)) {
        return true;
    }
    return QFile::setPermissions(path, permissions | QFileDevice::WriteOwner);
}

std::optional<QString> overwriteFile(const QString& path,
                                     const std::function<std::optional<QString>()>& write)
{
    const bool existed = fileExists(path);
    // The owner's, group's and others' permissions; the "user" flags only
    // tell what this process may do, and writing them back would set the
    // owner's bits.
    const QFileDevice::Permissions before = existed
        ? QFile::permissions(path)
            & ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser)
        : QFileDevice::Permissions();
    if (existed && !clearReadOnly(path))
        return QStringLiteral("无法清除文件“%1”的只读属性").arg(shownPath(path));
    std::optional<QString> error = write();
    if (error && existed)
        QFile::setPermissions(path, before);
    return error;
}

} // namespace textio
