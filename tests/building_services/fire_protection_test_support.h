// What the fire hydrant and extinguisher window tests share.
#pragma once

#include "forms/controls.h"
#include "forms/testing/lists.h"

#include <QApplication>
#include <QStringList>

namespace fire_protection_test {

using forms::testing::entries;

// Whether the result window has been created in this run.
inline bool resultWindowExists()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QStringLiteral("Form9"))
            return true;
    }
    return false;
}

} // namespace fire_protection_test
