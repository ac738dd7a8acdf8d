#include "textio/field_values.h"

#include "textio/numtext.h"

#include <cmath>

namespace textio {

bool ValueRange::contains(double value) const
{
    if (!std::isfinite(value))
        return false;
    if (lowestIncluded ? value < lowest : !(value > lowest))
        return false;
    if (value > highest)
        return false;
    return !wholeOnly || std::floor(value) == value;
}

std::optional<double> readInRange(const QString& text, const ValueRange& range)
{
    const std::optional<double> value = readNumber(text);
    if (!value || !range.contains(*value))
        return std::nullopt;
    return value;
}

std::optional<double> readPositiveNumber(const QString& text, bool whole)
{
    const std::optional<double> value = readNumber(text);
    if (!value || !(*value > 0) || (whole && std::floor(*value) != *value))
        return std::nullopt;
    return value;
}

std::optional<double> atTextPrecision(double value, QString& text)
{
    text = generalNumberText(value);
    return readNumber(text);
}

std::optional<double> atTextPrecision(double value)
{
    QString text;
    return atTextPrecision(value, text);
}

} // namespace textio
