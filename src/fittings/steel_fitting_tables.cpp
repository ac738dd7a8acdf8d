#include "fittings/steel_fitting_tables.h"

#include "fittings/size_keyed_rows.h"
#include "textio/numtext.h"

#include <algorithm>
#include <initializer_list>
#include <iterator>

namespace fittings {

namespace {

constexpr ElbowDimensions kElbows[] = {
    // size      La   d    D
    {u"DN50", 130, 3.5, 57},
    {u"DN80", 170, 4, 89},
    {u"DN100", 200, 4, 108},
    // La as the series between DN100 (200) and DN150 (250) gives it; the
    // catalogue sheet reads 2300, a slipped digit.
    {u"DN125", 230, 4, 133},
    {u"DN150", 250, 4.5, 159},
    {u"DN200", 300, 6, 219},
    // DN250 and DN300 share La 310, as the catalogue gives them.
    {u"DN250", 310, 8, 273},
    {u"DN300", 310, 8, 325},
    {u"DN350", 350, 9, 377},
    {u"DN400", 400, 9, 426},
    {u"DN450", 450, 9, 480},
    {u"DN500", 500, 9, 530},
    {u"DN600", 540, 9, 630},
};

constexpr TeeDimensions kTees[] = {
    // size         L1   L2   d1   d2   D1   D2
    {u"DN50X50", 300, 150, 3.5, 3.5, 57, 57},
    {u"DN80X50", 300, 150, 4, 3.5, 89, 57},
    {u"DN80X80", 300, 150, 4, 4, 89, 89},
    {u"DN100X50", 300, 150, 4, 3.5, 108, 57},
    {u"DN100X80", 350, 175, 4, 4, 108, 89},
    {u"DN100X100", 400, 200, 4, 4, 108, 108},
    {u"DN125X50", 400, 175, 4, 3.5, 133, 57},
    {u"DN125X80", 400, 175, 4, 4, 133, 89},
    {u"DN125X100", 400, 175, 4, 4, 133, 108},
    {u"DN125X125", 500, 225, 4, 4, 133, 133},
    // D2 of a DN50 branch, 57; the catalogue sheet repeats 89 from the DN80
    // branch below.
    {u"DN150X50", 400, 200, 4.5, 3.5, 159, 57},
    {u"DN150X80", 400, 200, 4.5, 4, 159, 89},
    // L2 200 as every reducing tee on a DN150 run; the sheet reads 300.
    {u"DN150X100", 400, 200, 4.5, 4, 159, 108},
    {u"DN150X125", 400, 200, 4.5, 4, 159, 133},
    {u"DN150X150", 500, 250, 4.5, 4.5, 159, 159},
    {u"DN200X100", 400, 225, 6, 4, 219, 108},
    {u"DN200X125", 400, 225, 6, 4, 219, 133},
    {u"DN200X150", 400, 225, 6, 4.5, 219, 159},
    {u"DN200X200", 600, 300, 6, 6, 219, 219},
    {u"DN250X100", 400, 250, 8, 4, 273, 108},
    {u"DN250X125", 400, 250, 8, 4, 273, 133},
    {u"DN250X150", 400, 250, 8, 4.5, 273, 159},
    {u"DN250X200", 500, 275, 8, 6, 273, 219},
    // Walls of DN250 pipe, 8 and 8; the sheet gives 6, the DN200 wall.
    {u"DN250X250", 600, 300, 8, 8, 273, 273},
    {u"DN300X100", 500, 275, 8, 4, 325, 108},
    {u"DN300X125", 500, 275, 8, 4, 325, 133},
    {u"DN300X150", 500, 275, 8, 4.5, 325, 159},
    {u"DN300X200", 600, 300, 8, 6, 325, 219},
    {u"DN300X250", 600, 300, 8, 8, 325, 273},
    {u"DN300X300", 600, 300, 8, 8, 325, 325},
    {u"DN350X100", 500, 300, 9, 4, 377, 108},
    {u"DN350X125", 500, 300, 9, 4, 377, 133},
    {u"DN350X150", 500, 300, 9, 4.5, 377, 159},
    {u"DN350X200", 500, 300, 9, 6, 377, 219},
    {u"DN350X250", 600, 325, 9, 8, 377, 273},
    {u"DN350X300", 600, 325, 9, 8, 377, 325},
    {u"DN350X350", 700, 350, 9, 9, 377, 377},
    {u"DN400X100", 500, 325, 9, 4, 426, 108},
    {u"DN400X125", 500, 325, 9, 4, 426, 133},
    // D1 of a DN400 run, 426; the sheet reads 326.
    {u"DN400X150", 500, 325, 9, 4.5, 426, 159},
    {u"DN400X200", 600, 350, 9, 6, 426, 219},
    {u"DN400X250", 600, 350, 9, 8, 426, 273},
    {u"DN400X300", 600, 350, 9, 8, 426, 325},
    {u"DN400X350", 700, 375, 9, 9, 426, 377},
    {u"DN400X400", 800, 400, 9, 9, 426, 426},
    {u"DN450X100", 600, 350, 9, 4, 480, 108},
    {u"DN450X125", 600, 350, 9, 4, 480, 133},
    {u"DN450X150", 600, 350, 9, 4.5, 480, 159},
    {u"DN450X200", 700, 375, 9, 6, 480, 219},
    {u"DN450X250", 700, 375, 9, 8, 480, 273},
    {u"DN450X300", 800, 400, 9, 8, 480, 325},
    {u"DN450X350", 800, 400, 9, 9, 480, 377},
    {u"DN450X400", 800, 400, 9, 9, 480, 426},
    {u"DN450X450", 900, 450, 9, 9, 480, 480},
};

constexpr ReducerDimensions kConcentricReducers[] = {
    // size         L1   d    D1   D2
    {u"DN80X50", 320, 4, 89, 57},
    {u"DN100X50", 360, 4, 108, 57},
    {u"DN100X80", 312, 4, 108, 89},
    {u"DN125X100", 330, 4, 133, 108},
    {u"DN150X100", 378, 4.5, 159, 108},
    {u"DN150X125", 330, 4.5, 159, 133},
    {u"DN200X100", 490, 6, 219, 108},
    {u"DN200X125", 444, 6, 219, 133},
    {u"DN200X150", 396, 6, 219, 159},
    {u"DN250X100", 595, 8, 273, 108},
    {u"DN250X125", 545, 8, 273, 133},
    {u"DN250X150", 495, 8, 273, 159},
    {u"DN250X200", 405, 8, 273, 219},
    {u"DN300X125", 650, 8, 325, 133},
    {u"DN300X150", 600, 8, 325, 159},
    {u"DN300X200", 505, 8, 325, 219},
    {u"DN300X250", 400, 8, 325, 273},
    {u"DN350X150", 710, 9, 377, 159},
    {u"DN350X200", 610, 9, 377, 219},
    {u"DN350X250", 510, 9, 377, 273},
    {u"DN350X300", 410, 9, 377, 325},
    {u"DN400X200", 710, 9, 426, 219},
    {u"DN400X250", 610, 9, 426, 273},
    {u"DN400X300", 510, 9, 426, 325},
    {u"DN400X350", 410, 9, 426, 377},
    {u"DN450X250", 720, 9, 480, 273},
    {u"DN450X300", 620, 9, 480, 325},
    {u"DN450X350", 520, 9, 480, 377},
    {u"DN450X400", 420, 9, 480, 426},
};

constexpr ReducerDimensions kEccentricReducers[] = {
    // size         L1   d    D1   D2
    {u"DN80X50", 340, 4, 89, 57},
    {u"DN100X50", 360, 4, 108, 57},
    {u"DN100X80", 340, 4, 108, 89},
    {u"DN125X100", 365, 4, 133, 108},
    {u"DN150X100", 380, 4.5, 159, 108},
    {u"DN150X125", 365, 4.5, 159, 133},
    {u"DN200X100", 495, 6, 219, 108},
    {u"DN200X125", 445, 6, 219, 133},
    {u"DN200X150", 395, 6, 219, 159},
    {u"DN250X100", 590, 8, 273, 108},
    {u"DN250X125", 540, 8, 273, 133},
    {u"DN250X150", 490, 8, 273, 159},
    {u"DN250X200", 400, 8, 273, 219},
    {u"DN300X125", 640, 8, 325, 133},
    {u"DN300X150", 590, 8, 325, 159},
    {u"DN300X200", 500, 8, 325, 219},
    {u"DN300X250", 400, 8, 325, 273},
    {u"DN350X150", 695, 9, 377, 159},
    {u"DN350X200", 605, 9, 377, 219},
    {u"DN350X250", 505, 9, 377, 273},
    {u"DN350X300", 405, 9, 377, 325},
    {u"DN400X200", 705, 9, 426, 219},
    {u"DN400X250", 605, 9, 426, 273},
    {u"DN400X300", 505, 9, 426, 325},
    {u"DN400X350", 405, 9, 426, 377},
    {u"DN450X250", 715, 9, 480, 273},
    {u"DN450X300", 615, 9, 480, 325},
    {u"DN450X350", 515, 9, 480, 377},
    {u"DN450X400", 415, 9, 480, 426},
};

// Offered by the reducer lists after "DN400X350", without dimensions in the
// catalogue.
constexpr QStringView kReducersWithoutRow[] = {u"DN450X100", u"DN450X125", u"DN450X150",
                                               u"DN450X200"};

} // namespace

namespace ElbowDimensionTable {
std::span<const ElbowDimensions> rows() { return kElbows; }
QStringList sizes() { return sizeTexts(rows()); }
std::optional<ElbowDimensions> find(QStringView size) { return findSizeRow(rows(), size); }
} // namespace ElbowDimensionTable

namespace TeeDimensionTable {
std::span<const TeeDimensions> rows() { return kTees; }
QStringList sizes() { return sizeTexts(rows()); }
std::optional<TeeDimensions> find(QStringView size) { return findSizeRow(rows(), size); }
} // namespace TeeDimensionTable

namespace ConcentricReducerTable {
std::span<const ReducerDimensions> rows() { return kConcentricReducers; }
std::optional<ReducerDimensions> find(QStringView size) { return findSizeRow(rows(), size); }
} // namespace ConcentricReducerTable

namespace EccentricReducerTable {
std::span<const ReducerDimensions> rows() { return kEccentricReducers; }
std::optional<ReducerDimensions> find(QStringView size) { return findSizeRow(rows(), size); }
} // namespace EccentricReducerTable

QStringList reducerListSizes()
{
    QStringList sizes = sizeTexts(ConcentricReducerTable::rows());
    qsizetype at = sizes.indexOf(QStringLiteral("DN400X350")) + 1;
    for (QStringView size : kReducersWithoutRow)
        sizes.insert(at++, size.toString());
    return sizes;
}

namespace {

// L1, d, D1 and D2.
constexpr qsizetype kReducerValues = 4;

std::optional<QStringList> valueTexts(std::initializer_list<double> values)
{
    QStringList texts;
    for (double value : values)
        texts.append(textio::generalNumberText(value));
    return texts;
}

} // namespace

std::optional<QStringList> elbowFieldTexts(QStringView size)
{
    const std::optional<ElbowDimensions> row = ElbowDimensionTable::find(size);
    if (!row)
        return std::nullopt;
    return valueTexts({row->La, row->d, row->D});
}

std::optional<QStringList> teeFieldTexts(QStringView size)
{
    const std::optional<TeeDimensions> row = TeeDimensionTable::find(size);
    if (!row)
        return std::nullopt;
    return valueTexts({row->L1, row->L2, row->d1, row->d2, row->D1, row->D2});
}

std::optional<QStringList> reducerFieldTexts(ReducerKind kind, QStringView size)
{
    const std::optional<ReducerDimensions> row = kind == ReducerKind::Concentric
                                                     ? ConcentricReducerTable::find(size)
                                                     : EccentricReducerTable::find(size);
    if (row)
        return valueTexts({row->L1, row->d, row->D1, row->D2});
    if (std::find(std::begin(kReducersWithoutRow), std::end(kReducersWithoutRow), size)
        != std::end(kReducersWithoutRow))
        return QStringList(kReducerValues, QString());
    return std::nullopt;
}

} // namespace fittings
