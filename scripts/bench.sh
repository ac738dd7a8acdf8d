#!/usr/bin/env bash
# Builds the benchmarks in Release into build-bench/ and runs them headless:
# network_bench (the storm sewer network design through its windows) and
# save_bench (the peak memory of the saves of a large file and of the start
# that settles the journal of one killed part-way; it writes files of up to
# 100 MB to the temporary folder).
# A first argument "network" or "save" runs only that program; the other
# arguments go to each program run, e.g.
#   scripts/bench.sh save
#   scripts/bench.sh network --benchmark_filter=ImportAndCalculate
#   scripts/bench.sh --benchmark_format=json
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
programs=(network save)
case "${1:-}" in
  network | save)
    programs=("$1")
    shift
    ;;
esac
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build-bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVT_BUILD_TESTS=OFF >/dev/null
targets=()
for program in "${programs[@]}"; do
  targets+=("vt_${program}_bench")
done
cmake --build "$root/build-bench" --target "${targets[@]}" --parallel "${JOBS:-$(nproc)}"
for program in "${programs[@]}"; do
  QT_QPA_PLATFORM=offscreen "$root/build-bench/bench/${program}_bench" --benchmark_counters_tabular=true "$@"
done
