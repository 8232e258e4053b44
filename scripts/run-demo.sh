#!/usr/bin/env bash
# Builds the installer with the demo payload and runs it under Wine.
# With a usable X display ($DISPLAY) the installer opens there and this script waits for it.
# Without one, it runs on a private Xvfb display, saves a screenshot of the first page and ends.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/bootstrap.sh >/dev/null

cmake --preset windows >/dev/null
cmake --build --preset windows --target TessikSetup
installer=$PWD/build/windows/src/app/TessikSetup.exe

# A person's screen needs a display we can open.
if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
    export SETUP_REAL_DISPLAY=$DISPLAY
fi
source scripts/wine-env.sh build/windows
wine_session_ensure

if [ -n "${SETUP_REAL_DISPLAY:-}" ]; then
    echo "run-demo: the installer opens on $DISPLAY"
    env LC_ALL=zh_CN.UTF-8 wine "$installer" </dev/null 2>/dev/null || true
    wine_session_stop
    exit 0
fi

shot=$PWD/build/windows/demo-screenshot.png
env LC_ALL=zh_CN.UTF-8 wine "$installer" </dev/null >/dev/null 2>&1 &
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^TessikOne' | head -n 1) || true
if [ -z "$window" ]; then
    echo "run-demo: the installer window did not appear" >&2
    wine_session_stop
    exit 1
fi
sleep 1.5  # let the first page finish painting
import -window "$window" "$shot"
wine_session_stop
echo "run-demo: no display here; the first page was saved to $shot"
