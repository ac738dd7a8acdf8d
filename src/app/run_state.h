// The run's state, kept by the splash window `logo` in hidden text fields for
// as long as the program runs: the version text every caption ends with, and
// the run's counters. Every other window reads and writes it through here,
// never through the fields themselves.
#pragma once

#include <QString>

namespace RunState {

// The version text ("1.4"), from the build's project version.
QString version();

// Password attempts left before the program ends.
double passwordAttemptsLeft();
void setPasswordAttemptsLeft(double attempts);

// Clicks on the About window's contact lines since the last opening of the
// password box.
double aboutClicks();
void setAboutClicks(double clicks);

// Clicks on the dedication picture window since it was last shown.
double dedicationViews();
void setDedicationViews(double views);

} // namespace RunState

// A window caption with the version: `designCaption` followed by "V" and the
// version text ("雨水管道水力计算" → "雨水管道水力计算V1.4").
QString versionedCaption(const QString& designCaption);
