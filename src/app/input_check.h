// Input check messages shared by the calculators: a modal message box whose
// text names the missing or wrong input, then the focus on that field. The
// handler that calls it stops with nothing written.
#pragma once

#include "forms/platform.h"

#include <QString>

class QWidget;

// Title of a check on a wrong or missing value.
inline const QString kCorrectnessTitle = QStringLiteral("确认数据正确性");
// Title of a check on a missing choice.
inline const QString kCompletenessTitle = QStringLiteral("确认数据完整性");

// Shows `message` under `title` with `style`, then puts the focus on `field`
// when it can take it.
void refuseInput(const QString& message, const QString& title, QWidget* field,
                 int style = forms::vbOKOnly);
