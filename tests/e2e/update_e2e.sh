#!/usr/bin/env bash
# Updates over a running installation, as a deployment tool pushes them to a till whose product
# runs. Each pass starts from a first unattended installation whose main program and servers then
# run, with every installed file made older:
#   R. /VERYSILENT over it: exit 3010; the running programs' files are still the old ones, whole,
#      each new copy waits beside its file with its rename in PendingFileRenameOperations, the log
#      lists them, every other file is new; a restart of the machine then puts every file in place;
#   S. /VERYSILENT /CLOSEAPPLICATIONS over it: exit 0, every file new, the servers running again
#      from the new files;
#   T. a program of the installation folder that has the payload's library loaded: without
#      /CLOSEAPPLICATIONS the library is replaced at restart (3010), with it the program is ended
#      and the library replaced (0);
#   U. two installers at once: while a wizard runs, a second unattended one exits 1618 and writes
#      nothing, and a second wizard says so in a message box and exits 1618.
#   update_e2e.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
source "$(dirname "$0")/e2e_common.sh"

UPDATE_TARGET=$DRIVE_C/e2e-update
UPDATE_DIR='C:\e2e-update'
UPDATE_LOG=$DRIVE_C/e2e-update.log
MAIN_PROGRAM="TessikOne商贸版.Exe"
SERVERS=("TessikOne商贸版服务器.exe" scktsrvr.exe RuDavovo.exe)

pending_renames() { run_wine reg query "$SESSION_MANAGER" /v PendingFileRenameOperations | gbk; }
update_log() { log_text "$UPDATE_LOG"; }

# The old file of a program kept running: the payload's file with the older build's line.
is_older_build() {  # rel
    cmp -s <(cat "$PAYLOAD/$1"; printf 'older build\r\n') "$UPDATE_TARGET/$1"
}

first_installation() {
    clean_machine
    rm -rf "$UPDATE_TARGET" "$UPDATE_LOG"
    run_unattended "/VERYSILENT /D=$UPDATE_DIR"
    [ "$EXIT_CODE" = 0 ] || { fail "the first installation exits with 0 (got $EXIT_CODE)"; return 1; }
    # At a till the main program runs beside the servers the installer started.
    run_wine "$UPDATE_TARGET/$MAIN_PROGRAM" >/dev/null &
    local program
    for program in "$MAIN_PROGRAM" "${SERVERS[@]}"; do
        wait_for 30 runs_from "$UPDATE_TARGET/$program" || { fail "$program runs"; return 1; }
    done
    age_installed_files "$UPDATE_TARGET"
}

pass_restart_needed() {
    echo "== R: unattended over the running installation"
    first_installation || return
    run_unattended "/VERYSILENT /LOG=\"C:\\e2e-update.log\" /D=$UPDATE_DIR"
    check "exit code 3010: installed, restart needed" test "$EXIT_CODE" = 3010
    check "no window showed while it ran" test "$WINDOWS_SEEN" -eq 0
    local program renames copies
    renames=$(pending_renames)
    for program in "$MAIN_PROGRAM" "${SERVERS[@]}"; do
        check "$program still runs" runs_from "$UPDATE_TARGET/$program"
        check "$program is the old file, whole" is_older_build "$program"
        check "the log lists $program as replaced at restart" \
            grep -qF "file replaced at restart: $UPDATE_DIR\\$program" <(update_log)
        check "the rename of $program waits in the registry" \
            grep -qF "!\\??\\$UPDATE_DIR\\$program" <<<"$renames"
    done
    copies=$(find "$UPDATE_TARGET" -name '~tr*.tmp' | wc -l)
    check "one new copy waits beside each of them ($copies)" test "$copies" -eq 4
    # The programs are all copies of one stand-in: each copy must equal it.
    check "each waiting copy is the new file" sh -c \
        "for f in '$UPDATE_TARGET'/~tr*.tmp; do cmp -s \"\$f\" '$PAYLOAD/$MAIN_PROGRAM' || exit 1; done"
    check "every other file is new" same_files_as_payload "$UPDATE_TARGET" \
        "^($MAIN_PROGRAM|TessikOne商贸版服务器\\.exe|scktsrvr\\.exe|RuDavovo\\.exe)\$"
    check "the summary counts them" \
        grep -q 'summary: .* 4 replaced at restart, 0 not installed;.*exit code 3010' <(update_log)

    # The restart: the programs end with the session, and the system renames before any runs.
    end_programs
    run_wine wineboot -r >/dev/null
    check "after the restart every file is new" same_files_as_payload "$UPDATE_TARGET"
    check "no copy is left" test -z "$(find "$UPDATE_TARGET" -name '~tr*.tmp')"
}

pass_close_applications() {
    echo "== S: unattended with /CLOSEAPPLICATIONS over the running installation"
    first_installation || return
    local before
    before=$(log_lines "$UPDATE_TARGET")
    run_unattended "/VERYSILENT /CLOSEAPPLICATIONS /LOG=\"C:\\e2e-update.log\" /D=$UPDATE_DIR"
    check "exit code 0" test "$EXIT_CODE" = 0
    check "every file is new" same_files_as_payload "$UPDATE_TARGET"
    check "nothing waits for a restart" test -z "$(pending_renames | grep -F e2e-update)"
    check "the main program was ended" not_running "$UPDATE_TARGET/$MAIN_PROGRAM"
    local server
    for server in "${SERVERS[@]}"; do
        check "$server runs again, from its new file" runs_from "$UPDATE_TARGET/$server"
    done
    check "the servers were started again" test "$(log_lines "$UPDATE_TARGET")" -ge $((before + 4))
}

pass_loaded_library() {
    echo "== T: a running program of the folder holds the payload's library"
    first_installation || return
    end_programs
    # Any program of the folder: a copy of a stand-in that keeps the library loaded.
    cp "$UPDATE_TARGET/uninstall.exe" "$UPDATE_TARGET/holder.exe"
    run_wine "$UPDATE_TARGET/holder.exe" --hold "$UPDATE_DIR\\TsBase.dll" >/dev/null &
    wait_for 30 runs_from "$UPDATE_TARGET/holder.exe" || { fail "the holder runs"; return; }

    run_unattended "/VERYSILENT /LOG=\"C:\\e2e-update.log\" /D=$UPDATE_DIR"
    check "without /CLOSEAPPLICATIONS: exit code 3010" test "$EXIT_CODE" = 3010
    check "the holder still runs" runs_from "$UPDATE_TARGET/holder.exe"
    check "the library is the old file, whole" is_older_build TsBase.dll
    check "the log names the library and its holder" \
        grep -qF "file replaced at restart: $UPDATE_DIR\\TsBase.dll" <(update_log | grep -F 'held by holder.exe')
    check "its rename waits in the registry" grep -qF "!\\??\\$UPDATE_DIR\\TsBase.dll" <<<"$(pending_renames)"
    run_wine reg delete "$SESSION_MANAGER" /v PendingFileRenameOperations /f >/dev/null
    rm -f "$UPDATE_TARGET"/~tr*.tmp

    run_unattended "/VERYSILENT /CLOSEAPPLICATIONS /LOG=\"C:\\e2e-update.log\" /D=$UPDATE_DIR"
    check "with /CLOSEAPPLICATIONS: exit code 0" test "$EXIT_CODE" = 0
    check "the holder was ended" not_running "$UPDATE_TARGET/holder.exe"
    check "the library is new" cmp -s "$PAYLOAD/TsBase.dll" "$UPDATE_TARGET/TsBase.dll"
    check "the log says it ended the holder" grep -q 'program ended: .*holder.exe' <(update_log)
}

message_box_shown() { [ "$(xdotool search --onlyvisible --name '^TessikOne软件$' | wc -l)" -ge 2 ]; }

pass_two_installers() {
    echo "== U: two installers at once"
    clean_machine
    rm -rf "$DRIVE_C/e2e-second"
    start_installer "$SLOW_INSTALLER" || return
    run_unattended '/VERYSILENT /D=C:\e2e-second'
    check "a second unattended installer exits with 1618" test "$EXIT_CODE" = 1618
    check "and writes nothing" test ! -e "$DRIVE_C/e2e-second"

    local line text box
    line="\"$(wine_path "$INSTALLER")\""
    run_wine "$PROBE" run "$line" >"$WORK/second-wizard.txt" &
    local second=$!
    # The box carries the wizard's caption: wait until it shows beside the first wizard.
    wait_for 30 message_box_shown || fail "a message box shows"
    text=$(run_wine "$PROBE" text 'TessikOne软件' 30 | gbk | head -n 1)
    check "a second wizard says another installer runs" test "$text" = "另一个安装程序正在运行，请等它结束后再试。"
    box=$(xdotool search --onlyvisible --name '^TessikOne软件$' | while read -r w; do
        [ "$(xdotool getwindowgeometry "$w" | awk '/Geometry/ { print $2 }')" != 516x402 ] && echo "$w"
    done | head -n 1)
    [ -n "$box" ] && shot second-installer "$box"
    run_wine "$PROBE" click 'TessikOne软件' 确定 5 >/dev/null
    wait "$second"
    check "and exits with 1618" test "$(tr -dc 0-9 <"$WORK/second-wizard.txt")" = 1618
    check "the first wizard still shows" test -n "$(xdotool search --onlyvisible --name '^TessikOne软件$')"
    end_programs
}

pass_restart_needed
pass_close_applications
pass_loaded_library
pass_two_installers
end_programs
rm -rf "$UPDATE_TARGET" "$UPDATE_LOG"
rm -f "$WINEPREFIX/dosdevices/d:"

if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all update checks passed"
