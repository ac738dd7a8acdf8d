#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test headless,
# saying why any test was skipped; checks that the project still builds
# inside a larger one; then runs the random UI test under the sanitizers for
# a bounded number of actions (scripts/monkey.sh runs it longer on demand).
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
"$root/scripts/install-deps.sh"
export VT_DEPS_INSTALLED=1
VT_WARNINGS_AS_ERRORS=ON "$root/scripts/build.sh"
status=0
(cd "$root/build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 120) || status=$?
"$root/scripts/skipped-tests.sh" "$root/build"
if [ "$status" -ne 0 ]; then
  exit "$status"
fi
"$root/scripts/check-subproject.sh"
"$root/scripts/monkey.sh" "${VT_MONKEY_ACTIONS:-10000}" "${VT_MONKEY_SEED:-1}"
