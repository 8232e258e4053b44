# Wine environment of one build folder. Source it with the build folder as argument:
#   source scripts/wine-env.sh build/windows
# then call wine_session_ensure before running Windows programs and wine_session_stop at the end.
# Each build folder has its own prefix, locale, home and Xvfb display, so builds never share state.
# Windows programs run through wine_cmd, which picks the loader that this host can run
# (scripts/wine-host.sh): a WoW64 prefix where 32-bit code runs, a 64-bit prefix where it does not.

source "$(dirname "${BASH_SOURCE[0]}")/wine-host.sh"
SETUP_BUILD_DIR=$(cd "$1" && pwd)
SETUP_KEEPER_EXE=${SETUP_KEEPER_EXE:-$SETUP_BUILD_DIR/keeper.exe}
# The two kinds of prefix never share a folder: a build folder may be used in both modes.
if [ "$SETUP_WINE_MODE" = wow64 ]; then
    export WINEPREFIX=$SETUP_BUILD_DIR/wineprefix
else
    export WINEPREFIX=$SETUP_BUILD_DIR/wineprefix-win64
fi
export WINEDEBUG=-all
# ';' separates the entries: with ',' the winemenubuilder part is ignored.
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
export LOCPATH=$SETUP_BUILD_DIR/locale
# Without XDG folders the prefix's Desktop is a link to $HOME; keep links out of the real home.
export HOME=$WINEPREFIX.home
SETUP_SESSION_DIR=$WINEPREFIX.session

_wine_log() { echo "wine-env: $*" >&2; }

# wine_cmd PROGRAM [ARGS...]: runs a Windows program (or wine's own reg, cmd, ...) in this session.
wine_cmd() { env LC_ALL=zh_CN.UTF-8 "$SETUP_WINE" "$@"; }

# wine_path UNIX_PATH: the Windows form of a path, as the programs of this prefix see it.
wine_path() { "$SETUP_WINE" winepath -w "$1" 2>/dev/null; }

# The machine field of a PE file's header: i686, x86_64, or nothing when it is not a PE file.
_pe_machine() {
    local offset machine
    offset=$(od -An -t u4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ') || return 0
    [ -n "$offset" ] || return 0
    machine=$(od -An -t x2 -j $((offset + 4)) -N 2 "$1" 2>/dev/null | tr -d ' ')
    case "$machine" in 014c) echo i686 ;; 8664) echo x86_64 ;; esac
}

# wine_check_program EXE: says in one line why EXE cannot run here, if it cannot.
# Returns 0 when it can run, 77 when its architecture cannot run on this host, 1 otherwise.
wine_check_program() {
    local exe=$1 arch why
    case "$exe" in *.exe | *.EXE | */*) ;; *) return 0 ;; esac  # wine's own programs: reg, cmd
    [ -f "$exe" ] || { echo "wine-env: cannot start $exe: no such file" >&2; return 1; }
    arch=$(_pe_machine "$exe")
    [ -n "$arch" ] || { echo "wine-env: cannot start $exe: not a Windows program" >&2; return 1; }
    why=$(wine_host_can_run "$arch") || { echo "wine-env: skipped $(basename "$exe"): $why" >&2; return 77; }
}

# wine_run_checked EXE [ARGS...]: wine_cmd, with one line of explanation when Wine itself could
# not start the program; the program's own exit code passes through unchanged.
wine_run_checked() {
    local rc=0
    wine_check_program "$1" || return
    wine_cmd "$@" || rc=$?
    case $rc in
        126) echo "wine-env: Wine could not start $1: $SETUP_WINE cannot be executed on this host (exit 126)" >&2 ;;
        127) echo "wine-env: Wine could not start $1: $SETUP_WINE is not installed (exit 127; run scripts/bootstrap.sh)" >&2 ;;
    esac
    return $rc
}

# Wine needs a real zh_CN.UTF-8 locale to convert GBK file names; build it into the build folder.
wine_locale_ensure() {
    [ -f "$LOCPATH/zh_CN.UTF-8/LC_CTYPE" ] && return 0
    mkdir -p "$LOCPATH"
    localedef -i zh_CN -f UTF-8 "$LOCPATH/zh_CN.UTF-8" >/dev/null 2>&1 || true
    [ -f "$LOCPATH/zh_CN.UTF-8/LC_CTYPE" ] || { _wine_log "localedef zh_CN.UTF-8 failed"; return 1; }
}

wine_prefix_ensure() {
    wine_locale_ensure
    [ -f "$WINEPREFIX/.ready" ] && return 0
    _wine_log "creating prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$HOME"
    # The 64-bit loader warns that syswow64's rundll32 cannot start, and goes on.
    env -u DISPLAY LC_ALL=zh_CN.UTF-8 "$SETUP_WINE" wineboot -i </dev/null >/dev/null 2>&1 || true
    wineserver -w
    [ -f "$WINEPREFIX/system.reg" ] ||
        { _wine_log "cannot create the prefix: '$SETUP_WINE wineboot -i' made no registry"; return 1; }
    local u="$WINEPREFIX/drive_c/users/$(id -un)" d
    for d in Desktop Documents Downloads Music Pictures Videos \
             AppData/Roaming/Microsoft/Windows/Templates; do
        if [ -L "$u/$d" ]; then rm "$u/$d" && mkdir -p "$u/$d"; fi
    done
    # Marlett alone gives Wine's caption buttons their glyphs; the other Wine fonts break Chinese.
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    # Unmanaged windows: without it every captioned window waits 2 s for a window manager.
    env -u DISPLAY LC_ALL=zh_CN.UTF-8 "$SETUP_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
        </dev/null >/dev/null 2>&1
    # Windows always has the machine's Run key; a new 64-bit prefix lacks it in the 32-bit view.
    env -u DISPLAY LC_ALL=zh_CN.UTF-8 "$SETUP_WINE" reg add \
        'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /reg:32 /f </dev/null >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.ready"
}

_wine_session_alive() {
    [ -f "$SETUP_SESSION_DIR/xvfb.pid" ] && kill -0 "$(cat "$SETUP_SESSION_DIR/xvfb.pid")" 2>/dev/null
}

_wine_session_start() {
    rm -rf "$SETUP_SESSION_DIR"
    mkdir -p "$SETUP_SESSION_DIR"
    local i
    if [ -n "${SETUP_REAL_DISPLAY:-}" ]; then
        # A person's screen: no Xvfb of our own; the session lives as long as this shell's parent.
        echo "$SETUP_REAL_DISPLAY" | tr -dc 0-9. >"$SETUP_SESSION_DIR/display"
        echo $PPID >"$SETUP_SESSION_DIR/xvfb.pid"
    else
        # -displayfd picks a free display, so several build folders can test at once.
        setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
            3>"$SETUP_SESSION_DIR/display" </dev/null >/dev/null 2>&1 &
        echo $! >"$SETUP_SESSION_DIR/xvfb.pid"
        for i in $(seq 100); do [ -s "$SETUP_SESSION_DIR/display" ] && break; sleep 0.1; done
        [ -s "$SETUP_SESSION_DIR/display" ] || { _wine_log "Xvfb did not start"; return 1; }
    fi
    export DISPLAY=":$(tr -dc 0-9. <"$SETUP_SESSION_DIR/display")"
    # A persistent server with quiet stdio: harnesses reading stderr never wait for it.
    wineserver -p </dev/null >/dev/null 2>&1
    # The keeper holds one explorer.exe with quiet stdio for the whole session.
    if [ -f "$SETUP_KEEPER_EXE" ] && wine_check_program "$SETUP_KEEPER_EXE" 2>/dev/null; then
        local ready="$SETUP_SESSION_DIR/keeper.ready"
        setsid env LC_ALL=zh_CN.UTF-8 "$SETUP_WINE" "$SETUP_KEEPER_EXE" "$(wine_path "$ready")" \
            </dev/null >/dev/null 2>&1 &
        for i in $(seq 300); do [ -f "$ready" ] && break; sleep 0.1; done
        [ -f "$ready" ] || _wine_log "keeper did not report ready"
    fi
}

wine_session_ensure() {
    wine_prefix_ensure
    mkdir -p "$(dirname "$SETUP_SESSION_DIR")"
    exec 9>"$SETUP_SESSION_DIR.lock"
    flock 9
    _wine_session_alive || _wine_session_start
    export DISPLAY=":$(tr -dc 0-9. <"$SETUP_SESSION_DIR/display")"
    flock -u 9
    exec 9>&-
}

wine_session_stop() {
    [ -d "$WINEPREFIX" ] && wineserver -k 2>/dev/null || true
    if [ -f "$SETUP_SESSION_DIR/xvfb.pid" ] && [ -z "${SETUP_REAL_DISPLAY:-}" ]; then
        kill "$(cat "$SETUP_SESSION_DIR/xvfb.pid")" 2>/dev/null || true
    fi
    rm -rf "$SETUP_SESSION_DIR"
}
