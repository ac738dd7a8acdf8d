// What the steel fittings and sleeve window tests share.
#pragma once

#include "forms/controls.h"

#include <QString>
#include <QStringList>

namespace steel_sleeve_test {

inline QString S(const char* text)
{
    return QString::fromUtf8(text);
}

// The entries of a list, in order.
inline QStringList entries(const forms::ComboBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->ListCount(); ++i)
        texts.append(list->List(i));
    return texts;
}

} // namespace steel_sleeve_test
