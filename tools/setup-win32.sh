#!/usr/bin/env bash
# Installs what running the i686 build needs on this x86_64 machine, whose
# kernel does not run 32-bit code: Wine's 32-bit loader (wine32:i386) and
# qemu-user from Debian's bookworm-backports suite to emulate it (Debian 12's
# own qemu-user treats Wine's fixed mappings as hints and Wine fails).
# Does nothing when all of it is already there. Called by setup.sh.
set -euo pipefail

qemu_min=1:10.0  # the backports version tried here; Debian 12's own 7.2 fails
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
qemu_ok() {
  have qemu-user &&
    dpkg --compare-versions "$(dpkg-query -W -f='${Version}' qemu-user)" ge "$qemu_min"
}
if have wine32:i386 && qemu_ok; then
  exit 0
fi

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
apt=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -q -o DPkg::Lock::Timeout=600)

# The archive address the machine already uses for bookworm itself, read
# from its apt sources (one-line and deb822 forms).
archive_uri() {
  local f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    sed -E 's/\[[^]]*\]//' "$f" | awk '$1 == "deb" && $3 == "bookworm" { print $2; exit }'
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    # One stanza per blank-line-separated paragraph: a deb stanza listing the
    # bookworm suite gives its first URI.
    awk 'BEGIN { RS = ""; FS = "\n" }
         { uri = ""; deb = 0; suite = 0
           for (n = 1; n <= NF; n++) {
             line = $n
             if (line ~ /^#/) continue
             if (line ~ /^Types:/ && line ~ /[ \t]deb([ \t]|$)/) deb = 1
             if (line ~ /^URIs:/) { split(line, w, /[ \t]+/); uri = w[2] }
             if (line ~ /^Suites:/ && line ~ /[ \t]bookworm([ \t]|$)/) suite = 1
           }
           if (deb && suite && uri != "") { print uri; exit } }' "$f"
  done
}

list=/etc/apt/sources.list.d/tarvelo-bookworm-backports.list
if ! grep -Eqs '^[^#]*bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; then
  uri=$(archive_uri | head -n 1)
  [ -n "$uri" ] || { echo "setup-win32: no bookworm archive in the apt sources" >&2; exit 1; }
  echo "setup-win32: adding bookworm-backports from $uri" >&2
  echo "deb $uri bookworm-backports main" | "${sudo[@]}" tee "$list" >/dev/null
fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "setup-win32: adding the i386 architecture" >&2
  "${sudo[@]}" dpkg --add-architecture i386
fi

echo "setup-win32: installing wine32:i386 and qemu-user from bookworm-backports" >&2
"${apt[@]}" update
# Only qemu-user comes from backports; everything else stays on bookworm.
"${apt[@]}" install -y --no-install-recommends wine32:i386 qemu-user/bookworm-backports
qemu_ok || { echo "setup-win32: qemu-user is older than $qemu_min" >&2; exit 1; }
