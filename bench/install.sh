#!/usr/bin/env bash
# Installation benchmark under Wine, side by side in one run: the full-size payload (261 files,
# 95.5 MB) installed through the wizard by this installer (driven with xdotool), and the NSIS peer
# of the same files (zlib, licence, directory and copying pages: bench/nsis-peer.sh) at its
# licence page and installing silently. Prints:
#   - resident memory (the Linux process's, as /proc tells it, the same for both) of this
#     installer at page 1 and at its peak over the installation, against the peer at its licence
#     page (goal: our peak at most the peer's licence page + 8 MiB);
#   - the work inside the wizard's timer ticks against the floor measured in the same process
#     after the run (every entry inflated in one call and written in one call; goal: at most
#     1.25 x), also for the entries' ticks alone, without the post-install tasks' ticks after
#     them (records, links, programs: work the floor has not); the longest tick (goal: at most 120 ms), and the run from the first tick to the
#     last against ticks x 10 ms + floor;
#   - the peer's silent installation for reference.
#   bench/install.sh [RUNS]   (default 3 wizard runs; medians are printed, each run's figures are
#                             in build/bench/install-runs.txt)
# Everything goes under build/bench/; bench/pack.sh makes the payload and the installers first.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bench=$root/build/bench
runs=${1:-3}

mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
quiet() { "$@" >"$bench/install.log" 2>&1 || { cat "$bench/install.log" >&2; exit 1; }; }

exe=$bench/windows/src/app/TessikSetupBench.exe
[ -f "$exe" ] || bench/pack.sh
source scripts/wine-env.sh "$bench/windows"
wine_check_program "$exe"
wine_session_ensure
run_wine() { wine_cmd "$@" </dev/null 2>/dev/null; }
if [ "$(_pe_machine "$exe")" = x86_64 ]; then target=amd64-unicode; else target=x86-unicode; fi
peer=$bench/peer-setup-$target.exe
[ -f "$peer" ] && [ ! "$bench/big/payload.order" -nt "$peer" ] || bench/nsis-peer.sh "$target" "$peer" >/dev/null

# The Linux process of a running Windows program, by a piece of its command line; the largest if
# several match (Wine's launcher and the program itself).
process_of() {
    local best="" most=0 pid rss
    for pid in $(pgrep -f "$1" || true); do
        rss=$(awk '$1 == "VmRSS:" { print $2 }' "/proc/$pid/status" 2>/dev/null || echo 0)
        [ "${rss:-0}" -gt "$most" ] && { most=$rss; best=$pid; }
    done
    echo "$best"
}
status_kb() { awk -v k="$2:" '$1 == k { print $2 }' "/proc/$1/status"; }  # pid VmRSS|VmHWM

# A clean machine: the default directory D:\Tessik软件\TessikOne软件商贸版 on a drive of its own.
d_drive=$bench/d-drive
ln -sfn "$d_drive" "$WINEPREFIX/dosdevices/d:"
# reg prints its errors on standard output too: only its exit code tells.
installed() { run_wine reg query 'HKLM\Software\QRVK2017' /v SETUPPATH /reg:32 >/dev/null; }

# One installation through the wizard; appends its figures to $runs_file.
wizard_run() {  # run number
    local stats=$bench/install-stats-$1.txt
    rm -rf "$d_drive" "$stats"
    mkdir -p "$d_drive"
    run_wine reg delete 'HKLM\Software\QRVK2017' /reg:32 /f >/dev/null || true
    run_wine "$exe" "$(wine_path "$stats")" >/dev/null &
    local pid=$!
    window=$(timeout 60 xdotool search --sync --onlyvisible --name '^TessikOne软件$' | head -n 1)
    eval "$(xdotool getwindowgeometry --shell "$window")"
    sleep 1
    local ours page1_kb peak_kb
    ours=$(process_of TessikSetupBench.exe)
    page1_kb=$(status_kb "$ours" VmRSS)
    click 23 376   # agree
    click 364 378  # accept
    click 358 378  # next: the run starts
    for _ in $(seq 600); do installed && break; sleep 0.5; done
    installed || { echo "the installation did not finish" >&2; exit 1; }
    sleep 1
    peak_kb=$(status_kb "$ours" VmHWM)
    click 43 141   # no start of the (generated, not runnable) program
    click 43 181   # no favourites link
    click 448 378  # finish
    timeout 60 tail --pid="$pid" -f /dev/null || { echo "the installer did not close" >&2; exit 1; }
    [ "$(find "$d_drive" -type f | wc -l)" -eq 261 ] || { echo "run $1 installed too few files" >&2; exit 1; }
    read_stat() { tr -d "\r" <"$stats" | awk -v k="$1" '$1 == k { print $2 }'; }
    echo "$page1_kb $peak_kb $(read_stat work_ms) $(read_stat floor_inflate_ms)" \
         "$(read_stat floor_write_ms) $(read_stat longest_ms) $(read_stat run_ms)" \
         "$(read_stat ticks) $(read_stat floor_longest_ms) $(read_stat entries_ms)" \
         "$(read_stat longest_entry_ms) $(read_stat tasks_ms) $(read_stat longest_task_ms)" \
         >>"$runs_file"
}
click() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 0.6; }

runs_file=$bench/install-runs.txt
rm -f "$runs_file"
for run in $(seq "$runs"); do
    echo "installing the full payload with this installer, run $run of $runs ..."
    wizard_run "$run"
done

echo "the NSIS peer at its licence page ..."
run_wine "$peer" >/dev/null &
peer_pid=$!
timeout 60 xdotool search --sync --onlyvisible --name 'TessikOne' >/dev/null
sleep 1
peer_process=$(process_of "$(basename "$peer")")
peer_licence_kb=$(status_kb "$peer_process" VmRSS)
kill "$peer_process" 2>/dev/null || true
wait "$peer_pid" 2>/dev/null || true

echo "the NSIS peer installing silently ..."
rm -rf "$WINEPREFIX/drive_c/nsis-bench"
start=$(date +%s.%N)
run_wine "$peer" /S '/D=C:\nsis-bench' >/dev/null
peer_s=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }')
wine_session_stop

# The median of a column of the runs.
median() {
    awk -v c="$1" '{ print $c }' "$runs_file" | sort -g |
        awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
page1_kb=$(median 1)
peak_kb=$(median 2)
work=$(median 3)
floor_inflate=$(median 4)
floor_write=$(median 5)
longest=$(median 6)
run=$(median 7)
ticks=$(median 8)
floor_longest=$(median 9)
entries=$(median 10)
longest_entry=$(median 11)
tasks=$(median 12)
longest_task=$(median 13)
floor=$(awk -v i="$floor_inflate" -v w="$floor_write" 'BEGIN { print i + w }')
copied=$(find "$d_drive" -type f | wc -l)
peer_copied=$(find "$WINEPREFIX/drive_c/nsis-bench" -type f | wc -l)

echo
echo "full-size payload, $(_pe_machine "$exe") under Wine; medians of $runs wizard runs;" \
     "$copied and $peer_copied files installed"
printf '%-44s %14s %14s %s\n' "" "this installer" "NSIS peer" "ratio / goal"
printf '%-44s %10s MiB %10s MiB %+.1f MiB\n' "resident at page 1 / at the licence page" \
    "$(mib "$page1_kb")" "$(mib "$peer_licence_kb")" "$(awk -v a="$page1_kb" -v b="$peer_licence_kb" 'BEGIN { print (a - b) / 1024 }')"
printf '%-44s %10s MiB %14s %+.1f MiB (goal <= +8 over the peer at its licence page)\n' \
    "peak resident over the wizard's installation" "$(mib "$peak_kb")" "" \
    "$(awk -v a="$peak_kb" -v b="$peer_licence_kb" 'BEGIN { print (a - b) / 1024 }')"
printf '%-44s %12.2f s %14s %.2f (goal <= 1.25)\n' "work inside the ticks" \
    "$(awk -v w="$work" 'BEGIN { print w / 1000 }')" "" "$(awk -v w="$work" -v f="$floor" 'BEGIN { print w / f }')"
printf '%-44s %12.2f s %14s %.2f\n' "  the entries' ticks" \
    "$(awk -v e="$entries" 'BEGIN { print e / 1000 }')" "" \
    "$(awk -v e="$entries" -v f="$floor" 'BEGIN { print e / f }')"
printf '%-44s %12.2f s\n' "  the post-install tasks' ticks" "$(awk -v t="$tasks" 'BEGIN { print t / 1000 }')"
printf '%-44s %12.2f s (inflate %.2f s + write %.2f s)\n' "  floor: inflate and write, same process" \
    "$(awk -v f="$floor" 'BEGIN { print f / 1000 }')" \
    "$(awk -v v="$floor_inflate" 'BEGIN { print v / 1000 }')" \
    "$(awk -v v="$floor_write" 'BEGIN { print v / 1000 }')"
printf '%-44s %11.0f ms %14s (goal <= 120 ms)\n' "longest tick" "$longest" ""
printf '%-44s %11.0f ms\n' "  the longest tick of an entry" "$longest_entry"
printf '%-44s %11.0f ms\n' "  the longest tick of a post-install task" "$longest_task"
printf '%-44s %11.0f ms\n' "  floor of the largest entry, same process" "$floor_longest"
printf '%-44s %12.2f s %14s against %.2f s = %d ticks x 10 ms + floor\n' "run, first tick to last" \
    "$(awk -v r="$run" 'BEGIN { print r / 1000 }')" "" \
    "$(awk -v t="$ticks" -v f="$floor" 'BEGIN { print (t * 10 + f) / 1000 }')" "$ticks"
printf '%-44s %14s %12.2f s\n' "silent installation, process wall time" "" "$peer_s"
