#!/usr/bin/env bash
# Packing benchmark: generates a full-size payload (261 files, 95.5 MB, the shipped shape), packs
# it with setup-pack on one thread and on all cores, and builds an installer that carries it.
# Then, for each payload (the synthetic one, and with --real also the real binaries of
# bench/real-payload.sh), side by side: the installer's size, its build time and the rebuild with
# nothing changed, for this installer with each codec (CODECS in bench/codecs.sh) against NSIS
# zlib and NSIS /SOLID lzma, with the ratios. Prints wall times, throughput (MB of input per
# second, 1 MB = 10^6 bytes) and sizes.
#   bench/pack.sh [--real]
# Everything goes under build/bench/; nothing there is committed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bench=$root/build/bench
cores=$(nproc)
real=0
[ "${1:-}" = --real ] && real=1
source bench/codecs.sh
results=$bench/pack-results.txt

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

# The installer program without payload, for the architecture this host runs (i686 where 32-bit
# code runs, else x86_64): setup-pack writes the finished installers into it.
source scripts/wine-host.sh
if [ "$(wine_host_preset)" = windows ]; then arch=i686; else arch=x86_64; fi
echo "building the installer program without payload ($arch) ..."
quiet cmake -S . -B "$bench/windows" -G Ninja --toolchain "$root/cmake/mingw-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
quiet cmake --build "$bench/windows" --target TessikSetupStub TessikSetupBenchStub
stub=$bench/windows/src/app/TessikSetupStub.exe
exe=$bench/windows/src/app/TessikSetup.exe

# pack OUT JOBS [setup-pack options]: runs setup-pack on the payload in $payload_dir (the
# synthetic one unless set); sets wall and cpu (user + system seconds of all its threads).
payload_dir=$bench/big
pack() {
    local out=$1 jobs=$2 times=$bench/times.txt status=0
    shift 2
    { TIMEFORMAT='%R %U %S'; time "$pack_tool" --settings demo/settings.txt \
        --payload "$payload_dir/payload" --order "$payload_dir/payload.order" \
        --skin "$bench/atlas.bmp" --licence demo/licence.txt --out "$out" --jobs "$jobs" --quiet \
        "$@" 2>"$bench/last.log" || status=$?; } 2>"$times"
    [ "$status" -eq 0 ] || { cat "$bench/last.log" >&2; exit 1; }
    read -r wall user system <"$times"
    cpu=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')
}

echo "load average before packing: $(cut -d' ' -f1-3 /proc/loadavg) on $cores cores"
for jobs in 1 "$cores"; do
    out=$bench/out-$jobs
    rm -rf "$out" "$exe"
    pack "$out" "$jobs" --stub "$stub" --installer "$exe"
    rate=$(awk -v n="$input_bytes" -v s="$wall" 'BEGIN { printf "%.1f", n / 1e6 / s }')
    echo "setup-pack --jobs $jobs, from the folder to the finished installer: $wall s wall" \
         "($cpu s CPU) for $(mb "$input_bytes") MB (payload and skin): $rate MB/s"
done
cmp -s "$bench/out-1/MyFile0000.bin" "$out/MyFile0000.bin" ||
    { echo "outputs of --jobs 1 and --jobs $cores differ" >&2; exit 1; }

# Each payload with each codec: the build from a fresh folder on all cores, then again with
# nothing changed; the synthetic one also into the program with the probe (bench/install.sh).
if [ "$real" = 1 ]; then
    echo "staging the real payload ..."
    bench/real-payload.sh "$bench/real"
    # With the programs the settings name and the post-install tasks start, as the demo's
    # stand-in program, so every installer does the same job as on the synthetic payload.
    quiet cmake --build "$bench/windows" --target demo_standin
    setting() { sed -n "s/^$1=//p" demo/settings.txt | tr -d '\r'; }
    for program in "$(setting MainExeName)" "$(setting SvrExeName)" "$(setting UninstallName)" \
                   scktsrvr.exe RuDavovo.exe; do
        cp "$bench/windows/demo/demo_standin.exe" "$bench/real/payload/$program"
        echo "$program" >>"$bench/real/payload.order"
    done
fi
payloads=$(bench_payloads "$real")
target=$(bench_peer_target)
rm -f "$results"
mkdir -p "$bench/installers"
for payload in $payloads; do
    payload_dir=$(bench_payload_dir "$payload")
    for codec in $CODECS; do
        exe=$(bench_installer "$payload" "$codec") out=$bench/out-$payload-$codec
        echo "setup-pack --codec $codec, $payload payload ..."
        rm -rf "$out" "$exe"
        pack "$out" "$cores" --codec "$codec" --stub "$stub" --installer "$exe"
        bench_record "$payload" "ours-$codec" build "$wall"
        bench_record "$payload" "ours-$codec" size "$(awk -v n="$(stat -c %s "$exe")" 'BEGIN { printf "%.2f", n / 1e6 }')"
        pack "$out" "$cores" --codec "$codec" --stub "$stub" --installer "$exe"
        bench_record "$payload" "ours-$codec" rebuild "$wall"
        if [ "$payload" = big ]; then
            pack "$out" "$cores" --codec "$codec" \
                --stub "$bench/windows/src/app/TessikSetupBenchStub.exe" \
                --installer "$(bench_installer big "$codec" bench)"
        fi
    done
    for peer in $PEERS; do
        echo "makensis ($peer), $payload payload ..."
        exe=$(bench_peer "$payload" "$peer" "$target")
        seconds=$(bench/nsis-peer.sh "$target" "$exe" "$payload_dir" "$peer")
        bench_record "$payload" "nsis-$peer" build "$seconds"
        bench_record "$payload" "nsis-$peer" size "$(awk -v n="$(stat -c %s "$exe")" 'BEGIN { printf "%.2f", n / 1e6 }')"
    done
done
# The program part is compared for i686, the installer's own architecture, on every host.
if [ "$arch" = i686 ]; then stub_i686=$stub; else
    echo "building the i686 installer program for its size ..."
    quiet cmake -S . -B "$bench/stub-i686" -G Ninja --toolchain "$root/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
    quiet cmake --build "$bench/stub-i686" --target TessikSetupStub
    stub_i686=$bench/stub-i686/src/app/TessikSetupStub.exe
fi
stub_bytes=$(stat -c %s "$stub_i686")
peer_stub=/usr/share/nsis/Stubs/zlib-x86-unicode
# Code and data alone: every section but the resources (manifest, icon, dialogs) and .bss.
code_bytes() {
    local sum=0 index name size rest
    while read -r index name size rest; do
        [[ $index =~ ^[0-9]+$ ]] || continue
        [ "$name" = .rsrc ] || [ "$name" = .bss ] || sum=$((sum + 16#$size))
    done < <(i686-w64-mingw32-objdump -h "$1")
    echo "$sum"
}

echo
for payload in $payloads; do echo "$payload: $(bench_payload_title "$payload")"; done
echo "$arch, $cores cores; makensis has no incremental build: its rebuild is a build"
bench_table size "installer size (MB)" "%10.2f" $payloads
bench_table build "build from the folder (s)" "%10.2f" $payloads
bench_table rebuild "rebuild, nothing changed" "%10.2f" $payloads
echo "goals: build <= 0.50 x NSIS /SOLID lzma; real payload: size <= NSIS /SOLID lzma's;"
echo "       synthetic: no installer larger than today's (zlib)"
echo
printf '%-46s %11s KB %11s KB %8.2f\n' "program part (the stub, i686) / NSIS's" \
    "$(awk -v n="$stub_bytes" 'BEGIN { printf "%.1f", n / 1024 }')" \
    "$(awk -v n="$(stat -c %s "$peer_stub")" 'BEGIN { printf "%.1f", n / 1024 }')" \
    "$(awk -v a="$stub_bytes" -v b="$(stat -c %s "$peer_stub")" 'BEGIN { print a / b }')"
printf '%-46s %11s KB %11s KB %8.2f\n' "  its code and data (no resources, no padding)" \
    "$(awk -v n="$(code_bytes "$stub_i686")" 'BEGIN { printf "%.1f", n / 1024 }')" \
    "$(awk -v n="$(code_bytes "$peer_stub")" 'BEGIN { printf "%.1f", n / 1024 }')" \
    "$(awk -v a="$(code_bytes "$stub_i686")" -v b="$(code_bytes "$peer_stub")" 'BEGIN { print a / b }')"
echo "goal: program part <= 250 KB"
echo
echo "what the i686 program part holds, from its link map (bench/stub-size.sh):"
bench/stub-size.sh "${stub_i686%.exe}.map"
