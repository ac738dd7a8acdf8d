#include "fittings/sleeve_tables.h"

#include "fittings/size_keyed_rows.h"
#include "textio/numtext.h"

namespace fittings {

namespace {

constexpr SleeveDimensions kTypeA[] = {
    // size       D1    D2    D3    d
    {u"DN50", 60, 114, 225, 3.5},
    {u"DN65", 75.5, 121, 230, 3.75},
    {u"DN80", 89, 140, 250, 4},
    {u"DN100", 108, 159, 270, 4.5},
    {u"DN150", 159, 219, 330, 6},
    {u"DN200", 219, 273, 385, 8},
    {u"DN250", 273, 325, 435, 8},
    {u"DN300", 325, 377, 500, 10},
    {u"DN350", 377, 426, 550, 10},
    {u"DN400", 426, 480, 600, 10},
    {u"DN450", 480, 530, 650, 10},
    {u"DN500", 530, 590, 730, 10},
    {u"DN600", 630, 690, 830, 10},
    // D3 920, as the catalogue gives it (DN700 of types B and C has 930).
    {u"DN700", 720, 790, 920, 10},
    {u"DN800", 820, 880, 1020, 10},
    {u"DN900", 920, 980, 1120, 10},
    {u"DN1000", 1020, 1080, 1230, 10},
};

constexpr SleeveDimensions kTypeB[] = {
    // size     D1 cast  D2    D3    d    D1 ductile
    {u"DN75", 93, 140, 250, 4},
    {u"DN100", 118, 168, 280, 4.5, 118},
    {u"DN150", 169, 219, 330, 6, 170},
    {u"DN200", 220, 273, 385, 8, 220},
    {u"DN250", 271.6, 325, 435, 8, 274},
    {u"DN300", 322.8, 377, 500, 10, 326},
    {u"DN350", 374, 426, 550, 10, 378},
    {u"DN400", 425.6, 480, 600, 10, 429},
    {u"DN450", 476.8, 530, 650, 10},
    {u"DN500", 528, 590, 730, 10, 532},
    {u"DN600", 630.8, 690, 830, 10, 635},
    {u"DN700", 733, 790, 930, 10, 738},
    {u"DN800", 836, 900, 1040, 10, 842},
};

// The pipe diameters and walls of type B, with type C's own sleeve and ring.
constexpr SleeveDimensions kTypeC[] = {
    // size     D1 cast  D2    D3    d    D1 ductile
    {u"DN75", 93, 135, 245, 4},
    {u"DN100", 118, 160, 270, 4.5, 118},
    {u"DN150", 169, 220, 330, 6, 170},
    {u"DN200", 220, 270, 380, 8, 220},
    {u"DN250", 271.6, 325, 435, 8, 274},
    {u"DN300", 322.8, 380, 500, 10, 326},
    {u"DN350", 374, 435, 555, 10, 378},
    // D2 485, 120 below D3 as in the rows from DN300 to DN450; the catalogue
    // sheet reads 585, above DN450's 535.
    {u"DN400", 425.6, 485, 605, 10, 429},
    {u"DN450", 476.8, 535, 655, 10},
    {u"DN500", 528, 595, 735, 10, 532},
    {u"DN600", 630.8, 700, 840, 10, 635},
    {u"DN700", 733, 805, 945, 10, 738},
    {u"DN800", 836, 910, 1050, 10, 842},
};

} // namespace

namespace SleeveDimensionTable {

std::span<const SleeveDimensions> rows(SleeveType type)
{
    switch (type) {
    case SleeveType::A:
        return kTypeA;
    case SleeveType::B:
        return kTypeB;
    case SleeveType::C:
        return kTypeC;
    }
    return {};
}

QStringList sizes(SleeveType type)
{
    return sizeTexts(rows(type));
}

std::optional<SleeveDimensions> find(SleeveType type, QStringView size)
{
    return findSizeRow(rows(type), size);
}

std::optional<SleeveFieldTexts> fieldTexts(SleeveType type, QStringView size)
{
    const std::optional<SleeveDimensions> row = find(type, size);
    if (!row)
        return std::nullopt;
    SleeveFieldTexts texts{textio::generalNumberText(row->D1), textio::generalNumberText(row->D2),
                           textio::generalNumberText(row->D3), textio::generalNumberText(row->d),
                           std::nullopt};
    if (type != SleeveType::A)
        texts.D1DuctileIron = row->D1DuctileIron ? textio::generalNumberText(*row->D1DuctileIron) : QString();
    return texts;
}

SleeveColumns pickedColumns(SleeveType type, QStringView size, const SleeveColumns& shown)
{
    SleeveColumns columns = shown;
    if (const std::optional<SleeveFieldTexts> texts = fieldTexts(type, size)) {
        columns.pipe = {texts->D1, texts->D2, texts->D3, texts->d};
        if (texts->D1DuctileIron)
            columns.ductileIron.D1 = *texts->D1DuctileIron;
    }
    if (type == SleeveType::A)
        return columns;
    columns.ductileIron.D2 = columns.pipe.D2;
    columns.ductileIron.D3 = columns.pipe.D3;
    columns.ductileIron.d = columns.pipe.d;
    return columns;
}

} // namespace SleeveDimensionTable

} // namespace fittings
