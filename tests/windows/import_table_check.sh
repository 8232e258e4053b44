#!/usr/bin/env bash
# The installer's import table holds only DLLs that Windows keeps as known DLLs (always taken
# from the system folder, never from the folder the installer was started in), and comctl32,
# which the manifest takes from the system's side-by-side store. A static import of any other
# DLL is resolved before the installer's first instruction, from its own folder first: add a
# system DLL through platform/win32/system_library.h instead.
#   import_table_check.sh OBJDUMP PROGRAM...
set -uo pipefail
OBJDUMP=$1
shift
ALLOWED=(kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll
         comdlg32.dll shlwapi.dll msvcrt.dll comctl32.dll)
allowed() {
    local known
    for known in "${ALLOWED[@]}"; do [ "$1" = "$known" ] && return 0; done
    return 1
}
failures=0
for program in "$@"; do
    imports=$("$OBJDUMP" -p "$program" | awk '/DLL Name:/ { print tolower($3) }' | sort -u)
    if [ -z "$imports" ]; then
        echo "FAIL: $program: no import table read"
        failures=$((failures + 1))
        continue
    fi
    for dll in $imports; do
        if allowed "$dll"; then
            echo "ok: $(basename "$program") imports $dll"
        else
            echo "FAIL: $(basename "$program") imports $dll, which is not a known system DLL"
            failures=$((failures + 1))
        fi
    done
done
exit $((failures > 0))
