#!/usr/bin/env bash
# Lists the tests the last ctest run in a build folder skipped, each with the
# reason its GTEST_SKIP() gave.
#   scripts/skipped-tests.sh [build folder]   (default build/)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
log="${1:-$root/build}/Testing/Temporary/LastTest.log"
[ -f "$log" ] || exit 0
# A skipped test's output holds "<file>:<line>: Skipped", the reason's lines,
# then "[  SKIPPED ] <test>".
skipped="$(awk '
  /^[0-9]+\/[0-9]+ Testing: / { test = $3; next }
  /: Skipped$/ { reading = 1; reason = ""; next }
  reading && /^\[  SKIPPED \]/ {
    reading = 0
    if (reason == "") reason = "(no reason given)"
    printf "  %s: %s\n", test, reason
    next
  }
  reading && NF { reason = reason == "" ? $0 : reason " " $0 }
' "$log" | sort)"
if [ -n "$skipped" ]; then
  echo "Skipped tests, and why:"
  printf '%s\n' "$skipped"
fi
