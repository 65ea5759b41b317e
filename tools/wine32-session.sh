#!/usr/bin/env bash
# Runs a command inside one Wine session in which 32-bit (i686) programs run,
# under qemu-i386, through a private loader directory beside the prefix.
# Otherwise the same as wine-session.sh: the prefix is a 64-bit one with its
# 32-bit part, as on 64-bit Windows.
# Usage: wine32-session.sh PREFIX COMMAND [ARGS...]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
prefix=$1
loader=$prefix.loader
"$here/wine32-loader.sh" "$loader"
export TARVELO_WINE_LOADER=$loader/lib/wine
exec "$here/wine-session.sh" "$@"
