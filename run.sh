#!/usr/bin/env bash
# Builds the program (only the program, no test, quietly) into build-run/,
# apart from the tests' build/, and starts it. It needs a display: an X11 or
# Wayland session. Where none is named it says so before building; where the
# one named does not answer the program itself says so in the same words and
# ends with its own status.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "无法打开显示器（未设置DISPLAY），请在桌面会话中启动本程序。" >&2
  exit 3
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
