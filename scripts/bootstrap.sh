#!/usr/bin/env bash
# Installs everything the build, the tests and the demo need, from Debian 12's packages.
# Idempotent: a second run only checks and returns.
set -euo pipefail

need_root() { if [ "$(id -u)" -ne 0 ]; then echo "sudo"; fi; }
SUDO=$(need_root)

PACKAGES=(
  cmake ninja-build g++ pkg-config
  googletest libgtest-dev zlib1g-dev libfreetype-dev libzstd-dev liblzma-dev lzma-dev zstd dpkg-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  libz-mingw-w64-dev
  wine wine64 fonts-wine
  xvfb xauth xdotool imagemagick fonts-wqy-microhei
  locales nsis
  osslsigncode openssl time e2fsprogs
  python3 python3-yaml
)

# The 32-bit Wine runs the i686 build's tests. It is installed apart: on hosts that cannot run
# 32-bit code it is of no use, and when the mirror's i386 and amd64 indexes disagree (mid-sync)
# it cannot be installed at all; the x86_64 build's suites run without it either way.
WINE32=wine32:i386
# Set once the 32-bit Wine could not be installed, so later runs do not try again.
WINE32_REFUSED="$(dirname "$0")/../build/.bootstrap-without-wine32"

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

missing=()
for p in "${PACKAGES[@]}"; do installed "$p" || missing+=("$p"); done
want_wine32=0
installed "$WINE32" || [ -e "$WINE32_REFUSED" ] || want_wine32=1

if [ ${#missing[@]} -gt 0 ] || [ $want_wine32 = 1 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  # A mirror in mid-sync fails one index now and then; try again, then install from what came.
  for attempt in 1 2 3; do
    $SUDO apt-get update -q && break
    echo "bootstrap: apt-get update failed (attempt $attempt of 3)" >&2
    [ "$attempt" -lt 3 ] && sleep 15
  done
  if [ ${#missing[@]} -gt 0 ]; then
    $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
  if [ $want_wine32 = 1 ] &&
     ! $SUDO apt-get install -y -q --no-install-recommends "$WINE32" >/dev/null 2>&1; then
    echo "bootstrap: $WINE32 could not be installed (apt-get refused it); i686 Windows programs" \
         "will not run here, the x86_64 build's suites still do" >&2
    mkdir -p "$(dirname "$WINE32_REFUSED")" && touch "$WINE32_REFUSED"
  fi
fi

# The posix thread model gives std::thread and friends to the Windows build.
for arch in i686 x86_64; do
  for tool in gcc g++; do
    alt="/usr/bin/$arch-w64-mingw32-$tool-posix"
    [ -x "$alt" ] || { echo "bootstrap: $alt missing" >&2; exit 1; }
  done
done

# The installer's zstd decoder is built by CMake from Debian's source package, unpacked into the
# build folder (never into the tree). The version is pinned so every machine builds the same one.
ZSTD_SOURCE_VERSION=1.5.4+dfsg2-5
zstd_dir="$(cd "$(dirname "$0")/.." && pwd)/build/deps/libzstd-$ZSTD_SOURCE_VERSION"
if [ ! -e "$zstd_dir/.unpacked" ]; then
  apt_src=/etc/apt/sources.list.d/setup-deb-src.sources
  if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ &&
     ! grep -qs '^deb-src' /etc/apt/sources.list; then
    # The source entry names the same archive as the machine's own binary entry.
    uri=$(grep -rhs '^URIs:' /etc/apt/sources.list.d/*.sources | head -n 1 | awk '{ print $2 }')
    [ -n "$uri" ] || uri=$(awk '$1 == "deb" { print $2; exit }' /etc/apt/sources.list 2>/dev/null)
    [ -n "$uri" ] || { echo "bootstrap: no Debian archive found in the apt sources" >&2; exit 1; }
    printf '%s\n' 'Types: deb-src' "URIs: $uri" \
      'Suites: bookworm bookworm-updates' 'Components: main' \
      'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' | $SUDO tee "$apt_src" >/dev/null
    $SUDO apt-get update -q >/dev/null 2>&1 || true
  fi
  rm -rf "$zstd_dir" && mkdir -p "$zstd_dir.fetch"
  if ! (cd "$zstd_dir.fetch" && apt-get source -q --download-only "libzstd=$ZSTD_SOURCE_VERSION" \
          >/dev/null 2>&1 && dpkg-source -x ./*.dsc "$zstd_dir" >/dev/null 2>&1); then
    echo "bootstrap: Debian's source package libzstd=$ZSTD_SOURCE_VERSION could not be fetched" \
         "(apt-get source needs a deb-src entry and the network)" >&2
    exit 1
  fi
  rm -rf "$zstd_dir.fetch" && touch "$zstd_dir/.unpacked"
fi
echo "bootstrap: all packages present"
