#!/usr/bin/env bash
# Builds the benchmarks in Release into build-bench/ and runs them headless.
# Extra arguments go to the benchmark program, e.g.
#   scripts/bench.sh --benchmark_filter=ImportAndCalculate
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build-bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVT_BUILD_TESTS=OFF >/dev/null
cmake --build "$root/build-bench" --target vt_network_bench --parallel "${JOBS:-$(nproc)}"
QT_QPA_PLATFORM=offscreen "$root/build-bench/bench/network_bench" --benchmark_counters_tabular=true "$@"
