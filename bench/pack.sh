#!/usr/bin/env bash
# Packing benchmark: generates a full-size payload (261 files, 95.5 MB, the shipped shape), packs
# it with setup-pack on one thread and on all cores, and builds an installer that carries it.
# Prints wall times, throughput (MB of input per second, 1 MB = 10^6 bytes) and sizes.
# Everything goes under build/bench/; nothing there is committed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bench=$root/build/bench
cores=$(nproc)

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }
mb() { awk -v n="$1" 'BEGIN { printf "%.2f", n / 1e6 }'; }
quiet() { "$@" >"$bench/last.log" 2>&1 || { cat "$bench/last.log" >&2; exit 1; }; }

mkdir -p "$bench"
echo "building the tools (native preset) ..."
quiet cmake --preset native
quiet cmake --build --preset native --target setup-pack skingen
quiet cmake -S tools/bigpayload -B "$bench/bigpayload-build" -G Ninja -DCMAKE_BUILD_TYPE=Release
quiet cmake --build "$bench/bigpayload-build"
pack_tool=$root/build/native/tools/pack/setup-pack

rm -rf "$bench/big"
t0=$(now)
quiet "$bench/bigpayload-build/bigpayload" --out "$bench/big"
t1=$(now)
quiet "$root/build/native/tools/skingen/skingen" --out "$bench/atlas.bmp"
payload_bytes=$(find "$bench/big/payload" -type f -printf '%s\n' | awk '{ s += $1 } END { print s }')
largest=$(find "$bench/big/payload" -type f -printf '%s\n' | sort -n | tail -1)
files=$(grep -c . "$bench/big/payload.order")
input_bytes=$((payload_bytes + $(stat -c %s "$bench/atlas.bmp")))
echo "payload: $files files, $(mb "$payload_bytes") MB (largest $(mb "$largest") MB)," \
     "generated in $(elapsed "$t0" "$t1") s"

# pack OUT JOBS: runs setup-pack; sets wall and cpu (user + system seconds of all its threads).
pack() {
    local times=$bench/times.txt status=0
    { TIMEFORMAT='%R %U %S'; time "$pack_tool" --settings demo/settings.txt \
        --payload "$bench/big/payload" --order "$bench/big/payload.order" \
        --skin "$bench/atlas.bmp" --licence demo/licence.txt --out "$1" --jobs "$2" --quiet \
        2>"$bench/last.log" || status=$?; } 2>"$times"
    [ "$status" -eq 0 ] || { cat "$bench/last.log" >&2; exit 1; }
    read -r wall user system <"$times"
    cpu=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')
}

echo "load average before packing: $(cut -d' ' -f1-3 /proc/loadavg) on $cores cores"
for jobs in 1 "$cores"; do
    out=$bench/out-$jobs
    rm -rf "$out"
    pack "$out" "$jobs"
    rate=$(awk -v n="$input_bytes" -v s="$wall" 'BEGIN { printf "%.1f", n / 1e6 / s }')
    echo "setup-pack --jobs $jobs: $wall s wall ($cpu s CPU) for $(mb "$input_bytes") MB" \
         "(payload and skin): $rate MB/s"
done
out=$bench/out-$cores
pack "$out" "$cores"
echo "setup-pack again, nothing changed: $wall s"
cmp -s "$bench/out-1/MyFile0000.bin" "$out/MyFile0000.bin" && cmp -s "$bench/out-1/setup.rc" \
    <(sed "s|$bench/out-$cores|$bench/out-1|g" "$out/setup.rc") ||
    { echo "outputs of --jobs 1 and --jobs $cores differ" >&2; exit 1; }

framed_payload=$(find "$out" -name 'MyFile*.bin' -printf '%s\n' | awk '{ s += $1 } END { print s }')
framed_all=$(find "$out" -name '*.bin' -printf '%s\n' | awk '{ s += $1 } END { print s }')
echo "framed: payload $(mb "$framed_payload") MB; with skin and licence $(mb "$framed_all") MB"

# The same installer program, built with the Windows toolchain around the full-size resources, for
# the architecture this host runs (i686 where 32-bit code runs, else x86_64).
source scripts/wine-host.sh
if [ "$(wine_host_preset)" = windows ]; then arch=i686; else arch=x86_64; fi
echo "building the installer with the full payload ($arch) ..."
quiet cmake -S . -B "$bench/windows" -G Ninja --toolchain "$root/cmake/mingw-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DSETUP_PAYLOAD_RC="$out/setup.rc"
quiet cmake --build "$bench/windows" --target setup_data setup_platform_win32
rm -f "$bench/windows/src/app/TessikSetup.exe"
touch "$out/setup.rc"  # so the resource compiler runs, and is timed, too
t0=$(now)
quiet cmake --build "$bench/windows" --target TessikSetup
t1=$(now)
exe=$bench/windows/src/app/TessikSetup.exe
exe_bytes=$(stat -c %s "$exe")
echo "installer: $(mb "$exe_bytes") MB; framed resources $(mb "$framed_all") MB;" \
     "the rest (program, resource directory, headers) $(mb $((exe_bytes - framed_all))) MB;" \
     "resource compile and link $(elapsed "$t0" "$t1") s"
