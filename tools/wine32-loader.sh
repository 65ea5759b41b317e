#!/usr/bin/env bash
# Makes a private Wine loader directory in which 32-bit programs run: this
# kernel cannot execute i386 code, so the 32-bit loader runs under qemu-i386.
#
# Wine takes its own directory from /proc/self/exe and starts a 32-bit
# program by running the file named "wine" there. Here that file is a script
# that runs the real 32-bit loader (a copy, so that /proc/self/exe points
# here too) under qemu, with argv[0] naming the script so that the 32-bit
# side starts further 32-bit programs the same way. The library and data
# folders are links, found at the same relative places as in /usr/lib/wine.
# Usage: wine32-loader.sh DIR     (the loaders land in DIR/lib/wine)
set -euo pipefail
dir=$1
bin=$dir/lib/wine
system=/usr/lib/wine
for f in "$system/wine" "$system/wine64" "$system/wineserver"; do
  [ -e "$f" ] || { echo "wine32-loader: $f is missing (run tools/setup.sh)" >&2; exit 1; }
done
qemu=$(command -v qemu-i386) || { echo "wine32-loader: qemu-i386 is missing (run tools/setup.sh)" >&2; exit 1; }

mkdir -p "$bin"
# Copies are refreshed when the system's loaders change (an upgrade).
for pair in wine:wine32-loader wine64:wine64; do
  from=$system/${pair%%:*}
  to=$bin/${pair#*:}
  if ! cmp -s "$from" "$to"; then
    cp "$from" "$to.tmp"
    chmod 755 "$to.tmp"
    mv -f "$to.tmp" "$to"
  fi
done
ln -sfn "$system/wineserver" "$bin/wineserver"
ln -sfn /usr/lib/i386-linux-gnu "$dir/lib/i386-linux-gnu"
ln -sfn /usr/lib/x86_64-linux-gnu "$dir/lib/x86_64-linux-gnu"
ln -sfn /usr/share "$dir/share"

script=$(cat <<EOF
#!/bin/sh
# Wine's 32-bit loader under emulation (made by tools/wine32-loader.sh).
# The loader cannot re-execute itself under qemu: WINELOADERNOEXEC stops it.
export WINELOADERNOEXEC=1
exec "$qemu" -0 "$bin/wine" "$bin/wine32-loader" "\$@"
EOF
)
if [ "$(cat "$bin/wine" 2>/dev/null)" != "$script" ]; then
  printf '%s\n' "$script" >"$bin/wine.tmp"
  chmod 755 "$bin/wine.tmp"
  mv -f "$bin/wine.tmp" "$bin/wine"
fi
