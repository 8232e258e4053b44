#!/usr/bin/env bash
# The installer driven as a person drives it, with xdotool on its real window under Xvfb and Wine:
#   A. a slow installer, cancelled on page 3: the failure form, and no post-install task ran;
#   B. the demo installer: agree, accept, a new folder through the directory chooser, next,
#      page 4, finish: the files byte for byte, the registry records, the links, the programs
#      started in order with "False", and the installed program started at finish;
#   C. the demo installer again over B, with its programs running, every file older and the
#      user's settings files changed: the running-program questions (RuDavovo.exe's too), every
#      file new but the protected ones, the servers running again from the new files, finish
#      without options;
#   D. a copy of the installer with one entry damaged: refused before page 1, nothing written;
#   E. folders that cannot take the files: the whole hint for a bad path on page 2, the hint for a
#      folder where no file can be made (page 2 stays, not one error box), then a folder where
#      every file's name is taken by a folder: the failure page listing every file, and nothing
#      recorded;
#   F. unattended, as a deployment tool runs it: /VERYSILENT with a folder, one task and a log on a
#      clean machine, no window at any time; again over a running server without
#      /CLOSEAPPLICATIONS; and a bad switch;
#   G. signed: the demo installer signed with a throw-away certificate, the signature verified,
#      a changed byte caught, and the signed installer installing unattended;
#   H. what deployment tools send: /SP- /VERYSILENT /SUPPRESSMSGBOXES /NORESTART /LOG= /DIR=
#      installs and exits 0; the wizard started with /TASKS=desktop /D= shows that folder and
#      only that option ticked, and installs so.
# Each pass checks the installer's exit code.
# Screenshots of every page, the failure form, the chooser and the question go to
# BUILD_DIR/tests/e2e/screens, or to SETUP_E2E_SHOTS (docs/screens/make-screens.sh refreshes the
# README's pictures that way; a test run never writes into the source tree).
#   installer_e2e.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
source "$(dirname "$0")/e2e_common.sh"

# --- A. cancelled on page 3 ------------------------------------------------------------------

pass_cancel() {
    echo "== A: cancel while copying"
    start_installer "$SLOW_INSTALLER" || return
    click_agree
    click_accept
    click_next
    sleep 1.5
    shot page3
    click_cancel_page3
    sleep 0.5
    shot failure
    local copied entries
    copied=$(find "$DEFAULT_TARGET" -type f 2>/dev/null | wc -l)
    entries=$(grep -c . "$BUILD/tests/e2e/slow/payload.order")
    check "copying stopped part way ($copied of $entries files)" \
        test "$copied" -gt 0 -a "$copied" -lt "$entries"
    sleep 1
    check "no file is written after cancel" test "$(find "$DEFAULT_TARGET" -type f | wc -l)" -eq "$copied"
    check "no registry record" test -z "$(reg_value 'HKLM\Software\QRVK2017' SETUPPATH)"
    check "no link" test -z "$(ls "$DESKTOP"/*.lnk "$GROUP" 2>/dev/null)"
    check "no program started" test ! -e "$DEFAULT_TARGET/started.log"
    click_finish
    check "finish closes the installer" wait_for 10 installer_gone
    check "exit code 1602: cancelled" expect_exit 1602 cancelled
}

# --- B. a full installation into a new folder ---------------------------------------------

choose_new_folder() {  # name
    click_browse
    local dialog
    dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^设置目录$' | head -n 1)
    [ -n "$dialog" ] || { fail "the directory chooser opens"; return 1; }
    shot chooser "$dialog"
    # The folder list has the focus; Tab Tab reaches "新建文件夹".
    xdotool key Tab Tab space
    timeout 10 xdotool search --sync --onlyvisible --name '^创建文件夹$' >/dev/null ||
        { fail "the new-folder box opens"; return 1; }
    xdotool type --delay 40 "$1"
    xdotool key Return
    sleep 0.8
    # The list moved into the new folder; Tab reaches "确定".
    xdotool key Tab space
    check "the chooser closes with 确定" wait_for 5 eval '! visible "^设置目录$"'
    sleep 0.5
}

pass_install() {
    echo "== B: install into a new folder"
    start_installer "$INSTALLER" || return
    shot page1
    click_agree
    click_accept
    choose_new_folder e2e-target
    shot page2
    click_next
    check "the run reaches page 4" wait_for 60 log_has_lines "$TARGET" 4
    sleep 1
    shot page4
    click_finish
    check "finish closes the installer" wait_for 10 installer_gone
    check "finish starts the installed program" wait_for 10 log_has_lines "$TARGET" 5
    check "exit code 0: installed" expect_exit 0 installed

    check "every file is installed byte for byte" same_files_as_payload "$TARGET"
    check "BWQRVK" test "$(reg_value 'HKLM\Software\QRVK2017' BWQRVK)" = "6.0.2"
    check "SETUPPATH" test "$(reg_value 'HKLM\Software\QRVK2017' SETUPPATH)" = 'C:\e2e-target'
    local uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessik软件'
    check "DisplayName" test "$(reg_value "$uninstall" DisplayName)" = "TessikOne软件商贸版"
    check "DisplayVersion" test "$(reg_value "$uninstall" DisplayVersion)" = "6.0.2"
    check "InstallLocation" test "$(reg_value "$uninstall" InstallLocation)" = 'C:\e2e-target'
    check "NoModify" test "$(reg_value "$uninstall" NoModify)" = 0x1
    check "UninstallString" test "$(reg_value "$uninstall" UninstallString)" = 'C:\e2e-target\uninstall.exe UninstalMe'
    check "autostart value ends at RuDavovo.exe" test "$(autostart_value)" = 'C:\e2e-target\RuDavovo.exe'
    check "desktop link of the main program" expect_link "$DESKTOP/TessikOne软件商贸版.lnk" 'C:\e2e-target\TessikOne商贸版.Exe'
    check "desktop link of the server" expect_link "$DESKTOP/TessikOne商贸版服务器.lnk" 'C:\e2e-target\TessikOne商贸版服务器.exe'
    check "quick-launch link" expect_link "$QUICK_LAUNCH/TessikOne软件商贸版.lnk" 'C:\e2e-target\TessikOne商贸版.Exe'
    check "program-group link" expect_link "$GROUP/TessikOne软件商贸版.lnk" 'C:\e2e-target\TessikOne商贸版.Exe'
    check "program-group server link" expect_link "$GROUP/TessikOne商贸版服务器.lnk" 'C:\e2e-target\TessikOne商贸版服务器.exe'
    check "uninstall link" expect_link "$GROUP/卸载TessikOne软件商贸版.lnk" 'C:\e2e-target\uninstall.exe'
    check "no favourites link without an entry for it" test ! -e "$FAVORITES/Tessik软件.url"
    check "programs started in order with False" expect_log "$TARGET" \
        "TessikOne商贸版服务器.exe" scktsrvr.exe scktsrvr.exe RuDavovo.exe "TessikOne商贸版.Exe"
}

# --- C. again, over running programs and changed settings -----------------------------------

answer_dialogs_until_done() {  # lines in started.log that mean the run has finished
    local questions=0 shot_taken=0 text i
    for ((i = 0; i < 600; i++)); do
        log_has_lines "$TARGET" "$1" && break
        if visible '^Warning$'; then
            text=$(run_wine "$PROBE" text Warning 2 | gbk | sed 's/ *$//' | grep -v '^$' | tail -n 1)
            echo "  question: $text"
            echo "$text" >>"$WORK/questions.txt"
            if [ $shot_taken = 0 ]; then
                shot question "$(xdotool search --onlyvisible --name '^Warning$' | head -n 1)"
                shot_taken=1
            fi
            run_wine "$PROBE" click Warning '&Yes' 5
            questions=$((questions + 1))
            sleep 0.5
        elif visible '^Error$'; then
            text=$(run_wine "$PROBE" text Error 2 | gbk | grep -v '^$' | tail -n 1)
            fail "unexpected error: $text"
            run_wine "$PROBE" click Error OK 5
        fi
        sleep 0.1
    done
}

pass_reinstall() {
    echo "== C: install again over running programs"
    printf 'user edit\r\n' >>"$TARGET/CONFIG.INI"
    printf 'user edit\r\n' >>"$TARGET/data/PrintDB.mdb"
    printf 'user edit\r\n' >>"$TARGET/readme.txt"
    age_installed_files "$TARGET"
    # Every program B started still runs, RuDavovo.exe (no guarded name) included.
    check "the programs run before the update" runs_from "$TARGET/RuDavovo.exe"
    rm -f "$WORK/questions.txt"
    local before
    before=$(log_lines "$TARGET")
    start_installer "$INSTALLER" || return
    click_agree
    click_accept
    click_next
    answer_dialogs_until_done $((before + 4))
    sleep 1
    check "the run reaches page 4" log_has_lines "$TARGET" $((before + 4))
    check "each running program is asked about" test "$(cat "$WORK/questions.txt" 2>/dev/null)" = \
        "$(printf '%s\n' '程序 TESSIKONE商贸版正在运行，是否强制结束它?' '程序 TESSIKONE商贸版服务器正在运行，是否强制结束它?' '程序 SCKTSRVR正在运行，是否强制结束它?' '程序 RUDAVOVO正在运行，是否强制结束它?')"
    click_start_program
    click_favorites
    click_finish
    check "finish closes the installer" wait_for 10 installer_gone
    sleep 1
    check "exit code 0: installed" expect_exit 0 installed
    check "finish without its options starts nothing" test "$(log_lines "$TARGET")" -eq $((before + 4))
    check "protected files are kept" grep -q 'user edit' "$TARGET/CONFIG.INI"
    check "the protected database is kept" grep -q 'user edit' "$TARGET/data/PrintDB.mdb"
    check "other files are replaced" same_files_as_payload "$TARGET" 'CONFIG\.INI|PrintDB\.mdb'
    local server
    for server in "TessikOne商贸版服务器.exe" scktsrvr.exe RuDavovo.exe; do
        check "$server runs again, from its new file" runs_from "$TARGET/$server"
    done
}

# --- D. a damaged installer -----------------------------------------------------------------

pass_damaged() {
    echo "== D: a damaged installer is refused before page 1"
    local copy=$WORK/TessikSetupDamaged.exe framed offset text
    cp "$INSTALLER" "$copy"
    # The largest entry: its compressed bytes occur once in the file.
    framed=$(ls -S "$BUILD"/demo/resources/MyFile*.bin | head -n 1)
    offset=$(offset_of "$copy" "$framed")
    [ -n "$offset" ] || { fail "the entry is found in the installer"; return; }
    flip_bytes "$copy" $((offset + 100)) 4
    rm -rf "$DRIVE_C/e2e-damaged"
    run_wine "$copy" >/dev/null &
    INSTALLER_PID=$!
    text=$(run_wine "$PROBE" text 'TessikOne软件' 30 | gbk | head -n 1)
    check "the message says the installer is damaged" test "$text" = "安装程序已损坏，请重新下载。"
    check "no wizard page is shown" test -z "$(wizard_windows)"
    shot damaged "$(xdotool search --onlyvisible --name '^TessikOne软件$' | head -n 1)"
    run_wine "$PROBE" click 'TessikOne软件' 确定 5 >/dev/null
    check "the installer ends" wait_for 10 installer_gone
    check "exit code 1620: damaged" expect_exit 1620 damaged
}

# --- E. a folder that cannot take the files ----------------------------------------------------

# Replaces the text of the directory edit on page 2, as typed.
type_dir() {
    click 253 139 0.2
    xdotool key End shift+Home BackSpace
    xdotool type --delay 30 "$1"
    sleep 0.2
}

# Answers every error box with OK until the failure page's list shows; prints how many.
answer_errors_until_list() {
    local boxes=0 deadline=$((SECONDS + 120))
    while [ $SECONDS -lt $deadline ]; do
        if visible '^Error$'; then
            run_wine "$PROBE" click Error OK 5 >/dev/null
            boxes=$((boxes + 1))
            sleep 0.2
        elif [ -n "$(run_wine "$PROBE" boxes 'TessikOne软件' 0.1 | tr -d '\r\n')" ]; then
            break
        fi
        sleep 0.1
    done
    echo "$boxes"
}

# Makes a folder at every file's place in the payload below $1, so each write fails.
take_every_name() {
    local rel
    while IFS= read -r rel; do
        rel=${rel%$'\r'}
        [ -n "$rel" ] && mkdir -p "$1/${rel//\\//}"
    done <"$ORDER"
}

pass_unwritable() {
    echo "== E: folders that cannot take the files"
    local folder=$DRIVE_C/e2e-locked taken=$DRIVE_C/e2e-taken boxes listed entries
    end_programs  # with none of its programs running, every failure is an error box
    mkdir -p "$folder"
    take_every_name "$taken"
    if ! chattr +i "$folder" 2>/dev/null; then
        echo "skipped: this file system cannot make a folder immutable (chattr +i)"
        rm -rf "$taken"
        return
    fi
    start_installer "$INSTALLER" || { chattr -i "$folder"; return; }
    click_agree
    click_accept
    type_dir 'C:\A?B'
    click_next
    sleep 0.5
    shot hint
    check "a bad path leaves nothing behind" test ! -e "$DRIVE_C/A?B"
    # A folder where no file can be made is refused on page 2 before any copying.
    type_dir 'C:\e2e-locked'
    click_next
    sleep 1.5
    check "a folder that takes no file is refused without an error box" \
        test -z "$(visible '^Error$' && echo box)"
    check "the installer stays on page 2" \
        test -z "$(run_wine "$PROBE" boxes 'TessikOne软件' 0.1 | tr -d '\r\n')"
    check "nothing is written into it" test -z "$(ls -A "$folder")"
    type_dir 'C:\e2e-taken'
    click_next
    boxes=$(answer_errors_until_list)
    sleep 0.5
    shot incomplete
    entries=$(grep -c . "$ORDER")
    listed=$(run_wine "$PROBE" boxes 'TessikOne软件' 2 | gbk | grep -c '(X00[12])')
    check "every file was reported ($boxes boxes)" test "$boxes" -eq "$entries"
    check "the failure page lists every file ($listed)" test "$listed" -eq "$entries"
    check "nothing is recorded for a folder without files" \
        test "$(reg_value 'HKLM\Software\QRVK2017' SETUPPATH)" = 'C:\e2e-target'
    click_finish
    check "finish closes the installer" wait_for 10 installer_gone
    check "exit code 1603: incomplete" expect_exit 1603 incomplete
    chattr -i "$folder"
    rm -rf "$folder" "$taken"
}

# --- F. unattended -------------------------------------------------------------------------

SILENT_TARGET="$DRIVE_C/e2e silent"
SILENT_LOG=$DRIVE_C/e2e-silent.log


pass_unattended() {
    echo "== F: unattended installation"
    clean_machine
    rm -rf "$SILENT_TARGET" "$SILENT_LOG"
    run_unattended '/VERYSILENT /TASKS="desktop" /LOG="C:\e2e-silent.log" /D=C:\e2e silent'
    check "exit code 0" test "$EXIT_CODE" = 0
    check "no window showed while it ran" test "$WINDOWS_SEEN" -eq 0
    check "every file is installed byte for byte" same_files_as_payload "$SILENT_TARGET"
    check "SETUPPATH" test "$(reg_value 'HKLM\Software\QRVK2017' SETUPPATH)" = 'C:\e2e silent'
    local uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessik软件'
    check "DisplayName" test "$(reg_value "$uninstall" DisplayName)" = "TessikOne软件商贸版"
    check "desktop link of the main program" expect_link "$DESKTOP/TessikOne软件商贸版.lnk" 'C:\e2e silent\TessikOne商贸版.Exe'
    check "no quick-launch link without its task" test -z "$(ls "$QUICK_LAUNCH"/*.lnk 2>/dev/null)"
    check "the autostart value is the servers' own" \
        test "$(autostart_value)" = '"C:\e2e silent\RuDavovo.exe"'
    local entries bytes summary
    entries=$(grep -c . "$ORDER")
    bytes=$(find "$PAYLOAD" -type f -printf '%s\n' | awk '{ s += $1 } END { print s }')
    check "EstimatedSize is the KB written" test "$(reg_value "$uninstall" EstimatedSize)" = \
        "$(printf '0x%x' $(((bytes + 1023) / 1024)))"
    summary=$(log_text "$SILENT_LOG" | grep 'summary:' || true)
    echo "  $summary"
    check "the log's summary counts every file and byte" \
        grep -q "summary: $entries files written ($bytes bytes), 0 kept, 0 replaced at restart, 0 not installed; 0 programs not started;.*exit code 0" <<<"$summary"
    check "the log names each file" test "$(log_text "$SILENT_LOG" | grep -c '^\[.*\] file written: ')" -eq "$entries"

    # Again, with the server it started still running and no leave to end it.
    run_wine "$PROBE" kill RuDavovo.exe >/dev/null
    run_unattended '/S /LOG="C:\e2e-silent.log" /D=C:\e2e silent'
    check "exit code 3010 over a running program" test "$EXIT_CODE" = 3010
    check "the log lists the file replaced at restart" \
        grep -q 'file replaced at restart: C:\\e2e silent\\scktsrvr.exe' <(log_text "$SILENT_LOG")
    check "the protected files were kept" \
        grep -q 'file kept, protected: C:\\e2e silent\\CONFIG.INI' <(log_text "$SILENT_LOG")

    run_unattended '/S /BOGUS'
    check "a bad switch exits with 1639" test "$EXIT_CODE" = 1639
    check "no window for a bad switch" test "$WINDOWS_SEEN" -eq 0
    end_programs
}

# --- G. signed -----------------------------------------------------------------------------

SIGNED_TARGET=$DRIVE_C/e2e-signed

pass_signed() {
    echo "== G: a signed installer"
    local keys=$WORK/signing signed=$WORK/TessikSetup-signed.exe
    rm -rf "$keys" "$SIGNED_TARGET"
    mkdir -p "$keys"
    # A throw-away code-signing certificate, made for this run only.
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=TessikOne test signer" \
        -addext "extendedKeyUsage=codeSigning" -addext "keyUsage=digitalSignature" \
        -keyout "$keys/key.pem" -out "$keys/cert.pem" >/dev/null 2>&1
    cp "$INSTALLER" "$signed"
    check "signing without a certificate is refused" \
        test "$("$SOURCE/scripts/sign-installer.sh" "$signed" 2>/dev/null; echo $?)" -eq 2
    check "the refused signing left the installer as it was" cmp -s "$INSTALLER" "$signed"
    check "the installer is signed" \
        "$SOURCE/scripts/sign-installer.sh" --cert "$keys/cert.pem" --key "$keys/key.pem" "$signed"
    check "osslsigncode verifies the signature" \
        osslsigncode verify -CAfile "$keys/cert.pem" -in "$signed"
    local tampered=$WORK/TessikSetup-tampered.exe
    cp "$signed" "$tampered"
    printf '\x55' | dd of="$tampered" bs=1 seek=$(( $(stat -c %s "$tampered") / 2 )) conv=notrunc 2>/dev/null
    check "a changed byte breaks the signature" \
        sh -c "! osslsigncode verify -CAfile '$keys/cert.pem' -in '$tampered' >/dev/null 2>&1"

    clean_machine
    UNATTENDED_EXE=$signed run_unattended '/VERYSILENT /D=C:\e2e-signed'
    check "the signed installer exits with 0" test "$EXIT_CODE" = 0
    check "the signed installer installs every file byte for byte" \
        same_files_as_payload "$SIGNED_TARGET"
    end_programs
    rm -rf "$SIGNED_TARGET"
}

# --- H. what deployment tools send -----------------------------------------------------------

DEPLOY_TARGET="$DRIVE_C/e2e deploy"
DEPLOY_LOG=$DRIVE_C/e2e-deploy.log

pass_deployment() {
    echo "== H: the switches deployment tools send"
    clean_machine
    rm -rf "$DEPLOY_TARGET" "$DEPLOY_LOG"
    run_unattended '/SP- /VERYSILENT /SUPPRESSMSGBOXES /NORESTART /LOG="C:\e2e-deploy.log" /DIR="C:\e2e deploy"'
    check "Inno-style switches: exit code 0" test "$EXIT_CODE" = 0
    check "no window showed while it ran" test "$WINDOWS_SEEN" -eq 0
    check "every file is installed byte for byte" same_files_as_payload "$DEPLOY_TARGET"
    check "the log ends with its summary" grep -q 'summary: .*exit code 0 ' <(log_text "$DEPLOY_LOG")

    # The wizard starts from the folder and the options its command line gives.
    clean_machine
    rm -rf "$DEPLOY_TARGET"
    start_installer "$INSTALLER" /TASKS=desktop '/D=C:\e2e deploy' || return
    click_agree
    click_accept
    shot page2-preset
    click_next
    check "the run reaches page 4 in the folder given" wait_for 60 log_has_lines "$DEPLOY_TARGET" 2
    sleep 1
    click_finish
    check "finish closes the installer" wait_for 10 installer_gone
    check "exit code 0: installed" expect_exit 0 installed
    check "SETUPPATH is the folder given" \
        test "$(reg_value 'HKLM\Software\QRVK2017' SETUPPATH)" = 'C:\e2e deploy'
    check "the desktop option stayed ticked" test -e "$DESKTOP/TessikOne软件商贸版.lnk"
    check "the quick-launch option was not ticked" test -z "$(ls "$QUICK_LAUNCH"/*.lnk 2>/dev/null)"
    check "autostart was not ticked: the servers were not started for it" \
        test "$(started_in_order "$DEPLOY_TARGET" | head -n 1 | cut -f1)" = scktsrvr.exe
    end_programs
    rm -rf "$DEPLOY_TARGET" "$DEPLOY_LOG"
}

clean_machine
pass_cancel
pass_install
pass_reinstall
pass_damaged
pass_unwritable
pass_unattended
pass_signed
pass_deployment
end_programs
rm -f "$WINEPREFIX/dosdevices/d:"

if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all end-to-end checks passed"
