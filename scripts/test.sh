#!/usr/bin/env bash
# Runs every test suite: native units, then each Windows build's units, platform tests and
# end-to-end test under Wine. The i686 build's Windows tests need a host that runs 32-bit code;
# elsewhere (or with SETUP_WINE_ARCH=64) the i686 build is still made and its tests are reported
# as skipped, while the x86_64 build runs all of its suites. Fails when any suite fails.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/bootstrap.sh
source scripts/wine-host.sh

jobs=$(nproc)
status=0
start=$(date +%s)
for preset in native windows windows-x64; do
    echo "== $preset =="
    if [ "$preset" = windows ] && ! reason=$(wine_host_can_run i686); then
        echo "== $preset: its Windows tests are skipped: $reason"
    fi
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    ctest --preset "$preset" -j "$jobs" || status=1
done
echo "== all suites: $((($(date +%s) - start) / 60)) min $((($(date +%s) - start) % 60)) s, Wine mode $SETUP_WINE_MODE"
exit $status
