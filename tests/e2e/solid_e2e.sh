#!/usr/bin/env bash
# The installer written with the solid payload (setup-pack --codec zstd), run under Wine:
#   A. unattended: every file installed byte for byte, exit code 0;
#   B. a copy with one block damaged: refused before anything is written, exit code 1620.
set -uo pipefail
source "$(dirname "$0")/e2e_common.sh" "$1" "$2"
SOLID=$BUILD/tests/e2e/TessikSetupSolid.exe
SOLID_TARGET=$DRIVE_C/e2e-solid

pass_solid_unattended() {
    echo "== A: the solid installer, unattended"
    clean_machine
    rm -rf "$SOLID_TARGET"
    UNATTENDED_EXE=$SOLID run_unattended '/VERYSILENT /D=C:\e2e-solid'
    check "exit code 0" test "$EXIT_CODE" = 0
    check "every file is installed byte for byte" same_files_as_payload "$SOLID_TARGET"
    end_programs
}

pass_solid_damaged() {
    echo "== B: a solid installer with a damaged block is refused"
    local copy=$WORK/TessikSetupSolidDamaged.exe block offset
    cp "$SOLID" "$copy"
    block=$BUILD/tests/e2e/solid-resources/MyBlock0000.bin
    offset=$(offset_of "$copy" "$block")
    [ -n "$offset" ] || { fail "the block is found in the installer"; return; }
    flip_bytes "$copy" $((offset + $(stat -c %s "$block") / 2)) 4
    clean_machine
    rm -rf "$DRIVE_C/e2e-solid-damaged"
    UNATTENDED_EXE=$copy run_unattended '/VERYSILENT /D=C:\e2e-solid-damaged'
    check "exit code 1620: damaged" test "$EXIT_CODE" = 1620
    check "nothing was written" test ! -e "$DRIVE_C/e2e-solid-damaged"
}

pass_solid_unattended
pass_solid_damaged
end_programs

if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all solid end-to-end checks passed"
