#!/usr/bin/env bash
# What the end-to-end tests share: the machine (prefix, folders, registry), the installer's window
# and how a person clicks it, the programs, the unattended runs and the checks of files, links and
# started programs. Sourced by each end-to-end script with BUILD_DIR and SOURCE_DIR as $1 and $2.
BUILD=$(cd "$1" && pwd)
SOURCE=$(cd "$2" && pwd)
source "$SOURCE/scripts/wine-env.sh" "$BUILD"
wine_session_ensure

INSTALLER=$BUILD/src/app/TessikSetup.exe
SLOW_INSTALLER=$BUILD/tests/e2e/TessikSetupSlow.exe
PROBE=$BUILD/tests/e2e/e2e_probe.exe
PAYLOAD=$BUILD/demo/payload
ORDER=$SOURCE/demo/payload.order
SHOTS=${SETUP_E2E_SHOTS:-$BUILD/tests/e2e/screens}
WORK=$BUILD/tests/e2e/work
mkdir -p "$SHOTS" "$WORK"

DRIVE_C=$WINEPREFIX/drive_c
USER_DIR=$DRIVE_C/users/$(id -un)
DESKTOP=$USER_DIR/Desktop
QUICK_LAUNCH="$USER_DIR/AppData/Roaming/Microsoft/Internet Explorer/Quick Launch"
GROUP="$USER_DIR/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tessik软件"
FAVORITES=$USER_DIR/Favorites
TARGET=$DRIVE_C/e2e-target
D_DRIVE=$WORK/d-drive
DEFAULT_TARGET="$D_DRIVE/Tessik软件/TessikOne软件商贸版"
SESSION_MANAGER='HKLM\SYSTEM\CurrentControlSet\Control\Session Manager'
# The files the installer never overwrites once they exist: their names contain one of these,
# case ignored ("data\DBConfig.ini" too).
PROTECTED='config\.ini|pos\.ini|posini\.ini|swccfg\.dat|printdb\.mdb'
is_protected() { [[ ${1,,} =~ $PROTECTED ]]; }
PROGRAMS=("TessikOne商贸版.Exe" "TessikOne商贸版服务器.exe" scktsrvr.exe RuDavovo.exe uninstall.exe)

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
check() { local what=$1; shift; if "$@"; then pass "$what"; else fail "$what"; fi; }
run_wine() { wine_cmd "$@" </dev/null 2>/dev/null; }
gbk() { iconv -f GBK -t UTF-8 | tr -d '\r'; }

# --- the machine --------------------------------------------------------------------------

end_programs() {
    local name
    for name in "${PROGRAMS[@]}" TessikSetup.exe TessikSetupSlow.exe; do
        run_wine "$PROBE" kill "$name" >/dev/null
    done
}

reg_delete() { run_wine reg delete "$1" /reg:32 /f >/dev/null; }
reg_value() {  # key value -> data (empty when missing)
    run_wine reg query "$1" /v "$2" /reg:32 | gbk | awk -v v="$2" '$1 == v { $1 = ""; $2 = ""; sub(/^  */, ""); print }'
}

# reg.exe prints Chinese value names badly; the autostart value is the one named "Tessik...".
autostart_value() {
    run_wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /reg:32 | gbk |
        awk '$1 ~ /^Tessik/ && $2 == "REG_SZ" { $1 = ""; $2 = ""; sub(/^  */, ""); print }'
}

clean_machine() {
    end_programs
    reg_delete 'HKLM\Software\QRVK2017'
    reg_delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessik软件'
    run_wine reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /v 'Tessik软件' /reg:32 /f >/dev/null
    # The other Windows tests' scratch folder would show in the chooser's screenshot.
    chattr -i "$DRIVE_C/e2e-locked" 2>/dev/null || true
    rm -rf "$TARGET" "$D_DRIVE" "$GROUP" "$FAVORITES/Tessik软件.url" "$DRIVE_C/setup-tests" \
        "$DRIVE_C/e2e-locked" "$DRIVE_C/e2e-taken" "$DRIVE_C/e2e silent" "$DRIVE_C/e2e-silent.log"
    rm -f "$DESKTOP"/*.lnk "$QUICK_LAUNCH"/*.lnk
    # Replacements a run scheduled for a restart that never came.
    run_wine reg delete "$SESSION_MANAGER" /v PendingFileRenameOperations /f >/dev/null
    mkdir -p "$D_DRIVE" "$QUICK_LAUNCH"
    # The default installation directory lies on drive D.
    ln -sfn "$D_DRIVE" "$WINEPREFIX/dosdevices/d:"
}

# --- the installer's window ---------------------------------------------------------------

WINDOW=""
WX=0
WY=0
start_installer() {  # exe [arguments...]
    run_wine "$@" >/dev/null &
    INSTALLER_PID=$!
    WINDOW=$(timeout 60 xdotool search --sync --onlyvisible --name '^TessikOne软件$' | head -n 1)
    [ -n "$WINDOW" ] || { fail "the installer window appears"; return 1; }
    eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
    WX=$X
    WY=$Y
    sleep 1
}

# Points of the window: the page panels start at (3, 65); a control's middle is clicked.
click() { xdotool mousemove $((WX + $1)) $((WY + $2)) click 1; sleep "${3:-0.6}"; }
click_agree() { click 23 376; }
click_accept() { click 364 378; }
click_browse() { click 448 138; }
click_next() { click 358 378 0.3; }
click_cancel_page3() { click 448 378; }
click_finish() { click 448 378; }
click_start_program() { click 43 141; }
click_favorites() { click 43 181; }
shot() { import -window "${2:-$WINDOW}" "$SHOTS/$1.png"; }

wait_for() {  # seconds command...
    local seconds=$1 i
    shift
    for ((i = 0; i < seconds * 10; i++)); do "$@" && return 0; sleep 0.1; done
    return 1
}
# Visible windows of the wizard's size and title.
wizard_windows() {
    local w
    for w in $(xdotool search --onlyvisible --name '^TessikOne软件$' 2>/dev/null); do
        [ "$(xdotool getwindowgeometry "$w" | awk '/Geometry/ { print $2 }')" = 516x402 ] && echo "$w"
    done
}

installer_gone() { ! kill -0 "$INSTALLER_PID" 2>/dev/null; }
# The installer's exit code, once it has ended.
installer_exit() { local rc=0; wait "$INSTALLER_PID" || rc=$?; echo "$rc"; }
# The Unix side sees only the low 8 bits of a Windows exit code (1602 arrives as 66).
expect_exit() {  # code meaning
    local rc
    rc=$(installer_exit)
    [ "$rc" = "$(($1 % 256))" ] || { echo "  exit code $rc, expected $1 ($2) as $(($1 % 256))"; return 1; }
}
log_lines() { [ -f "$1/started.log" ] && gbk <"$1/started.log" | wc -l || echo 0; }
# The programs as they were started: each line ends with its process's creation time.
started_in_order() { gbk <"$1/started.log" | sort -t $'\t' -k3,3 | cut -f1,2; }
log_has_lines() { [ "$(log_lines "$1")" -ge "$2" ]; }
visible() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }

# --- checks --------------------------------------------------------------------------------

same_files_as_payload() {  # dir [except-regex]
    local rel path bad=0
    while IFS= read -r rel; do
        rel=${rel%$'\r'}
        [ -n "$rel" ] || continue
        [ -n "${2:-}" ] && [[ $rel =~ $2 ]] && continue
        path=${rel//\\//}
        cmp -s "$PAYLOAD/$path" "$1/$path" || { echo "  differs: $rel"; bad=1; }
    done <"$ORDER"
    return $bad
}

link_target() {  # unix path -> the link's target as the shell reads it back
    run_wine "$PROBE" lnk "$(wine_path "$1")" | gbk | cut -f1
}

expect_link() {  # unix path, expected target
    local got
    got=$(link_target "$1")
    [ "$got" = "$2" ] || { echo "  $1 -> '$got', expected '$2'"; return 1; }
}

expect_log() {  # dir, expected lines...
    local dir=$1
    shift
    local expected
    expected=$(printf '%s\tFalse\n' "$@")
    [ "$(started_in_order "$dir")" = "$expected" ] ||
        { echo "  started:"; started_in_order "$dir" | sed 's/^/    /'; return 1; }
}

# Runs the installer (UNATTENDED_EXE, or the demo installer) with exactly this command line, as a
# deployment tool starts it, and watches the screen while it runs: WINDOWS_SEEN counts the
# installer's windows that showed, EXIT_CODE is its whole exit code (the Unix side sees only its
# low 8 bits).
run_unattended() {  # arguments...
    local line="\"$(wine_path "${UNATTENDED_EXE:-$INSTALLER}")\" $*"
    run_wine "$PROBE" run "$line" >"$WORK/exit-code.txt" &
    local pid=$! seen=0
    while kill -0 "$pid" 2>/dev/null; do
        [ -n "$(xdotool search --onlyvisible --name '^TessikOne软件$' 2>/dev/null)" ] && seen=$((seen + 1))
        [ -n "$(xdotool search --onlyvisible --name '^(Warning|Error)$' 2>/dev/null)" ] && seen=$((seen + 1))
        sleep 0.02
    done
    WINDOWS_SEEN=$seen
    wait "$pid"
    EXIT_CODE=$(tr -dc 0-9 <"$WORK/exit-code.txt")
}

# flip_bytes FILE OFFSET COUNT: inverts COUNT bytes of FILE from OFFSET on.
flip_bytes() {
    local byte i
    for ((i = 0; i < $3; i++)); do
        byte=$(od -An -tu1 -j $(($2 + i)) -N1 "$1" | tr -d ' ')
        printf "\\$(printf '%03o' $((255 - byte)))" |
            dd of="$1" bs=1 seek=$(($2 + i)) conv=notrunc status=none
    done
}

# offset_of FILE PART: where the first 64 bytes of PART stand in FILE.
offset_of() {  # grep cannot match bytes across a newline: Python finds any bytes
    python3 -c 'import sys
at = open(sys.argv[1], "rb").read().find(open(sys.argv[2], "rb").read(64))
print(at if at >= 0 else "")' "$1" "$2"
}

log_text() { tr -d '\r' <"$1"; }

# Makes every installed payload file differ from the new one, as an older version would: a run
# that leaves any of them unreplaced then fails the byte-for-byte check. Running programs' files
# too: the Unix side writes past Wine's locks, and appended bytes change nothing that runs.
age_installed_files() {  # dir
    local rel
    while IFS= read -r rel; do
        rel=${rel%$'\r'}
        [ -n "$rel" ] && ! is_protected "$rel" && printf 'older build\r\n' >>"$1/${rel//\\//}"
    done <"$ORDER"
}

# Whether a process runs the program at this Unix path.
runs_from() {  # unix path
    [ "$(run_wine "$PROBE" running "$(wine_path "$1")" | tr -dc 0-9)" -ge 1 ]
}
not_running() { ! runs_from "$1"; }
