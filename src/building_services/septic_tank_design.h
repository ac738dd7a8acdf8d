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
// Every value goes through its shortest decimal text (15 significant digits)
// before the next step uses it, as the window's working fields hold it, so
// that the shown figures follow from the shown values.
//
// The sludge share is limited for tanks up to 25 m³ only; larger tanks keep
// V = V1 + V2 whatever their share.
#pragma once

#include "building_services/septic_tank_catalogue.h"

#include <QString>

#include <optional>

namespace building_services {

// The design inputs, each a positive finite number (the window refuses any
// other before calculating).
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
    QString usersServedShown;  // rounded to a whole number, halves away from
                               // zero; empty when that is 0
};

// The calculation; with a status other than Designed no text is set.
SepticTankDesign designSepticTank(const SepticTankInputs& in);

// The users a standard tank picked by hand serves under the inputs (N is not
// used): its effective volume / u, rounded down to a whole number. None when
// the per-user volume or that figure is out of range.
std::optional<QString> handPickedTankUsers(const StandardTank& tank, const SepticTankInputs& in);

} // namespace building_services
