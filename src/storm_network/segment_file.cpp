#include "storm_network/segment_file.h"

#include "storm_network/row_memory_fault.h"
#include "textio/cp936.h"
#include "textio/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace storm_network::StormSegmentInputFile {

namespace {

constexpr qsizetype kLinesPerSegment = 3;
// Code page 936 takes at most two bytes for a character.
constexpr qsizetype kLongestLineBytes = 2 * kLongestLine;
constexpr qint64 kChunkBytes = 64 * 1024;

// A line's text. Values are mostly digits: ASCII needs no converter.
textio::DecodeResult decodeLine(const QByteArray& bytes)
{
    const bool ascii = std::all_of(bytes.cbegin(), bytes.cend(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii)
        return textio::decodeCp936(bytes);
    textio::DecodeResult result;
    result.text = QString::fromLatin1(bytes);
    return result;
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

ReadResult refusal(ReadStatus status, const QString& message, qsizetype line = 0)
{
    ReadResult result;
    result.status = status;
    result.detail = message;
    result.line = line;
    return result;
}

ReadResult importRefusal(const QString& path, ReadStatus status, const QString& reason,
                         qsizetype line = 0)
{
    return refusal(status, QStringLiteral("无法导入文件“%1”：%2").arg(shown(path), reason), line);
}

// Splits the file's bytes into lines as they arrive and deals the values
// to the segments, refusing the file at its first fault.
class SegmentLines {
public:
    explicit SegmentLines(const QString& path)
        : m_path(path)
    {
    }

    // False once the file is refused; then refused() tells why.
    bool take(const char* bytes, qint64 count)
    {
        for (qint64 i = 0; i < count; ++i) {
            const char c = bytes[i];
            if (m_afterCr && c == '\n') {
                m_afterCr = false;
                continue;
            }
            m_afterCr = c == '\r';
            if (c == '\r' || c == '\n') {
                if (!endLine())
                    return false;
            } else if (m_line.size() == kLongestLineBytes) {
                return refuseLongLine(m_lineCount + 1);
            } else {
                m_line.append(c);
            }
        }
        return true;
    }

    // The rows, once the whole file has been taken.
    ReadResult finish()
    {
        // A last line without a line end is a line too.
        if (!m_line.isEmpty() && !endLine())
            return m_refusal;
        const qsizetype values =
            static_cast<qsizetype>(m_rows.size()) * kLinesPerSegment + m_valuesOfRow;
        if (values == 0)
            return importRefusal(m_path, ReadStatus::NoSegments,
                                 QStringLiteral("文件中没有管段数据。"));
        if (m_valuesOfRow != 0)
            return importRefusal(
                m_path, ReadStatus::NotSegmentFile,
                QStringLiteral("共%1行数据，不是每段三行（管段长度、汇水面积、径流系数），"
                               "不是管段数据文件。")
                    .arg(values));
        ReadResult result;
        result.status = ReadStatus::Read;
        result.rows = std::move(m_rows);
        return result;
    }

    const ReadResult& refused() const { return m_refusal; }

private:
    bool endLine()
    {
        const qsizetype number = ++m_lineCount;
        const textio::DecodeResult decoded = decodeLine(m_line);
        m_line.clear();
        if (!decoded.ok())
            return refuse(refusal(ReadStatus::Unreadable,
                                  QStringLiteral("无法读取文件“%1”：第%2行%3")
                                      .arg(shown(m_path), QString::number(number),
                                           decoded.error->message),
                                  number));
        // The rule every value of a list keeps; a read line holds no line
        // end, and what was decoded encodes again.
        const std::optional<ValueCheck> check = CheckValue(decoded.text);
        if (check && check->fault == ValueFault::TooLong)
            return refuseLongLine(number);
        if (check && check->fault == ValueFault::Blank) {
            if (m_firstBlank == 0)
                m_firstBlank = number;
            return true;
        }
        if (m_firstBlank != 0)
            return refuse(importRefusal(
                m_path, ReadStatus::BlankLine,
                QStringLiteral("第%1行是空行，管段数据之间不能有空行。").arg(m_firstBlank),
                m_firstBlank));
        if (m_valuesOfRow == 0 && static_cast<qsizetype>(m_rows.size()) == kMostSegments)
            return refuse(importRefusal(m_path, ReadStatus::TooManySegments,
                                        QStringLiteral("管段多于%1段。").arg(kMostSegments)));
        // The values are dealt to the row being read, which joins the rows
        // with its third value.
        QString* const fields[] = {&m_row.length, &m_row.area, &m_row.runoff};
        *fields[m_valuesOfRow] = decoded.text;
        if (++m_valuesOfRow == kLinesPerSegment) {
            takeRowMemory(1);
            m_rows.push_back(std::move(m_row));
            m_row = SegmentRow();
            m_valuesOfRow = 0;
        }
        return true;
    }

    bool refuseLongLine(qsizetype number)
    {
        return refuse(importRefusal(
            m_path, ReadStatus::LineTooLong,
            QStringLiteral("第%1行长于%2个字符，不是管段数据。").arg(number).arg(kLongestLine),
            number));
    }

    bool refuse(ReadResult result)
    {
        m_refusal = std::move(result);
        return false;
    }

    const QString m_path;
    QByteArray m_line;          // the bytes of the line being read
    qsizetype m_lineCount = 0;  // lines ended so far
    bool m_afterCr = false;     // a CR ended the last line: a LF next belongs to it
    qsizetype m_firstBlank = 0; // the first of the blank lines since the last value
    std::vector<SegmentRow> m_rows; // the whole rows read so far
    SegmentRow m_row;               // the values of the row being read
    qsizetype m_valuesOfRow = 0;    // how many of them
    ReadResult m_refusal;
};

QString tooLarge(qint64 bytes)
{
    return QStringLiteral("文件有%1字节，管段数据文件不超过%2 MB。")
        .arg(bytes)
        .arg(kMostBytes / (1024 * 1024));
}

}  // namespace

std::optional<ValueCheck> CheckValue(const QString& value)
{
    if (value.size() > kLongestLine)
        return ValueCheck{ValueFault::TooLong, 0};
    if (value.trimmed().isEmpty())
        return ValueCheck{ValueFault::Blank, 0};
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value.at(i) == QLatin1Char('\r') || value.at(i) == QLatin1Char('\n'))
            return ValueCheck{ValueFault::LineEnd, i};
    }
    // ASCII is the same in code page 936: only other characters need the
    // converter, which a file of a million plain numbers would otherwise
    // start three million times.
    if (std::all_of(value.cbegin(), value.cend(), [](QChar c) { return c.unicode() < 0x80; }))
        return std::nullopt;
    const textio::EncodeResult encoded = textio::encodeCp936(value);
    if (!encoded.ok())
        return ValueCheck{ValueFault::NotCp936, encoded.error->position};
    return std::nullopt;
}

std::optional<QString> ValueRefusal(const QString& name, const QString& value)
{
    const std::optional<ValueCheck> check = CheckValue(value);
    if (!check)
        return std::nullopt;
    switch (check->fault) {
    case ValueFault::Blank:
        return QStringLiteral("%1不能为空！").arg(name);
    case ValueFault::TooLong:
        return QStringLiteral("%1长于%2个字符，请重新输入！").arg(name).arg(kLongestLine);
    case ValueFault::LineEnd:
        return QStringLiteral("%1中不能有换行，请重新输入！").arg(name);
    case ValueFault::NotCp936:
        break;
    }
    // A character outside the basic plane is two code units: name it whole.
    const qsizetype at = check->position;
    const qsizetype width = value.at(at).isHighSurrogate() && at + 1 < value.size() ? 2 : 1;
    return QStringLiteral("%1中的“%2”无法存入管段数据文件，请重新输入！")
        .arg(name, value.mid(at, width));
}

QStringList Lines(const std::vector<SegmentRow>& rows)
{
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(rows.size()) * kLinesPerSegment);
    for (const SegmentRow& row : rows)
        lines << row.length << row.area << row.runoff;
    return lines;
}

std::optional<QString> Write(const QString& path, const std::vector<SegmentRow>& rows)
{
    return textio::overwriteFile(path, [&] { return textio::writeCp936Lines(path, Lines(rows)); });
}

ReadResult Read(const QString& path)
{
    if (path.isEmpty())
        return refusal(ReadStatus::Missing, QString());
    // A file in a folder the engineer may not enter is out of reach, not
    // missing and not something other than a file.
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 && errno == EACCES)
        return refusal(ReadStatus::Unreadable,
                       QStringLiteral("无法打开文件“%1”：没有访问该文件夹的权限").arg(shown(path)));
    const QFileInfo info(path);
    if (!info.exists())
        return refusal(ReadStatus::Missing, QString());
    // A folder, a device or a pipe is never opened: reading a pipe or a
    // device may wait for ever.
    if (!info.isFile())
        return refusal(ReadStatus::NotAFile,
                       QStringLiteral("“%1”不是文件，而是%2，请重新选择！")
                           .arg(shown(path), info.isDir() ? QStringLiteral("文件夹")
                                                          : QStringLiteral("设备或管道")));
    if (info.size() > kMostBytes)
        return importRefusal(path, ReadStatus::TooLarge, tooLarge(info.size()));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refusal(ReadStatus::Unreadable,
                       QStringLiteral("无法打开文件“%1”：%2").arg(shown(path), file.errorString()));
    SegmentLines lines(path);
    QByteArray chunk(kChunkBytes, Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        const qint64 read = file.read(chunk.data(), kChunkBytes);
        if (read < 0)
            return refusal(ReadStatus::Unreadable, QStringLiteral("读取文件“%1”失败：%2")
                                                       .arg(shown(path), file.errorString()));
        if (read == 0)
            break;
        // The file may have grown since its size was asked.
        total += read;
        if (total > kMostBytes)
            return importRefusal(path, ReadStatus::TooLarge, tooLarge(total));
        if (!lines.take(chunk.constData(), read))
            return lines.refused();
    }
    return lines.finish();
}

}  // namespace storm_network::StormSegmentInputFile
