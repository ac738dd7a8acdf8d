#include "textio/save_temporaries.h"

#include "textio/file_handles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>

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
        removeLeftFile(QFile::encodeName(folder + QLatin1Char('/') + name));
    }
}

} // namespace textio
