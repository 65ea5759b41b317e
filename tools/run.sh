#!/usr/bin/env bash
# Sets up this machine, builds Tarvelo.exe and starts it under Wine.
# With a display set, the window stays until you close it. Without one, it
# runs on a virtual display for a few seconds and leaves a screenshot.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash tools/setup.sh
cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake >/dev/null
cmake --build build/win64 --target Tarvelo -j "$(nproc)"
exe=$root/build/win64/bin/Tarvelo.exe
prefix=$root/build/win64/wine-run
shot=$root/build/screenshot.png

# Windows that no window manager frames get their caption buttons drawn by
# Wine with its Marlett font (package fonts-wine), which Debian's Wine 8 does
# not look for where that package puts it: without it, the buttons are the
# letters "0 1 r". Booting the prefix first gives it its Fonts folder.
if [ ! -f "$prefix/drive_c/windows/Fonts/marlett.ttf" ]; then
  tools/wine-session.sh "$prefix" true
  cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/"
fi

if [ -n "${DISPLAY:-}" ]; then
  exec tools/wine-session.sh "$prefix" bash -c 'source "$1/tools/wine-env.sh" "$2"; wine_run "$3"' _ "$root" "$prefix" "$exe"
fi

# No display: Wine's virtual desktop draws the window frame, Xvfb holds it.
tools/wine-session.sh "$prefix" bash -c '
  source "$1/tools/wine-env.sh" "$2"
  wine_run explorer "/desktop=Tarvelo,1024x700" "$3" &
  sleep "${TARVELO_RUN_SECONDS:-6}"
  xwd -root -silent | convert xwd:- "$4"
' _ "$root" "$prefix" "$exe" "$shot"
echo "Tarvelo ran on a virtual display; screenshot: $shot"
