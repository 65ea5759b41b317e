#!/usr/bin/env bash
# Runs a command inside one Wine session: a virtual X display when none is
# set, the prefix booted, and one wineserver kept up for the whole command.
# Everything it started is stopped afterwards, whatever the command's outcome.
# Usage: wine-session.sh PREFIX COMMAND [ARGS...]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=wine-env.sh
source "$here/wine-env.sh" "$1"
shift

xvfb_pid=
display_file=
cleanup() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  "$WINESERVER" -w >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  [ -z "$display_file" ] || rm -f "$display_file"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ -z "${DISPLAY:-}" ]; then
  display_file=$(mktemp)
  # -displayfd picks a free display and writes its number once it is ready.
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { echo "wine-session: Xvfb did not start" >&2; exit 1; }
    sleep 0.1
  done
  [ -s "$display_file" ] || { echo "wine-session: Xvfb gave no display" >&2; exit 1; }
  export DISPLAY=":$(tr -d '[:space:]' <"$display_file")"
fi

wine_boot
"$WINESERVER" -p
export TARVELO_WINE_SESSION=$WINEPREFIX
status=0
"$@" || status=$?
exit "$status"
