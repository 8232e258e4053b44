#!/usr/bin/env bash
# The update over a running installation, as a deployment tool pushes it to a till: the
# full-size payload (261 files, 95.5 MB), its five programs being the demo's stand-ins so that
# they really run, installed unattended into a fresh folder (the first installation), then, with
# the servers it started and the main program running, installed again over it with
# /VERYSILENT /CLOSEAPPLICATIONS (the update: it finds the holders, ends them, replaces every
# file and starts the servers again). Alternating, RUNS times each (default 5), for the
# architecture this host runs. Prints both wall times (whole process, Wine's start included),
# min and median, the ratio of the medians and the difference: the extra cost of finding, ending
# and restarting the programs, and of replacing files instead of creating them.
#   bench/update.sh [RUNS]
# bench/pack.sh makes the full-size payload and the installer program first when they are missing.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bench=$root/build/bench
runs=${1:-5}
quiet() { "$@" >"$bench/update.log" 2>&1 || { cat "$bench/update.log" >&2; exit 1; }; }

stub=$bench/windows/src/app/TessikSetupStub.exe
[ -f "$stub" ] && [ -f "$bench/big/payload.order" ] || bench/pack.sh
quiet cmake --build "$bench/windows" --target demo_standin TessikSetupStub
quiet cmake --build --preset native --target setup-pack skingen

# The full-size payload with runnable programs.
payload=$bench/update/payload
rm -rf "$bench/update"
mkdir -p "$bench/update"
cp -r "$bench/big/payload" "$payload"
for program in "TessikOne商贸版.Exe" "TessikOne商贸版服务器.exe" scktsrvr.exe RuDavovo.exe uninstall.exe; do
    cp "$bench/windows/demo/demo_standin.exe" "$payload/$program"
done
exe=$bench/update/TessikSetupUpdate.exe
quiet "$root/build/native/tools/pack/setup-pack" --settings demo/settings.txt --payload "$payload" \
    --order "$bench/big/payload.order" --skin "$bench/atlas.bmp" --licence demo/licence.txt \
    --out "$bench/update/work" --stub "$stub" --installer "$exe" --quiet

source scripts/wine-env.sh "$bench/windows"
wine_check_program "$exe"
wine_session_ensure
# The end-to-end test's probe (of the test build for this host) ends and counts the programs.
preset=$(wine_host_preset)
quiet cmake --preset "$preset"
quiet cmake --build --preset "$preset" --target e2e_probe
probe() { wine_cmd "$root/build/$preset/tests/e2e/e2e_probe.exe" "$@" </dev/null 2>/dev/null || true; }
drive_c=$WINEPREFIX/drive_c
folder=$drive_c/update-bench
programs=("TessikOne商贸版.Exe" "TessikOne商贸版服务器.exe" scktsrvr.exe RuDavovo.exe)
end_programs() { local p; for p in "${programs[@]}"; do probe kill "$p" >/dev/null; done; }
running() { probe running "C:\\update-bench\\$1" | tr -dc 0-9; }

# One timed run of the installer; checks that it ended as it must.
measure() {  # name expected-exit-code args...
    local name=$1 expected=$2
    shift 2
    /usr/bin/time -f "%e %M" -o "$bench/time.txt" \
        env LC_ALL=zh_CN.UTF-8 "$SETUP_WINE" "$exe" "$@" </dev/null >/dev/null 2>&1 || true
    read -r wall kb <"$bench/time.txt"
    echo "$name $wall $kb" >>"$bench/update-runs.txt"
}

first() {
    end_programs
    rm -rf "$folder"
    measure "${1:-first}" 0 /VERYSILENT '/D=C:\update-bench'
    # At a till the main program runs beside the servers the installer started.
    wine_cmd "$folder/TessikOne商贸版.Exe" </dev/null >/dev/null 2>&1 &
    local p i
    for p in "${programs[@]}"; do
        for ((i = 0; i < 100; i++)); do [ "$(running "$p")" -ge 1 ] && break; sleep 0.1; done
    done
}

update() {
    measure "${1:-update}" 0 /VERYSILENT /CLOSEAPPLICATIONS '/D=C:\update-bench'
    local p
    for p in "TessikOne商贸版服务器.exe" scktsrvr.exe RuDavovo.exe; do
        [ "$(running "$p")" -ge 1 ] || { echo "after the update $p does not run again" >&2; exit 1; }
    done
    cmp -s "$payload/RuDavovo.exe" "$folder/RuDavovo.exe" ||
        { echo "after the update RuDavovo.exe is not the new file" >&2; exit 1; }
}

rm -f "$bench/update-runs.txt"
first warm-first
update warm-update
for _ in $(seq "$runs"); do
    first
    update
done
end_programs
rm -rf "$folder"
wine_session_stop

stat() {  # name -> "min median"
    awk -v n="$1" '$1 == n { print $2 }' "$bench/update-runs.txt" | sort -g |
        awk '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
                                  printf "%s %s", v[1], m }'
}
read -r first_min first_med <<<"$(stat first)"
read -r update_min update_med <<<"$(stat update)"
echo
echo "full-size payload, $runs runs each, $(_pe_machine "$exe") under Wine:"
printf '%-58s %10s %10s\n' "" "wall min" "median"
printf '%-58s %9.2fs %9.2fs\n' "first installation (/VERYSILENT, empty folder)" "$first_min" "$first_med"
printf '%-58s %9.2fs %9.2fs\n' "update over it running (/VERYSILENT /CLOSEAPPLICATIONS)" "$update_min" "$update_med"
awk -v a="$update_med" -v b="$first_med" 'BEGIN {
    printf "ratio of medians: update / first %.2f; extra cost of the update %+.2f s\n", a / b, a - b }'
