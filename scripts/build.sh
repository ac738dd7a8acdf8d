#!/usr/bin/env bash
# Configures and builds into build/: every target, or only the targets named.
#   scripts/build.sh [target...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=()
for target in "$@"; do
  targets+=(--target "$target")
done
cmake --build "$root/build" --parallel "$(nproc)" "${targets[@]}"
