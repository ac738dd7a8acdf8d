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

// What a segment file can hold. A run of 300,000 segments takes about 6 MB
// and a value is a number of a few digits, so a larger file or a longer line
// is no segment file and is refused before it fills the memory.
inline constexpr qint64 kMostBytes = 64 * 1024 * 1024;
inline constexpr qsizetype kLongestLine = 64;  // characters
inline constexpr qsizetype kMostSegments = 1'000'000;

// Why a value cannot stand on a line of a segment file and be read back as
// it is. A list holds only values that pass CheckValue, so that every list
// exported imports again unchanged.
enum class ValueFault {
    Blank,     // empty or blanks only: read as a blank line, which no import takes
    TooLong,   // more than kLongestLine characters
    LineEnd,   // a line end inside: read as two lines
    NotCp936,  // a character that code page 936 cannot hold
};

struct ValueCheck {
    ValueFault fault = ValueFault::Blank;
    // For LineEnd and NotCp936: the offending character's index.
    qsizetype position = 0;
};

// The fault of `value` as a line of a segment file, or nothing when the
// value is written and read back unchanged.
std::optional<ValueCheck> CheckValue(const QString& value);

// The engineer's message for a value of the quantity `name` (as 管段长度)
// that CheckValue refuses, or nothing when it passes.
std::optional<QString> ValueRefusal(const QString& name, const QString& value);

// The file's lines for `rows`: length, area and runoff coefficient of each
// row in turn.
QStringList Lines(const std::vector<SegmentRow>& rows);

// Writes `rows` to `path`, replacing its contents. A read-only file is made
// writable first and gets its permissions back should the write fail. The
// whole text is encoded before the file is touched, so a value that code
// page 936 cannot hold leaves the file as it was. The reason of a failure,
// or nothing on success.
std::optional<QString> Write(const QString& path, const std::vector<SegmentRow>& rows);

enum class ReadStatus {
    Read,             // `rows` holds the file's segments
    Missing,          // nothing of that name
    NotAFile,         // a folder, a device or a pipe
    Unreadable,       // the file cannot be opened or read, or is not code page 936
    TooLarge,         // more than kMostBytes
    LineTooLong,      // a line of more than kLongestLine characters
    TooManySegments,  // more than kMostSegments
    NoSegments,       // empty, or blank lines only
    BlankLine,        // a blank line before a further value
    NotSegmentFile,   // its line count is not three lines per segment
};

struct ReadResult {
    ReadStatus status = ReadStatus::Missing;
    std::vector<SegmentRow> rows;  // for Read
    // For every refusal but Missing: the message for the engineer, naming
    // the file and the reason.
    QString detail;
    // For LineTooLong, BlankLine and a line that is not code page 936: the
    // line's number, counted from 1.
    qsizetype line = 0;
};

// Reads a segment file line by line; on any failure no rows are returned.
// Memory that runs short while the rows are built throws std::bad_alloc;
// every row built so far is released.
// A line ends at CR LF, a lone CR or a lone LF; blank lines after the last
// value are an editor's extra line ends and are dropped, a blank line
// before a further value refuses the file, since it would shift every
// later value into the wrong column.
ReadResult Read(const QString& path);

}  // namespace storm_network::StormSegmentInputFile
