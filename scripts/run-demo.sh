#!/usr/bin/env bash
# Builds the installer with the demo payload and runs it under Wine.
# With a usable X display ($DISPLAY) the installer opens there and this script waits for it.
# Without one, it runs on a private Xvfb display, saves a screenshot of the first page and ends.
# The product is the i686 build; on a host that cannot run 32-bit code the x86_64 build is shown.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/bootstrap.sh >/dev/null

source scripts/wine-host.sh
preset=$(wine_host_preset)
[ "$preset" = windows ] || echo "run-demo: $SETUP_WINE_WHY; showing the x86_64 build of the installer"
build=$PWD/build/$preset
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target TessikSetup
installer=$build/src/app/TessikSetup.exe

# A person's screen needs a display we can open.
if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
    export SETUP_REAL_DISPLAY=$DISPLAY
fi
source scripts/wine-env.sh "$build"
wine_session_ensure

if [ -n "${SETUP_REAL_DISPLAY:-}" ]; then
    echo "run-demo: the installer opens on $DISPLAY"
    wine_run_checked "$installer" </dev/null 2>"$build/demo-stderr.txt" ||
        grep '^wine-env:' "$build/demo-stderr.txt" >&2 || true
    wine_session_stop
    exit 0
fi

shot=$build/demo-screenshot.png
wine_run_checked "$installer" </dev/null >/dev/null 2>"$build/demo-stderr.txt" &
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^TessikOne' | head -n 1) || true
if [ -z "$window" ]; then
    echo "run-demo: the installer window did not appear within 60 s" >&2
    grep '^wine-env:' "$build/demo-stderr.txt" >&2 || true
    wine_session_stop
    exit 1
fi
sleep 1.5  # let the first page finish painting
import -window "$window" "$shot"
wine_session_stop
echo "run-demo: no display here; the first page was saved to $shot"
