// Texts in tests: S("…") for a UTF-8 literal, and QString printed as text
// (not as bytes) in test failures. Header only, so that engine tests, which
// link no forms library, use it too.
#pragma once

#include <QString>

#include <ostream>

namespace forms::testing {

inline QString S(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace forms::testing

// Found by the test framework's printer through argument-dependent lookup.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
