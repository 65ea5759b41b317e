#!/usr/bin/env bash
# Sets up this machine, builds every target and runs every test:
#   native core tests under ASan/UBSan, a short fuzz run, and the Windows
#   i686 and x86_64 builds' tests under Wine (i686: a chosen subset, emulated),
#   with a check of each build's installer package and, for x86_64, its
#   install, upgrade, modify and uninstall.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash tools/setup.sh

jobs=$(nproc)
configure() {  # configure BUILD_DIR [CMAKE ARGS...]
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
}

echo "== native core (g++, ASan + UBSan)"
configure build/native -DTARVELO_SANITIZE=ON
cmake --build build/native -j "$jobs"
ctest --test-dir build/native --output-on-failure -j "$jobs"

echo "== fuzz (clang, libFuzzer)"
configure build/fuzz -DTARVELO_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
cmake --build build/fuzz -j "$jobs"
ctest --test-dir build/fuzz --output-on-failure

echo "== Windows i686 under Wine, its 32-bit loader emulated by qemu-i386"
configure build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
cmake --build build/win32 -j "$jobs"
tools/wine32-session.sh "$root/build/win32/wine" ctest --test-dir build/win32 --output-on-failure -j 2

echo "== Windows x86_64 under Wine"
configure build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
cmake --build build/win64 -j "$jobs"
tools/wine-session.sh "$root/build/win64/wine" ctest --test-dir build/win64 --output-on-failure -j 2
