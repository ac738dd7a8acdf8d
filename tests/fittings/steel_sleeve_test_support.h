// What the steel fittings and sleeve window tests share.
#pragma once

#include "forms/controls.h"
#include "forms/testing/text.h"
#include "forms/testing/lists.h"

#include <QString>
#include <QStringList>

namespace steel_sleeve_test {

using forms::testing::entries;
using forms::testing::S;

} // namespace steel_sleeve_test
