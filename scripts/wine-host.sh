#!/usr/bin/env bash
# Which Windows programs this host can run under Wine, decided by one probe.
#
# Machines of our kind differ: on some the kernel refuses 32-bit programs, so Debian's `wine`
# (which starts the 32-bit loader) and every i686 program fail there, while Wine's 64-bit loader
# works. SETUP_WINE_ARCH=64 takes the 64-bit-only path on any host.
#
# Sourced, it defines:
#   SETUP_WINE_MODE     wow64: 32- and 64-bit programs, Debian's wine in a WoW64 prefix
#                       win64: 64-bit programs only, the 64-bit loader in a 64-bit prefix
#   SETUP_WINE          the loader command for every Windows program, wineboot, reg and winepath
#   SETUP_WINE_WHY      one line saying why the mode is win64 (empty for wow64)
#   wine_host_preset    the Windows preset whose programs run here
#   wine_host_can_run   whether programs of an architecture (i686, x86_64) run here, and why not
# Run as a script:
#   wine-host.sh                  prints the mode and, for win64, the reason
#   wine-host.sh --can-run ARCH   exit 0 when ARCH programs run here; else prints why, exit 1
#   wine-host.sh --preset         prints the Windows preset whose programs run here

SETUP_WINE32_LOADER=/usr/lib/wine/wine
SETUP_WINE64_LOADER=/usr/lib/wine/wine64

_wine_host_probe() {
    if [ "${SETUP_WINE_ARCH:-}" = 64 ]; then
        SETUP_WINE_MODE=win64
        SETUP_WINE_WHY="SETUP_WINE_ARCH=64 asks for the 64-bit-only path"
    elif "$SETUP_WINE32_LOADER" --version >/dev/null 2>&1; then
        SETUP_WINE_MODE=wow64
        SETUP_WINE_WHY=""
    else
        SETUP_WINE_MODE=win64
        SETUP_WINE_WHY="this host cannot run 32-bit code ($SETUP_WINE32_LOADER does not start)"
    fi
    if [ "$SETUP_WINE_MODE" = wow64 ]; then
        SETUP_WINE=wine
        unset WINEARCH
    else
        SETUP_WINE=$SETUP_WINE64_LOADER
        export WINEARCH=win64
        # Debian's scripts over wine (winepath, wineboot) look for the loader here.
        export WINELOADER=$SETUP_WINE64_LOADER
    fi
}

wine_host_preset() {
    if [ "$SETUP_WINE_MODE" = wow64 ]; then echo windows; else echo windows-x64; fi
}

# wine_host_can_run ARCH: i686 programs need the 32-bit loader; x86_64 programs run in both modes.
wine_host_can_run() {
    case "$1" in
        i686 | x86 | i386)
            [ "$SETUP_WINE_MODE" = wow64 ] && return 0
            echo "i686 Windows programs cannot run here: $SETUP_WINE_WHY; a host with 32-bit support runs them"
            return 1 ;;
        *) return 0 ;;
    esac
}

_wine_host_probe

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    case "${1:-}" in
        --can-run) wine_host_can_run "${2:?architecture}" ;;
        --preset) wine_host_preset ;;
        "") echo "$SETUP_WINE_MODE${SETUP_WINE_WHY:+: $SETUP_WINE_WHY}" ;;
        *) echo "usage: wine-host.sh [--can-run ARCH | --preset]" >&2; exit 2 ;;
    esac
fi
