# What the size, build and unattended benchmarks compare, and how they print it; sourced by
# bench/pack.sh and bench/silent.sh (bench/install.sh takes one codec of CODECS).
# setup-pack's codecs: adding one is one word here.
CODECS="zlib zstd lzma"
# The NSIS peers of the same files (bench/nsis-peer.sh): zlib, and "/SOLID lzma".
PEERS="zlib lzma"
# The payloads: the synthetic full-size one always, the real binaries with --real (or those
# BENCH_PAYLOADS names, to measure one again).
bench_payloads() {  # real?
    if [ -n "${BENCH_PAYLOADS:-}" ]; then echo "$BENCH_PAYLOADS"  # one of them alone
    elif [ "$1" = 1 ]; then echo "big real"; else echo big; fi
}
bench_payload_dir() { echo "$bench/$1"; }  # payload -> folder with payload/ and payload.order
bench_payload_title() {
    local dir=$bench/$1 files bytes
    files=$(grep -c . "$dir/payload.order")
    bytes=$(find "$dir/payload" -type f -printf '%s\n' | awk '{ s += $1 } END { print s }')
    case $1 in big) printf 'synthetic, %s files, %.2f MB' "$files" "$(awk -v b="$bytes" 'BEGIN { print b / 1e6 }')" ;;
               real) printf 'real DLLs, %s files, %.2f MB' "$files" "$(awk -v b="$bytes" 'BEGIN { print b / 1e6 }')" ;;
    esac
}

# The finished installers bench/pack.sh writes, by payload and codec; "bench" as the third
# argument names the one with the probe on its loop (for bench/install.sh).
bench_installer() { echo "$bench/installers/TessikSetup${3:+Bench}-$1-$2.exe"; }
bench_peer() {  # payload compressor target
    echo "$bench/installers/nsis-$1-$2-$3.exe"
}
# The NSIS target for the host's architecture: x86_64 where 32-bit code cannot run.
bench_peer_target() {
    source "$root/scripts/wine-host.sh"
    if [ "$(wine_host_preset)" = windows ]; then echo x86-unicode; else echo amd64-unicode; fi
}

# Results: one line "payload installer metric value" each ("ours-zstd", "nsis-lzma").
bench_record() { echo "$1 $2 $3 $4" >>"$results"; }
bench_value() { awk -v p="$1" -v i="$2" -v m="$3" '$1 == p && $2 == i && $3 == m { v = $4 } END { print v }' "$results"; }

# One metric for every installer, both payloads side by side, with the ratios to the peers.
bench_table() {  # metric title format payloads...
    local metric=$1 title=$2 format=$3 payload name value zlib lzma
    shift 3
    printf '%-26s' "$title"
    for payload in "$@"; do printf ' | %10s %8s %8s' "$payload" "/NSIS zl" "/NSIS lz"; done
    echo
    for name in $(for c in $CODECS; do echo "ours-$c"; done) $(for p in $PEERS; do echo "nsis-$p"; done); do
        printf '  %-24s' "$name"
        for payload in "$@"; do
            value=$(bench_value "$payload" "$name" "$metric")
            zlib=$(bench_value "$payload" nsis-zlib "$metric")
            lzma=$(bench_value "$payload" nsis-lzma "$metric")
            if [ -z "$value" ]; then printf ' | %10s %8s %8s' - - -; continue; fi
            printf " | $format %8s %8s" "$value" \
                "$(awk -v a="$value" -v b="$zlib" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }')" \
                "$(awk -v a="$value" -v b="$lzma" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }')"
        done
        echo
    done
}
