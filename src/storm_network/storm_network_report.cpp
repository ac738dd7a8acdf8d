#include "storm_network/storm_network_report.h"

#include "textio/cp936.h"
#include "textio/file_handles.h"
#include "textio/textfile.h"

#include <QDir>

#include <algorithm>
#include <array>

namespace storm_network {

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");
constexpr int kRuleWidth = 125;

// Column widths of a data line, 设计管段编号 to 最大流量.
constexpr std::array<int, kResultColumns> kColumnWidths = {5, 7, 9, 8, 8, 8, 8, 8,
                                                           8, 8, 8, 8, 7, 8, 8, 9};

bool isAscii(std::string_view bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

bool isAscii(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

// Appends `text` in code page 936; false (with the reason) for a character
// the code page cannot hold.
bool appendCp936(QByteArray& out, const QString& text, std::optional<QString>& error)
{
    if (isAscii(text)) {
        out += text.toLatin1();
        return true;
    }
    const textio::EncodeResult encoded = textio::encodeCp936(text);
    if (!encoded.ok()) {
        error = encoded.error->message;
        return false;
    }
    out += encoded.bytes;
    return true;
}

QString regionText(const ReportHeader& header, ReportVariant variant)
{
    if (variant == ReportVariant::Saved && header.city == header.province)
        return header.province;
    return header.province + QLatin1Char('-') + header.city;
}

QStringList headerLines(const ReportHeader& header, ReportVariant variant)
{
    const QString rule(kRuleWidth, QLatin1Char('-'));
    return {
        QString(52, QLatin1Char(' ')) + QStringLiteral("室外雨水水力计算表"),
        rule,
        QStringLiteral("设 计 参 数 : "),
        QStringLiteral("地        区: ") + regionText(header, variant),
        QStringLiteral("暴雨强度公式: ") + header.formulaSymbol + QLatin1Char('(')
            + header.formulaNumerator + QStringLiteral(")/(") + header.formulaDenominator
            + QLatin1Char(')'),
        QStringLiteral("重   现   期: ") + header.returnPeriod + QStringLiteral(" 年"),
        QStringLiteral("折 减 系 数 : ") + header.reduction,
        QStringLiteral("起点汇流时间: ") + header.initialTime + QStringLiteral(" min"),
        QStringLiteral("管        材: ") + header.material,
        QString(),
        QStringLiteral("计 算 结 果 :"),
        rule,
        QStringLiteral("设 计  管 段   本 段   转 输   累 计   汇 流   管 内   暴 雨   径 流   "
                       "平 均   单 位   设 计   设 计   水 力   流 速   最  大"),
        QStringLiteral("管 段  长 度   面 积   面 积   面 积   时 间   时 间   强 度           "
                       "径 流   流 量   流 量   管 径   坡 度           流  量"),
        QStringLiteral("编 号   (m)    (ha)    (ha)    (ha)    (min)   (min) (L/s·ha) 系 数   "
                       "系 数 (L/s·ha) (L/s)   (mm)    (‰)    (m/s)   (L/s)"),
        rule,
    };
}

// The blanks before a cell of `length` characters in column `column`
// (1-based): right-aligned in the column's width, and never fewer than one
// after the first column, so that a cell that fills its column, or runs
// past it, stays apart from the one before ("60.0000 120.0000", not
// "60.0000120.0000").
int blanksBefore(int column, int length)
{
    const int blanks = kColumnWidths[static_cast<std::size_t>(column - 1)] - length;
    return column > 1 ? std::max(blanks, 1) : std::max(blanks, 0);
}

// One data line: each cell right-aligned in its column, counting characters;
// a cell longer than its column is written whole.
bool appendDataLine(QByteArray& out, const ResultTable& table, int row, std::optional<QString>& error)
{
    for (int c = 1; c <= kResultColumns; ++c) {
        const auto column = static_cast<ResultColumn>(c);
        const std::string_view utf8 = table.utf8(row, column);
        if (isAscii(utf8)) {
            out.append(blanksBefore(c, static_cast<int>(utf8.size())), ' ');
            out.append(utf8.data(), static_cast<qsizetype>(utf8.size()));
            continue;
        }
        const QString text = table.text(row, column);
        out.append(blanksBefore(c, static_cast<int>(text.size())), ' ');
        if (!appendCp936(out, text, error))
            return false;
    }
    out += kLineEnd;
    return true;
}

}  // namespace

EncodedText Cp936LineBytes(const QStringList& lines)
{
    EncodedText result;
    for (const QString& line : lines) {
        if (!appendCp936(result.bytes, line, result.error)) {
            result.bytes.clear();
            return result;
        }
        result.bytes += kLineEnd;
    }
    return result;
}

EncodedText StormNetworkReportBytes(const ReportHeader& header, ReportVariant variant,
                                    const ResultTable& table)
{
    EncodedText result = Cp936LineBytes(headerLines(header, variant));
    if (result.error)
        return result;
    QByteArray& out = result.bytes;
    const int rows = table.rowCount();
    out.reserve(out.size() + qsizetype(rows) * (kRuleWidth + 2) + 1024);
    for (int r = 0; r < rows; ++r) {
        if (!appendDataLine(out, table, r, result.error)) {
            out.clear();
            return result;
        }
    }
    const int last = table.lastSegmentRow();
    const QString totals = kFooterLengthWord + table.totalLength() + kFooterLengthUnit
                           + QString(8, QLatin1Char(' ')) + kFooterAreaWord + table.totalArea()
                           + kFooterAreaUnit + QString(8, QLatin1Char(' '))
                           + QStringLiteral("区域流量：") + table.text(last, kDesignFlow)
                           + QStringLiteral("L/s");
    const EncodedText tail = Cp936LineBytes({QString(kRuleWidth, QLatin1Char('-')), QString(), totals});
    if (tail.error) {
        out.clear();
        result.error = tail.error;
        return result;
    }
    out += tail.bytes;
    return result;
}

std::optional<QString> WriteStormNetworkReport(const QString& path, ReportVariant variant,
                                               const ReportHeader& header, const ResultTable& table)
{
    // The whole report is made before the file is touched; the writer puts
    // it in the file's place only once it is on the disk.
    const auto write = [&]() -> std::optional<QString> {
        const EncodedText report = StormNetworkReportBytes(header, variant, table);
        if (report.error)
            return QStringLiteral("无法保存文件“%1”：%2")
                .arg(QDir::toNativeSeparators(path), *report.error);
        // The temporary variant's file is the program's own: a link
        // planted under its name is replaced, never followed.
        return textio::replaceFileContents(path, report.bytes,
                                           variant == ReportVariant::Saved
                                               ? textio::LinkRule::Follow
                                               : textio::LinkRule::Replace);
    };
    if (variant != ReportVariant::Saved)
        return write();
    // The saved variant overwrites a read-only file the engineer chose (the
    // save dialog asked before overwriting).
    return textio::overwriteFile(path, write);
}

// ------------------------------------------------------------ work files

std::optional<QString> WorkFilePath(const QString& name)
{
    const QString folder = textio::dataFolder();
    if (folder.isEmpty() || textio::makePrivateFolder(folder) != 0)
        return std::nullopt;
    return QDir(folder).filePath(name);
}

std::optional<QString> WriteSegmentWorkFile(std::span<const SegmentRow> segments)
{
    const std::optional<QString> path = WorkFilePath(kSegmentWorkFile);
    if (!path)
        return QStringLiteral("无法建立数据文件夹");
    QStringList lines;
    lines.reserve(qsizetype(segments.size()) * 3);
    for (const SegmentRow& segment : segments)
        lines << segment.length << segment.area << segment.runoff;
    return textio::writeCp936Lines(*path, lines, textio::LinkRule::Replace);
}

std::optional<QString> WriteReportWorkFile(const ReportHeader& header, const ResultTable& table)
{
    const std::optional<QString> path = WorkFilePath(kReportWorkFile);
    if (!path)
        return QStringLiteral("无法建立数据文件夹");
    return WriteStormNetworkReport(*path, ReportVariant::Temporary, header, table);
}

}  // namespace storm_network
