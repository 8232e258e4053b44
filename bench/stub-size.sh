#!/usr/bin/env bash
# What the installer's program part holds: its code and data summed by where they come from, read
# from the link map the build writes beside each installer program (-Wl,-Map). Resources, .bss,
# the import tables and the relocations the linker makes are not in these sums.
#   bench/stub-size.sh [PROGRAM.map]   (default: the i686 stub of the windows preset)
set -euo pipefail
cd "$(dirname "$0")/.."
map=${1:-build/windows/src/app/TessikSetupStub.map}
[ -f "$map" ] || { echo "stub-size: no link map at $map (build the stub first)" >&2; exit 1; }

printf '%-56s %9s %9s %9s %9s\n' "" "code" "unwind" "data" "all"
awk '
function hex(text,   i, n) {
    n = 0
    for (i = 3; i <= length(text); i++) n = n * 16 + index("0123456789abcdef", substr(text, i, 1)) - 1
    return n
}
function origin(file) {
    if (file ~ /libsetup_[a-z_0-9]*\.a\(|CMakeFiles\/.*\.obj$/) return "the installer itself"
    if (file ~ /libstdc\+\+\.a/) return "libstdc++ (exceptions, strings, containers)"
    if (file ~ /libpthread\.a/) return "winpthreads (the unwinder and libstdc++ lock with it)"
    if (file ~ /libgcc_eh\.a|libgcc\.a/) return "libgcc (the C++ unwinder, 64-bit arithmetic)"
    if (file ~ /libz\.a/) return "zlib (inflate, checksums)"
    return "MinGW start-up and C runtime"
}
function add(section, size, file,   o) {
    if (section ~ /^\.(rsrc|bss|idata|reloc|debug)/) return
    o = origin(file)
    kind = section ~ /^\.text/ ? "code" : section ~ /^\.eh_frame/ ? "unwind" : "data"
    bytes[o, kind] += hex(size)
    total[o] += hex(size)
}
/^Linker script and memory map/ { on = 1; next }
!on { next }
/^ \.[^ ]+$/ { pending = $1; next }
/^ \.[^ ]+ +0x[0-9a-f]+ +0x[0-9a-f]+ +[^ ]/ { add($1, $3, $4); pending = ""; next }
/^ +0x[0-9a-f]+ +0x[0-9a-f]+ +[^ ]/ && pending != "" { add(pending, $2, $3); pending = ""; next }
{ pending = "" }
END {
    for (o in total) {
        all += total[o]
        printf "%012d\t%-56s %6.1f KB %6.1f KB %6.1f KB %6.1f KB\n", total[o], o,
               bytes[o, "code"] / 1024, bytes[o, "unwind"] / 1024, bytes[o, "data"] / 1024,
               total[o] / 1024
    }
    printf "%012d\t%-56s %39.1f KB\n", 0, "in all", all / 1024
}' "$map" | sort -r | cut -f2-
