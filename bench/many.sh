#!/usr/bin/env bash
# The many-files payload for bench/install.sh --many: 8,000 files of 4 KB (setup-pack's limit of
# entries), the product's five programs at the root and the rest in 40 folders under data\, and
# the installers that carry it: this installer with the probe and without it, and the NSIS peer.
# Everything goes under build/bench/many; bench/pack.sh must have run (tools, program, skin).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bench=$root/build/bench
many=$bench/many
quiet() { "$@" >"$bench/many.log" 2>&1 || { cat "$bench/many.log" >&2; exit 1; }; }

[ -x "$root/build/native/tools/pack/setup-pack" ] && [ -f "$bench/atlas.bmp" ] || bench/pack.sh >/dev/null
rm -rf "$many"
mkdir -p "$many/payload"
# Half text, half noise: about as compressible as small data and report files are.
(cd "$many/payload" && awk -v programs="TessikOne商贸版.Exe TessikOne商贸版服务器.exe scktsrvr.exe RuDavovo.exe uninstall.exe" '
    function fill(path,   line, n) {
        n = 0
        while (n < 4096) {
            line = sprintf("%08d record %06d %x%x\r\n", NR_FILE, n, int(rand() * 2^31), int(rand() * 2^31))
            if (n + length(line) > 4096) line = substr(line, 1, 4096 - n)
            printf "%s", line > path
            n += length(line)
        }
        close(path)
    }
    BEGIN {
        srand(23)
        count = split(programs, names, " ")
        for (i = 1; i <= count; i++) { NR_FILE = i; fill(names[i]); print names[i] > "../payload.order" }
        for (i = count + 1; i <= 8000; i++) {
            folder = sprintf("data/d%02d", i % 40)
            if (!(folder in made)) { system("mkdir -p " folder); made[folder] = 1 }
            NR_FILE = i
            fill(sprintf("%s/f%04d.dat", folder, i))
            printf "data\\d%02d\\f%04d.dat\n", i % 40, i > "../payload.order"
        }
    }')
echo "payload: $(grep -c . "$many/payload.order") files," \
     "$(du -sb "$many/payload" | awk '{ printf "%.1f MB", $1 / 1e6 }')"

pack() {  # stub installer
    quiet "$root/build/native/tools/pack/setup-pack" --settings demo/settings.txt \
        --payload "$many/payload" --order "$many/payload.order" --skin "$bench/atlas.bmp" \
        --licence demo/licence.txt --out "$many/out" --quiet --stub "$1" --installer "$2"
}
app=$bench/windows/src/app
pack "$app/TessikSetupStub.exe" "$app/TessikSetupMany.exe"
pack "$app/TessikSetupBenchStub.exe" "$app/TessikSetupBenchMany.exe"
source scripts/wine-host.sh
if [ "$(wine_host_preset)" = windows ]; then target=x86-unicode; else target=amd64-unicode; fi
bench/nsis-peer.sh "$target" "$bench/peer-many-$target.exe" "$many" >/dev/null
echo "installers: $app/TessikSetupMany.exe, $app/TessikSetupBenchMany.exe, peer-many-$target.exe"
