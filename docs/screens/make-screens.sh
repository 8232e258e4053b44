#!/usr/bin/env bash
# Takes the README's screenshots of the installer again: runs the end-to-end test of the Windows
# build that this host runs, with its screenshots going to docs/screens instead of the build folder.
#   docs/screens/make-screens.sh [BUILD_DIR]     (default: build/windows, or build/windows-x64 on
#                                                 a host without 32-bit support)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-host.sh"
preset=$(wine_host_preset)
build=${1:-$root/build/$preset}
[ -d "$build" ] || { cmake --preset "$preset" >/dev/null; }
cmake --build "$build"
SETUP_E2E_SHOTS=$root/docs/screens bash "$root/tests/e2e/installer_e2e.sh" "$build" "$root"
"$build/wine-run" --stop
