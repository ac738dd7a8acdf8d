// Design values as the engineer types them and as fields hold them: the
// strict reading of a typed value against the range a real design can have,
// a value carried at a field's text precision, and the titles of the input
// check messages. Engines state each input's range beside the formula that
// uses it and refuse a value outside it with that field's message; windows
// only show the refusal.
#pragma once

#include <QString>

#include <optional>

namespace textio {

// Title of a check on a wrong or missing value.
inline const QString kCorrectnessTitle = QStringLiteral("确认数据正确性");
// Title of a check on a missing choice.
inline const QString kCompletenessTitle = QStringLiteral("确认数据完整性");
// Title of a note or a refusal that is neither of the two.
inline const QString kHintTitle = QStringLiteral("提示");
// Title of a destructive question or a warning.
inline const QString kWarningTitle = QStringLiteral("警告");

// The values a typed design input may take: above (or from) `lowest` up to
// `highest` (inclusive), optionally whole numbers only.
struct ValueRange {
    double lowest = 0;
    double highest = 0;
    // False: the value must be greater than `lowest`; true: at least it.
    bool lowestIncluded = false;
    bool wholeOnly = false;

    bool contains(double value) const;
};

// A range of positive values up to `highest`: 0 < value <= highest.
constexpr ValueRange positiveUpTo(double highest, bool wholeOnly = false)
{
    return ValueRange{0, highest, false, wholeOnly};
}

// The typed text read strictly (readNumber()) and inside `range`; nothing
// for a text that is no number or a value outside it.
std::optional<double> readInRange(const QString& text, const ValueRange& range);

// A positive finite number read strictly, a whole one when `whole` is set;
// nothing otherwise.
std::optional<double> readPositiveNumber(const QString& text, bool whole = false);

// A value as a field holds it: written as its general number text and read
// back, so a following step computes with what the engineer sees. Nothing
// when the value is not finite. The overload also hands back the text.
std::optional<double> atTextPrecision(double value);
std::optional<double> atTextPrecision(double value, QString& text);

} // namespace textio
