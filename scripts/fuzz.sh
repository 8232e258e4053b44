#!/usr/bin/env bash
# Fuzzes the parsers that read what others hand the installer and setup-pack: the command line,
# the settings (the installer's reading and setup-pack's), and setup-pack's reader of Windows
# executables, and the solid payload's block table and blocks. libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer, built natively with
# clang into build/fuzz; each target runs for a bounded time. Not part of the test command.
#   scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 60; FUZZ_TARGETS="solid_block ..." picks targets)
# Findings (crash-*, leak-*, timeout-* inputs) and the corpora stay in build/fuzz/<target>/.
set -euo pipefail
SECONDS_PER_TARGET=${1:-60}
SOURCE=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=$SOURCE/build/fuzz
TARGETS=(${FUZZ_TARGETS:-command_line settings pe_reader solid_block})

if ! command -v clang++ >/dev/null; then
    echo "fuzz.sh: installing clang" >&2
    sudo_cmd=""; [ "$(id -u)" = 0 ] || sudo_cmd=sudo
    $sudo_cmd apt-get install -y clang
fi

cmake -S "$SOURCE/tests/fuzz" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$BUILD" -j2 --target "${TARGETS[@]/#/fuzz_}"

# Seeds: real inputs of each kind, so the fuzzer starts from what the parsers usually see.
seed() {  # target
    local corpus=$BUILD/$1/corpus
    mkdir -p "$corpus"
    case $1 in
        command_line)
            printf '%s' '/VERYSILENT /TASKS="desktop,autostart" /LOG="C:\l.log" /D=C:\Program Files\x' >"$corpus/seed1"
            printf '%s' '"C:\dl\TessikSetup.exe" /SILENT /DIR="D:\a b" /CLOSEAPPLICATIONS' >"$corpus/seed2"
            printf '%s' '/? /LOG /S' >"$corpus/seed3" ;;
        settings) cp "$SOURCE/demo/settings.txt" "$corpus/seed1" ;;
        solid_block)  # a codec byte, a decoded size of 12, then the block in each codec
            { printf '\0\14\0'; printf 'hello, world' | zstd -q -19 -c; } >"$corpus/seed1"
            { printf '\1\14\0'; printf 'hello, world' | xz -q --format=lzma -c; } >"$corpus/seed2" ;;
        pe_reader)
            local stub
            for stub in "$SOURCE"/build/windows*/src/app/TessikSetupStub.exe; do
                [ -f "$stub" ] && cp "$stub" "$corpus/$(basename "$(dirname "$(dirname "$(dirname "$stub")")")").exe"
            done ;;
    esac
}

status=0
for target in "${TARGETS[@]}"; do
    seed "$target"
    echo "== fuzz_$target: $SECONDS_PER_TARGET s"
    (cd "$BUILD/$target" &&
        "$BUILD/fuzz_$target" -max_total_time="$SECONDS_PER_TARGET" -max_len=65536 \
            -print_final_stats=1 corpus 2>&1 | tail -n 12) || { echo "fuzz_$target: FOUND a failure"; status=1; }
done
exit $status
