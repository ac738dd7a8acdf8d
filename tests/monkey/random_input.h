// What a user might type, paste or press, drawn from one seeded generator so
// that a run replays exactly.
#pragma once

#include <QString>
#include <QStringList>
#include <QtCore/qnamespace.h>

#include <cstdint>
#include <random>
#include <vector>

namespace monkey {

// A key with its modifiers and the text it types (empty for keys that type
// nothing).
struct Keystroke {
    int key = 0;
    Qt::KeyboardModifiers modifiers;
    QString text;
    QString name; // for the action log: "Enter", "Ctrl+V", ...
};

class RandomInput {
public:
    explicit RandomInput(std::uint64_t seed)
        : m_rng(seed)
    {
    }

    // A whole number from 0 to n - 1 (n > 0).
    int below(int n);
    // True with probability p.
    bool chance(double p);
    // One of the items.
    template <class T>
    const T& oneOf(const std::vector<T>& items)
    {
        return items[static_cast<std::size_t>(below(static_cast<int>(items.size())))];
    }

    // A text of a random kind: a number (huge, tiny, negative, in exponent
    // form), a catalogue-like text, blanks, Chinese, control characters, a
    // long string, or a word that some parsers take for a number ("inf").
    QString text();
    // A key that does something in a field or a window: Enter, Esc, Tab,
    // arrows, Backspace, Ctrl+V, Alt with a letter, ...
    Keystroke key();

private:
    QString number();
    QString chinese(int length);
    QString controlCharacters();
    QString longText();

    std::mt19937_64 m_rng;
};

} // namespace monkey
