// Rainfall intensity catalogue of the storm water calculators: the provinces
// and cities offered in the city lists, the formula caption shown beside them,
// and the coefficients every computation uses.
//
// The display side (provinces, cities, captions) and the numeric side
// (StormIntensityFormula rows) are separate tables keyed by the same city
// texts. Captions are display texts only and are never parsed; each shows the
// formula its city's row computes, so an engineer can check a result by hand.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <span>

namespace catalogues {

// ---------------------------------------------------------------- display side

// The formula as the storm windows draw it: prefix left of the fraction bar,
// numerator above it, denominator below it.
struct StormFormulaCaption {
    QString prefix;       // "q=" (L/(s·ha)) or "i=" (mm/min)
    QString numerator;    // e.g. "3841(1+0.85lgP)"
    QString denominator;  // e.g. "(t+17)^0.85"
};

class StormIntensityCatalogue {
public:
    // The 29 province entries in list order; two-character names carry two
    // blanks between the characters ("河  北").
    static QStringList Provinces();

    // The cities offered under a province, in list order; the first is the
    // one selected when the province is chosen. Empty for a text that is no
    // province entry (exact comparison, blanks included).
    static QStringList CitiesOf(const QString& province);

    // "i=" for the nine cities whose formula gives mm/min, "q=" otherwise.
    static QString PrefixOf(const QString& city);

    // The caption of a city; no value for a city without a caption row
    // (柳州 is offered under "广  西" but has no formula).
    static std::optional<StormFormulaCaption> CaptionOf(const QString& city);

    // The 71 city texts that have a caption row, in table order.
    static QStringList CaptionCities();
};

// ---------------------------------------------------------------- numeric side

enum class StormFormulaKind {
    General,                     // A(1 + C·lg(P + s)) / (t + b)^n
    MillimetrePerMinuteSum,      // (a + c·lgP)·(1000/6) / (t + b)^n
    MillimetrePerMinuteProduct,  // A(1 + C·lgP)·(1000/6) / (t + b)^n
    PowerDurationTerm,           // A(1 + C·lgP) / (t + k·P^m)^n
    LinearDurationTerm,          // A(1 + C·lgP) / (t + k·P^m)
    PowerLaw,                    // A·P^1.318 / (P^0.306·t^0.56)
};

// Order in which the logarithm term is evaluated; it decides the last digits.
enum class StormLogOrder {
    A,  // L = ln x / ln 10, then T = C·L
    B,  // T = (C·ln x) / ln 10
};

// One city's coefficients. Fields a kind does not use are 0.
struct StormIntensityFormula {
    QStringView city;
    StormFormulaKind kind = StormFormulaKind::General;
    double A = 0;  // leading factor (L/(s·ha); mm/min for the product kind)
    double C = 0;  // factor of the logarithm of P
    double a = 0;  // constant of the mm/min sum kind
    double c = 0;  // logarithm factor of the mm/min sum kind
    double b = 0;  // minutes added to t inside the power
    double n = 0;  // exponent of the duration term
    double s = 0;  // shift added to P inside the logarithm
    double k = 0;  // factor of the extra duration term
    double m = 0;  // exponent of the extra duration term
    StormLogOrder order = StormLogOrder::A;
};

// The 71 coefficient rows in table order.
std::span<const StormIntensityFormula> StormIntensityFormulas();

// The row of a city (exact comparison); nullptr when the city has none.
const StormIntensityFormula* FindStormIntensityFormula(const QString& city);

// Design storm intensity q in L/(s·ha) of one row for return period P
// (years) and rainfall duration t (minutes). No value outside the formula's
// domain (the logarithm of a non-positive number, a power of a negative base,
// a duration term of 0: t + b <= 0, or t <= 0 where the row adds nothing to
// t) or for a result that is not a positive finite number.
std::optional<double> StormIntensity(const StormIntensityFormula& row, double P, double t);

// As above for a city text; no value when the city has no row.
std::optional<double> StormIntensity(const QString& city, double P, double t);

}  // namespace catalogues
