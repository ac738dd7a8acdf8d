#include "fittings/drainage_fitting_tables.h"
#include "fittings/fitting_stack.h"
#include "textio/numtext.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace Qt::StringLiterals;
using fittings::drainage::FittingType;
using fittings::drainage::PipeMaterial;
namespace Tables = fittings::drainage::DrainageFittingTables;
namespace drainage = fittings::drainage;

const char* materialName(PipeMaterial material)
{
    return material == PipeMaterial::Pvcu ? "PVC-U" : "cast iron";
}

std::string trace(PipeMaterial material, FittingType type, const QString& size = QString())
{
    return std::string(materialName(material)) + " " + drainage::fittingTypeName(type).toStdString()
           + " " + size.toStdString();
}

TEST(DrainageFittingTables, SizeListsInTheirOrder)
{
    struct Row {
        PipeMaterial material;
        FittingType type;
        qsizetype count;
        QString first;
        QString second;
        QString last;
    };
    const Row rows[] = {
        {PipeMaterial::Pvcu, FittingType::Tee, 8, u"50X50"_s, u"75X75"_s, u"160X160"_s},
        {PipeMaterial::Pvcu, FittingType::QuarterBend, 6, u"50X50"_s, u"75X75"_s, u"160X160"_s},
        {PipeMaterial::Pvcu, FittingType::Reducer, 15, u"75X50"_s, u"90X50"_s, u"160X125"_s},
        {PipeMaterial::CastIron, FittingType::Tee, 16, u"50X50"_s, u"75X50"_s, u"200X200"_s},
        {PipeMaterial::CastIron, FittingType::QuarterBend, 6, u"50X50"_s, u"75X75"_s, u"200X200"_s},
        {PipeMaterial::CastIron, FittingType::Reducer, 9, u"75X50"_s, u"100X50"_s, u"300X200"_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(trace(row.material, row.type));
        const QStringList sizes = Tables::sizeList(row.material, row.type);
        ASSERT_EQ(sizes.size(), row.count);
        EXPECT_EQ(sizes.front(), row.first);
        EXPECT_EQ(sizes.at(1), row.second);
        EXPECT_EQ(sizes.back(), row.last);
    }
    // Fittings that share a list.
    for (PipeMaterial material : {PipeMaterial::Pvcu, PipeMaterial::CastIron}) {
        SCOPED_TRACE(materialName(material));
        EXPECT_EQ(Tables::sizeList(material, FittingType::Cross),
                  Tables::sizeList(material, FittingType::Tee));
        EXPECT_EQ(Tables::sizeList(material, FittingType::SweptInlet),
                  Tables::sizeList(material, FittingType::Tee));
        EXPECT_EQ(Tables::sizeList(material, FittingType::OffsetBend),
                  Tables::sizeList(material, FittingType::QuarterBend));
    }
}

// Every entry of every list is a size "AXB" with the main size first, has
// its lengths, and has exactly the lengths its type is given.
TEST(DrainageFittingTables, EverySizeOfEveryListHasItsLengths)
{
    for (PipeMaterial material : {PipeMaterial::Pvcu, PipeMaterial::CastIron}) {
        for (FittingType type : drainage::kFittingTypes) {
            QStringList sizes = Tables::sizeList(material, type);
            EXPECT_EQ(sizes.removeDuplicates(), 0) << trace(material, type);
            for (const QString& size : sizes) {
                SCOPED_TRACE(trace(material, type, size));
                const std::optional<drainage::NominalSizes> nominal = drainage::nominalSizes(size);
                ASSERT_TRUE(nominal);
                EXPECT_GE(nominal->mainMm, nominal->secondMm);
                if (type == FittingType::Reducer) {
                    EXPECT_GT(nominal->mainMm, nominal->secondMm);
                }
                const std::optional<Tables::FittingLengths> lengths = Tables::lengths(material, type, size);
                ASSERT_TRUE(lengths);
                EXPECT_EQ(lengths->l1Mm > 0, Tables::setsL1(type));
                EXPECT_EQ(lengths->l2Mm > 0, Tables::setsL2(type));
            }
        }
    }
}

TEST(DrainageFittingTables, StatedRows)
{
    const double root2 = std::pow(2.0, 0.5);
    struct Row {
        PipeMaterial material;
        FittingType type;
        QString size;
        double l1;
        double l2;
    };
    const Row rows[] = {
        {PipeMaterial::Pvcu, FittingType::Tee, u"110X50"_s, 77, 78},
        {PipeMaterial::Pvcu, FittingType::Cross, u"110X50"_s, 77, 78},
        {PipeMaterial::Pvcu, FittingType::SweptInlet, u"110X110"_s, 125, 0},
        {PipeMaterial::Pvcu, FittingType::SweptInlet, u"160X160"_s, 168, 0},
        {PipeMaterial::Pvcu, FittingType::QuarterBend, u"50X50"_s, 0, 65},
        {PipeMaterial::Pvcu, FittingType::OffsetBend, u"50X50"_s, root2 * 37 + 37, 0},
        // The one PVC-U row whose constants differ: a 60, b 68.
        {PipeMaterial::Pvcu, FittingType::OffsetBend, u"90X90"_s, root2 * 60 + 68, 0},
        {PipeMaterial::Pvcu, FittingType::Reducer, u"75X50"_s, 40, 0},
        {PipeMaterial::Pvcu, FittingType::Reducer, u"125X110"_s, 51, 0},
        {PipeMaterial::Pvcu, FittingType::Reducer, u"160X125"_s, 58, 0},
        {PipeMaterial::CastIron, FittingType::Tee, u"50X50"_s, 63, 167},
        {PipeMaterial::CastIron, FittingType::Cross, u"50X50"_s, 65, 150},
        {PipeMaterial::CastIron, FittingType::Tee, u"125X125"_s, 105, 200},
        {PipeMaterial::CastIron, FittingType::Cross, u"125X125"_s, 97, 222},
        {PipeMaterial::CastIron, FittingType::SweptInlet, u"125X50"_s, 115, 0},
        {PipeMaterial::CastIron, FittingType::Cross, u"200X200"_s, 135, 300},
        {PipeMaterial::CastIron, FittingType::SweptInlet, u"200X200"_s, 150, 0},
        {PipeMaterial::CastIron, FittingType::QuarterBend, u"50X50"_s, 0, 175},
        {PipeMaterial::CastIron, FittingType::QuarterBend, u"200X200"_s, 0, 270},
        {PipeMaterial::CastIron, FittingType::OffsetBend, u"50X50"_s, root2 * 160 / 2 + 50, 0},
        {PipeMaterial::CastIron, FittingType::OffsetBend, u"200X200"_s, root2 * 275 / 2 + 80, 0},
        {PipeMaterial::CastIron, FittingType::Reducer, u"75X50"_s, 165, 0},
        {PipeMaterial::CastIron, FittingType::Reducer, u"150X100"_s, 250, 0},
        {PipeMaterial::CastIron, FittingType::Reducer, u"300X200"_s, 300, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(trace(row.material, row.type, row.size));
        const auto lengths = Tables::lengths(row.material, row.type, row.size);
        ASSERT_TRUE(lengths);
        EXPECT_EQ(lengths->l1Mm, row.l1);
        EXPECT_EQ(lengths->l2Mm, row.l2);
    }
}

TEST(DrainageFittingTables, OffsetBendLengthAsWritten)
{
    const auto written = [](PipeMaterial material, const QString& size) {
        return textio::generalNumberText(Tables::lengths(material, FittingType::OffsetBend, size)->l1Mm);
    };
    EXPECT_EQ(written(PipeMaterial::Pvcu, u"90X90"_s), u"152.852813742386"_s);
    EXPECT_EQ(written(PipeMaterial::Pvcu, u"160X160"_s), u"226.936074863071"_s);
    EXPECT_EQ(written(PipeMaterial::CastIron, u"200X200"_s), u"274.454364826301"_s);
    EXPECT_EQ(written(PipeMaterial::CastIron, u"50X50"_s), u"163.137084989848"_s);
}

TEST(DrainageFittingTables, PvcuTeeAndCrossAreAlike)
{
    for (const drainage::BranchFittingRow& row : Tables::branchRows(PipeMaterial::Pvcu)) {
        SCOPED_TRACE(row.size.toString().toStdString());
        EXPECT_EQ(row.teeL1, row.crossL1);
        EXPECT_EQ(row.teeL2, row.crossL2);
    }
}

TEST(DrainageFittingTables, SizesOutsideTheListHaveNoLengths)
{
    struct Row {
        const char* name;
        PipeMaterial material;
        FittingType type;
        QString size;
    };
    const Row rows[] = {
        {"PVC-U only size in cast iron", PipeMaterial::CastIron, FittingType::Tee, u"90X90"_s},
        {"cast-iron only size in PVC-U", PipeMaterial::Pvcu, FittingType::QuarterBend, u"100X100"_s},
        {"a reducer size for a bend", PipeMaterial::Pvcu, FittingType::QuarterBend, u"75X50"_s},
        {"a tee size for a reducer", PipeMaterial::Pvcu, FittingType::Reducer, u"110X110"_s},
        {"lower-case x", PipeMaterial::Pvcu, FittingType::Tee, u"110x50"_s},
        {"trailing blank", PipeMaterial::Pvcu, FittingType::Tee, u"110X50 "_s},
        {"the prompt", PipeMaterial::Pvcu, FittingType::Tee, u"请选择管件规格"_s},
        {"empty", PipeMaterial::CastIron, FittingType::Reducer, QString()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(Tables::lengths(row.material, row.type, row.size));
        EXPECT_FALSE(Tables::sizeList(row.material, row.type).contains(row.size));
    }
}

TEST(DrainageFittingTables, TypeNames)
{
    for (FittingType type : drainage::kFittingTypes)
        EXPECT_EQ(drainage::fittingTypeFromName(drainage::fittingTypeName(type)), type);
    EXPECT_EQ(drainage::fittingTypeName(FittingType::Reducer), u"管件6"_s);
    for (const QString& name : {u"管件7"_s, u"管件0"_s, u"管件"_s, u"管件1 "_s, QString()})
        EXPECT_FALSE(drainage::fittingTypeFromName(name)) << name.toStdString();
}

} // namespace
