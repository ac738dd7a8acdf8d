#include "storm_network/segment_file.h"

#include "textio/textfile.h"

#include <QFile>

namespace storm_network::StormSegmentInputFile {

namespace {
constexpr qsizetype kLinesPerSegment = 3;
}

QStringList Lines(const std::vector<SegmentRow>& rows)
{
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(rows.size()) * kLinesPerSegment);
    for (const SegmentRow& row : rows)
        lines << row.length << row.area << row.runoff;
    return lines;
}

std::optional<std::vector<SegmentRow>> RowsOf(QStringList lines)
{
    while (lines.size() % kLinesPerSegment != 0 && !lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.size() % kLinesPerSegment != 0)
        return std::nullopt;
    std::vector<SegmentRow> rows;
    rows.reserve(static_cast<std::size_t>(lines.size() / kLinesPerSegment));
    for (qsizetype i = 0; i < lines.size(); i += kLinesPerSegment)
        rows.push_back(SegmentRow{lines[i], lines[i + 1], lines[i + 2]});
    return rows;
}

std::optional<QString> Write(const QString& path, const std::vector<SegmentRow>& rows)
{
    return textio::overwriteFile(path, [&] { return textio::writeCp936Lines(path, Lines(rows)); });
}

ReadResult Read(const QString& path)
{
    ReadResult result;
    if (!textio::fileExists(path)) {
        result.status = ReadStatus::Missing;
        return result;
    }
    textio::ReadLinesResult file = textio::readCp936Lines(path);
    if (file.error) {
        result.status = ReadStatus::Unreadable;
        result.detail = *file.error;
        return result;
    }
    std::optional<std::vector<SegmentRow>> rows = RowsOf(std::move(file.lines));
    if (!rows) {
        result.status = ReadStatus::NotSegmentFile;
        return result;
    }
    result.status = ReadStatus::Read;
    result.rows = std::move(*rows);
    return result;
}

}  // namespace storm_network::StormSegmentInputFile
