#include "hydraulics/supply_pipe_catalogue.h"

#include <array>
#include <initializer_list>

namespace hydraulics {

namespace {

QStringList texts(std::initializer_list<const char16_t*> items)
{
    QStringList list;
    list.reserve(static_cast<qsizetype>(items.size()));
    for (const char16_t* item : items)
        list.append(QString::fromUtf16(item));
    return list;
}

const std::array<SupplyPipeMaterial, 8>& materialTable()
{
    // Cast-iron sizes serve both lined and ordinary cast-iron pipe.
    static const QStringList castIronSizes =
        texts({u"DN75", u"DN100", u"DN150", u"DN200", u"DN250", u"DN300", u"DN350", u"DN400"});
    static const QStringList castIronInner =
        texts({u"74", u"99", u"149", u"199", u"249", u"300", u"350", u"400"});
    static const QStringList ppRSizes = texts({u"De20", u"De25", u"De32", u"De40", u"De50", u"De63"});

    static const std::array<SupplyPipeMaterial, 8> table{{
        {QStringLiteral("钢衬塑复合管"), 140,
         texts({u"DN15", u"DN20", u"DN25", u"DN32", u"DN40", u"DN50", u"DN65", u"DN80", u"DN100",
                u"DN150"}),
         texts({u"12.8", u"18.3", u"24.00", u"32.8", u"38.00", u"50.00", u"65.00", u"76.50",
                u"102.00", u"151.00"}),
         TemperatureRule::GeneralTable},
        {QStringLiteral("PP-R冷水管PN1.25MPa"), 140, ppRSizes,
         texts({u"15.4", u"20.4", u"26", u"32.6", u"40.8", u"51.4"}), TemperatureRule::ColdWaterTable},
        {QStringLiteral("PP-R热水管PN2.5MPa"), 140, ppRSizes,
         texts({u"13.2", u"16.6", u"21.2", u"26.6", u"33.2", u"42"}), TemperatureRule::Fixed60},
        // Thin-wall stainless tube: 40 × 1.0 at DN40, 50.8 × 1.0 at DN50,
        // 67 × 1.2 at DN65.
        {QStringLiteral("不锈钢管"), 130,
         texts({u"DN15", u"DN20", u"DN25", u"DN32", u"DN40", u"DN50", u"DN65", u"DN80", u"DN100"}),
         texts({u"12.80", u"18.80", u"23.80", u"33.00", u"38.00", u"48.80", u"64.60", u"73.10",
                u"99.00"}),
         TemperatureRule::GeneralTable},
        {QStringLiteral("衬树脂铸铁管"), 130, castIronSizes, castIronInner, TemperatureRule::Fixed10},
        {QStringLiteral("普通钢管"), 100,
         texts({u"DN15",  u"DN20",  u"DN25",   u"DN32",   u"DN40",   u"DN50",   u"DN65",   u"DN80",
                u"DN100", u"DN150", u"DN200",  u"DN250",  u"DN300",  u"DN350",  u"DN400",  u"DN450",
                u"DN500", u"DN600", u"DN700",  u"DN800",  u"DN900",  u"DN1000", u"DN1200", u"DN1300",
                u"DN1400", u"DN1500", u"DN1600", u"DN1800", u"DN2000"}),
         texts({u"14.75",  u"20.25",  u"26.00",  u"34.75",  u"40.00",  u"52.00", u"67.00", u"79.50",
                u"105.00", u"147.00", u"198.00", u"252.00", u"305.00", u"357.00", u"406.00", u"458",
                u"509",    u"610",    u"700",    u"800",    u"900",    u"1000",  u"1200",  u"1300",
                u"1400",   u"1500",   u"1600",   u"1800",   u"2000"}),
         TemperatureRule::Fixed10},
        {QStringLiteral("普通铸铁管"), 100, castIronSizes, castIronInner, TemperatureRule::Fixed10},
        // Copper water tube: 42 × 2.0 at DN40, 54 × 2.5 at DN50.
        {QStringLiteral("建筑给水铜管"), 130,
         texts({u"DN15", u"DN20", u"DN25", u"DN32", u"DN40", u"DN50", u"DN65", u"DN80", u"DN100"}),
         texts({u"13.60", u"20.20", u"26.20", u"32.80", u"38.00", u"49.00", u"64.30", u"85.00",
                u"105.00"}),
         TemperatureRule::Fixed10Emptied},
    }};
    return table;
}

const std::array<TemperatureFactor, 10>& generalTable()
{
    static const std::array<TemperatureFactor, 10> table{{
        {QStringLiteral("10"), QStringLiteral("1.0")},
        {QStringLiteral("20"), QStringLiteral("0.94")},
        {QStringLiteral("30"), QStringLiteral("0.90")},
        {QStringLiteral("40"), QStringLiteral("0.86")},
        {QStringLiteral("50"), QStringLiteral("0.82")},
        {QStringLiteral("60"), QStringLiteral("0.79")},
        {QStringLiteral("70"), QStringLiteral("0.77")},
        {QStringLiteral("80"), QStringLiteral("0.75")},
        {QStringLiteral("90"), QStringLiteral("0.73")},
        {QStringLiteral("95"), QStringLiteral("0.72")},
    }};
    return table;
}

const std::array<TemperatureFactor, 4>& coldWaterTable()
{
    static const std::array<TemperatureFactor, 4> table{{
        {QStringLiteral("10"), QStringLiteral("1.061")},
        {QStringLiteral("20"), QStringLiteral("1.0")},
        {QStringLiteral("30"), QStringLiteral("0.949")},
        {QStringLiteral("40"), QStringLiteral("0.908")},
    }};
    return table;
}

QStringList column(std::span<const TemperatureFactor> rows, QString TemperatureFactor::*member)
{
    QStringList list;
    for (const TemperatureFactor& row : rows)
        list.append(row.*member);
    return list;
}

} // namespace

namespace SupplyPipeCatalogue {

std::span<const SupplyPipeMaterial> materials()
{
    return materialTable();
}

const QStringList& materialNames()
{
    static const QStringList names = [] {
        QStringList list;
        for (const SupplyPipeMaterial& m : materialTable())
            list.append(m.name);
        return list;
    }();
    return names;
}

const SupplyPipeMaterial* find(QStringView name)
{
    for (const SupplyPipeMaterial& m : materialTable()) {
        if (name == m.name)
            return &m;
    }
    return nullptr;
}

std::optional<TemperatureTableKind> temperatureTable(TemperatureRule rule)
{
    switch (rule) {
    case TemperatureRule::GeneralTable:
        return TemperatureTableKind::General;
    case TemperatureRule::ColdWaterTable:
        return TemperatureTableKind::ColdWater;
    case TemperatureRule::Fixed60:
    case TemperatureRule::Fixed10:
    case TemperatureRule::Fixed10Emptied:
        break;
    }
    return std::nullopt;
}

QString temperatureText(TemperatureRule rule)
{
    switch (rule) {
    case TemperatureRule::ColdWaterTable:
        return QStringLiteral("20");
    case TemperatureRule::Fixed60:
        return QStringLiteral("60");
    case TemperatureRule::GeneralTable:
    case TemperatureRule::Fixed10:
    case TemperatureRule::Fixed10Emptied:
        break;
    }
    return QStringLiteral("10");
}

bool temperatureEnabled(TemperatureRule rule)
{
    return temperatureTable(rule).has_value();
}

} // namespace SupplyPipeCatalogue

namespace TemperatureFactorTable {

std::span<const TemperatureFactor> entries(TemperatureTableKind kind)
{
    if (kind == TemperatureTableKind::ColdWater)
        return coldWaterTable();
    return generalTable();
}

const QStringList& temperatureTexts(TemperatureTableKind kind)
{
    static const QStringList general = column(generalTable(), &TemperatureFactor::temperature);
    static const QStringList cold = column(coldWaterTable(), &TemperatureFactor::temperature);
    return kind == TemperatureTableKind::ColdWater ? cold : general;
}

const QStringList& factorTexts(TemperatureTableKind kind)
{
    static const QStringList general = column(generalTable(), &TemperatureFactor::factor);
    static const QStringList cold = column(coldWaterTable(), &TemperatureFactor::factor);
    return kind == TemperatureTableKind::ColdWater ? cold : general;
}

std::optional<QString> factorText(TemperatureTableKind kind, QStringView temperature)
{
    for (const TemperatureFactor& row : entries(kind)) {
        if (temperature == row.temperature)
            return row.factor;
    }
    return std::nullopt;
}

} // namespace TemperatureFactorTable

} // namespace hydraulics
