#!/usr/bin/env bash
# Builds the program (only the program, no test, quietly) into build-run/,
# apart from the tests' build/, and starts it. It needs a display: an X11 or
# Wayland session.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "run.sh: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); start it in a desktop session." >&2
  exit 1
fi
"$root/scripts/install-deps.sh"
export VT_DEPS_INSTALLED=1
build="$root/build-run"
program="$build/src/vantor-tools"
mkdir -p "$build"
log="$build/run-build.log"
# Only the first build takes long enough to need saying.
if [ ! -x "$program" ]; then
  echo "正在构建程序（首次需要几分钟），日志见 build-run/run-build.log …"
fi
if ! VT_BUILD_DIR="$build" VT_BUILD_TESTS=OFF "$root/scripts/build.sh" vt_vantor_tools \
    >"$log" 2>&1; then
  cat "$log" >&2
  exit 1
fi
exec "$program" "$@"
