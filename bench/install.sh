#!/usr/bin/env bash
# Installation benchmark under Wine: the full-size payload (261 files, 95.5 MB) installed by this
# installer, driven through its pages with xdotool, and by a peer installer that Debian's NSIS
# builds from the same files (zlib, silent mode), side by side in one run. Prints:
#   - this installer: the run from the first to the last timer tick, against the floor of its
#     design (one tick per entry, 10 ms apart, plus the time to inflate and write the payload),
#     the longest tick, and the peak working set against the largest entry;
#   - the peer: makensis time, installer size, and the wall time of its silent installation.
# Everything goes under build/bench/; bench/pack.sh makes the payload and the installers first.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bench=$root/build/bench
cores=$(nproc)
out=$bench/out-$cores

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }
mb() { awk -v n="$1" 'BEGIN { printf "%.1f", n / 1e6 }'; }
quiet() { "$@" >"$bench/install.log" 2>&1 || { cat "$bench/install.log" >&2; exit 1; }; }

exe=$bench/windows/src/app/TessikSetupBench.exe
[ -f "$exe" ] || bench/pack.sh

source scripts/wine-env.sh "$bench/windows"
wine_check_program "$exe"
wine_session_ensure
run_wine() { wine_cmd "$@" </dev/null 2>/dev/null; }
# The peer is built for the architecture of ours: both run side by side on the same loader.
if [ "$(_pe_machine "$exe")" = x86_64 ]; then nsis_target=amd64-unicode; else nsis_target=x86-unicode; fi

# A clean machine: the default directory D:\Tessik软件\TessikOne软件商贸版 on a drive of its own.
d_drive=$bench/d-drive
rm -rf "$d_drive" "$WINEPREFIX/drive_c/nsis-bench"
mkdir -p "$d_drive"
ln -sfn "$d_drive" "$WINEPREFIX/dosdevices/d:"
run_wine reg delete 'HKLM\Software\QRVK2017' /reg:32 /f >/dev/null || true
# reg prints its errors on standard output too: only its exit code tells.
installed() { run_wine reg query 'HKLM\Software\QRVK2017' /v SETUPPATH /reg:32 >/dev/null; }

stats=$bench/install-stats.txt
rm -f "$stats"
echo "installing the full payload with this installer ..."
run_wine "$exe" "$(wine_path "$stats")" >/dev/null &
pid=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^TessikOne软件$' | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$window")"
click() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 0.6; }
sleep 1
click 23 376   # agree
click 364 378  # accept
click 358 378  # next: the run starts
for _ in $(seq 600); do installed && break; sleep 0.5; done
installed || { echo "the installation did not finish" >&2; exit 1; }
sleep 1
click 43 141   # no start of the (generated, not runnable) program
click 43 181   # no favourites link
click 448 378  # finish
timeout 30 tail --pid="$pid" -f /dev/null || { echo "the installer did not close" >&2; exit 1; }

read_stat() { awk -v k="$1" '$1 == k { print $2 }' "$stats"; }
ticks=$(read_stat ticks)
work=$(read_stat work_ms)
longest=$(read_stat longest_ms)
run=$(read_stat run_ms)
peak=$(read_stat peak_working_set)
before_run=$(read_stat working_set_before_run)
largest=$(find "$bench/big/payload" -type f -printf '%s\n' | sort -n | tail -1)
payload_bytes=$(find "$bench/big/payload" -type f -printf '%s\n' | awk '{ s += $1 } END { print s }')
copied=$(find "$d_drive" -type f | wc -l)
floor=$(awk -v t="$ticks" -v w="$work" 'BEGIN { printf "%.0f", t * 10 + w }')
exe_bytes=$(stat -c %s "$exe")

# The peer: the same files in an NSIS installer, zlib like ours, installed silently.
echo "building and running the NSIS peer ..."
nsi=$bench/peer.nsi
{
    echo 'Unicode true'
    echo "Target $nsis_target"
    echo 'Name "TessikOne"'
    echo "OutFile \"$bench/peer-setup.exe\""
    echo 'InstallDir "C:\nsis-bench"'
    echo 'RequestExecutionLevel user'
    echo 'SetCompressor zlib'
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
t0=$(now)
quiet makensis -V1 "$nsi"
t1=$(now)
make_s=$(elapsed "$t0" "$t1")
peer_bytes=$(stat -c %s "$bench/peer-setup.exe")
t0=$(now)
run_wine "$bench/peer-setup.exe" /S '/D=C:\nsis-bench' >/dev/null
t1=$(now)
peer_s=$(elapsed "$t0" "$t1")
peer_copied=$(find "$WINEPREFIX/drive_c/nsis-bench" -type f | wc -l)
t0=$(now)
run_wine cmd /c exit >/dev/null || true
t1=$(now)
wine_start_s=$(elapsed "$t0" "$t1")
wine_session_stop

echo
echo "payload: 261 entries, $(mb "$payload_bytes") MB, largest entry $(mb "$largest") MB"
printf '%-44s %s\n' "this installer:" "$(mb "$exe_bytes") MB executable, $copied files installed"
printf '%-44s %s\n' "  run, first tick to last:" "$(awk -v r="$run" 'BEGIN { printf "%.2f s", r / 1000 }') ($ticks ticks)"
printf '%-44s %s\n' "  floor (ticks x 10 ms + inflate and write):" "$(awk -v f="$floor" 'BEGIN { printf "%.2f s", f / 1000 }') (work $(awk -v w="$work" 'BEGIN { printf "%.2f s", w / 1000 }'))"
printf '%-44s %s\n' "  longest tick:" "$longest ms"
printf '%-44s %s\n' "  peak working set:" "$(mb "$peak") MB; $(mb "$before_run") MB before the run (largest entry $(mb "$largest") MB)"
printf '%-44s %s\n' "NSIS peer (zlib, silent):" "$(mb "$peer_bytes") MB executable, built in $make_s s, $peer_copied files installed"
printf '%-44s %s\n' "  install, process wall time:" "$peer_s s (of which Wine start-up about $wine_start_s s)"
