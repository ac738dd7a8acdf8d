// The storm sewer segment file `StormSegmentInputFile` (default name
// "storm_in.txt"): the segment list of a run as plain text in code page 936,
// three lines per segment in flow order (length in m, own catchment area in
// m², runoff coefficient), every line ended by CR LF, no header and nothing
// between segments. Values are written exactly as held, so a list of n rows
// gives 3n lines and an empty list an empty file.
#pragma once

#include "storm_network/segment_rows.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace storm_network::StormSegmentInputFile {

inline const QString kDefaultName = QStringLiteral("storm_in.txt");

// The file's lines for `rows`: length, area and runoff coefficient of each
// row in turn.
QStringList Lines(const std::vector<SegmentRow>& rows);

// The rows of a file's lines, dealt to length, area and coefficient by their
// position. Empty lines at the end that leave the count short of a multiple
// of three are dropped first (an editor's extra line end); no value when the
// count is still not a multiple of three, since the columns would not line
// up. A row whose last value is empty keeps it: an empty value is data.
std::optional<std::vector<SegmentRow>> RowsOf(QStringList lines);

// Writes `rows` to `path`, replacing its contents. A read-only file is made
// writable first and gets its permissions back should the write fail. The
// whole text is encoded before the file is touched, so a value that code
// page 936 cannot hold leaves the file as it was. The reason of a failure,
// or nothing on success.
std::optional<QString> Write(const QString& path, const std::vector<SegmentRow>& rows);

enum class ReadStatus {
    Read,            // `rows` holds the file's segments
    Missing,         // no ordinary file of that name
    Unreadable,      // the file cannot be opened or read, or is not code page 936
    NotSegmentFile,  // its line count is not three lines per segment
};

struct ReadResult {
    ReadStatus status = ReadStatus::Missing;
    std::vector<SegmentRow> rows;  // for Read
    QString detail;                // for Unreadable: the reason
};

// Reads a segment file whole; on any failure no rows are returned.
ReadResult Read(const QString& path);

}  // namespace storm_network::StormSegmentInputFile
