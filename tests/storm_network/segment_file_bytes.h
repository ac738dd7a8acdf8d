// Segment files as bytes, for the tests of the segment file and of the
// segment list window's import and export.
#pragma once

#include "forms/testing/text.h"
#include "storm_network/segment_rows.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <ostream>
#include <vector>

#include <gtest/gtest.h>

namespace segment_file_test {

// The two segments of the file examples and their file.
inline const std::vector<storm_network::SegmentRow> kTwoRows = {
    {QStringLiteral("100"), QStringLiteral("2000"), QStringLiteral("0.9")},
    {QStringLiteral("50"), QStringLiteral("1500"), QStringLiteral("0.6")},
};
inline const QByteArray kTwoRowsBytes =
    QByteArrayLiteral("100\r\n2000\r\n0.9\r\n50\r\n1500\r\n0.6\r\n");

// The whole file, or "<unreadable>".
inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("<unreadable>");
}

inline void putBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

}  // namespace segment_file_test

// Readable rows in failure messages (texts print through the test text
// helper).

namespace storm_network {
inline void PrintTo(const SegmentRow& row, std::ostream* os)
{
    *os << '(' << row.length.toStdString() << ", " << row.area.toStdString() << ", "
        << row.runoff.toStdString() << ')';
}
}  // namespace storm_network
