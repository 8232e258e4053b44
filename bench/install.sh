#!/usr/bin/env bash
# Installation benchmark under Wine, side by side in one run: a payload installed through the
# wizard by this installer (driven with xdotool), this installer's own /VERYSILENT run, and the
# NSIS peer of the same files (zlib, licence, directory and copying pages: bench/nsis-peer.sh) at
# its licence page and installing silently. Two payloads:
#   bench/install.sh [RUNS]          the full-size payload (261 files, 95.5 MB; bench/pack.sh)
#   bench/install.sh --many [RUNS]   8,000 files of 4 KB, setup-pack's limit (bench/many.sh)
#   bench/install.sh --codec C [RUNS]  the full-size payload written with codec C (one of CODECS
#                                      in bench/codecs.sh; zlib unless given)
# Prints (medians of RUNS wizard runs, default 3; each run's figures in build/bench/install-runs.txt):
#   - the wizard's copying, from its first step to page 4, against the peer's silent wall time
#     (goal: at most 1.0 x on the full-size payload, 0.5 x on 8,000 files) and against our own
#     /VERYSILENT run (moonshot: within 10 %);
#   - the work inside the run's messages (timer ticks and the chain's posted messages) against
#     the floor measured in the same process after the run (every entry inflated in one call and
#     written in one call; goal: at most 1.25 x), also for the entries' messages alone, without the
#     post-install tasks' after them (records, links, programs: work the floor has not); the
#     longest message (goal: at most 50 ms);
#   - a click on 取消 while copying, from the click to the failure form painted (goal: 100 ms),
#     in one more wizard run;
#   - resident memory (the Linux process's, as /proc tells it) of this installer at page 1 and at
#     its peak, against the peer at its licence page (goal: our peak at most the peer's + 8 MiB).
# Everything goes under build/bench/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bench=$root/build/bench
mode=full
codec=zlib
[ "${1:-}" = --many ] && { mode=many; shift; }
[ "${1:-}" = --codec ] && { codec=${2:?--codec needs a codec}; shift 2; }
source bench/codecs.sh
[[ " $CODECS " == *" $codec "* ]] || { echo "install.sh: --codec is one of $CODECS" >&2; exit 2; }
runs=${1:-3}

mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
seconds() { awk -v a="$1" 'BEGIN { printf "%.2f", a / 1000 }'; }

app=$bench/windows/src/app
if [ "$mode" = full ]; then
    exe=$(bench_installer big "$codec" bench) plain=$(bench_installer big "$codec")
    [ -f "$exe" ] || bench/pack.sh
    source_dir=$bench/big
    cancel_after=0.3
else
    [ -f "$app/TessikSetupBenchMany.exe" ] || bench/many.sh
    exe=$app/TessikSetupBenchMany.exe plain=$app/TessikSetupMany.exe source_dir=$bench/many
    cancel_after=1
fi
entries=$(grep -c . "$source_dir/payload.order")
source scripts/wine-env.sh "$bench/windows"
wine_check_program "$exe"
wine_session_ensure
run_wine() { wine_cmd "$@" </dev/null 2>/dev/null; }
if [ "$(_pe_machine "$exe")" = x86_64 ]; then target=amd64-unicode; else target=x86-unicode; fi
if [ "$mode" = full ]; then peer=$bench/peer-setup-$target.exe; else peer=$bench/peer-many-$target.exe; fi
[ -f "$peer" ] && [ ! "$source_dir/payload.order" -nt "$peer" ] ||
    bench/nsis-peer.sh "$target" "$peer" "$source_dir" >/dev/null

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
now_ms() { date +%s%3N; }

# A clean machine: the default directory D:\Tessik软件\TessikOne软件商贸版 on a drive of its own.
d_drive=$bench/d-drive
ln -sfn "$d_drive" "$WINEPREFIX/dosdevices/d:"
# reg prints its errors on standard output too: only its exit code tells.
installed() { run_wine reg query 'HKLM\Software\QRVK2017' /v SETUPPATH /reg:32 >/dev/null; }
clean_machine() {
    rm -rf "$d_drive"
    mkdir -p "$d_drive"
    run_wine reg delete 'HKLM\Software\QRVK2017' /reg:32 /f >/dev/null || true
}
click() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 0.6; }

# The wizard up to the start of copying; sets pid, ours, page1_kb.
start_wizard() {  # stats file
    clean_machine
    run_wine "$exe" "$(wine_path "$1")" >/dev/null &
    pid=$!
    window=$(timeout 60 xdotool search --sync --onlyvisible --name '^TessikOne软件$' | head -n 1)
    eval "$(xdotool getwindowgeometry --shell "$window")"
    sleep 1
    ours=$(process_of "$(basename "$exe")")
    page1_kb=$(status_kb "$ours" VmRSS)
    click 23 376   # agree
    click 364 378  # accept
    click 358 378  # next: the run starts
}
wait_closed() {
    timeout 60 tail --pid="$pid" -f /dev/null || { echo "the installer did not close" >&2; exit 1; }
}
read_stat() { tr -d "\r" <"$1" | awk -v k="$2" '$1 == k { print $2 }'; }

# One installation through the wizard; appends its figures to $runs_file.
wizard_run() {  # run number
    local stats=$bench/install-stats-$1.txt peak_kb
    rm -f "$stats"
    start_wizard "$stats"
    for _ in $(seq 600); do installed && break; sleep 0.5; done
    installed || { echo "the installation did not finish" >&2; exit 1; }
    sleep 1
    peak_kb=$(status_kb "$ours" VmHWM)
    click 43 141   # no start of the (generated, not runnable) program
    click 43 181   # no favourites link
    click 448 378  # finish
    wait_closed
    [ "$(find "$d_drive" -type f | wc -l)" -eq "$entries" ] || { echo "run $1 installed too few files" >&2; exit 1; }
    local s
    for s in work_ms floor_inflate_ms floor_write_ms longest_ms run_ms ticks floor_longest_ms \
             entries_ms longest_entry_ms tasks_ms longest_task_ms; do
        printf '%s ' "$(read_stat "$stats" "$s")"
    done >>"$runs_file"
    echo "$page1_kb $peak_kb" >>"$runs_file"
}

# One more wizard run, cancelled while copying: the click against the failure form's paint.
cancel_run() {
    local stats=$bench/install-stats-cancel.txt clicked painted
    rm -f "$stats"
    start_wizard "$stats"
    sleep "$cancel_after"
    clicked=$(now_ms)
    click 448 378  # 取消
    sleep 1
    cancel_copied=$(find "$d_drive" -type f | wc -l)
    click 448 378  # finish: it only closes
    wait_closed
    painted=$(read_stat "$stats" cancel_painted_unix_ms)
    cancel_ms=$(awk -v a="$clicked" -v b="$painted" 'BEGIN { printf "%.0f", b - a }')
}

runs_file=$bench/install-runs.txt
rm -f "$runs_file"
for run in $(seq "$runs"); do
    echo "installing $entries files with this installer's wizard, run $run of $runs ..."
    wizard_run "$run"
done
echo "cancelling this installer's wizard while it copies ..."
cancel_run

echo "this installer, /VERYSILENT ..."
rm -rf "$WINEPREFIX/drive_c/ours-bench"
start=$(now_ms)
run_wine "$plain" /VERYSILENT '/D=C:\ours-bench' >/dev/null || true
silent_ms=$(($(now_ms) - start))

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
start=$(now_ms)
run_wine "$peer" /S '/D=C:\nsis-bench' >/dev/null
peer_ms=$(($(now_ms) - start))
peer_copied=$(find "$WINEPREFIX/drive_c/nsis-bench" -type f | wc -l)
wine_session_stop

# The median of a column of the runs.
median() {
    awk -v c="$1" '{ print $c }' "$runs_file" | sort -g |
        awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
work=$(median 1) floor_inflate=$(median 2) floor_write=$(median 3) longest=$(median 4)
run=$(median 5) ticks=$(median 6) floor_longest=$(median 7) entries_ms=$(median 8)
longest_entry=$(median 9) tasks=$(median 10) longest_task=$(median 11)
page1_kb=$(median 12) peak_kb=$(median 13)
floor=$(awk -v i="$floor_inflate" -v w="$floor_write" 'BEGIN { print i + w }')
if [ "$mode" = full ]; then peer_goal="goal <= 1.0"; else peer_goal="goal <= 0.5"; fi

echo
echo "$mode payload ($entries files), $(_pe_machine "$exe") under Wine; medians of $runs wizard" \
     "runs; the peer installed $peer_copied files"
printf '%-46s %12s %12s  %s\n' "" "this" "NSIS peer" "ratio"
printf '%-46s %10s s %10s s  %s (%s)\n' "wizard copying, first step to page 4 / silent" \
    "$(seconds "$run")" "$(seconds "$peer_ms")" "$(ratio "$run" "$peer_ms")" "$peer_goal"
printf '%-46s %10s s %12s  %s (moonshot <= 1.10)\n' "this installer /VERYSILENT, process wall time" \
    "$(seconds "$silent_ms")" "" "$(ratio "$run" "$silent_ms") wizard copying / silent"
printf '%-46s %10s s %12s  %s (goal <= 1.25)\n' "work inside the run's messages / floor" \
    "$(seconds "$work")" "" "$(ratio "$work" "$floor")"
printf '%-46s %10s s %12s  %s\n' "  the entries' messages / floor" "$(seconds "$entries_ms")" "" \
    "$(ratio "$entries_ms" "$floor")"
printf '%-46s %10s s\n' "  the post-install tasks' messages" "$(seconds "$tasks")"
printf '%-46s %10s s  (inflate %s s + write %s s)\n' "  floor: inflate and write, same process" \
    "$(seconds "$floor")" "$(seconds "$floor_inflate")" "$(seconds "$floor_write")"
printf '%-46s %9.0f ms %12s  (goal <= 50 ms)\n' "longest message" "$longest" ""
printf '%-46s %9.0f ms\n' "  the longest of an entry's" "$longest_entry"
printf '%-46s %9.0f ms\n' "  the longest of a post-install task's" "$longest_task"
printf '%-46s %9.0f ms\n' "  floor of the largest entry, same process" "$floor_longest"
printf '%-46s %12s\n' "the run's messages" "$ticks"
printf '%-46s %9s ms %12s  (goal <= 100 ms; %s files were in place)\n' \
    "click on 取消 to the failure form painted" "$cancel_ms" "" "$cancel_copied"
printf '%-46s %8s MiB %8s MiB  %+.1f MiB\n' "resident at page 1 / at the licence page" \
    "$(mib "$page1_kb")" "$(mib "$peer_licence_kb")" \
    "$(awk -v a="$page1_kb" -v b="$peer_licence_kb" 'BEGIN { print (a - b) / 1024 }')"
printf '%-46s %8s MiB %12s  %+.1f MiB (goal <= +8 over the peer at its licence page)\n' \
    "peak resident over the wizard's installation" "$(mib "$peak_kb")" "" \
    "$(awk -v a="$peak_kb" -v b="$peer_licence_kb" 'BEGIN { print (a - b) / 1024 }')"
