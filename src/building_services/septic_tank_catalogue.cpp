#include "building_services/septic_tank_catalogue.h"

#include <array>

namespace building_services {

namespace {

// One text column of a table, in row order.
template <class Row, class Text>
QStringList column(std::span<const Row> rows, Text Row::*field)
{
    QStringList list;
    for (const Row& row : rows)
        list.append(QStringView(row.*field).toString());
    return list;
}

// The first row whose text in that column equals `text`; null for none.
template <class Row, class Text>
const Row* findRow(std::span<const Row> rows, Text Row::*field, QStringView text)
{
    for (const Row& row : rows) {
        if (QStringView(row.*field) == text)
            return &row;
    }
    return nullptr;
}

} // namespace

// ------------------------------------------------------------ design inputs

namespace BuildingUseTable {

std::span<const BuildingUse> rows()
{
    static const std::array<BuildingUse, 4> uses = {{
        {QStringLiteral("办公楼、教学楼、工业企业生活间"), QStringLiteral("0.40"),
         {QStringLiteral("30"), QStringLiteral("40"), QStringLiteral("50"), QStringLiteral("100"),
          QStringLiteral("150"), QStringLiteral("200")}},
        {QStringLiteral("医院、疗养院、幼儿园（有住宿）"), QStringLiteral("1.00"),
         {QStringLiteral("50"), QStringLiteral("100"), QStringLiteral("150"), QStringLiteral("200"),
          QStringLiteral("250"), QStringLiteral("300"), QStringLiteral("400")}},
        {QStringLiteral("住宅、集体宿舍、旅馆、宾馆"), QStringLiteral("0.70"),
         {QStringLiteral("50"), QStringLiteral("100"), QStringLiteral("150"), QStringLiteral("200"),
          QStringLiteral("250"), QStringLiteral("300"), QStringLiteral("400"),
          QStringLiteral("500")}},
        {QStringLiteral("公共食堂、影剧院、体育馆（场）、其他类似公共场所"), QStringLiteral("0.10"),
         {QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("30"), QStringLiteral("40"),
          QStringLiteral("50")}},
    }};
    return uses;
}

QStringList names()
{
    return column(rows(), &BuildingUse::name);
}

const BuildingUse* find(QStringView name)
{
    return findRow(rows(), &BuildingUse::name, name);
}

} // namespace BuildingUseTable

QStringList usageFactorTexts()
{
    return {QStringLiteral("0.10"), QStringLiteral("0.40"), QStringLiteral("0.70"),
            QStringLiteral("1.00")};
}

QStringList retentionHourTexts()
{
    return {QStringLiteral("12"), QStringLiteral("24")};
}

QStringList cleaningDayTexts()
{
    return {QStringLiteral("90"), QStringLiteral("180"), QStringLiteral("360")};
}

namespace DrainageSystemTable {

std::span<const DrainageSystem> rows()
{
    static const std::array<DrainageSystem, 2> systems = {{
        {QStringLiteral("污、废合流制"), QStringLiteral("0.00028")},
        {QStringLiteral("污、废分流制"), QStringLiteral("0.00016")},
    }};
    return systems;
}

QStringList names()
{
    return column(rows(), &DrainageSystem::name);
}

std::optional<QString> sludgeConstantText(QStringView name)
{
    if (const DrainageSystem* system = findRow(rows(), &DrainageSystem::name, name))
        return system->sludgeConstantText;
    return std::nullopt;
}

} // namespace DrainageSystemTable

// ------------------------------------------------------------ tank and site

namespace {

struct MaterialRow {
    TankMaterial material;
    QStringView name;
    QStringView letter;
};

constexpr std::array<MaterialRow, 2> kMaterials = {{
    {TankMaterial::Brick, u"砖砌化粪池", u"Z"},
    {TankMaterial::ReinforcedConcrete, u"钢混化粪池", u"G"},
}};

} // namespace

QStringList tankMaterialNames()
{
    return column(std::span<const MaterialRow>(kMaterials), &MaterialRow::name);
}

std::optional<TankMaterial> tankMaterialOf(QStringView name)
{
    if (const MaterialRow* row =
            findRow(std::span<const MaterialRow>(kMaterials), &MaterialRow::name, name))
        return row->material;
    return std::nullopt;
}

QString materialLetter(TankMaterial material)
{
    for (const MaterialRow& row : kMaterials) {
        if (row.material == material)
            return row.letter.toString();
    }
    return QString();
}

QString conditionLetter(SiteCondition condition, bool present)
{
    if (!present)
        return QString();
    switch (condition) {
    case SiteCondition::Groundwater:
        return QStringLiteral("S");
    case SiteCondition::Vehicles:
        return QStringLiteral("Q");
    case SiteCondition::CoverSoil:
        return QStringLiteral("F");
    }
    return QString();
}

// ------------------------------------------------------------ standard tanks

namespace {

constexpr std::array<StandardTank, 13> kTanks = {{
    {1, 2, u"1-2"},
    {2, 4, u"2-4"},
    {3, 6, u"3-6"},
    {4, 9, u"4-9"},
    {5, 12, u"5-12"},
    {6, 16, u"6-16"},
    {7, 20, u"7-20"},
    {8, 25, u"8-25"},
    {9, 30, u"9-30"},
    {10, 40, u"10-40"},
    {11, 50, u"11-50"},
    {12, 75, u"12-75"},
    {13, 100, u"13-100"},
}};

// Outline sizes L×B in mm of one standard number, by material and site.
struct OutlineRow {
    QStringView brickGroundwater;
    QStringView brickCoverSoil;         // no groundwater, cover soil
    QStringView brickVehicles;          // no groundwater, no cover soil, vehicles
    QStringView brickNoVehicles;        // no groundwater, no cover soil, no vehicles
    QStringView reinforcedConcrete;     // any site
};

// By standard number 1 … 13.
constexpr std::array<OutlineRow, 13> kOutlines = {{
    {u"3530×1890", u"3270×1630", u"3270×1630", u"3270×1630", u"2950×1150"},
    {u"5380×1890", u"5380×1890", u"5380×1890", u"5380×1890", u"4800×1350"},
    {u"5620×2380", u"5380×2140", u"5380×2140", u"5380×2140", u"4800×1600"},
    {u"5620×2880", u"5380×2640", u"5380×2640", u"5380×2640", u"4800×2100"},
    {u"5620×2880", u"5380×2640", u"5380×2640", u"5380×2640", u"4800×2100"},
    {u"7120×3380", u"6880×3140", u"7120×3380", u"6880×3140", u"6000×2600"},
    {u"7120×3880", u"6880×3640", u"7120×3880", u"6880×3640", u"6000×3100"},
    {u"7120×3880", u"6880×3640", u"7120×3880", u"6880×3640", u"6000×3100"},
    {u"7120×3880", u"6880×3640", u"7120×3880", u"6880×3640", u"6000×3100"},
    {u"8520×3880", u"8280×3640", u"8520×3880", u"8280×3640", u"7400×3100"},
    {u"10120×3880", u"9880×3640", u"10120×3880", u"9880×3640", u"9000×3100"},
    {u"13320×4140", u"13320×3880", u"13320×3880", u"13320×3880", u"12000×3200"},
    {u"14520×4640", u"14520×4380", u"14520×4380", u"14520×4380", u"13400×3700"},
}};

} // namespace

namespace SepticTankCatalogue {

std::span<const StandardTank> tanks()
{
    return kTanks;
}

QStringList listTexts()
{
    return column(tanks(), &StandardTank::listText);
}

const StandardTank* smallestHolding(double volume)
{
    for (const StandardTank& tank : kTanks) {
        if (volume <= tank.effectiveVolume)
            return &tank;
    }
    return nullptr;
}

const StandardTank* byListText(QStringView listText)
{
    return findRow(tanks(), &StandardTank::listText, listText);
}

std::optional<QString> outlineSize(TankMaterial material, int number, const SiteConditions& site)
{
    if (number < 1 || number > static_cast<int>(kOutlines.size()))
        return std::nullopt;
    const OutlineRow& row = kOutlines[static_cast<std::size_t>(number - 1)];
    QStringView size;
    if (material == TankMaterial::ReinforcedConcrete)
        size = row.reinforcedConcrete;
    else if (site.groundwater)
        size = row.brickGroundwater;
    else if (site.coverSoil)
        size = row.brickCoverSoil;
    else if (site.vehicles)
        size = row.brickVehicles;
    else
        size = row.brickNoVehicles;
    return size.toString();
}

QString typeCode(TankMaterial material, const StandardTank* tank, const SiteConditions& site)
{
    QString code = materialLetter(material);
    if (tank)
        code += tank->listText;
    return code + conditionLetter(SiteCondition::Groundwater, site.groundwater)
        + conditionLetter(SiteCondition::Vehicles, site.vehicles)
        + conditionLetter(SiteCondition::CoverSoil, site.coverSoil);
}

} // namespace SepticTankCatalogue

} // namespace building_services
