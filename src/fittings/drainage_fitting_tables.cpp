#include "fittings/drainage_fitting_tables.h"

#include "fittings/size_keyed_rows.h"

#include <cmath>

namespace fittings::drainage {

namespace {

// size, 管件1 L1, 管件1 L2, 管件2 L1, 管件2 L2, 管件5 L1
constexpr BranchFittingRow kPvcuBranch[] = {
    {u"50X50", 51, 55, 51, 55, 60},        {u"75X75", 79, 87, 79, 87, 94},
    {u"90X90", 93, 102, 93, 102, 110},     {u"110X50", 77, 78, 77, 78, 90},
    {u"110X75", 89, 96, 89, 96, 112},      {u"110X110", 103, 116, 103, 116, 125},
    {u"125X125", 116, 128, 116, 128, 139}, {u"160X160", 141, 155, 141, 155, 168},
};

constexpr BranchFittingRow kCastIronBranch[] = {
    {u"50X50", 63, 167, 65, 150, 78},      {u"75X50", 58, 177, 63, 177, 80},
    {u"75X75", 77, 160, 73, 177, 89},      {u"100X50", 55, 200, 65, 200, 110},
    {u"100X75", 77, 178, 82, 178, 110},    {u"100X100", 90, 195, 86, 190, 110},
    {u"125X50", 65, 210, 80, 210, 115},    {u"125X75", 77, 203, 87, 203, 110},
    {u"125X100", 90, 215, 95, 215, 110},   {u"125X125", 105, 200, 97, 222, 110},
    {u"150X50", 65, 240, 80, 240, 125},    {u"150X75", 77, 228, 87, 228, 125},
    {u"150X100", 90, 215, 95, 215, 125},   {u"150X125", 102, 203, 102, 203, 125},
    {u"150X150", 118, 215, 107, 232, 125}, {u"200X200", 140, 280, 135, 300, 150},
};

// size, 管件3 L2, 管件4 a, 管件4 b
constexpr BendRow kPvcuBend[] = {
    {u"50X50", 65, 37, 37},     {u"75X75", 90, 57, 57},     {u"90X90", 98, 60, 68},
    {u"110X110", 118, 73, 73},  {u"125X125", 123, 80, 80},  {u"160X160", 148, 94, 94},
};

constexpr BendRow kCastIronBend[] = {
    {u"50X50", 175, 160, 50},   {u"75X75", 187, 176, 56},   {u"100X100", 210, 190, 60},
    {u"125X125", 222, 193, 63}, {u"150X150", 235, 230, 65}, {u"200X200", 270, 275, 80},
};

// size, 管件6 L1
constexpr ReducerRow kPvcuReducer[] = {
    {u"75X50", 40},   {u"90X50", 46},   {u"90X75", 46},   {u"110X50", 48},  {u"110X75", 48},
    {u"110X90", 48},  {u"125X50", 51},  {u"125X75", 51},  {u"125X90", 51},  {u"125X110", 51},
    {u"160X50", 58},  {u"160X75", 58},  {u"160X90", 58},  {u"160X110", 58}, {u"160X125", 58},
};

constexpr ReducerRow kCastIronReducer[] = {
    {u"75X50", 165},   {u"100X50", 200},  {u"100X75", 215},
    {u"150X50", 200},  {u"150X75", 210},  {u"150X100", 250},
    {u"200X150", 270}, {u"250X200", 280}, {u"300X200", 300},
};

} // namespace

QString fittingTypeName(FittingType type)
{
    return QStringLiteral("管件") + QString::number(static_cast<int>(type));
}

std::optional<FittingType> fittingTypeFromName(QStringView name)
{
    for (FittingType type : kFittingTypes) {
        if (name == fittingTypeName(type))
            return type;
    }
    return std::nullopt;
}

namespace DrainageFittingTables {

std::span<const BranchFittingRow> branchRows(PipeMaterial material)
{
    if (material == PipeMaterial::Pvcu)
        return kPvcuBranch;
    return kCastIronBranch;
}

std::span<const BendRow> bendRows(PipeMaterial material)
{
    if (material == PipeMaterial::Pvcu)
        return kPvcuBend;
    return kCastIronBend;
}

std::span<const ReducerRow> reducerRows(PipeMaterial material)
{
    if (material == PipeMaterial::Pvcu)
        return kPvcuReducer;
    return kCastIronReducer;
}

QStringList sizeList(PipeMaterial material, FittingType type)
{
    switch (type) {
    case FittingType::Tee:
    case FittingType::Cross:
    case FittingType::SweptInlet:
        return sizeTexts(branchRows(material));
    case FittingType::QuarterBend:
    case FittingType::OffsetBend:
        return sizeTexts(bendRows(material));
    case FittingType::Reducer:
        return sizeTexts(reducerRows(material));
    }
    return {};
}

double offsetBendL1Mm(PipeMaterial material, double a, double b)
{
    const double root2 = std::pow(2.0, 0.5);
    if (material == PipeMaterial::Pvcu)
        return root2 * a + b;
    return root2 * a / 2 + b;
}

bool setsL1(FittingType type)
{
    return type != FittingType::QuarterBend;
}

bool setsL2(FittingType type)
{
    return type == FittingType::Tee || type == FittingType::Cross
           || type == FittingType::QuarterBend;
}

std::optional<FittingLengths> lengths(PipeMaterial material, FittingType type, QStringView size)
{
    switch (type) {
    case FittingType::Tee:
    case FittingType::Cross:
    case FittingType::SweptInlet: {
        const std::optional<BranchFittingRow> row = findSizeRow(branchRows(material), size);
        if (!row)
            return std::nullopt;
        if (type == FittingType::Tee)
            return FittingLengths{row->teeL1, row->teeL2};
        if (type == FittingType::Cross)
            return FittingLengths{row->crossL1, row->crossL2};
        return FittingLengths{row->inletL1, 0};
    }
    case FittingType::QuarterBend:
    case FittingType::OffsetBend: {
        const std::optional<BendRow> row = findSizeRow(bendRows(material), size);
        if (!row)
            return std::nullopt;
        if (type == FittingType::QuarterBend)
            return FittingLengths{0, row->bendL2};
        return FittingLengths{offsetBendL1Mm(material, row->offsetA, row->offsetB), 0};
    }
    case FittingType::Reducer: {
        const std::optional<ReducerRow> row = findSizeRow(reducerRows(material), size);
        if (!row)
            return std::nullopt;
        return FittingLengths{row->l1, 0};
    }
    }
    return std::nullopt;
}

} // namespace DrainageFittingTables

} // namespace fittings::drainage
