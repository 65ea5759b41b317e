#!/usr/bin/env bash
# Builds and runs the benchmarks (by hand, never in CI):
#   tools/bench.sh          native: time text, scheduler tick and task file text (Release)
#   tools/bench.sh --wine   Windows x86_64 under Wine: startup time and tick cost on the real list view
# Other arguments go to Google Benchmark, e.g. --benchmark_repetitions=9.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash tools/setup.sh
if [ "${1:-}" = --wine ]; then
  cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake >/dev/null
  cmake --build build/win64 --target Tarvelo launch_probe startup_bench tick_cost_bench task_file_bench_win launch_lateness_bench -j "$(nproc)"
  tools/wine-session.sh "$root/build/win64/wine" bash -c '
    source tools/wine-env.sh "$1"
    wine_run build/win64/bin/startup_bench.exe 9
    wine_run build/win64/bin/tick_cost_bench.exe
    wine_run build/win64/bin/task_file_bench_win.exe
    wine_run build/win64/bin/launch_lateness_bench.exe 100' _ "$root/build/win64/wine"
  exit 0
fi
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench --target datetime_bench tick_bench task_file_bench -j "$(nproc)"
for bench in datetime_bench tick_bench task_file_bench; do
  build/bench/bench/$bench "$@"
done
