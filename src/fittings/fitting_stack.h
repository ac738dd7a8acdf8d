// The connection height of a vertical stack of drainage fittings: the
// vertical distance in mm between the centre lines of the two horizontal
// pipes farthest apart on the riser (levels taken at the pipe centres).
//
// A stack is a list of lines, top of the riser first. A line is the fitting
// type, "&" and the size the fitting was added with: "管件1&110X50". The
// type is the line's first three characters, the size begins at its fifth
// character; lines are taken apart by character, and a piece that lies
// beyond the end of a line is empty. Each line keeps the fitting's real
// lengths L1 and L2 (0 where the fitting has none).
//
// Height = the sum of every L1 and L2 of the stack, less
//   - the L1 of the first fitting when it is 管件1, 管件2, 管件4 or 管件5
//     (its top end lies above the highest horizontal pipe),
//   - the L2 of the last fitting when it is 管件1, 管件2 or 管件3
//     (its bottom end lies below the lowest horizontal pipe),
//   - the L1 of every 管件1 or 管件2 directly below a 管件4 or 管件5
//     (the two share the horizontal centre line).
// These not-counted rules are applied to a copy at every calculation, so a
// stack's lengths never depend on an earlier calculation, on a line deleted
// or on a line appended since.
//
// Before summing, every pair of neighbouring fittings is checked for sizes
// that fit each other and for a connection that can be made; each failed
// check yields a message and the stack has no height.
#pragma once

#include "fittings/drainage_fitting_tables.h"
#include "textio/refusal.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <span>
#include <vector>

namespace fittings::drainage {

// Title of every message of the stack window.
inline constexpr QStringView kStackMessageTitle = u"错误！";
// A fitting added without a size of its list.
inline constexpr QStringView kChooseSizeMessage = u"请选择管件规格！";
// A fitting that cannot be joined below the fitting above it.
inline constexpr QStringView kCheckConnectionMessage = u"请确认管件连接！";
// Neighbouring fittings whose sizes do not fit.
inline constexpr QStringView kCheckSizeMessage = u"请确认管件规格！";
// The same, for a reducer below a fitting of the same main size.
inline constexpr QStringView kCheckReducerSizeMessage = u"请确认管件规格";

// --- Lines -------------------------------------------------------------------

// A line's type text is its first three characters; its size begins after
// the type and the "&".
inline constexpr qsizetype kLineTypeLength = 3;
inline constexpr qsizetype kLineSizeStart = kLineTypeLength + 1;
// Two size texts of neighbouring lines begin with the same main size when
// their first three characters are equal ("110X50", "110X110").
inline constexpr qsizetype kLeadCharacters = 3;
// Each line keeps two lengths, L1 then L2.
inline constexpr int kLengthsPerLine = 2;

// "管件1&110X50" from the type and the size text.
QString stackLineText(FittingType type, const QString& size);
// The line's first three characters.
QString stackLineTypeText(const QString& line);
// The line's text from its fifth character on.
QString stackLineSize(const QString& line);
// The type of a line; nothing when its first three characters name no type.
std::optional<FittingType> stackLineType(const QString& line);

// The two nominal sizes of a size text "AXB": A the main size, B the second.
struct NominalSizes {
    int mainMm = 0;
    int secondMm = 0;
};
// Nothing unless the text is two whole numbers joined by one capital "X".
std::optional<NominalSizes> nominalSizes(QStringView size);

struct StackLine {
    QString text;     // "管件1&110X50"
    double l1Mm = 0;  // real L1 of the fitting
    double l2Mm = 0;  // real L2 of the fitting
};

enum class StackMessage {
    NoSize,              // kChooseSizeMessage
    SizeMismatch,        // kCheckSizeMessage
    ReducerSizeMismatch, // kCheckReducerSizeMessage
    ConnectionRefused,   // kCheckConnectionMessage
};

QString stackMessageText(StackMessage message);
// The message as the window shows it: its text under kStackMessageTitle,
// OK alone.
textio::Notice stackNotice(StackMessage message);

// --- Adding a fitting --------------------------------------------------------

// Whether a fitting of `type` may be joined below the fitting `above`
// (nothing: the stack is empty). A 管件3 bend cannot follow a 管件1, 2, 3 or
// 6; a 管件4, 5 or 6 cannot follow a 管件4 or 5.
bool mayFollow(std::optional<FittingType> above, FittingType type);

// The input a refused addition asks the engineer to correct: the fitting's
// size, or its place below the fitting above.
enum class AdditionField { Size, Place };
using FittingRefusal = textio::Refusal<AdditionField>;
// The line to append, with the fitting's real lengths; or why the fitting is
// not added, titled kStackMessageTitle: kChooseSizeMessage (Size) for a size
// without lengths (the lengths the type takes from its size tested L1
// first, then L2), kCheckConnectionMessage (Place) where it may not follow
// the fitting above.
using FittingAdditionOutcome = textio::Outcome<StackLine, AdditionField>;

// A fitting of `type` with the size text `size` of `material` added below
// the fitting `above` (nothing: the stack is empty). The size is checked
// before the place. A refused fitting still shows the lengths its size has
// (DrainageFittingTables::lengths).
FittingAdditionOutcome fittingAddition(PipeMaterial material, FittingType type, const QString& size,
                                       std::optional<FittingType> above);

// --- Height --------------------------------------------------------------------

struct StackHeight {
    // In the order they are shown: at most one size message (the first pair
    // from the top whose sizes do not fit), then one connection message per
    // pair that cannot be joined, from the top (stackNotice).
    std::vector<textio::Notice> notices;
    // Two per line, L1 then L2, with the lengths that do not count set to 0.
    std::vector<double> countedLengthsMm;
    // The height when no message was raised.
    std::optional<double> heightMm;
    // Number of lines.
    int fittingCount = 0;
};

// Checks the stack and sums its counted lengths. The sum is carried at 15
// significant digits, as the window writes it step by step.
//
// Size check of a pair (upper line i, lower line i+1), by the types and by
// whether the first three characters of the two size texts are equal (for
// the listed sizes: whether the main sizes are equal). Where the sizes must
// join, the upper fitting's main size must equal the lower fitting's second
// size, compared as numbers. A line whose type is none of the six fails the
// size check of both its pairs and takes part in no other rule.
StackHeight stackHeight(std::span<const StackLine> lines);

// The stack as the window's two lists keep it: the lines, top first, and
// two length entries a line, L1 then L2, as the texts the fitting's length
// fields held when it was added (each a length in mm, or "0": not counted).
// An entry that is no number, or missing, is no known length: the stack is
// checked as above, but has no height.
StackHeight stackHeight(const QStringList& lines, const QStringList& lengthEntries);

// The height as the result field shows it: three decimals ("245.000"), or
// "0" when a message was raised.
QString stackHeightText(const StackHeight& height);

} // namespace fittings::drainage
