#!/usr/bin/env bash
# Builds the NSIS peer of the full-size installer: the same files in the same order (one
# SetOutPath per folder), zlib like ours (not solid), a licence page, a directory page and the
# copying page, for the given target (x86-unicode or amd64-unicode).
#   bench/nsis-peer.sh TARGET OUT.exe
# Prints the seconds makensis took. bench/pack.sh makes the payload under build/bench/big first.
set -euo pipefail
cd "$(dirname "$0")/.."
bench=$PWD/build/bench
target=$1
out=$2
nsi=${out%.exe}.nsi
{
    echo "Target $target"
    echo 'Unicode true'
    echo 'Name "TessikOne"'
    echo "OutFile \"$out\""
    echo 'InstallDir "C:\nsis-bench"'
    echo 'RequestExecutionLevel user'
    echo 'SetCompressor zlib'
    echo "LicenseData \"$PWD/demo/licence.txt\""
    echo 'Page license'
    echo 'Page directory'
    echo 'Page instfiles'
    echo 'Section'
    last=""
    while IFS= read -r rel; do
        rel=${rel%$'\r'}
        [ -n "$rel" ] || continue
        dir=$(dirname "${rel//\\//}")
        if [ "$dir" != "$last" ]; then
            [ "$dir" = . ] && echo 'SetOutPath "$INSTDIR"' || echo "SetOutPath \"\$INSTDIR\\${dir//\//\\}\""
            last=$dir
        fi
        echo "File \"$bench/big/payload/${rel//\\//}\""
    done <"$bench/big/payload.order"
    echo 'SectionEnd'
} >"$nsi"
start=$(date +%s.%N)
makensis -V1 "$nsi" >"$nsi.log" 2>&1 || { cat "$nsi.log" >&2; exit 1; }
awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f\n", b - a }'
