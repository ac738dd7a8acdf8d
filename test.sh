#!/usr/bin/env bash
# Builds everything and runs every test headless, then the random UI test
# under the sanitizers for a bounded number of actions (scripts/monkey.sh
# runs it longer on demand).
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
"$root/scripts/build.sh"
(cd "$root/build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 120)
"$root/scripts/monkey.sh" "${VT_MONKEY_ACTIONS:-10000}" "${VT_MONKEY_SEED:-1}"
