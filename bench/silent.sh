#!/usr/bin/env bash
# The unattended race: the full-size payload (261 files, 95.5 MB) installed without a window by
# this installer (/VERYSILENT /D=...) and by an NSIS installer of the same files that then writes
# the same records and links and starts the same programs (zlib, /S /D=...; bench/nsis-peer.sh),
# both built for the architecture this host runs, alternating, RUNS times each (default 5), into
# a fresh folder each time. Prints the wall time of the whole process and its peak resident
# memory (as /usr/bin/time measures them: Wine's start included, the same for both), min and
# median, and the ratios of the medians.
#   bench/silent.sh [RUNS]
# bench/pack.sh makes the full-size installer first when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bench=$root/build/bench
runs=${1:-5}
quiet() { "$@" >"$bench/silent.log" 2>&1 || { cat "$bench/silent.log" >&2; exit 1; }; }

exe=$bench/windows/src/app/TessikSetup.exe
[ -f "$exe" ] || bench/pack.sh
source scripts/wine-env.sh "$bench/windows"
wine_check_program "$exe"
wine_session_ensure
if [ "$(_pe_machine "$exe")" = x86_64 ]; then target=amd64-unicode; else target=x86-unicode; fi

# The peer: the same files in the same order, zlib like ours, one SetOutPath per folder.
peer=$bench/peer-setup-$target.exe
if [ ! -f "$peer" ] || [ "$bench/big/payload.order" -nt "$peer" ]; then
    echo "building the NSIS peer ($target) ..."
    bench/nsis-peer.sh "$target" "$peer"
fi

drive_c=$WINEPREFIX/drive_c
# Each run: a fresh folder, then the installer, timed as a whole process.
measure() {  # name exe args...
    local name=$1 folder=$2
    shift 2
    rm -rf "$drive_c/$folder"
    /usr/bin/time -f "%e %M" -o "$bench/time.txt" env LC_ALL=zh_CN.UTF-8 "$SETUP_WINE" "$@" \
        </dev/null >/dev/null 2>&1 || true
    read -r wall kb <"$bench/time.txt"
    echo "$name $wall $kb" >>"$bench/silent-runs.txt"
    [ "$(find "$drive_c/$folder" -type f | wc -l)" -eq 261 ] ||
        { echo "$name installed $(find "$drive_c/$folder" -type f | wc -l) of 261 files" >&2; exit 1; }
}

rm -f "$bench/silent-runs.txt"
# One run each first, so neither side pays for reading Wine's libraries from disk.
measure warm-ours silent-ours "$exe" /VERYSILENT '/D=C:\silent-ours'
measure warm-peer silent-peer "$peer" /S '/D=C:\silent-peer'
for _ in $(seq "$runs"); do
    measure ours silent-ours "$exe" /VERYSILENT '/D=C:\silent-ours'
    measure peer silent-peer "$peer" /S '/D=C:\silent-peer'
done
for name in scktsrvr.exe RuDavovo.exe; do wine_cmd "$bench/windows/tests/e2e/e2e_probe.exe" kill "$name" >/dev/null 2>&1 || true; done
wine_session_stop

stat() {  # name column -> "min median"
    awk -v n="$1" -v c="$2" '$1 == n { print $c }' "$bench/silent-runs.txt" | sort -g |
        awk '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
                                  printf "%s %s", v[1], m }'
}
read -r ours_min ours_med <<<"$(stat ours 2)"
read -r peer_min peer_med <<<"$(stat peer 2)"
read -r ours_kb_min ours_kb_med <<<"$(stat ours 3)"
read -r peer_kb_min peer_kb_med <<<"$(stat peer 3)"
echo
echo "unattended install of the full-size payload, $runs runs each, $(_pe_machine "$exe") under Wine:"
printf '%-28s %10s %10s %14s %14s\n' "" "wall min" "median" "peak RSS min" "median"
printf '%-28s %9.2fs %9.2fs %11.1f MiB %10.1f MiB\n' "TessikSetup /VERYSILENT" "$ours_min" "$ours_med" \
    "$(awk -v k="$ours_kb_min" 'BEGIN{print k/1024}')" "$(awk -v k="$ours_kb_med" 'BEGIN{print k/1024}')"
printf '%-28s %9.2fs %9.2fs %11.1f MiB %10.1f MiB\n' "NSIS zlib /S" "$peer_min" "$peer_med" \
    "$(awk -v k="$peer_kb_min" 'BEGIN{print k/1024}')" "$(awk -v k="$peer_kb_med" 'BEGIN{print k/1024}')"
awk -v a="$ours_med" -v b="$peer_med" -v ka="$ours_kb_med" -v kb="$peer_kb_med" 'BEGIN {
    printf "ratio of medians: wall %.2f (goal <= 0.75), peak memory %+.1f MiB (goal <= +8 MiB)\n",
           a / b, (ka - kb) / 1024 }'
