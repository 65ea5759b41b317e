#!/usr/bin/env bash
# Installs, from Debian's packages only, everything the build, the tests and
# the program need. Does nothing when all of it is already there.
set -euo pipefail

# Running the i686 build: Wine's 32-bit loader under qemu-user emulation.
bash "$(dirname "${BASH_SOURCE[0]}")/setup-win32.sh"

packages=(
  build-essential cmake ninja-build
  googletest libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64
  wine64 xvfb xauth fonts-wqy-microhei x11-apps imagemagick
  fonts-wine wixl msitools locales
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}" >&2
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine runs with LC_ALL=zh_CN.UTF-8; unless that locale exists, it cannot
# map non-ASCII Windows file names (such as a folder named 乗) to Unix ones.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
  echo "setup: generating the zh_CN.UTF-8 locale" >&2
  "${sudo[@]}" sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  "${sudo[@]}" locale-gen >/dev/null
fi
