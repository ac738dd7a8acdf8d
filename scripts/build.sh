#!/usr/bin/env bash
# Configures and builds into build/ (or the folder VT_BUILD_DIR names):
# every target, or only the targets named.
#   scripts/build.sh [target...]
# Environment:
#   VT_BUILD_DIR=<folder>       the build folder (default build/ in the
#                               checkout); run.sh uses build-run/
#   VT_BUILD_TESTS=OFF          configure without the tests (default ON)
#   VT_WARNINGS_AS_ERRORS=ON    fail on any compiler warning (default: as
#                               configured before, at first OFF)
#   VT_DEPS_INSTALLED=1         the installer has run already
# Packages are installed only when dpkg reports one missing.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
export VT_DEPS_INSTALLED=1
build="${VT_BUILD_DIR:-$root/build}"
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo "-DVT_BUILD_TESTS=${VT_BUILD_TESTS:-ON}")
if [ -n "${VT_WARNINGS_AS_ERRORS:-}" ]; then
  options+=("-DVT_WARNINGS_AS_ERRORS=$VT_WARNINGS_AS_ERRORS")
fi
cmake -S "$root" -B "$build" -G Ninja "${options[@]}" >/dev/null
targets=()
for target in "$@"; do
  targets+=(--target "$target")
done
cmake --build "$build" --parallel "$(nproc)" "${targets[@]}"
