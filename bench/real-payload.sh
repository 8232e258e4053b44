#!/usr/bin/env bash
# Stages the real-binary payload: the Windows DLLs of Debian's wine package for the architecture
# this host runs, in sorted name order, those of 20 KB to 6 MB, until the next would pass 95 MB.
# Deterministic for one wine package version.
#   bench/real-payload.sh OUT   (writes OUT/payload/ and OUT/payload.order)
set -euo pipefail
out=$1
source "$(dirname "$0")/../scripts/wine-host.sh"
if [ "$(wine_host_preset)" = windows ]; then dir=i386-windows; else dir=x86_64-windows; fi
src=/usr/lib/$(uname -m)-linux-gnu/wine/$dir
[ -d "$src" ] || src=/usr/lib/i386-linux-gnu/wine/$dir
[ -d "$src" ] || { echo "real-payload: no Windows DLLs of wine under $src" >&2; exit 1; }
rm -rf "$out" && mkdir -p "$out/payload"
total=0
: >"$out/payload.order"
while IFS= read -r name; do
    size=$(stat -c %s "$src/$name")
    [ "$size" -ge 20000 ] && [ "$size" -le 6000000 ] || continue
    [ $((total + size)) -le 95000000 ] || break
    total=$((total + size))
    cp "$src/$name" "$out/payload/"
    echo "$name" >>"$out/payload.order"
done < <(cd "$src" && ls -- *.dll | LC_ALL=C sort)
echo "real payload: $(grep -c . "$out/payload.order") DLLs, $total bytes from $src"
