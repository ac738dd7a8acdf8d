// Number text of the forms runtime: how a value is written into a field
// (general text or a fixed pattern) and how a field's text is read back.
// Nothing here depends on the system locale: the decimal point is always
// "." and digits are always ASCII.
#pragma once

#include <QString>

#include <optional>

namespace textio {

// General number text: the value rounded to 15 significant digits, written
// without trailing zeros, without a leading blank, with "." as the decimal
// point and "0" before the point below 1 in magnitude ("0.3", "-0.3").
// Decimal exponents from -10 to 15 are written as plain digits
// (1E15 gives "1000000000000000", 1E-10 gives "0.0000000001"); beyond that
// the exponent form "1E+16", "1.5E-11". Zero, -0 included, is "0".
// Infinities and NaN give "Inf", "-Inf" and "NaN", texts that readNumber()
// refuses, so they are never read back as a number.
QString generalNumberText(double v);

// Number formatting with a pattern of digit places around an optional
// decimal point, as "0.0#####", "0.000", "##.###", "#", "0":
//  - "0" is a digit that is always written, "#" a digit written only when
//    significant; the count of places after the point is the number of
//    decimals (at most), the count of "0" places after it the minimum;
//  - the value is first taken to its 15-significant-digit decimal form and
//    then rounded to the decimals, halves away from zero (2.675 -> "2.68");
//  - integer digits are never cut ("##.##" of 1234.5 is "1234.5"); the
//    integer part has at least as many digits as the pattern has "0" places
//    before the point, so with only "#" places a value below 1 has no digit
//    before the point (".749", and "." for 0 with "##.###");
//  - the point is written whenever the pattern has one ("#.###" of 3 is "3.");
//  - a negative value gets a leading "-" unless it rounds to zero.
// Characters other than "0", "#" and the first "." are ignored. An empty
// pattern gives the general number text; so does a value that is not finite.
QString formatNumber(double v, const QString& pattern);

// Strict reading of a field's text: the whole text must be one decimal
// number, blanks (spaces and tabs) around it allowed: an optional sign,
// digits with an optional "." (".749", "2.", "-.5"), an optional exponent
// ("1e3", "1.5E-2"). The value must be finite: "1e999" is no number, while a
// value too small for a double ("1e-999") reads as zero. Empty text, a lone
// sign or point, "inf", "nan", hexadecimal, group separators, inner blanks
// and non-ASCII digits are no numbers.
std::optional<double> readNumber(const QString& text);

// The value a result written through formatNumber() stands for, read back
// as the engineer sees it: its number, and 0 for the lone point ("##.###")
// or the empty text ("#") that patterns without "0" places write for zero.
// Any other text that is no number gives nothing.
std::optional<double> readShownNumber(const QString& text);

// True when readNumber() accepts the text.
bool isNumber(const QString& text);

// Rewrites a field's text through a pattern: a number is formatted with
// formatNumber(), any other text is returned unchanged.
QString formatText(const QString& text, const QString& pattern);

} // namespace textio
