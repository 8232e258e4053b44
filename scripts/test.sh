#!/usr/bin/env bash
# Runs every test suite: native units, then the i686 Windows build's units, platform tests and
# end-to-end tests under Wine, then the x86_64 Windows build's tests. Fails when any suite fails.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/bootstrap.sh

jobs=$(nproc)
status=0
for preset in native windows windows-x64; do
    echo "== $preset =="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    ctest --preset "$preset" -j "$jobs" || status=1
done
exit $status
