#!/usr/bin/env bash
# Builds the native benchmarks in Release and runs them (by hand, not in CI).
# Extra arguments go to Google Benchmark, e.g. --benchmark_repetitions=10.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash tools/setup.sh
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench --target datetime_bench -j "$(nproc)"
build/bench/bench/datetime_bench "$@"
