#include "textio/numtext.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace textio {

namespace {

// Decimal form of a finite value rounded to 15 significant digits:
// value = ±d1.d2d3... × 10^exponent. `digits` has neither leading nor
// trailing zeros and is empty for zero.
struct Decimal15 {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

Decimal15 toDecimal15(double v)
{
    Decimal15 d;
    if (v == 0.0) {
        return d;
    }
    d.negative = std::signbit(v);
    // Scientific form with 14 digits after the point = 15 significant
    // digits, correctly rounded and independent of the locale.
    std::array<char, 64> buf{};
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(v),
                                   std::chars_format::scientific, 14);
    const std::string text(buf.data(), res.ptr);
    const auto ePos = text.find('e');
    for (std::size_t i = 0; i < ePos; ++i) {
        if (text[i] != '.') {
            d.digits.push_back(text[i]);
        }
    }
    int exponent = 0;
    const char* expBegin = text.data() + ePos + 1;
    if (*expBegin == '+') {
        ++expBegin;
    }
    std::from_chars(expBegin, text.data() + text.size(), exponent);
    d.exponent = exponent;
    while (!d.digits.empty() && d.digits.back() == '0') {
        d.digits.pop_back();
    }
    return d;
}

// Splits a decimal form into its integer digits (possibly empty) and its
// fraction digits, as plain positional text.
void toPositional(const Decimal15& d, std::string& intPart, std::string& fracPart)
{
    intPart.clear();
    fracPart.clear();
    if (d.digits.empty()) {
        return;
    }
    if (d.exponent >= 0) {
        const auto intLen = static_cast<std::size_t>(d.exponent) + 1;
        if (d.digits.size() <= intLen) {
            intPart = d.digits + std::string(intLen - d.digits.size(), '0');
        } else {
            intPart = d.digits.substr(0, intLen);
            fracPart = d.digits.substr(intLen);
        }
    } else {
        fracPart = std::string(static_cast<std::size_t>(-d.exponent - 1), '0') + d.digits;
    }
}

QString nonFiniteText(double v)
{
    if (std::isnan(v)) {
        return QStringLiteral("NaN");
    }
    return v < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

QString generalNumberText(double v)
{
    if (!std::isfinite(v)) {
        return nonFiniteText(v);
    }
    const Decimal15 d = toDecimal15(v);
    if (d.digits.empty()) {
        return QStringLiteral("0");
    }
    std::string out = d.negative ? "-" : "";
    if (d.exponent >= -10 && d.exponent <= 15) {
        std::string intPart;
        std::string fracPart;
        toPositional(d, intPart, fracPart);
        out += intPart.empty() ? "0" : intPart;
        if (!fracPart.empty()) {
            out += '.';
            out += fracPart;
        }
    } else {
        out += d.digits[0];
        if (d.digits.size() > 1) {
            out += '.';
            out += d.digits.substr(1);
        }
        out += d.exponent < 0 ? "E-" : "E+";
        const int magnitude = d.exponent < 0 ? -d.exponent : d.exponent;
        if (magnitude < 10) {
            out += '0';
        }
        out += std::to_string(magnitude);
    }
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

QString formatNumber(double v, const QString& pattern)
{
    if (pattern.isEmpty() || !std::isfinite(v)) {
        return generalNumberText(v);
    }

    // Pattern: digit places before and after an optional decimal point.
    const qsizetype pointAt = pattern.indexOf(QLatin1Char('.'));
    const bool hasPoint = pointAt >= 0;
    int minInt = 0;
    int minDec = 0;
    int maxDec = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        const bool zero = c == QLatin1Char('0');
        const bool place = zero || c == QLatin1Char('#');
        if (!place) {
            continue;
        }
        if (hasPoint && i > pointAt) {
            ++maxDec;
            minDec += zero ? 1 : 0;
        } else {
            minInt += zero ? 1 : 0;
        }
    }

    const Decimal15 d = toDecimal15(v);
    std::string intPart;
    std::string fracPart;
    toPositional(d, intPart, fracPart);

    // Round the 15-digit decimal text to maxDec decimals, halves away from
    // zero (the sign is kept apart, so rounding the magnitude up does that).
    if (fracPart.size() > static_cast<std::size_t>(maxDec)) {
        const bool roundUp = fracPart[static_cast<std::size_t>(maxDec)] >= '5';
        fracPart.resize(static_cast<std::size_t>(maxDec));
        if (roundUp) {
            std::string all = intPart + fracPart;
            bool carry = true;
            for (auto it = all.rbegin(); it != all.rend() && carry; ++it) {
                if (*it == '9') {
                    *it = '0';
                } else {
                    ++*it;
                    carry = false;
                }
            }
            if (carry) {
                all.insert(all.begin(), '1');
            }
            const std::size_t intLen = all.size() - fracPart.size();
            intPart = all.substr(0, intLen);
            fracPart = all.substr(intLen);
        }
    }

    // Optional decimal places drop their trailing zeros; required ones are
    // filled with zeros.
    while (fracPart.size() > static_cast<std::size_t>(minDec) && !fracPart.empty()
           && fracPart.back() == '0') {
        fracPart.pop_back();
    }
    if (fracPart.size() < static_cast<std::size_t>(minDec)) {
        fracPart.append(static_cast<std::size_t>(minDec) - fracPart.size(), '0');
    }
    const auto firstSignificant = intPart.find_first_not_of('0');
    intPart.erase(0, firstSignificant == std::string::npos ? intPart.size() : firstSignificant);
    if (intPart.size() < static_cast<std::size_t>(minInt)) {
        intPart.insert(0, static_cast<std::size_t>(minInt) - intPart.size(), '0');
    }

    const bool allZero = (intPart + fracPart).find_first_not_of('0') == std::string::npos;
    std::string out = (d.negative && !allZero) ? "-" : "";
    out += intPart;
    if (hasPoint) {
        out += '.';
        out += fracPart;
    }
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

std::optional<double> readNumber(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }
    std::string s;
    s.reserve(static_cast<std::size_t>(end - begin));
    for (qsizetype i = begin; i < end; ++i) {
        const char16_t u = text[i].unicode();
        if (u >= 0x80) {
            return std::nullopt;
        }
        s.push_back(static_cast<char>(u));
    }

    // [+-] digits [. digits] | [+-] . digits, then [eE [+-] digits]
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    const std::size_t mantissaBegin = i;
    std::string intDigits;
    std::string fracDigits;
    while (i < s.size() && isDigit(s[i])) {
        intDigits.push_back(s[i++]);
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) {
            fracDigits.push_back(s[i++]);
        }
    }
    if (intDigits.empty() && fracDigits.empty()) {
        return std::nullopt;
    }
    long long exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool expNegative = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            expNegative = s[i] == '-';
            ++i;
        }
        if (i >= s.size() || !isDigit(s[i])) {
            return std::nullopt;
        }
        while (i < s.size() && isDigit(s[i])) {
            // Saturate: any exponent this large over- or underflows anyway.
            if (exponent < 1'000'000) {
                exponent = exponent * 10 + (s[i] - '0');
            }
            ++i;
        }
        exponent = expNegative ? -exponent : exponent;
    }
    if (i != s.size()) {
        return std::nullopt;
    }

    // from_chars takes no leading '+'; the sign is applied afterwards.
    double value = 0.0;
    const char* first = s.data() + mantissaBegin;
    const char* last = s.data() + s.size();
    const auto res = std::from_chars(first, last, value, std::chars_format::general);
    if (res.ptr != last) {
        return std::nullopt;
    }
    if (res.ec == std::errc::result_out_of_range) {
        // Order of magnitude of the text: decides between overflow (no
        // number) and underflow (a value too small for a double, read as 0).
        long long magnitude = 0;
        const auto firstInt = intDigits.find_first_not_of('0');
        if (firstInt != std::string::npos) {
            magnitude = static_cast<long long>(intDigits.size() - firstInt) - 1;
        } else {
            const auto firstFrac = fracDigits.find_first_not_of('0');
            magnitude = firstFrac == std::string::npos
                            ? -1
                            : -static_cast<long long>(firstFrac) - 1;
        }
        if (magnitude + exponent >= 0) {
            return std::nullopt;
        }
        value = 0.0;
    } else if (res.ec != std::errc{}) {
        return std::nullopt;
    }
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::optional<double> readShownNumber(const QString& text)
{
    if (text.isEmpty() || text == QLatin1String("."))
        return 0.0;
    return readNumber(text);
}

bool isNumber(const QString& text)
{
    return readNumber(text).has_value();
}

QString formatText(const QString& text, const QString& pattern)
{
    const auto value = readNumber(text);
    return value ? formatNumber(*value, pattern) : text;
}

} // namespace textio
