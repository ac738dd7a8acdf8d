// What the fire hydrant and extinguisher window tests share.
#pragma once

#include "forms/controls.h"

#include <QApplication>
#include <QStringList>

namespace fire_protection_test {

// Whether the result window has been created in this run.
inline bool resultWindowExists()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QStringLiteral("Form9"))
            return true;
    }
    return false;
}

// The entries of a drop-down list.
inline QStringList entries(const forms::ComboBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->ListCount(); ++i)
        texts.append(list->List(i));
    return texts;
}

} // namespace fire_protection_test
