#include "fittings/fitting_stack.h"

#include "textio/numtext.h"

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

// The height as the window writes it, or "0" when a message was raised.
QString shown(const drainage::StackHeight& h)
{
    return h.heightMm ? textio::formatNumber(*h.heightMm, u"0.000"_s) : u"0"_s;
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
    EXPECT_EQ(drainage::stackLineText(Fitting4, u"110X110"_s), u"管件4&110X110"_s);
    EXPECT_EQ(drainage::stackLineType(u"管件4&110X110"_s), Fitting4);
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
        {"below 管件1", Fitting1, {Fitting3}},
        {"below 管件2", Fitting2, {Fitting3}},
        {"below 管件3", Fitting3, {Fitting3}},
        {"below 管件4", Fitting4, {Fitting4, Fitting5, Fitting6}},
        {"below 管件5", Fitting5, {Fitting4, Fitting5, Fitting6}},
        {"below 管件6", Fitting6, {Fitting3}},
    };
    for (const Row& row : rows) {
        for (FittingType type : drainage::kFittingTypes) {
            SCOPED_TRACE(std::string(row.name) + ": " + drainage::fittingTypeName(type).toStdString());
            const bool refused = std::find(row.refused.begin(), row.refused.end(), type) != row.refused.end();
            EXPECT_EQ(drainage::mayFollow(row.above, type), !refused);
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
        EXPECT_EQ(h.messages, c.messages);
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
        {"one tee: both ends outside the horizontal pipes", {fitting(Fitting1, u"110X50"_s)}, {}, u"0.000"_s},
        {"one reducer", {fitting(Fitting6, u"75X50"_s)}, {}, u"40.000"_s},
        {"tee above a swept inlet of its size: L2 of the tee and L1 of the inlet",
         {fitting(Fitting1, u"110X50"_s), fitting(Fitting5, u"110X110"_s)}, {}, u"203.000"_s},
        {"tee above a reducer of the same main size",
         {fitting(Fitting1, u"110X50"_s), fitting(Fitting6, u"110X50"_s)},
         {StackMessage::ReducerSizeMismatch}, u"0"_s},
        {"offset bend above a bend of another size",
         {fitting(Fitting4, u"110X110"_s), fitting(Fitting3, u"160X160"_s)}, {sizeMismatch}, u"0"_s},
        {"offset bend above a bend of its size",
         {fitting(Fitting4, u"110X110"_s), fitting(Fitting3, u"110X110"_s)}, {}, u"0.000"_s},
        {"tee above a bend: the sizes pass, the joint cannot be made",
         {fitting(Fitting1, u"110X110"_s), fitting(Fitting3, u"110X110"_s)},
         {StackMessage::ConnectionRefused}, u"0"_s},
        {"two joints that cannot be made, top first",
         {fitting(Fitting1, u"110X110"_s), fitting(Fitting3, u"110X110"_s), fitting(Fitting6, u"160X110"_s),
          fitting(Fitting3, u"110X110"_s)},
         {StackMessage::ConnectionRefused, StackMessage::ConnectionRefused}, u"0"_s},
        {"size message first, then the joints; only the first size message",
         {fitting(Fitting1, u"110X110"_s), fitting(Fitting6, u"110X50"_s), fitting(Fitting3, u"50X50"_s),
          fitting(Fitting6, u"110X50"_s), fitting(Fitting4, u"110X110"_s), fitting(Fitting6, u"125X90"_s)},
         {StackMessage::ReducerSizeMismatch, StackMessage::ConnectionRefused,
          StackMessage::ConnectionRefused},
         u"0"_s},
        {"cross below an offset bend: its L1 does not count",
         {fitting(Fitting4, u"110X110"_s), fitting(Fitting2, u"110X110"_s),
          fitting(Fitting6, u"160X110"_s)},
         {}, u"174.000"_s},
        {"every rule at once",
         {fitting(Fitting5, u"110X110"_s), fitting(Fitting1, u"110X110"_s), fitting(Fitting6, u"160X110"_s),
          fitting(Fitting2, u"160X160"_s), fitting(Fitting4, u"160X160"_s)},
         {}, u"696.936"_s},
        {"cast-iron tee joined to a reducer by its main size",
         {fitting(Fitting1, u"150X100"_s, PipeMaterial::CastIron),
          fitting(Fitting6, u"200X150"_s, PipeMaterial::CastIron)},
         {}, u"485.000"_s},
    });
}

// The size joint compares the main size of the upper fitting with the
// second size of the lower one as numbers, not by the endings of the texts.
TEST(FittingStackHeight, SizeJointComparesNumbers)
{
    const auto ci = PipeMaterial::CastIron;
    expectHeights({
        {"50 against 150", {fitting(Fitting1, u"50X50"_s, ci), fitting(Fitting6, u"200X150"_s, ci)},
         {StackMessage::SizeMismatch}, u"0"_s},
        {"75 against 75", {fitting(Fitting1, u"75X50"_s, ci), fitting(Fitting6, u"100X75"_s, ci)}, {},
         u"392.000"_s},
        {"50 against 50 below an inlet",
         {fitting(Fitting5, u"50X50"_s, ci), fitting(Fitting1, u"100X50"_s, ci)}, {}, u"0.000"_s},
        {"100 against 50 below an inlet",
         {fitting(Fitting5, u"100X100"_s, ci), fitting(Fitting1, u"150X50"_s, ci)},
         {StackMessage::SizeMismatch}, u"0"_s},
    });
}

// The lengths that do not count are set aside on a copy: the lines keep
// their real lengths, whatever stood above or below them before.
TEST(FittingStackHeight, NotCountedLengthsFollowTheStackAsItIs)
{
    const StackLine reducer = fitting(Fitting6, u"110X50"_s);
    const StackLine inlet = fitting(Fitting5, u"110X110"_s);
    const StackLine tee = fitting(Fitting1, u"110X110"_s);

    const drainage::StackHeight three = drainage::stackHeight(std::vector{reducer, inlet, tee});
    EXPECT_EQ(three.countedLengthsMm, (std::vector<double>{48, 0, 125, 0, 0, 0}));
    EXPECT_EQ(shown(three), u"173.000"_s);

    // The inlet taken out: the tee now hangs from the reducer and its L1 counts.
    const drainage::StackHeight two = drainage::stackHeight(std::vector{reducer, tee});
    EXPECT_EQ(two.countedLengthsMm, (std::vector<double>{48, 0, 103, 0}));
    EXPECT_EQ(shown(two), u"151.000"_s);

    // A tee that was alone and is then followed: its L2 counts again.
    const StackLine narrowTee = fitting(Fitting1, u"110X50"_s);
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
        {Fitting1, 0, 0}, {Fitting2, 0, 0}, {Fitting3, 1, 0},
        {Fitting4, 0, 1}, {Fitting5, 0, 1}, {Fitting6, 1, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(drainage::fittingTypeName(row.type).toStdString());
        const std::vector<StackLine> lines = {{drainage::stackLineText(row.type, u"110X110"_s), 1, 1}};
        const drainage::StackHeight h = drainage::stackHeight(lines);
        EXPECT_EQ(h.countedLengthsMm, (std::vector<double>{row.countedL1, row.countedL2}));
        EXPECT_EQ(h.heightMm, row.countedL1 + row.countedL2);
    }
}

TEST(FittingStackHeight, LinesOfNoTypeFailTheSizeCheck)
{
    const std::vector<StackLine> lines = {
        fitting(Fitting6, u"110X50"_s), {u"管件"_s, 5, 5}, fitting(Fitting6, u"110X50"_s)};
    const drainage::StackHeight h = drainage::stackHeight(lines);
    EXPECT_EQ(h.messages, std::vector{StackMessage::SizeMismatch});
    EXPECT_FALSE(h.heightMm);
    EXPECT_EQ(h.fittingCount, 3);
}

TEST(FittingStackHeight, MessageTexts)
{
    EXPECT_EQ(drainage::stackMessageText(StackMessage::SizeMismatch), u"请确认管件规格！"_s);
    EXPECT_EQ(drainage::stackMessageText(StackMessage::ReducerSizeMismatch), u"请确认管件规格"_s);
    EXPECT_EQ(drainage::stackMessageText(StackMessage::ConnectionRefused), u"请确认管件连接！"_s);
}

} // namespace
