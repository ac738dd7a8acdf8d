#include "textio/textfile.h"

#include "textio/cp936.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

} // namespace

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

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return QStringLiteral("无法打开文件“%1”：%2").arg(shownPath(path), file.errorString());
    }
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        return QStringLiteral("写入文件“%1”失败：%2").arg(shownPath(path), file.errorString());
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        return QStringLiteral("写入文件“%1”失败：%2").arg(shownPath(path), file.errorString());
    }
    return std::nullopt;
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
