// The storm sewer network report `StormNetworkReport` ("storm_out.txt"): the
// design parameters of the network window and the result table, fixed width,
// in code page 936 with CR LF after every line. Its columns line up in a
// monospaced view where a Chinese character takes two columns.
//
//   52 blanks + 室外雨水水力计算表
//   a rule of 125 "-"
//   设 计 参 数 : / 地        区: / 暴雨强度公式: / 重   现   期: /
//   折 减 系 数 : / 起点汇流时间: / 管        材:   (labels of 14 bytes)
//   (empty) / 计 算 结 果 : / rule / two heading lines and the units / rule
//   one line per table row, every row the table ever created, in order
//   rule / (empty) / 管段长度：…米 + 8 blanks + 区域面积：…ha + 8 blanks +
//   区域流量：…L/s
//
// A data line is the sixteen cells, each right-aligned in its column's width
// (5, 7, 9, 8, 8, 8, 8, 8, 8, 8, 8, 8, 7, 8, 8, 9: 125 bytes). Every cell
// after the first has at least one blank before it: a cell that fills its
// column, or one longer than it (written whole), takes one blank and pushes
// the rest of the line right, so that no two figures run together. The
// totals are the table's total length and area and the 设计流量 of its last
// segment row.
//
// Two variants: the temporary one, written after every calculation into the
// per-user data folder, and the saved one, written where the engineer chose,
// whose region line gives a municipality once ("天津市", not
// "天津市-天津市").
#pragma once

#include "storm_network/result_table.h"
#include "storm_network/segment_rows.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>

namespace storm_network {

// The captions of the result window's footer labels, which the report's
// totals line repeats.
inline const QString kFooterLengthWord = QStringLiteral("管段长度：");
inline const QString kFooterLengthUnit = QStringLiteral("米");
inline const QString kFooterAreaWord = QStringLiteral("区域面积：");
inline const QString kFooterAreaUnit = QStringLiteral("ha");

enum class ReportVariant { Temporary, Saved };

// The network window's texts the report's header copies, as shown.
struct ReportHeader {
    QString province;
    QString city;
    QString formulaSymbol;       // "q=" or "i="
    QString formulaNumerator;    // "3841(1+0.85lgP)"
    QString formulaDenominator;  // "(t+17)^0.85"
    QString returnPeriod;
    QString reduction;
    QString initialTime;
    QString material;
};

// Text in code page 936, or the reason it cannot be: a character the code
// page cannot hold.
struct EncodedText {
    QByteArray bytes;
    std::optional<QString> error;
};

// Lines in code page 936, CR LF after each. ASCII text is copied as it is,
// the rest encoded.
EncodedText Cp936LineBytes(const QStringList& lines);

// The whole report as the file holds it.
EncodedText StormNetworkReportBytes(const ReportHeader& header, ReportVariant variant,
                                    const ResultTable& table);

// Writes the report to `path`, whole or not at all (textio's file writer): a
// failed write (a full disk, a failing device) or a text that cannot be
// encoded leaves the former file byte for byte as it was, and the message
// names the file and the reason.
// The saved variant first makes an existing read-only file writable (the
// engineer confirmed the overwrite in the save dialog) and gives it back its
// permissions should the write fail. The reason of a failure, or nothing.
std::optional<QString> WriteStormNetworkReport(const QString& path, ReportVariant variant,
                                               const ReportHeader& header, const ResultTable& table);

// ------------------------------------------------------------ work files

// The copies of the last run's segments and report, in the per-user data
// folder, rewritten by every calculation that is not refused.
inline const QString kSegmentWorkFile = QStringLiteral("storm_in_temp.txt");
inline const QString kReportWorkFile = QStringLiteral("storm_out_temp.txt");

// The path of a work file in the per-user data folder, the folder made on
// first use; no value when it cannot be made.
std::optional<QString> WorkFilePath(const QString& name);

// storm_in_temp.txt in the layout of the segment file: length, area and
// runoff coefficient of each segment as held, a line each. The reason of a
// failure, or nothing.
std::optional<QString> WriteSegmentWorkFile(std::span<const SegmentRow> segments);

// storm_out_temp.txt, the temporary variant of the report.
std::optional<QString> WriteReportWorkFile(const ReportHeader& header, const ResultTable& table);

}  // namespace storm_network
