#!/usr/bin/env bash
# Runs one Windows program under Wine 64-bit: CTest's emulator for the
# Windows build. Inside a wine-session.sh it reuses that session; alone it
# opens a session just for this program.
# Usage: wine-exec.sh --prefix PREFIX PROGRAM.exe [ARGS...]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
[ "${1:-}" = --prefix ] || { echo "usage: $0 --prefix PREFIX PROGRAM [ARGS...]" >&2; exit 2; }
prefix=$2
shift 2
if [ "${TARVELO_WINE_SESSION:-}" != "$prefix" ] || [ -z "${DISPLAY:-}" ]; then
  exec "$here/wine-session.sh" "$prefix" "$0" --prefix "$prefix" "$@"
fi
# shellcheck source=wine-env.sh
source "$here/wine-env.sh" "$prefix"
# Wine's helper processes (services, explorer) inherit the program's output
# and outlive it; written to a file, they cannot keep CTest's pipe open.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
status=0
env LC_ALL=$TARVELO_WINE_LOCALE "$WINE" "$@" </dev/null >"$out" 2>&1 || status=$?
tr -d '\r' <"$out"
exit "$status"
