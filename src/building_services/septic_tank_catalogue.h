// The septic tank tables: building uses with their usage factor and sewage
// quotas, drainage systems with their sludge constant, the lists the septic
// tank window offers, the thirteen standard tanks and their outline sizes by
// material and site conditions, and the type code that names a tank.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <span>

namespace building_services {

// ------------------------------------------------------------ design inputs

struct BuildingUse {
    QString name;             // list text, e.g. "办公楼、教学楼、工业企业生活间"
    QString usageFactorText;  // α as the factor list writes it, e.g. "0.40"
    QStringList quotaTexts;   // sewage quotas in L per user per day, in list order
};

namespace BuildingUseTable {

// The four uses in list order: offices and schools (α 0.40), hospitals and
// boarding nurseries (1.00), dwellings and hotels (0.70), canteens, theatres
// and gymnasiums (0.10).
std::span<const BuildingUse> rows();
QStringList names();
// The use of that exact list text; null for any other text.
const BuildingUse* find(QStringView name);

} // namespace BuildingUseTable

// The quota every building use starts with, whatever its list.
inline constexpr QStringView kInitialQuotaText = u"50";

// The lists of the factor, retention time and cleaning period fields, and
// the initial quota list (that of the first use).
QStringList usageFactorTexts();      // "0.10", "0.40", "0.70", "1.00"
QStringList retentionHourTexts();    // "12", "24"
QStringList cleaningDayTexts();      // "90", "180", "360"

// Drainage system: sewage and waste water combined or separate. The sludge
// constant s (m³ per user per day) is 0.00028 combined, 0.00016 separate.
struct DrainageSystem {
    QString name;                // "污、废合流制" or "污、废分流制"
    QString sludgeConstantText;  // "0.00028" or "0.00016"
};

namespace DrainageSystemTable {

std::span<const DrainageSystem> rows();
QStringList names();
// The sludge constant text of that exact system text; none for any other.
std::optional<QString> sludgeConstantText(QStringView name);

} // namespace DrainageSystemTable

// ------------------------------------------------------------ tank and site

enum class TankMaterial {
    Brick,               // "砖砌化粪池", letter "Z"
    ReinforcedConcrete,  // "钢混化粪池", letter "G"
};

QStringList tankMaterialNames();
// The material of that exact list text; none for any other.
std::optional<TankMaterial> tankMaterialOf(QStringView name);
QString materialLetter(TankMaterial material);

// The three site conditions and the lists that choose them.
struct SiteConditions {
    bool groundwater = false;  // "有地下水" / "无地下水", letter "S"
    bool vehicles = false;     // "可过汽车" / "不过汽车", letter "Q"
    bool coverSoil = false;    // "有覆土" / "无覆土",     letter "F"
};

inline constexpr QStringView kGroundwaterText = u"有地下水";
inline constexpr QStringView kNoGroundwaterText = u"无地下水";
inline constexpr QStringView kVehiclesText = u"可过汽车";
inline constexpr QStringView kNoVehiclesText = u"不过汽车";
inline constexpr QStringView kCoverSoilText = u"有覆土";
inline constexpr QStringView kNoCoverSoilText = u"无覆土";

enum class SiteCondition { Groundwater, Vehicles, CoverSoil };

// A condition's letter ("S", "Q", "F") when it is present, else the empty
// text.
QString conditionLetter(SiteCondition condition, bool present);

// ------------------------------------------------------------ standard tanks

struct StandardTank {
    int number;               // 1 … 13
    double effectiveVolume;   // m³
    QStringView listText;     // "1-2" … "13-100": number, hyphen, volume
};

// The prompt of the hand-pick list of standard tanks.
inline constexpr QStringView kHandPickPrompt = u"手动选择化粪池";

namespace SepticTankCatalogue {

// The thirteen standard tanks in increasing volume, 2 m³ to 100 m³.
std::span<const StandardTank> tanks();
QStringList listTexts();
// The smallest tank that holds `volume` m³ (the first with volume ≤ its
// effective volume); null above 100 m³ or for a volume that is no number.
const StandardTank* smallestHolding(double volume);
// The tank of that exact list text; null for any other text.
const StandardTank* byListText(QStringView listText);

// The outline size "L×B" in mm (the foundation's length and width) of a
// standard tank. Concrete tanks have one size. Brick tanks are larger with
// groundwater; without it, tanks 6 to 11 take the groundwater size when
// vehicles pass over and there is no cover soil (cover soil decides first),
// the other numbers one size whatever vehicles and cover soil. None for a
// number outside 1 … 13.
std::optional<QString> outlineSize(TankMaterial material, int number,
                                   const SiteConditions& site);

// The type code: material letter, the tank's list text, then the letters
// S, Q, F of the conditions present ("Z1-2S", "Z8-25SQF", "G13-100"). A
// volume above the largest tank has no tank: the letters alone ("ZS").
QString typeCode(TankMaterial material, const StandardTank* tank, const SiteConditions& site);

} // namespace SepticTankCatalogue

} // namespace building_services
