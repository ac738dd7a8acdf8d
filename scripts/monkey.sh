#!/usr/bin/env bash
# The random UI test under the address and undefined-behaviour sanitizers
# (VT_SANITIZE): builds the monkey and what it needs into build-asan/, then
# drives every window of the program with random user actions.
#   scripts/monkey.sh [actions] [seed]
# actions: how many (default 20000); seed: the run to make (default: a new
# one, printed). A fault prints the actions before it and the command that
# replays it. VT_WARNINGS_AS_ERRORS=ON fails its build on any warning.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
actions="${1:-20000}"
seed="${2:-$(( $(date +%s%N) % 1000000007 ))}"
build="$root/build-asan"

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVT_BUILD_TESTS=ON \
  -DVT_SANITIZE=ON "-DVT_WARNINGS_AS_ERRORS=${VT_WARNINGS_AS_ERRORS:-OFF}" >/dev/null
log="$build/monkey-build.log"
if ! cmake --build "$build" --parallel "$(nproc)" --target vt_monkey >"$log" 2>&1; then
  cat "$log" >&2
  exit 1
fi

# Leak checking is off: the windowing libraries keep caches for the whole
# process; every other report ends the run.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=0:halt_on_error=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
export QT_QPA_PLATFORM=offscreen
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR="$build/runtime"
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
fi
exec "$build/tests/monkey/monkey" "$actions" "$seed"
