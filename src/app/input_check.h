// Input check messages shared by the calculators: a modal message box whose
// text names the missing or wrong input, then the focus on that field. The
// handler that calls it stops with nothing written.
#pragma once

#include "forms/platform.h"
#include "textio/field_values.h"

#include <QString>

class QWidget;

// The titles: "确认数据正确性" (wrong or missing value), "确认数据完整性"
// (missing choice), "提示", "警告".
using textio::kCorrectnessTitle;
using textio::kCompletenessTitle;
using textio::kHintTitle;
using textio::kWarningTitle;

// Shows `message` under `title` with `style`, then puts the focus on `field`
// when it can take it.
void refuseInput(const QString& message, const QString& title, QWidget* field,
                 int style = forms::vbOKOnly);
