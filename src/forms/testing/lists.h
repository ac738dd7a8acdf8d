// Drop-down lists in window tests: their entries, and the user's pick of an
// entry by its text.
#pragma once

#include "forms/controls.h"

#include <QStringList>

namespace forms::testing {

// The texts of the list's entries, in order.
QStringList entries(const ComboBox& combo);
inline QStringList entries(const ComboBox* combo)
{
    return entries(*combo);
}

// The position of the first entry with this text, or -1.
int indexOf(const ComboBox& combo, const QString& text);

// The user's pick of the entry with this text; a test failure when the list
// holds no such entry.
void pickText(ComboBox& combo, const QString& text);

} // namespace forms::testing
