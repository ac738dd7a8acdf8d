// Septic tank volume and the standard tank that holds it.
//
// Units: volumes in m³, users in persons, the usage factor α without unit,
// the sewage quota q in L per user per day, the retention time t in hours,
// the cleaning period T in days, the sludge constant s in m³ per user per day.
//
//   sewage part   V1 = N · α · q · t / 24000
//   sludge part   V2 = s · N · α · T · 1.2
//   volume        V  = V2 + V1, sludge share V2 / V
//   small tanks   V ≤ 25 and V2/V > 0.7: V := V1 / 0.3, V2 := 0.7 · V
//   standard tank the smallest of the thirteen that holds V
//   per user      u  = 10^-5 · α · (120000 · s · T + 4.17 · q · t)
//   users served  the standard tank's effective volume / u
//
// The per-user volume is that of the design tables of the standard tanks:
// their sewage term writes 1/24000 (4.1667 · 10^-5) rounded to 4.17 · 10^-5,
// so the users a tank serves follow the tables, while the volume of step V1
// keeps the exact 1/24000. 120000 · 10^-5 is the 1.2 of the sludge part.
//
// Every value goes through its shortest decimal text (15 significant digits)
// before the next step uses it, as the window's working fields hold it, so
// that the shown figures follow from the shown values.
//
// The sludge share is limited for tanks up to 25 m³ only; larger tanks keep
// V = V1 + V2 whatever their share.
#pragma once

#include "building_services/septic_tank_catalogue.h"
#include "textio/field_values.h"
#include "textio/refusal.h"

#include <QString>

#include <optional>

namespace building_services {

// The values a design can have, each generous beyond the lists offered:
// design users a whole number from 1 to 100,000;
inline constexpr textio::ValueRange kDesignUsersRange{1, 100000, true, true};
// the usage factor α, a share of the users, from 0.01 to 1 (lists 0.1 to 1);
inline constexpr textio::ValueRange kUsageFactorRange{0.01, 1, true, false};
// the sewage quota q from 1 to 1000 L per user per day (lists 30 to 200);
inline constexpr textio::ValueRange kSewageQuotaRange{1, 1000, true, false};
// the retention time t from 1 h to 30 days (lists 12 to 24 h);
inline constexpr textio::ValueRange kRetentionHoursRange{1, 720, true, false};
// the cleaning period T from 1 day to 10 years (lists 90 to 360 days).
inline constexpr textio::ValueRange kCleaningDaysRange{1, 3650, true, false};
// From their lower bounds on, the per-user volume u is at least about
// 2.3 · 10^-6 m³, so no tank serves more users than a field shows in plain
// digits.

// The design inputs, each a positive finite number (readSepticTankInputs
// refuses any other before calculating).
struct SepticTankInputs {
    double users = 0;           // N
    double usageFactor = 0;     // α
    double quotaLitres = 0;     // q, L per user per day
    double retentionHours = 0;  // t, h
    double cleaningDays = 0;    // T, d
    double sludgeConstant = 0;  // s, m³ per user per day
};

// The small-tank sludge share limit: up to this volume …
inline constexpr double kShareLimitVolume = 25;
// … a share above this one makes the sludge part this share of the volume,
inline constexpr double kSludgeShareLimit = 0.7;
// … and the sewage part the rest.
inline constexpr double kSewageShareAtLimit = 0.3;

// V1 = N · α · q · t / 24000.
double sewageVolume(const SepticTankInputs& in);
// V2 = s · N · α · T · 1.2.
double sludgeVolume(const SepticTankInputs& in);
// The sewage factor of the per-user volume (see above), in 10^-5.
inline constexpr double kPerUserSewageFactor = 4.17;

// u = 10^-5 · α · (120000 · s · T + 4.17 · q · t); N is not used.
double perUserVolume(const SepticTankInputs& in);

enum class SepticDesignStatus {
    Designed,
    // The volume is zero or no finite number (inputs too small or too large
    // for the arithmetic).
    VolumeOutOfRange,
    // The per-user volume is zero or no finite number, or the users served
    // would be no finite number.
    PerUserVolumeOutOfRange,
};

// The working values of one calculation, as texts.
struct SepticTankDesign {
    SepticDesignStatus status = SepticDesignStatus::VolumeOutOfRange;
    QString sewageVolume;  // V1
    QString sludgeVolume;  // V2; 0.7 · V where the share limit applied
    QString sludgeShare;   // V2 / V before the limit
    bool shareLimited = false;
    // The standard tank; null above 100 m³.
    const StandardTank* tank = nullptr;
    // The standard tank's effective volume as a whole number ("2" … "100"),
    // or the computed volume above 100 m³.
    QString volume;
    QString usersServed;       // volume / u
    QString usersServedShown;  // rounded down to a whole number, as the
                               // hand pick does; empty when that is 0
};

// The calculation; with a status other than Designed no text is set.
SepticTankDesign designSepticTank(const SepticTankInputs& in);

// The users a standard tank picked by hand serves under the inputs (N is not
// used): its effective volume / u, rounded down to a whole number. None when
// the per-user volume or that figure is out of range.
std::optional<QString> handPickedTankUsers(const StandardTank& tank, const SepticTankInputs& in);

// The inputs as the window's fields hold them.
struct SepticTankInputTexts {
    QString users;          // N, Text1
    QString usageFactor;    // α, Combo5
    QString quota;          // q, Combo3
    QString retention;      // t, Combo6
    QString cleaning;       // T, Combo4
    QString sludgeConstant; // s, Text2, written by the drainage system pick
};

// The input a refusal names.
enum class SepticField { Users, UsageFactor, Quota, Retention, Cleaning, DrainageSystem, Material };

// Why an input was refused; the title is always "警告".
using SepticRefusal = textio::Refusal<SepticField>;

// The inputs read from their texts, or the refusal of one.
using SepticInputsOutcome = textio::Outcome<SepticTankInputs, SepticField>;

// The users (empty or blanks: "请输入设计人数！"; outside kDesignUsersRange:
// "请输入正确的设计人数！") when `withUsers`, then α, q, t, T against their
// ranges ("请输入正确的使用系数！", "…污水定额！", "…污水停留时间！",
// "…清掏周期！") and s ("请选择排水类型！"), in that order.
SepticInputsOutcome readSepticTankInputs(const SepticTankInputTexts& texts, bool withUsers);

// The calculation of "计 算", or the refusal of the input at fault (a volume
// or per-user volume the arithmetic cannot carry names the users or α).
using SepticOutcome = textio::Outcome<SepticTankDesign, SepticField>;
SepticOutcome calculateSepticTank(const SepticTankInputTexts& texts);

// The hand pick of `tank`: the users it serves (handPickedTankUsers), or the
// refusal; the users field is not read.
using HandPickOutcome = textio::Outcome<QString, SepticField>;
HandPickOutcome handPickTank(const StandardTank& tank, const SepticTankInputTexts& texts);

// What "计 算" shows: the design and the standard tank it selects in the
// material and on the site picked.
struct SepticTankSelection {
    SepticTankDesign design;
    QString materialLetter;  // "Z" or "G"
    QString typeCode;        // SepticTankCatalogue::typeCode
    // The outline size L×B of the standard tank; empty above the largest
    // tank, which has none.
    QString outlineSize;
};
using SepticSelectionOutcome = textio::Outcome<SepticTankSelection, SepticField>;
// The calculation (calculateSepticTank) and its refusals first, then the
// material: a text that is no material of the list is refused with
// "请选择化粪池类型！".
SepticSelectionOutcome selectSepticTank(const SepticTankInputTexts& texts, QStringView materialText,
                                        const SiteConditions& site);

} // namespace building_services
