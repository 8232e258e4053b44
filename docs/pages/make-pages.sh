#!/usr/bin/env bash
# Screenshots of the four wizard pages with the generated demo skin, under Wine and Xvfb:
#   docs/pages/make-pages.sh [BUILD_DIR]   (default: the Windows build this host runs)
# Builds the page gallery, shows each page in turn and captures its window into
# docs/pages/page1.png .. page4.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-host.sh"
build=$(cd "${1:-$root/build/$(wine_host_preset)}" && pwd)
out=$root/docs/pages

cmake --build "$build" --target page_gallery >/dev/null
source "$root/scripts/wine-env.sh" "$build"
wine_session_ensure

gallery=$build/tests/windows/page_gallery.exe
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for page in 1 2 3 4; do
    stamp=$work/stamp$page
    title="page-gallery-$$-$page"
    # The gallery writes its stamp once the page is painted; it ends after the capture.
    wine_check_program "$gallery"
    setsid env LC_ALL=zh_CN.UTF-8 "$SETUP_WINE" "$gallery" --page $page --title "$title" \
        --stamp "$(wine_path "$stamp")" --hold 10000 </dev/null >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 150); do [ -s "$stamp" ] && break; sleep 0.1; done
    [ -s "$stamp" ] || { echo "make-pages: page $page did not paint" >&2; exit 1; }
    window=$(xdotool search --name "^$title\$" | head -1)
    sleep 0.3  # let the X server catch up with the last paint
    import -window "$window" "$out/page$page.png"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    echo "page $page: $(identify -format '%wx%h' "$out/page$page.png") -> docs/pages/page$page.png"
done
