#!/usr/bin/env bash
# The read-ahead's stress loop, and the units around it, under the sanitizers: the native tests
# built with -fsanitize=address,undefined in build/asan and with -fsanitize=thread in build/tsan,
# then run there; and, when the x86_64 build's units are built, the loop under Wine with its heap
# checks (WINEDEBUG=warn+heap), which report any free of a block that is not one: a thread_local
# object's destructor did that once per end of the read-ahead thread, as MinGW-w64 frees the
# thread's storage before it runs. Not part of CI's default run (scripts/test.sh): a sanitized
# build takes minutes.
#   scripts/sanitize.sh [REPEAT]    REPEAT: how often the loop runs in each build (default 3)
# Fails when a sanitizer reports anything or a test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
repeat=${1:-3}
loop='Prefetch.*:InstallationTest.*:Unpack*'

# sanitize NAME FLAGS ENVIRONMENT: configures build/NAME, builds the tests of the read-ahead, runs
# them REPEAT times.
sanitize() {
    local name=$1 flags=$2 env=$3 dir=build/$1
    echo "== $name: $flags"
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_FLAGS="$flags -fno-omit-frame-pointer -fno-sanitize-recover=all" \
        -DCMAKE_C_FLAGS="$flags -fno-omit-frame-pointer" \
        -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null
    cmake --build "$dir" -j "$(nproc)" --target install_tests data_tests
    env $env "$dir/tests/native/install_tests" --gtest_filter="$loop" --gtest_repeat="$repeat" \
        --gtest_brief=1
    env $env "$dir/tests/native/data_tests" --gtest_filter='Unpack*:Settings*' --gtest_brief=1
}

sanitize asan "-fsanitize=address,undefined" \
    "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
sanitize tsan "-fsanitize=thread" "TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1"
# The loop under Wine, when the x86_64 build has made its units (this script does not build it).
wine_units=build/windows-x64/tests/native/install_tests.exe
if [ -f "$wine_units" ]; then
    echo "== Wine: the loop with the heap checks"
    heap_log=build/windows-x64/sanitize-heap.log
    (
        source scripts/wine-env.sh build/windows-x64
        wine_session_ensure
        export WINEDEBUG=warn+heap
        wine_run_checked "$wine_units" --gtest_filter='Prefetch.*' --gtest_repeat="$repeat" \
            --gtest_brief=1
    ) 2>"$heap_log"
    if grep -q ':heap:' "$heap_log"; then
        echo "Wine's heap checks reported $(grep -c ':heap:' "$heap_log") faults (see $heap_log)"
        exit 1
    fi
else
    echo "== Wine: skipped ($wine_units is not built)"
fi
echo "== no sanitizer reported anything"
