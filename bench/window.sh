#!/usr/bin/env bash
# Times the main window under Wine and Xvfb:
#   - start_to_page1: from process start to page 1 painted completely (window and every child
#     window), measured inside the program from its creation time, less the time the gallery
#     spends compressing the skin into its in-memory resources (the installer finds it
#     compressed). Of it, to_winmain is Wine's process start-up before WinMain and window the
#     rest: creating the window (skin, licence, strips, layout) and showing and painting page 1;
#   - launch_to_page1: from the shell's launch of wine to the same moment, as a user waits;
#   - page_change: ShowPage and the paint of everything it shows, averaged over 200 changes;
#   - progress_step: DrawProgress with a new fraction and its paint, averaged over 200 steps.
#   bench/window.sh [BUILD_DIR] [RUNS]   (default: the Windows build this host runs, 5 runs)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-host.sh"
build=$(cd "${1:-$root/build/$(wine_host_preset)}" && pwd)
runs=${2:-5}

cmake --build "$build" --target page_gallery >/dev/null
source "$root/scripts/wine-env.sh" "$build"
wine_session_ensure

gallery=$build/tests/windows/page_gallery.exe
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# One run first so the results do not include loading Wine's libraries from disk.
wine_run_checked "$gallery" --hold 0 </dev/null >/dev/null

for run in $(seq "$runs"); do
    stamp=$work/stamp$run
    launched=$(date +%s%3N)
    wine_cmd "$gallery" --page 1 --title "window-bench-$$" --bench 200 \
        --stamp "$(wine_path "$stamp")" --hold 0 </dev/null >/dev/null 2>&1
    awk -v run="$run" -v launched="$launched" '{ v[$1] = $2 }
        END { printf "%d %.1f %.1f %.1f %.0f %.3f %.3f %.1f\n", run,
                  v["first_paint_ms"] - v["prepare_ms"], v["entry_ms"],
                  v["first_paint_ms"] - v["prepare_ms"] - v["entry_ms"],
                  v["first_paint_unix_ms"] - launched, v["page_change_ms"],
                  v["progress_step_ms"], v["prepare_ms"] }' "$stamp"
done >"$work/table"

awk 'BEGIN { printf "%-5s %15s %11s %9s %16s %12s %14s %10s\n", "run", "start_to_page1",
             "to_winmain", "window", "launch_to_page1", "page_change", "progress_step",
             "(prepare)" }
     { printf "%-5s %12.1f ms %8.1f ms %6.1f ms %13.0f ms %9.3f ms %11.3f ms %7.1f ms\n",
              $1, $2, $3, $4, $5, $6, $7, $8
       for (i = 2; i <= 8; i++) sum[i] += $i; n++ }
     END { printf "%-5s %12.1f ms %8.1f ms %6.1f ms %13.0f ms %9.3f ms %11.3f ms %7.1f ms\n",
               "mean", sum[2]/n, sum[3]/n, sum[4]/n, sum[5]/n, sum[6]/n, sum[7]/n, sum[8]/n }' \
    "$work/table"
