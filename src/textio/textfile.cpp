#include "textio/textfile.h"

#include "textio/cp936.h"
#include "textio/write_fault.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace textio {

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

QString shownPath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

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

// ------------------------------------------------------------ writing

struct ActiveFault {
    WriteFault fault;
    qint64 afterBytes;
};
std::optional<ActiveFault> g_fault;

// The reason of a failed file operation as an engineer reads it.
QString reasonText(int error)
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

int faultError(WriteFault fault)
{
    return fault == WriteFault::NoSpace ? ENOSPC : EIO;
}

QString writeFailed(const QString& path, int error)
{
    return QStringLiteral("写入文件“%1”失败：%2").arg(shownPath(path), reasonText(error));
}

// Writes the bytes to the open file, as far as the disk (or a fault made
// on purpose) lets them; the error number of a failure, or 0.
int writeAll(QFile& file, const QByteArray& bytes)
{
    qint64 written = 0;
    while (written < bytes.size()) {
        qint64 chunk = bytes.size() - written;
        if (g_fault)
            chunk = std::min(chunk, g_fault->afterBytes - written);
        if (chunk <= 0)
            return faultError(g_fault->fault);
        errno = 0;
        const qint64 n = file.write(bytes.constData() + written, chunk);
        if (n <= 0)
            return errno != 0 ? errno : EIO;
        written += n;
    }
    return 0;
}

// A name for the temporary file beside the target, hidden and unlikely to
// be taken.
QString temporaryPathBeside(const QFileInfo& target)
{
    return target.absolutePath() + QStringLiteral("/.") + target.fileName()
        + QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate(), 8, 16,
                                         QLatin1Char('0'));
}

} // namespace

ScopedWriteFault::ScopedWriteFault(WriteFault fault, qint64 afterBytes)
{
    g_fault = ActiveFault{fault, afterBytes};
}

ScopedWriteFault::~ScopedWriteFault()
{
    g_fault.reset();
}

std::optional<QString> replaceFileContents(const QString& path, const QByteArray& bytes)
{
    // A link is followed: the file it names gets the new contents.
    QFileInfo target(path);
    if (target.isSymLink() && target.exists())
        target = QFileInfo(target.canonicalFilePath());
    const bool existed = target.exists();
    if (existed && !target.isFile())
        return QStringLiteral("无法保存文件“%1”：不是文件").arg(shownPath(path));
    if (existed
        && (!target.isWritable() || !target.permissions().testFlag(QFileDevice::WriteOwner)))
        return QStringLiteral("无法保存文件“%1”：文件为只读").arg(shownPath(path));

    QFile file;
    for (int attempt = 0; attempt < 8 && !file.isOpen(); ++attempt) {
        file.setFileName(temporaryPathBeside(target));
        errno = 0;
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            break;
        if (errno != EEXIST)
            return QStringLiteral("无法打开文件“%1”：%2")
                .arg(shownPath(path), reasonText(errno != 0 ? errno : EACCES));
    }
    if (!file.isOpen())
        return QStringLiteral("无法打开文件“%1”：%2").arg(shownPath(path), reasonText(EEXIST));

    const auto fail = [&](int error) {
        file.close();
        file.remove();
        return writeFailed(path, error);
    };
    if (const int error = writeAll(file, bytes))
        return fail(error);
    // The disk may report a full device only when the data is flushed.
    if (::fdatasync(file.handle()) != 0)
        return fail(errno);
    file.close();
    if (file.error() != QFileDevice::NoError)
        return fail(EIO);
    if (existed)
        QFile::setPermissions(file.fileName(), target.permissions());
    if (std::rename(QFile::encodeName(file.fileName()).constData(),
                    QFile::encodeName(target.absoluteFilePath()).constData())
        != 0) {
        const int error = errno;
        file.remove();
        return writeFailed(path, error);
    }
    return std::nullopt;
}

std::optional<QString> writeCp936Lines(const QString& path, const QStringList& lines)
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

    return replaceFileContents(path, bytes);
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
        return QStringLiteral("无法清除文件“%1”的只读属性").arg(QDir::toNativeSeparators(path));
    std::optional<QString> error = write();
    if (error && existed)
        QFile::setPermissions(path, before);
    return error;
}

} // namespace textio
