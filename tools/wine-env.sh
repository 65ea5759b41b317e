# Sourced by the Wine scripts: the environment of one Wine prefix.
# Usage: source wine-env.sh PREFIX
export WINEPREFIX=$1
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko: the prefix boots without asking to download them.
export WINEDLLOVERRIDES="mscoree,mshtml="
# A new prefix links Documents and Desktop to $HOME: give it a home of its own
# so that nothing here ever touches the user's files.
export HOME=$WINEPREFIX.home
# TARVELO_WINE_LOADER: a private loader directory (wine32-session.sh) instead.
WINE=${TARVELO_WINE_LOADER:-/usr/lib/wine}/wine64
WINESERVER=/usr/lib/wine/wineserver
# GetACP() follows the locale variables: zh_CN gives code page 936 (GBK).
# Set only for Wine itself; the locale need not be installed.
TARVELO_WINE_LOCALE=zh_CN.UTF-8

wine_run() { env LC_ALL=$TARVELO_WINE_LOCALE "$WINE" "$@"; }

# Creates the prefix on first use; safe when several callers race.
wine_boot() {
  mkdir -p "$HOME" "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.tarvelo-booted" ]; then
      echo "wine: creating prefix $WINEPREFIX (first use takes a few seconds)" >&2
      wine_run wineboot -i >/dev/null 2>&1
      "$WINESERVER" -w
      touch "$WINEPREFIX/.tarvelo-booted"
    fi
    if [ ! -f "$WINEPREFIX/.tarvelo-no-crash-dialog" ]; then
      # A program that crashes ends at once, its backtrace in its output,
      # instead of waiting for someone to close Wine's crash dialog.
      wine_run reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
      "$WINESERVER" -w
      touch "$WINEPREFIX/.tarvelo-no-crash-dialog"
    fi
  ) 9>"$WINEPREFIX.lock"
}
