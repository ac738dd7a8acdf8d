#include "fittings/fitting_stack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using namespace Qt::StringLiterals;
using fittings::drainage::FittingType;
using fittings::drainage::PipeMaterial;
using fittings::drainage::StackLine;
using fittings::drainage::StackMessage;
namespace Tables = fittings::drainage::DrainageFittingTables;
namespace drainage = fittings::drainage;

using enum fittings::drainage::FittingType;

// A line of the stack with the fitting's real lengths from the table.
StackLine fitting(FittingType type, const QString& size, PipeMaterial material = PipeMaterial::Pvcu)
{
    const std::optional<Tables::FittingLengths> lengths = Tables::lengths(material, type, size);
    EXPECT_TRUE(lengths) << size.toStdString();
    return {drainage::stackLineText(type, size), lengths ? lengths->l1Mm : 0, lengths ? lengths->l2Mm : 0};
}

// An addition in the shape the rows give it: the refusal as its stack
// message, the lengths its size shows, the line to append.
struct Addition {
    std::optional<StackMessage> refusal;
    std::optional<Tables::FittingLengths> lengths;
    StackLine line;
};
Addition addition(PipeMaterial material, FittingType type, const QString& size,
                  std::optional<FittingType> above)
{
    const drainage::FittingAdditionOutcome outcome = drainage::fittingAddition(material, type, size, above);
    Addition a{std::nullopt, Tables::lengths(material, type, size), outcome.values};
    if (outcome.refusal) {
        const StackMessage message = outcome.refusal->field == drainage::AdditionField::Size
            ? StackMessage::NoSize
            : StackMessage::ConnectionRefused;
        EXPECT_EQ(outcome.refusal->message, drainage::stackMessageText(message));
        EXPECT_EQ(outcome.refusal->title, drainage::kStackMessageTitle.toString());
        a.refusal = message;
    }
    return a;
}

// The notices of the stack's messages, in order.
std::vector<textio::Notice> noticesOf(const std::vector<StackMessage>& messages)
{
    std::vector<textio::Notice> notices;
    for (StackMessage message : messages)
        notices.push_back(drainage::stackNotice(message));
    return notices;
}

// The height as the window writes it, or "0" when a message was raised.
QString shown(const drainage::StackHeight& h)
{
    return drainage::stackHeightText(h);
}

TEST(FittingStackLines, TakenApartByCharacter)
{
    struct Row {
        QString line;
        QString type;
        QString size;
    };
    const Row rows[] = {
        {u"管件1&110X50"_s, u"管件1"_s, u"110X50"_s},
        {u"管件6&50X50"_s, u"管件6"_s, u"50X50"_s},
        {u"管件1&"_s, u"管件1"_s, QString()},
        {u"管件1"_s, u"管件1"_s, QString()},
        {u"管件"_s, u"管件"_s, QString()},
        {QString(), QString(), QString()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line.toStdString());
        EXPECT_EQ(drainage::stackLineTypeText(row.line), row.type);
        EXPECT_EQ(drainage::stackLineSize(row.line), row.size);
    }
    EXPECT_EQ(drainage::stackLineText(OffsetBend, u"110X110"_s), u"管件4&110X110"_s);
    EXPECT_EQ(drainage::stackLineType(u"管件4&110X110"_s), OffsetBend);
    EXPECT_FALSE(drainage::stackLineType(u"管件"_s));
    EXPECT_FALSE(drainage::stackLineType(u"管件9&50X50"_s));
}

TEST(FittingStackLines, NominalSizesAreTwoWholeNumbers)
{
    struct Row {
        QString size;
        std::optional<std::pair<int, int>> sizes;
    };
    const Row rows[] = {
        {u"110X50"_s, std::pair{110, 50}},
        {u"50X50"_s, std::pair{50, 50}},
        {u"300X200"_s, std::pair{300, 200}},
        {u"110x50"_s, std::nullopt},
        {u"X50"_s, std::nullopt},
        {u"110X"_s, std::nullopt},
        {u"110X50X3"_s, std::nullopt},
        {u"110X5.0"_s, std::nullopt},
        {u"１１０X50"_s, std::nullopt},
        {u"请选择管件规格"_s, std::nullopt},
        {QString(), std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.size.toStdString());
        const std::optional<drainage::NominalSizes> sizes = drainage::nominalSizes(row.size);
        ASSERT_EQ(sizes.has_value(), row.sizes.has_value());
        if (sizes) {
            EXPECT_EQ(sizes->mainMm, row.sizes->first);
            EXPECT_EQ(sizes->secondMm, row.sizes->second);
        }
    }
}

TEST(FittingStackAdding, WhichFittingMayFollowWhich)
{
    struct Row {
        const char* name;
        std::optional<FittingType> above;
        std::vector<FittingType> refused;
    };
    const Row rows[] = {
        {"empty stack", std::nullopt, {}},
        {"below 管件1", Tee, {QuarterBend}},
        {"below 管件2", Cross, {QuarterBend}},
        {"below 管件3", QuarterBend, {QuarterBend}},
        {"below 管件4", OffsetBend, {OffsetBend, SweptInlet, Reducer}},
        {"below 管件5", SweptInlet, {OffsetBend, SweptInlet, Reducer}},
        {"below 管件6", Reducer, {QuarterBend}},
    };
    for (const Row& row : rows) {
        for (FittingType type : drainage::kFittingTypes) {
            SCOPED_TRACE(std::string(row.name) + ": " + drainage::fittingTypeName(type).toStdString());
            const bool refused = std::find(row.refused.begin(), row.refused.end(), type) != row.refused.end();
            EXPECT_EQ(drainage::mayFollow(row.above, type), !refused);
        }
    }
}

TEST(FittingStackAdding, SizeIsCheckedBeforeThePosition)
{
    struct Row {
        const char* name;
        PipeMaterial material;
        FittingType type;
        QString size;
        std::optional<FittingType> above;
        std::optional<StackMessage> refusal;
        bool listed; // the size has lengths for the type and material
        QString line;
        double l1;
        double l2;
    };
    const auto pvcu = PipeMaterial::Pvcu;
    const auto ci = PipeMaterial::CastIron;
    const auto noSize = StackMessage::NoSize;
    const auto refused = StackMessage::ConnectionRefused;
    const Row rows[] = {
        {"nothing picked", pvcu, Tee, u"请选择管件规格"_s, std::nullopt, noSize, false, {}, 0, 0},
        {"typed size that is no entry", pvcu, Tee, u"110X51"_s, std::nullopt, noSize, false, {}, 0, 0},
        {"entry typed in small letters", pvcu, Tee, u"110x50"_s, std::nullopt, noSize, false, {}, 0, 0},
        {"cast-iron size while PVC-U is chosen", pvcu, Tee, u"100X100"_s, std::nullopt, noSize, false,
         {}, 0, 0},
        {"bend without a size below a tee: the size comes first", pvcu, QuarterBend, QString(), Tee,
         noSize, false, {}, 0, 0},
        {"bend below a tee", pvcu, QuarterBend, u"110X110"_s, Tee, refused, true, {}, 0, 118},
        {"bend below a reducer", pvcu, QuarterBend, u"110X110"_s, Reducer, refused, true, {}, 0, 118},
        {"offset bend below an inlet", pvcu, OffsetBend, u"110X110"_s, SweptInlet, refused, true, {},
         176.237590053236, 0},
        {"inlet below an offset bend", pvcu, SweptInlet, u"110X110"_s, OffsetBend, refused, true, {}, 125, 0},
        {"reducer below an inlet", pvcu, Reducer, u"160X110"_s, SweptInlet, refused, true, {}, 58, 0},
        {"bend below an inlet", pvcu, QuarterBend, u"110X110"_s, SweptInlet, std::nullopt, true,
         u"管件3&110X110"_s, 0, 118},
        {"bend below an offset bend", pvcu, QuarterBend, u"110X110"_s, OffsetBend, std::nullopt, true,
         u"管件3&110X110"_s, 0, 118},
        {"first bend", pvcu, QuarterBend, u"50X50"_s, std::nullopt, std::nullopt, true, u"管件3&50X50"_s,
         0, 65},
        {"tee below an inlet keeps its real L1", pvcu, Tee, u"110X50"_s, SweptInlet, std::nullopt, true,
         u"管件1&110X50"_s, 77, 78},
        {"cast-iron cross", ci, Cross, u"125X125"_s, std::nullopt, std::nullopt, true, u"管件2&125X125"_s,
         97, 222},
        {"cast-iron offset bend: √2·190/2 + 60", ci, OffsetBend, u"100X100"_s, Tee, std::nullopt, true,
         u"管件4&100X100"_s, 194.350288425444, 0},
        {"cast-iron reducer below a reducer", ci, Reducer, u"300X200"_s, Reducer, std::nullopt, true,
         u"管件6&300X200"_s, 300, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Addition a = addition(row.material, row.type, row.size, row.above);
        EXPECT_EQ(a.refusal, row.refusal);
        ASSERT_EQ(a.lengths.has_value(), row.listed);
        if (a.lengths) {
            EXPECT_NEAR(a.lengths->l1Mm, row.l1, 1e-9);
            EXPECT_NEAR(a.lengths->l2Mm, row.l2, 1e-9);
        }
        if (!row.refusal) {
            EXPECT_EQ(a.line.text, row.line);
            EXPECT_NEAR(a.line.l1Mm, row.l1, 1e-9);
            EXPECT_NEAR(a.line.l2Mm, row.l2, 1e-9);
        }
    }
}

struct HeightCase {
    const char* name;
    std::vector<StackLine> lines;
    std::vector<StackMessage> messages;
    QString height;
};

void expectHeights(const std::vector<HeightCase>& cases)
{
    for (const HeightCase& c : cases) {
        SCOPED_TRACE(c.name);
        const drainage::StackHeight h = drainage::stackHeight(c.lines);
        EXPECT_EQ(h.notices, noticesOf(c.messages));
        EXPECT_EQ(shown(h), c.height);
        EXPECT_EQ(h.fittingCount, static_cast<int>(c.lines.size()));
        EXPECT_EQ(h.countedLengthsMm.size(), 2 * c.lines.size());
    }
}

TEST(FittingStackHeight, WorkedExamples)
{
    const auto sizeMismatch = StackMessage::SizeMismatch;
    expectHeights({
        {"empty stack", {}, {}, u"0.000"_s},
        {"one tee: both ends outside the horizontal pipes", {fitting(Tee, u"110X50"_s)}, {}, u"0.000"_s},
        {"one reducer", {fitting(Reducer, u"75X50"_s)}, {}, u"40.000"_s},
        {"tee above a swept inlet of its size: L2 of the tee and L1 of the inlet",
         {fitting(Tee, u"110X50"_s), fitting(SweptInlet, u"110X110"_s)}, {}, u"203.000"_s},
        {"tee above a reducer of the same main size",
         {fitting(Tee, u"110X50"_s), fitting(Reducer, u"110X50"_s)},
         {StackMessage::ReducerSizeMismatch}, u"0"_s},
        {"offset bend above a bend of another size",
         {fitting(OffsetBend, u"110X110"_s), fitting(QuarterBend, u"160X160"_s)}, {sizeMismatch}, u"0"_s},
        {"offset bend above a bend of its size",
         {fitting(OffsetBend, u"110X110"_s), fitting(QuarterBend, u"110X110"_s)}, {}, u"0.000"_s},
        {"tee above a bend: the sizes pass, the joint cannot be made",
         {fitting(Tee, u"110X110"_s), fitting(QuarterBend, u"110X110"_s)},
         {StackMessage::ConnectionRefused}, u"0"_s},
        {"two joints that cannot be made, top first",
         {fitting(Tee, u"110X110"_s), fitting(QuarterBend, u"110X110"_s), fitting(Reducer, u"160X110"_s),
          fitting(QuarterBend, u"110X110"_s)},
         {StackMessage::ConnectionRefused, StackMessage::ConnectionRefused}, u"0"_s},
        {"size message first, then the joints; only the first size message",
         {fitting(Tee, u"110X110"_s), fitting(Reducer, u"110X50"_s), fitting(QuarterBend, u"50X50"_s),
          fitting(Reducer, u"110X50"_s), fitting(OffsetBend, u"110X110"_s), fitting(Reducer, u"125X90"_s)},
         {StackMessage::ReducerSizeMismatch, StackMessage::ConnectionRefused,
          StackMessage::ConnectionRefused},
         u"0"_s},
        {"cross below an offset bend: its L1 does not count",
         {fitting(OffsetBend, u"110X110"_s), fitting(Cross, u"110X110"_s),
          fitting(Reducer, u"160X110"_s)},
         {}, u"174.000"_s},
        {"every rule at once",
         {fitting(SweptInlet, u"110X110"_s), fitting(Tee, u"110X110"_s), fitting(Reducer, u"160X110"_s),
          fitting(Cross, u"160X160"_s), fitting(OffsetBend, u"160X160"_s)},
         {}, u"696.936"_s},
        {"cast-iron tee joined to a reducer by its main size",
         {fitting(Tee, u"150X100"_s, PipeMaterial::CastIron),
          fitting(Reducer, u"200X150"_s, PipeMaterial::CastIron)},
         {}, u"485.000"_s},
    });
}

// The size joint compares the main size of the upper fitting with the
// second size of the lower one as numbers, not by the endings of the texts.
TEST(FittingStackHeight, SizeJointComparesNumbers)
{
    const auto ci = PipeMaterial::CastIron;
    expectHeights({
        {"50 against 150", {fitting(Tee, u"50X50"_s, ci), fitting(Reducer, u"200X150"_s, ci)},
         {StackMessage::SizeMismatch}, u"0"_s},
        {"75 against 75", {fitting(Tee, u"75X50"_s, ci), fitting(Reducer, u"100X75"_s, ci)}, {},
         u"392.000"_s},
        {"50 against 50 below an inlet",
         {fitting(SweptInlet, u"50X50"_s, ci), fitting(Tee, u"100X50"_s, ci)}, {}, u"0.000"_s},
        {"100 against 50 below an inlet",
         {fitting(SweptInlet, u"100X100"_s, ci), fitting(Tee, u"150X50"_s, ci)},
         {StackMessage::SizeMismatch}, u"0"_s},
    });
}

// Every cell of the two size tables, for a stack of two fittings: where the
// sizes must join, once with sizes that do and once with sizes that do not.
// Pairs that cannot be joined at all add their connection message.
TEST(FittingStackHeight, EverySizeCellOfBothTables)
{
    struct Row {
        const char* name;
        FittingType upper;
        QString upperSize;
        FittingType lower;
        QString lowerSize;
        std::vector<StackMessage> messages;
    };
    const auto size = StackMessage::SizeMismatch;
    const auto reducerSize = StackMessage::ReducerSizeMismatch;
    const auto joint = StackMessage::ConnectionRefused;
    const Row rows[] = {
        // Main sizes differ.
        {"two tees of different main sizes", Tee, u"75X75"_s, Tee, u"110X75"_s, {size}},
        {"two crosses of different main sizes", Cross, u"75X75"_s, Cross, u"110X110"_s, {size}},
        {"bend above a bend", QuarterBend, u"75X75"_s, QuarterBend, u"110X110"_s, {joint}},
        {"tee above an offset bend", Tee, u"75X75"_s, OffsetBend, u"110X110"_s, {size}},
        {"cross above an inlet, 75 into 75", Cross, u"75X75"_s, SweptInlet, u"110X75"_s, {}},
        {"bend above an inlet, 50 into 75", QuarterBend, u"50X50"_s, SweptInlet, u"110X75"_s, {size}},
        {"tee above a reducer, 75 into 75", Tee, u"75X75"_s, Reducer, u"110X75"_s, {}},
        {"cross above a reducer, 90 into 75", Cross, u"90X90"_s, Reducer, u"110X75"_s, {size}},
        {"offset bend above a tee, 75 into 75", OffsetBend, u"75X75"_s, Tee, u"110X75"_s, {}},
        {"inlet above a tee, 50 into 75", SweptInlet, u"50X50"_s, Tee, u"110X75"_s, {size}},
        {"inlet above a cross, 75 into 75", SweptInlet, u"75X75"_s, Cross, u"110X75"_s, {}},
        {"offset bend above a cross, 90 into 75", OffsetBend, u"90X90"_s, Cross, u"110X75"_s, {size}},
        {"offset bend above a bend", OffsetBend, u"75X75"_s, QuarterBend, u"110X110"_s, {size}},
        {"inlet above a bend", SweptInlet, u"75X75"_s, QuarterBend, u"110X110"_s, {size}},
        {"offset bend above an offset bend", OffsetBend, u"75X75"_s, OffsetBend, u"110X110"_s, {}},
        {"inlet above an inlet", SweptInlet, u"75X75"_s, SweptInlet, u"110X110"_s, {joint}},
        {"offset bend above a reducer", OffsetBend, u"75X75"_s, Reducer, u"110X75"_s, {joint}},
        {"inlet above a reducer", SweptInlet, u"75X75"_s, Reducer, u"110X75"_s, {}},
        {"reducer above a tee", Reducer, u"75X50"_s, Tee, u"110X75"_s, {size}},
        {"reducer above a cross", Reducer, u"75X50"_s, Cross, u"110X75"_s, {size}},
        {"reducer above a bend", Reducer, u"75X50"_s, QuarterBend, u"110X110"_s, {joint}},
        {"reducer above an offset bend", Reducer, u"75X50"_s, OffsetBend, u"110X110"_s, {}},
        {"reducer above an inlet, 75 into 75", Reducer, u"75X50"_s, SweptInlet, u"110X75"_s, {}},
        {"reducer above an inlet, 90 into 75", Reducer, u"90X50"_s, SweptInlet, u"110X75"_s, {size}},
        {"reducer above a reducer, 75 into 75", Reducer, u"75X50"_s, Reducer, u"110X75"_s, {}},
        {"reducer above a reducer, 90 into 75", Reducer, u"90X50"_s, Reducer, u"110X75"_s, {size}},
        // Main sizes equal.
        {"two tees of one main size", Tee, u"110X50"_s, Tee, u"110X110"_s, {}},
        {"two crosses of one main size", Cross, u"110X75"_s, Cross, u"110X50"_s, {}},
        {"tee above a bend of its size", Tee, u"110X110"_s, QuarterBend, u"110X110"_s, {joint}},
        {"bend above an offset bend of its size", QuarterBend, u"110X110"_s, OffsetBend, u"110X110"_s, {}},
        {"cross above an inlet, 110 into 110", Cross, u"110X50"_s, SweptInlet, u"110X110"_s, {}},
        {"tee above an inlet, 110 into 50", Tee, u"110X110"_s, SweptInlet, u"110X50"_s, {size}},
        {"bend above a reducer of its main size", QuarterBend, u"110X110"_s, Reducer, u"110X50"_s,
         {reducerSize}},
        {"offset bend above a tee, 110 into 110", OffsetBend, u"110X110"_s, Tee, u"110X110"_s, {}},
        {"inlet above a tee, 110 into 50", SweptInlet, u"110X110"_s, Tee, u"110X50"_s, {size}},
        {"inlet above a cross, 110 into 110", SweptInlet, u"110X110"_s, Cross, u"110X110"_s, {}},
        {"offset bend above a cross, 110 into 75", OffsetBend, u"110X110"_s, Cross, u"110X75"_s, {size}},
        {"inlet above a bend of its size", SweptInlet, u"110X110"_s, QuarterBend, u"110X110"_s, {}},
        {"inlet above an offset bend", SweptInlet, u"110X110"_s, OffsetBend, u"110X110"_s, {joint}},
        {"offset bend above an inlet", OffsetBend, u"110X110"_s, SweptInlet, u"110X110"_s, {joint}},
        {"inlet above a reducer of its main size", SweptInlet, u"110X110"_s, Reducer, u"110X50"_s, {}},
        {"reducer above a tee of its main size", Reducer, u"110X50"_s, Tee, u"110X75"_s, {}},
        {"reducer above a cross of its main size", Reducer, u"110X75"_s, Cross, u"110X110"_s, {}},
        {"reducer above a bend of its main size", Reducer, u"110X90"_s, QuarterBend, u"110X110"_s, {joint}},
        {"reducer above an offset bend of its main size", Reducer, u"110X50"_s, OffsetBend, u"110X110"_s, {}},
        {"reducer above an inlet, 110 into 110", Reducer, u"110X50"_s, SweptInlet, u"110X110"_s, {}},
        {"reducer above an inlet, 110 into 75", Reducer, u"110X90"_s, SweptInlet, u"110X75"_s, {size}},
        {"reducer above a reducer of its main size", Reducer, u"110X90"_s, Reducer, u"110X50"_s,
         {reducerSize}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::vector<StackLine> lines = {fitting(row.upper, row.upperSize),
                                              fitting(row.lower, row.lowerSize)};
        const drainage::StackHeight h = drainage::stackHeight(lines);
        EXPECT_EQ(h.notices, noticesOf(row.messages));
        EXPECT_EQ(h.heightMm.has_value(), row.messages.empty());
    }
}

// The lengths that do not count are set aside on a copy: the lines keep
// their real lengths, whatever stood above or below them before.
TEST(FittingStackHeight, NotCountedLengthsFollowTheStackAsItIs)
{
    const StackLine reducer = fitting(Reducer, u"110X50"_s);
    const StackLine inlet = fitting(SweptInlet, u"110X110"_s);
    const StackLine tee = fitting(Tee, u"110X110"_s);

    const drainage::StackHeight three = drainage::stackHeight(std::vector{reducer, inlet, tee});
    EXPECT_EQ(three.countedLengthsMm, (std::vector<double>{48, 0, 125, 0, 0, 0}));
    EXPECT_EQ(shown(three), u"173.000"_s);

    // The inlet taken out: the tee now hangs from the reducer and its L1 counts.
    const drainage::StackHeight two = drainage::stackHeight(std::vector{reducer, tee});
    EXPECT_EQ(two.countedLengthsMm, (std::vector<double>{48, 0, 103, 0}));
    EXPECT_EQ(shown(two), u"151.000"_s);

    // A tee that was alone and is then followed: its L2 counts again.
    const StackLine narrowTee = fitting(Tee, u"110X50"_s);
    EXPECT_EQ(shown(drainage::stackHeight(std::vector{narrowTee})), u"0.000"_s);
    EXPECT_EQ(shown(drainage::stackHeight(std::vector{narrowTee, inlet})), u"203.000"_s);
}

TEST(FittingStackHeight, FirstAndLastFittingRules)
{
    struct Row {
        FittingType type;
        double countedL1;
        double countedL2;
    };
    // One fitting with both lengths set to 1: the first-line rule takes L1 of
    // 管件1, 2, 4 and 5, the last-line rule L2 of 管件1, 2 and 3.
    const Row rows[] = {
        {Tee, 0, 0}, {Cross, 0, 0}, {QuarterBend, 1, 0},
        {OffsetBend, 0, 1}, {SweptInlet, 0, 1}, {Reducer, 1, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(drainage::fittingTypeName(row.type).toStdString());
        const std::vector<StackLine> lines = {{drainage::stackLineText(row.type, u"110X110"_s), 1, 1}};
        const drainage::StackHeight h = drainage::stackHeight(lines);
        EXPECT_EQ(h.countedLengthsMm, (std::vector<double>{row.countedL1, row.countedL2}));
        EXPECT_EQ(h.heightMm, row.countedL1 + row.countedL2);
    }
}

TEST(FittingStackHeight, LengthEntriesAsTheListKeepsThem)
{
    // The window's two lists: a length entry that is no number (or none at
    // all) is no known length, so the stack has no height; the checks run
    // all the same.
    // The offset bend's L1 and the quarter bend's L2 do not count.
    const QStringList bends = {drainage::stackLineText(OffsetBend, u"110X110"_s),
                               drainage::stackLineText(QuarterBend, u"110X110"_s)};
    const QStringList teeOverBend = {drainage::stackLineText(Tee, u"110X110"_s),
                                     drainage::stackLineText(QuarterBend, u"110X110"_s)};
    struct Row {
        const char* name;
        QStringList lines;
        QStringList entries;
        std::vector<StackMessage> messages;
        QString height;
    };
    const Row rows[] = {
        {"numbers", bends, {u"85"_s, u"20"_s, u"85.5"_s, u"7"_s}, {}, u"105.500"_s},
        {"an entry of letters", bends, {u"85"_s, u"长"_s, u"85"_s, u"0"_s}, {}, u"0"_s},
        {"an empty entry", bends, {u"85"_s, u"20"_s, QString(), u"0"_s}, {}, u"0"_s},
        {"an entry missing", bends, {u"85"_s, u"20"_s, u"85"_s}, {}, u"0"_s},
        {"a forbidden pair besides", teeOverBend, {u"0"_s, u"x"_s, u"85"_s, u"0"_s},
         {StackMessage::ConnectionRefused}, u"0"_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const drainage::StackHeight h = drainage::stackHeight(row.lines, row.entries);
        EXPECT_EQ(h.notices, noticesOf(row.messages));
        EXPECT_EQ(shown(h), row.height);
        EXPECT_EQ(h.fittingCount, 2);
    }
}

TEST(FittingStackHeight, LinesOfNoTypeFailTheSizeCheck)
{
    const std::vector<StackLine> lines = {
        fitting(Reducer, u"110X50"_s), {u"管件"_s, 5, 5}, fitting(Reducer, u"110X50"_s)};
    const drainage::StackHeight h = drainage::stackHeight(lines);
    EXPECT_EQ(h.notices, noticesOf({StackMessage::SizeMismatch}));
    EXPECT_FALSE(h.heightMm);
    EXPECT_EQ(h.fittingCount, 3);
}

TEST(FittingStackHeight, MessageTexts)
{
    EXPECT_EQ(drainage::stackMessageText(StackMessage::NoSize), u"请选择管件规格！"_s);
    EXPECT_EQ(drainage::stackMessageText(StackMessage::SizeMismatch), u"请确认管件规格！"_s);
    EXPECT_EQ(drainage::stackMessageText(StackMessage::ReducerSizeMismatch), u"请确认管件规格"_s);
    EXPECT_EQ(drainage::stackMessageText(StackMessage::ConnectionRefused), u"请确认管件连接！"_s);
}

} // namespace
