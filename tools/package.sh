#!/usr/bin/env bash
# Builds the release packages into dist/: for i686 (x86) and x86_64 (x64), a
# portable zip (Tarvelo.exe and ReadMe.txt) and a per-user Windows Installer
# package, named Tarvelo-VERSION-ARCH.zip/.msi after the version in
# CMakeLists.txt. The programs are Release builds, stripped.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash tools/setup.sh

jobs=$(nproc)
[ "$jobs" -gt 2 ] && jobs=2
for triplet in i686 x86_64; do
  dir=build/release-$triplet
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-$triplet.cmake \
    -DTARVELO_DIST_DIR="$root/dist" >/dev/null
  cmake --build "$dir" --target packages -j "$jobs"
  echo "$triplet Tarvelo.exe: $(stat -c %s "$dir/bin/Tarvelo.exe") bytes"
done
echo "packages in $root/dist:"
ls -l dist
