#include "forms/testing/lists.h"

#include <gtest/gtest.h>

namespace forms::testing {

QStringList entries(const ComboBox& combo)
{
    QStringList texts;
    for (int i = 0; i < combo.ListCount(); ++i)
        texts << combo.List(i);
    return texts;
}

int indexOf(const ComboBox& combo, const QString& text)
{
    return static_cast<int>(entries(combo).indexOf(text));
}

void pickText(ComboBox& combo, const QString& text)
{
    const int index = indexOf(combo, text);
    if (index < 0) {
        ADD_FAILURE() << "no entry " << text.toStdString() << " in "
                      << combo.objectName().toStdString();
        return;
    }
    combo.pick(index);
}

} // namespace forms::testing
