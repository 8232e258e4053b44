#!/usr/bin/env bash
# Installs everything the build, the tests and the demo need, from Debian 12's packages.
# Idempotent: a second run only checks and returns.
set -euo pipefail

need_root() { if [ "$(id -u)" -ne 0 ]; then echo "sudo"; fi; }
SUDO=$(need_root)

PACKAGES=(
  cmake ninja-build g++ pkg-config
  googletest libgtest-dev zlib1g-dev libfreetype-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  libz-mingw-w64-dev
  wine wine32:i386 wine64 fonts-wine
  xvfb xauth xdotool imagemagick fonts-wqy-microhei
  locales nsis
  osslsigncode openssl time e2fsprogs
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The posix thread model gives std::thread and friends to the Windows build.
for arch in i686 x86_64; do
  for tool in gcc g++; do
    alt="/usr/bin/$arch-w64-mingw32-$tool-posix"
    [ -x "$alt" ] || { echo "bootstrap: $alt missing" >&2; exit 1; }
  done
done
echo "bootstrap: all packages present"
