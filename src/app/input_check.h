// Input check messages shared by the calculators: a modal message box whose
// text names the missing or wrong input, then the focus on that field. The
// handler that calls it stops with nothing written.
#pragma once

#include "forms/refusal_view.h"
#include "textio/field_values.h"

// The titles: "确认数据正确性" (wrong or missing value), "确认数据完整性"
// (missing choice), "提示", "警告".
using textio::kCorrectnessTitle;
using textio::kCompletenessTitle;
using textio::kHintTitle;
using textio::kWarningTitle;

using forms::refuseInput;
