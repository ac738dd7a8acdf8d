#!/usr/bin/env bash
# Configures and builds into build/: every target, or only the targets named.
#   scripts/build.sh [target...]
# Environment:
#   VT_BUILD_TESTS=OFF          configure without the tests (default ON)
#   VT_WARNINGS_AS_ERRORS=ON    fail on any compiler warning (default: as
#                               configured before, at first OFF)
#   VT_DEPS_INSTALLED=1         the installer has run already
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo "-DVT_BUILD_TESTS=${VT_BUILD_TESTS:-ON}")
if [ -n "${VT_WARNINGS_AS_ERRORS:-}" ]; then
  options+=("-DVT_WARNINGS_AS_ERRORS=$VT_WARNINGS_AS_ERRORS")
fi
cmake -S "$root" -B "$root/build" -G Ninja "${options[@]}" >/dev/null
targets=()
for target in "$@"; do
  targets+=(--target "$target")
done
cmake --build "$root/build" --parallel "$(nproc)" "${targets[@]}"
