#!/usr/bin/env bash
# The unattended race: each payload installed without a window by this installer with each codec
# (/VERYSILENT /D=...; CODECS in bench/codecs.sh) and by the NSIS installers of the same files
# that then write the same records and links and start the same programs (zlib and /SOLID lzma,
# /S /D=...; bench/nsis-peer.sh), all built for the architecture this host runs by bench/pack.sh,
# in turn, RUNS times each (default 5), into a fresh folder each time. Payloads: the synthetic
# full-size one (261 files, 95.5 MB), and with --real also the real binaries, side by side.
# Prints the median and min wall time of the whole process (Wine's start included, the same for
# all), and the peak resident memory of the installer's own process (its VmHWM, read from /proc
# in one more run of each while it runs), with the ratios to both NSIS peers.
#   bench/silent.sh [--real] [RUNS]
# bench/pack.sh [--real] makes the installers first when they are missing.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bench=$root/build/bench
real=0
[ "${1:-}" = --real ] && { real=1; shift; }
runs=${1:-5}
source bench/codecs.sh
results=$bench/silent-results.txt
payloads=$(bench_payloads "$real")
target=$(bench_peer_target)

pack_args=()
[ "$real" = 1 ] && pack_args=(--real)
# The installers by name ("ours-zstd", "nsis-lzma") for a payload.
names() { for c in $CODECS; do echo "ours-$c"; done; for p in $PEERS; do echo "nsis-$p"; done; }
installer_of() {  # payload name
    case $2 in ours-*) bench_installer "$1" "${2#ours-}" ;; nsis-*) bench_peer "$1" "${2#nsis-}" "$target" ;; esac
}
for payload in $payloads; do
    for name in $(names); do
        [ -f "$(installer_of "$payload" "$name")" ] || { bench/pack.sh "${pack_args[@]}"; break 2; }
    done
done

source scripts/wine-env.sh "$bench/windows"
wine_session_ensure
drive_c=$WINEPREFIX/drive_c
run_line() {  # name folder -> the installer's switches
    case $1 in ours-*) echo "/VERYSILENT /D=C:\\$2" ;; *) echo "/S /D=C:\\$2" ;; esac
}

# The installer's own Linux process: the one whose command line names it, the largest if Wine's
# launcher matches too. Its VmHWM only grows, so the last reading before it ends is its peak.
peak_kb_of() {  # exe-name launcher-pid
    local pid="" best=0 hwm k v _
    while kill -0 "$2" 2>/dev/null; do
        [ -n "$pid" ] && [ -r "/proc/$pid/status" ] || pid=$(pgrep -f -- "$1" | while read -r p; do
            awk -v p="$p" '$1 == "VmRSS:" { print $2, p }' "/proc/$p/status" 2>/dev/null; done |
            sort -n | tail -n 1 | cut -d' ' -f2)
        if [ -n "$pid" ]; then
            while read -r k v _; do [ "$k" = VmHWM: ] && [ "$v" -gt "$best" ] && best=$v; done \
                <"/proc/$pid/status" 2>/dev/null || true
        fi
        sleep 0.01
    done
    echo "$best"
}

# One run into a fresh folder: the whole process's wall time, or with "peak" its peak memory.
measure() {  # payload name what
    local exe folder=silent-$2 files
    exe=$(installer_of "$1" "$2")
    rm -rf "${drive_c:?}/$folder"
    # shellcheck disable=SC2046
    if [ "$3" = peak ]; then
        env LC_ALL=zh_CN.UTF-8 "$SETUP_WINE" "$exe" $(run_line "$2" "$folder") </dev/null >/dev/null 2>&1 &
        bench_record "$1" "$2" peak_mib "$(peak_kb_of "$(basename "$exe")" $! | awk '{ printf "%.1f", $1 / 1024 }')"
        wait $! || true
    else
        /usr/bin/time -f "%e" -o "$bench/time.txt" env LC_ALL=zh_CN.UTF-8 "$SETUP_WINE" "$exe" \
            $(run_line "$2" "$folder") </dev/null >/dev/null 2>&1 || true
        echo "$1 $2 $(cat "$bench/time.txt")" >>"$bench/silent-runs.txt"
    fi
    # The demo's stand-in programs, started after copying, write their log beside themselves.
    files=$(find "$drive_c/$folder" -type f ! -name started.log | wc -l)
    [ "$files" -eq "$(grep -c . "$(bench_payload_dir "$1")/payload.order")" ] ||
        { echo "$2 installed $files files of the $1 payload" >&2; exit 1; }
}

rm -f "$bench/silent-runs.txt" "$results"
for payload in $payloads; do
    echo "unattended installs of the $payload payload, $runs runs each ..."
    # One run each first, so none pays for reading Wine's libraries from disk: it measures the
    # peak memory, the only run with a reader beside it.
    for name in $(names); do measure "$payload" "$name" peak; done
    for _ in $(seq "$runs"); do
        for name in $(names); do measure "$payload" "$name" wall; done
    done
done
for name in scktsrvr.exe RuDavovo.exe; do wine_cmd "$bench/windows/tests/e2e/e2e_probe.exe" kill "$name" >/dev/null 2>&1 || true; done
wine_session_stop

stat() {  # payload name -> "min median"
    awk -v p="$1" -v n="$2" '$1 == p && $2 == n { print $3 }' "$bench/silent-runs.txt" | sort -g |
        awk '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
                                  printf "%s %s", v[1], m }'
}
for payload in $payloads; do
    for name in $(names); do
        read -r min median <<<"$(stat "$payload" "$name")"
        bench_record "$payload" "$name" wall_median "$median"
        bench_record "$payload" "$name" wall_min "$min"
    done
done
echo
for payload in $payloads; do echo "$payload: $(bench_payload_title "$payload")"; done
echo "unattended install, $runs runs each, $target under Wine"
bench_table wall_median "wall, median (s)" "%10.2f" $payloads
bench_table wall_min "wall, min (s)" "%10.2f" $payloads
bench_table peak_mib "peak resident (MiB)" "%10.1f" $payloads
echo "goals: real payload wall <= 0.75 x NSIS zlib (moonshot 0.5), peak <= NSIS /SOLID lzma's;"
echo "       synthetic: no worse than today's (zlib)"
