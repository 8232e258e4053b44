#!/usr/bin/env bash
# Regenerates docs/skin/: the whole atlas, one PNG per piece and the 256-px program icon,
# from a built skingen.
# Usage: tools/skingen/make-docs.sh [path/to/skingen]
#   (default: $SKINGEN, else build/tools/skingen/skingen under the repository)
# Needs ImageMagick's convert on PATH.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
skingen=${1:-${SKINGEN:-$root/build/tools/skingen/skingen}}
[ -x "$skingen" ] || { echo "make-docs: no skingen at $skingen; build it or pass its path" >&2; exit 1; }
command -v convert >/dev/null || { echo "make-docs: ImageMagick convert not found" >&2; exit 1; }

out=$root/docs/skin
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

"$skingen" --out "$tmp/atlas.bmp" --icon "$tmp/icon.ico"
# No timestamps or other metadata, so unchanged art gives unchanged files.
png() {  # png OUTPUT [convert operations...]
    local dst=$1
    shift
    convert "$tmp/atlas.bmp" "$@" -strip -define png:exclude-chunks=date,time "$dst"
}

png "$out/atlas.png"
# The icon's last entry is its 256-px picture; it keeps its transparency.
convert "$tmp/icon.ico[3]" -strip -define png:exclude-chunks=date,time "$out/icon-256.png"
"$skingen" --pieces | while read -r key x y w h; do
    png "$out/$key.png" -crop "${w}x${h}+${x}+${y}" +repage
done
echo "make-docs: wrote $(ls "$out" | wc -l) files to $out"
