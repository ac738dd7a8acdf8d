#include "fittings/fitting_stack.h"

#include "textio/field_values.h"

#include <initializer_list>

namespace fittings::drainage {

namespace {

using T = FittingType;

// The outcome of the size check of one pair.
enum class SizeCell {
    Pass,            // no test
    Joint,           // upper main size must equal lower second size
    Mismatch,        // kCheckSizeMessage
    ReducerMismatch, // kCheckReducerSizeMessage
};

// Rows of the size tables: the upper fitting's group.
int upperGroup(T upper)
{
    switch (upper) {
    case T::Fitting1:
    case T::Fitting2:
    case T::Fitting3:
        return 0; // tees, crosses and bends
    case T::Fitting4:
    case T::Fitting5:
        return 1; // fittings that end in a horizontal pipe
    case T::Fitting6:
        return 2; // reducers
    }
    return 0;
}

constexpr SizeCell P = SizeCell::Pass;
constexpr SizeCell J = SizeCell::Joint;
constexpr SizeCell M = SizeCell::Mismatch;
constexpr SizeCell R = SizeCell::ReducerMismatch;

// Rows: upper group; columns: lower type 管件1 ... 管件6.
// Main sizes differ (first three characters of the sizes differ).
constexpr SizeCell kMainSizesDiffer[3][6] = {
    {M, M, P, M, J, J},
    {J, J, M, P, P, P},
    {M, M, P, P, J, J},
};
// Main sizes equal.
constexpr SizeCell kMainSizesEqual[3][6] = {
    {P, P, P, P, J, R},
    {J, J, P, P, P, P},
    {P, P, P, P, J, R},
};

int column(T type)
{
    return static_cast<int>(type) - 1;
}

// The upper fitting's main size equals the lower fitting's second size.
bool sizesJoin(const QString& upperSize, const QString& lowerSize)
{
    const std::optional<NominalSizes> upper = nominalSizes(upperSize);
    const std::optional<NominalSizes> lower = nominalSizes(lowerSize);
    return upper && lower && upper->mainMm == lower->secondMm;
}

// The size message of a pair, or nothing when the pair passes.
std::optional<StackMessage> sizeCheck(const QString& upperLine, const QString& lowerLine)
{
    const std::optional<T> upper = stackLineType(upperLine);
    const std::optional<T> lower = stackLineType(lowerLine);
    if (!upper || !lower)
        return StackMessage::SizeMismatch;
    const QString upperSize = stackLineSize(upperLine);
    const QString lowerSize = stackLineSize(lowerLine);
    const bool leadEqual = upperSize.left(3) == lowerSize.left(3);
    const auto& table = leadEqual ? kMainSizesEqual : kMainSizesDiffer;
    const SizeCell cell = table[upperGroup(*upper)][column(*lower)];
    switch (cell) {
    case SizeCell::Pass:
        return std::nullopt;
    case SizeCell::Joint:
        if (sizesJoin(upperSize, lowerSize))
            return std::nullopt;
        return StackMessage::SizeMismatch;
    case SizeCell::Mismatch:
        return StackMessage::SizeMismatch;
    case SizeCell::ReducerMismatch:
        return StackMessage::ReducerSizeMismatch;
    }
    return StackMessage::SizeMismatch;
}

enum class Joint {
    Allowed,
    Forbidden,
    LowerL1NotCounted,
};

Joint connection(T upper, T lower)
{
    switch (upper) {
    case T::Fitting1:
    case T::Fitting2:
    case T::Fitting3:
    case T::Fitting6:
        // A quarter bend does not take its horizontal end below these.
        return lower == T::Fitting3 ? Joint::Forbidden : Joint::Allowed;
    case T::Fitting4:
    case T::Fitting5:
        if (lower == T::Fitting1 || lower == T::Fitting2)
            return Joint::LowerL1NotCounted;
        if (lower == T::Fitting5 || (upper == T::Fitting4 && lower == T::Fitting6)
            || (upper == T::Fitting5 && lower == T::Fitting4))
            return Joint::Forbidden;
        return Joint::Allowed;
    }
    return Joint::Allowed;
}

bool isAnyOf(std::optional<T> type, std::initializer_list<T> types)
{
    if (!type)
        return false;
    for (T t : types) {
        if (*type == t)
            return true;
    }
    return false;
}

} // namespace

QString stackLineText(FittingType type, const QString& size)
{
    return fittingTypeName(type) + QLatin1Char('&') + size;
}

QString stackLineTypeText(const QString& line)
{
    return line.left(3);
}

QString stackLineSize(const QString& line)
{
    return line.mid(4);
}

std::optional<FittingType> stackLineType(const QString& line)
{
    return fittingTypeFromName(stackLineTypeText(line));
}

std::optional<NominalSizes> nominalSizes(QStringView size)
{
    const qsizetype x = size.indexOf(QLatin1Char('X'));
    if (x < 0)
        return std::nullopt;
    const auto wholeNumber = [](QStringView digits) -> std::optional<int> {
        if (digits.isEmpty() || digits.size() > 6)
            return std::nullopt;
        int value = 0;
        for (QChar c : digits) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return std::nullopt;
            value = value * 10 + (c.unicode() - u'0');
        }
        return value;
    };
    const std::optional<int> main = wholeNumber(size.left(x));
    const std::optional<int> second = wholeNumber(size.mid(x + 1));
    if (!main || !second)
        return std::nullopt;
    return NominalSizes{*main, *second};
}

bool mayFollow(std::optional<FittingType> above, FittingType type)
{
    if (!above)
        return true;
    if (isAnyOf(above, {T::Fitting4, T::Fitting5}))
        return !isAnyOf(type, {T::Fitting4, T::Fitting5, T::Fitting6});
    return type != T::Fitting3;
}

QString stackMessageText(StackMessage message)
{
    switch (message) {
    case StackMessage::SizeMismatch:
        return kCheckSizeMessage.toString();
    case StackMessage::ReducerSizeMismatch:
        return kCheckReducerSizeMessage.toString();
    case StackMessage::ConnectionRefused:
        return kCheckConnectionMessage.toString();
    }
    return kCheckSizeMessage.toString();
}

StackHeight stackHeight(std::span<const StackLine> lines)
{
    StackHeight result;
    result.fittingCount = static_cast<int>(lines.size());
    std::vector<std::optional<T>> types;
    for (const StackLine& line : lines) {
        types.push_back(stackLineType(line.text));
        result.countedLengthsMm.push_back(line.l1Mm);
        result.countedLengthsMm.push_back(line.l2Mm);
    }

    // Sizes: the first pair from the top that does not fit ends the check.
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        if (const std::optional<StackMessage> message = sizeCheck(lines[i].text, lines[i + 1].text)) {
            result.messages.push_back(*message);
            break;
        }
    }

    // Connections: every pair that cannot be joined is reported.
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        if (!types[i] || !types[i + 1])
            continue;
        switch (connection(*types[i], *types[i + 1])) {
        case Joint::Allowed:
            break;
        case Joint::Forbidden:
            result.messages.push_back(StackMessage::ConnectionRefused);
            break;
        case Joint::LowerL1NotCounted:
            result.countedLengthsMm[2 * (i + 1)] = 0;
            break;
        }
    }

    // The outermost fittings.
    if (!lines.empty()) {
        if (isAnyOf(types.front(), {T::Fitting1, T::Fitting2, T::Fitting4, T::Fitting5}))
            result.countedLengthsMm.front() = 0;
        if (isAnyOf(types.back(), {T::Fitting1, T::Fitting2, T::Fitting3}))
            result.countedLengthsMm.back() = 0;
    }

    if (!result.messages.empty())
        return result;
    double sum = 0;
    for (double length : result.countedLengthsMm)
        sum = textio::atTextPrecision(sum + length).value_or(0);
    result.heightMm = sum;
    return result;
}

} // namespace fittings::drainage
