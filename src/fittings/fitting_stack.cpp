#include "fittings/fitting_stack.h"

#include "textio/field_values.h"
#include "textio/numtext.h"

#include <algorithm>
#include <iterator>

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
enum UpperGroup {
    kBranchesAndBends,   // 管件1, 管件2, 管件3
    kHorizontalOutlets,  // 管件4, 管件5: end in a horizontal pipe at the bottom
    kReducers,           // 管件6
    kUpperGroups,
};

UpperGroup upperGroup(T upper)
{
    switch (upper) {
    case T::Tee:
    case T::Cross:
    case T::QuarterBend:
        return kBranchesAndBends;
    case T::OffsetBend:
    case T::SweptInlet:
        return kHorizontalOutlets;
    case T::Reducer:
        return kReducers;
    }
    return kBranchesAndBends;
}

constexpr std::size_t kTypeCount = std::size(kFittingTypes);

constexpr SizeCell P = SizeCell::Pass;
constexpr SizeCell J = SizeCell::Joint;
constexpr SizeCell M = SizeCell::Mismatch;
constexpr SizeCell R = SizeCell::ReducerMismatch;

// Rows: upper group; columns: lower type 管件1 ... 管件6.
// Main sizes differ (first three characters of the sizes differ).
constexpr SizeCell kMainSizesDiffer[kUpperGroups][kTypeCount] = {
    {M, M, P, M, J, J},
    {J, J, M, P, P, P},
    {M, M, P, P, J, J},
};
// Main sizes equal.
constexpr SizeCell kMainSizesEqual[kUpperGroups][kTypeCount] = {
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
    const bool leadEqual = upperSize.left(kLeadCharacters) == lowerSize.left(kLeadCharacters);
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
    case T::Tee:
    case T::Cross:
    case T::QuarterBend:
    case T::Reducer:
        // A quarter bend does not take its horizontal end below these.
        return lower == T::QuarterBend ? Joint::Forbidden : Joint::Allowed;
    case T::OffsetBend:
    case T::SweptInlet:
        if (lower == T::Tee || lower == T::Cross)
            return Joint::LowerL1NotCounted;
        if (lower == T::SweptInlet || (upper == T::OffsetBend && lower == T::Reducer)
            || (upper == T::SweptInlet && lower == T::OffsetBend))
            return Joint::Forbidden;
        return Joint::Allowed;
    }
    return Joint::Allowed;
}

bool isAnyOf(std::optional<T> type, std::span<const T> types)
{
    return type && std::find(types.begin(), types.end(), *type) != types.end();
}

// Fittings whose top end stands above the horizontal pipe they carry: as the
// first fitting of the stack, their L1 lies above the highest pipe.
constexpr T kTopEndAbovePipe[] = {T::Tee, T::Cross, T::OffsetBend, T::SweptInlet};
// Fittings whose bottom end stands below the horizontal pipe they carry: as
// the last fitting, their L2 lies below the lowest pipe.
constexpr T kBottomEndBelowPipe[] = {T::Tee, T::Cross, T::QuarterBend};
// Fittings that end in a horizontal pipe at the bottom, and the fittings
// that cannot be joined below them.
constexpr T kEndInHorizontalPipe[] = {T::OffsetBend, T::SweptInlet};
constexpr T kNotBelowHorizontalEnd[] = {T::OffsetBend, T::SweptInlet, T::Reducer};

// A size text's nominal sizes have at most this many digits each.
constexpr qsizetype kMostSizeDigits = 6;
// The result field's pattern for a height.
constexpr QStringView kHeightPattern = u"0.000";

} // namespace

QString stackLineText(FittingType type, const QString& size)
{
    return fittingTypeName(type) + QLatin1Char('&') + size;
}

QString stackLineTypeText(const QString& line)
{
    return line.left(kLineTypeLength);
}

QString stackLineSize(const QString& line)
{
    return line.mid(kLineSizeStart);
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
        if (digits.isEmpty() || digits.size() > kMostSizeDigits)
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
    if (isAnyOf(above, kEndInHorizontalPipe))
        return !isAnyOf(type, kNotBelowHorizontalEnd);
    return type != T::QuarterBend;
}

FittingAdditionOutcome fittingAddition(PipeMaterial material, FittingType type, const QString& size,
                                       std::optional<FittingType> above)
{
    const auto refused = [](AdditionField field, StackMessage message) {
        return FittingAdditionOutcome{
            FittingRefusal{field, stackMessageText(message), kStackMessageTitle.toString()}, {}};
    };
    const DrainageFittingTables::FittingLengths lengths =
        DrainageFittingTables::lengths(material, type, size).value_or(DrainageFittingTables::FittingLengths{});
    if ((DrainageFittingTables::setsL1(type) && lengths.l1Mm == 0)
        || (DrainageFittingTables::setsL2(type) && lengths.l2Mm == 0))
        return refused(AdditionField::Size, StackMessage::NoSize);
    if (!mayFollow(above, type))
        return refused(AdditionField::Place, StackMessage::ConnectionRefused);
    return {std::nullopt, {stackLineText(type, size), lengths.l1Mm, lengths.l2Mm}};
}

QString stackMessageText(StackMessage message)
{
    switch (message) {
    case StackMessage::NoSize:
        return kChooseSizeMessage.toString();
    case StackMessage::SizeMismatch:
        return kCheckSizeMessage.toString();
    case StackMessage::ReducerSizeMismatch:
        return kCheckReducerSizeMessage.toString();
    case StackMessage::ConnectionRefused:
        return kCheckConnectionMessage.toString();
    }
    return kCheckSizeMessage.toString();
}

textio::Notice stackNotice(StackMessage message)
{
    return {stackMessageText(message), kStackMessageTitle.toString(), textio::box_style::kOkOnly};
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
            result.notices.push_back(stackNotice(*message));
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
            result.notices.push_back(stackNotice(StackMessage::ConnectionRefused));
            break;
        case Joint::LowerL1NotCounted:
            result.countedLengthsMm[kLengthsPerLine * (i + 1)] = 0;
            break;
        }
    }

    // The outermost fittings.
    if (!lines.empty()) {
        if (isAnyOf(types.front(), kTopEndAbovePipe))
            result.countedLengthsMm.front() = 0;
        if (isAnyOf(types.back(), kBottomEndBelowPipe))
            result.countedLengthsMm.back() = 0;
    }

    if (!result.notices.empty())
        return result;
    double sum = 0;
    for (double length : result.countedLengthsMm)
        sum = textio::atTextPrecision(sum + length).value_or(0);
    result.heightMm = sum;
    return result;
}

StackHeight stackHeight(const QStringList& lines, const QStringList& lengthEntries)
{
    bool lengthsKnown = true;
    const auto lengthMm = [&](qsizetype entry) {
        const std::optional<double> mm =
            entry < lengthEntries.size() ? textio::readNumber(lengthEntries[entry]) : std::nullopt;
        lengthsKnown = lengthsKnown && mm;
        return mm.value_or(0);
    };
    std::vector<StackLine> stack;
    for (qsizetype k = 0; k < lines.size(); ++k) {
        const qsizetype l1 = kLengthsPerLine * k;
        stack.push_back({lines[k], lengthMm(l1), lengthMm(l1 + 1)});
    }
    StackHeight result = stackHeight(stack);
    if (!lengthsKnown)
        result.heightMm.reset();
    return result;
}

QString stackHeightText(const StackHeight& height)
{
    if (!height.heightMm)
        return QStringLiteral("0");
    return textio::formatNumber(*height.heightMm, kHeightPattern.toString());
}

} // namespace fittings::drainage
