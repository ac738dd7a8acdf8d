#!/usr/bin/env bash
# Builds the program (only the program, quietly) and starts it. It needs a
# display: an X11 or Wayland session.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "run.sh: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); start it in a desktop session." >&2
  exit 1
fi
"$root/scripts/install-deps.sh"
mkdir -p "$root/build"
log="$root/build/run-build.log"
if ! "$root/scripts/build.sh" vantor-tools >"$log" 2>&1; then
  cat "$log" >&2
  exit 1
fi
exec "$root/build/src/vantor-tools" "$@"
