#!/usr/bin/env bash
# A copy of the installer in a folder that also holds a marker DLL under the name of every DLL
# the installer or the system libraries it uses look for (as a downloads folder may), run with
# Wine told to prefer those copies, as Windows prefers a DLL in the program's folder to a system
# DLL that is not a known DLL. Known DLLs, which Windows always takes from the system, are planted
# too, with Wine's own choice. A marker DLL writes <name>.dll.loaded beside itself when loaded.
#   A. the control: what Wine itself loads at every program's start (reported, left out), and a
#      program that loads by bare name takes the planted copy, so the setup sees a planted DLL;
#   B. the wizard: started, through page 1 to page 2 and its directory chooser, closed: no marker
#      written;
#   C. unattended (/VERYSILENT /D=...), installing the whole payload: no marker written.
#   dll_planting_test.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
BUILD=$(cd "$1" && pwd)
SOURCE=$(cd "$2" && pwd)
source "$SOURCE/scripts/wine-env.sh" "$BUILD"
wine_session_ensure

INSTALLER=$BUILD/src/app/TessikSetup.exe
MARKER=$BUILD/tests/windows/marker_dll.dll
CONTROL=$BUILD/tests/windows/planting_control.exe
PROBE=$BUILD/tests/e2e/e2e_probe.exe
# Not known DLLs: the installer's own system DLLs outside the known list, and what the system
# libraries it uses load (seen with WINEDEBUG=+loaddll).
PREFERRED=(version msimg32 uxtheme riched20 msftedit usp10 rstrtmgr dwmapi winmm propsys
           profapi userenv cryptbase sspicli secur32 netapi32 mpr dbghelp wintrust crypt32
           windowscodecs msasn1 bcrypt winspool.drv)
# Known DLLs: never taken from the program's folder by Windows.
KNOWN=(shlwapi oleaut32 imm32 shcore ole32 shell32 comdlg32 advapi32 user32 gdi32 msctf
       combase rpcrt4 sechost setupapi ws2_32 psapi imagehlp normaliz nsi clbcatq)
PROGRAMS=("TessikOne商贸版.Exe" "TessikOne商贸版服务器.exe" scktsrvr.exe RuDavovo.exe uninstall.exe)

DIR=$WINEPREFIX/drive_c/setup-tests/planted-$$
TARGET='C:\setup-tests\planted-'$$'-target'
COPY=$DIR/DownloadedSetup.exe
rm -rf "$DIR"
mkdir -p "$DIR"
cp "$INSTALLER" "$COPY"
CONTROL_COPY=$DIR/planting_control.exe
cp "$CONTROL" "$CONTROL_COPY"
for name in "${PREFERRED[@]}" "${KNOWN[@]}"; do
    case "$name" in *.*) cp "$MARKER" "$DIR/$name" ;; *) cp "$MARKER" "$DIR/$name.dll" ;; esac
done
preferred=$(IFS=,; echo "${PREFERRED[*]}")
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;$preferred=n,b"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
run_wine() { wine_cmd "$@" </dev/null >/dev/null 2>&1; }
markers() { (cd "$DIR" && ls -- *.loaded 2>/dev/null | sed 's/\.loaded$//' | tr '\n' ' '); }
clear_markers() { rm -f "$DIR"/*.loaded; }
expect_no_markers() {  # what
    local found
    found=$(markers)
    if [ -z "$found" ]; then pass "$1: no planted DLL loaded"; else fail "$1: loaded $found"; fi
    clear_markers
}
end_programs() {
    local name
    for name in "${PROGRAMS[@]}" DownloadedSetup.exe; do run_wine "$PROBE" kill "$name"; done
}

# A. The control: what Wine's system libraries load at every program's start is Wine's (on Windows
# those libraries are known DLLs that import from the system); those names are reported and taken
# out of the folder, since no program can keep them out. Then a bare-name load takes the planted
# copy of a DLL that is not a known DLL.
run_wine "$CONTROL_COPY"
startup=$(markers)
echo "note: Wine loads at the start of every program: ${startup:-nothing}"
for name in $startup; do rm -f "$DIR/$name"; done
clear_markers
run_wine "$CONTROL_COPY" uxtheme.dll
case " $(markers)" in
    *" uxtheme.dll "*) pass "control: a bare-name load takes the planted uxtheme.dll" ;;
    *) fail "control: the planted uxtheme.dll was not taken (markers: $(markers))" ;;
esac
clear_markers

# B. The wizard: page 1 (rich edit, themes, fonts), page 2 and its directory chooser (the
# shell's folder icons). Points as the end-to-end test clicks them.
run_wine "$COPY" &
pid=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^TessikOne软件$' | head -n 1)
if [ -n "$window" ]; then
    pass "wizard: the window appears"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    click() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 0.8; }
    sleep 1
    click 23 376    # agree
    click 364 378   # accept: page 2
    click 448 138   # browse
    if timeout 10 xdotool search --sync --onlyvisible --name '^设置目录$' >/dev/null; then
        pass "wizard: the directory chooser opens"
    else
        fail "wizard: the directory chooser did not open"
    fi
    sleep 1
else
    fail "wizard: no window"
fi
run_wine "$PROBE" kill DownloadedSetup.exe
wait "$pid" 2>/dev/null
expect_no_markers "wizard"

# C. Unattended, the whole installation.
rc=0
# Bounded: an installer running a planted DLL's code may hang.
timeout 120 env LC_ALL=zh_CN.UTF-8 "$SETUP_WINE" "$COPY" /VERYSILENT "/D=$TARGET" \
    </dev/null >/dev/null 2>&1 || rc=$?
if [ "$rc" = 0 ]; then pass "unattended: installed (exit 0)"; else fail "unattended: exit $rc"; fi
end_programs
expect_no_markers "unattended"

rm -rf "$DIR" "$WINEPREFIX/drive_c/setup-tests/planted-$$-target"
echo "$failures failure(s)"
exit $((failures > 0))
