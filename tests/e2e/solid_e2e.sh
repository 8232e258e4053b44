#!/usr/bin/env bash
# The installer written with a solid payload (setup-pack --codec CODEC), run under Wine:
#   A. the wizard, as a person drives it: agree, accept, the default folder, next, page 4,
#      finish: every file byte for byte, exit code 0;
#   B. unattended: every file installed byte for byte, exit code 0;
#   C. a copy with one block damaged, unattended: refused before anything is written, exit 1620;
#   D. the same copy started as a wizard: the damage message before page 1, nothing written.
#   solid_e2e.sh BUILD_DIR SOURCE_DIR CODEC
set -uo pipefail
source "$(dirname "$0")/e2e_common.sh" "$1" "$2"
CODEC=$3
SOLID=$BUILD/tests/e2e/TessikSetupSolid-$CODEC.exe
BLOCKS=$BUILD/tests/e2e/solid-$CODEC-resources
SOLID_TARGET=$DRIVE_C/e2e-solid
DAMAGED=$WORK/TessikSetupSolidDamaged-$CODEC.exe

end_solid() {
    end_programs
    run_wine "$PROBE" kill "${SOLID##*/}" >/dev/null
    run_wine "$PROBE" kill "${DAMAGED##*/}" >/dev/null
}

pass_solid_wizard() {
    echo "== A: the solid installer ($CODEC) through the wizard's four pages"
    clean_machine
    start_installer "$SOLID" || return
    shot "solid-$CODEC-page1"
    click_agree
    click_accept
    click_next
    # The post-install tasks start four programs once every file is placed, then page 4 shows.
    check "the run reaches page 4" wait_for 60 log_has_lines "$DEFAULT_TARGET" 4
    sleep 1
    shot "solid-$CODEC-page4"
    click_finish
    check "finish closes the installer" wait_for 10 installer_gone
    check "exit code 0: installed" expect_exit 0 installed
    check "every file is installed byte for byte" same_files_as_payload "$DEFAULT_TARGET"
    end_solid
}

pass_solid_unattended() {
    echo "== B: the solid installer ($CODEC), unattended"
    clean_machine
    rm -rf "$SOLID_TARGET"
    UNATTENDED_EXE=$SOLID run_unattended '/VERYSILENT /D=C:\e2e-solid'
    check "exit code 0" test "$EXIT_CODE" = 0
    check "every file is installed byte for byte" same_files_as_payload "$SOLID_TARGET"
    end_solid
}

# A copy of the solid installer with the middle of its first block inverted.
make_damaged_copy() {
    local block=$BLOCKS/MyBlock0000.bin offset
    cp "$SOLID" "$DAMAGED"
    offset=$(offset_of "$DAMAGED" "$block")
    [ -n "$offset" ] || { fail "the block is found in the installer"; return 1; }
    flip_bytes "$DAMAGED" $((offset + $(stat -c %s "$block") / 2)) 4
}

pass_solid_damaged() {
    echo "== C: a solid installer ($CODEC) with a damaged block is refused, unattended"
    clean_machine
    rm -rf "$DRIVE_C/e2e-solid-damaged"
    UNATTENDED_EXE=$DAMAGED run_unattended '/VERYSILENT /D=C:\e2e-solid-damaged'
    check "exit code 1620: damaged" test "$EXIT_CODE" = 1620
    check "nothing was written" test ! -e "$DRIVE_C/e2e-solid-damaged"
}

pass_solid_damaged_wizard() {
    echo "== D: the damaged solid installer ($CODEC) is refused before page 1"
    local text
    clean_machine
    run_wine "$DAMAGED" >/dev/null &
    INSTALLER_PID=$!
    text=$(run_wine "$PROBE" text 'TessikOne软件' 30 | gbk | head -n 1)
    check "the message says the installer is damaged" test "$text" = "安装程序已损坏，请重新下载。"
    check "no wizard page is shown" test -z "$(wizard_windows)"
    run_wine "$PROBE" click 'TessikOne软件' 确定 5 >/dev/null
    check "the installer ends" wait_for 10 installer_gone
    check "exit code 1620: damaged" expect_exit 1620 damaged
    check "nothing was written" test ! -e "$DEFAULT_TARGET"
}

pass_solid_wizard
pass_solid_unattended
if make_damaged_copy; then
    pass_solid_damaged
    pass_solid_damaged_wizard
fi
end_solid

if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all solid end-to-end checks passed"
