#!/usr/bin/env bash
# Runs one i686 Windows program under Wine with the 32-bit loader emulated:
# CTest's emulator for the i686 build. Inside a wine32-session.sh it reuses
# that session; alone it opens a session just for this program.
# Usage: wine32-exec.sh --prefix PREFIX PROGRAM.exe [ARGS...]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
[ "${1:-}" = --prefix ] || { echo "usage: $0 --prefix PREFIX PROGRAM [ARGS...]" >&2; exit 2; }
prefix=$2
if [ "${TARVELO_WINE_SESSION:-}" != "$prefix" ] || [ -z "${DISPLAY:-}" ] ||
   [ "${TARVELO_WINE_LOADER:-}" != "$prefix.loader/lib/wine" ]; then
  exec "$here/wine32-session.sh" "$prefix" "$here/wine-exec.sh" "$@"
fi
exec "$here/wine-exec.sh" "$@"
