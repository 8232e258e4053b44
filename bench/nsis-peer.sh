#!/usr/bin/env bash
# Builds the NSIS peer of the full-size installer: the same files in the same order (one
# SetOutPath per folder), zlib like ours (not solid), a licence page, a directory page and the
# copying page, for the given target (x86-unicode or amd64-unicode). After copying it does what
# ours does after copying, so both do the same job: the same registry values, the two desktop
# and three start-menu links, and the starts of the server programs.
#   bench/nsis-peer.sh TARGET OUT.exe [PAYLOAD_FOLDER] [zlib|lzma]
# PAYLOAD_FOLDER holds payload/ and payload.order (build/bench/big, the full-size payload, unless
# given or named by PEER_PAYLOAD; bench/real-payload.sh stages the real one). lzma: "SetCompressor
# /SOLID lzma" with an 8 MB dictionary, NSIS's smallest. Prints the seconds makensis took.
# bench/pack.sh makes the payload under build/bench/big first, bench/many.sh the 8,000-file one.
set -euo pipefail
cd "$(dirname "$0")/.."
bench=$PWD/build/bench
target=$1
out=$2
source_dir=${3:-${PEER_PAYLOAD:-$bench/big}}
compressor=${4:-zlib}
nsi=${out%.exe}.nsi
setting() { sed -n "s/^$1=//p" demo/settings.txt | tr -d '\r'; }
company=$(setting Company)
product=$(setting SoftSysName)
main_exe=$(setting MainExeName)
server=$(setting SoftSvrName)
server_exe=$(setting SvrExeName)
version=$(setting SoftVersion)
kb=$(find "$source_dir/payload" -type f -printf '%s\n' | awk '{ s += $1 } END { printf "%d", s / 1024 }')
uninstall='Software\Microsoft\Windows\CurrentVersion\Uninstall\'$company
{
    echo "Target $target"
    echo 'Unicode true'
    echo 'Name "TessikOne"'
    echo "OutFile \"$out\""
    echo 'InstallDir "C:\nsis-bench"'
    echo 'RequestExecutionLevel user'
    if [ "$compressor" = lzma ]; then
        echo 'SetCompressor /SOLID lzma'
        echo 'SetCompressorDictSize 8'
    else
        echo 'SetCompressor zlib'
    fi
    echo "LicenseData \"$PWD/demo/licence.txt\""
    echo 'Page license'
    echo 'Page directory'
    echo 'Page instfiles'
    echo 'Section'
    last=""
    while IFS= read -r rel; do
        rel=${rel%$'\r'}
        [ -n "$rel" ] || continue
        dir=$(dirname "${rel//\\//}")
        if [ "$dir" != "$last" ]; then
            [ "$dir" = . ] && echo 'SetOutPath "$INSTDIR"' || echo "SetOutPath \"\$INSTDIR\\${dir//\//\\}\""
            last=$dir
        fi
        echo "File \"$source_dir/payload/${rel//\\//}\""
    done <"$source_dir/payload.order"
    echo 'SetRegView 32'
    echo "WriteRegStr HKLM \"Software\\QRVK2017\" BWQRVK \"$version\""
    echo "WriteRegStr HKLM \"Software\\QRVK2017\" SETUPPATH \"\$INSTDIR\""
    echo "CreateShortCut \"\$DESKTOP\\$product.lnk\" \"\$INSTDIR\\$main_exe\""
    echo "CreateShortCut \"\$DESKTOP\\$server.lnk\" \"\$INSTDIR\\$server_exe\""
    echo "CreateDirectory \"\$SMPROGRAMS\\$company\""
    echo "CreateShortCut \"\$SMPROGRAMS\\$company\\$product.lnk\" \"\$INSTDIR\\$main_exe\""
    echo "CreateShortCut \"\$SMPROGRAMS\\$company\\$server.lnk\" \"\$INSTDIR\\$server_exe\""
    echo "CreateShortCut \"\$SMPROGRAMS\\$company\\卸载$product.lnk\" \"\$INSTDIR\\uninstall.exe\""
    echo "WriteRegStr HKLM \"Software\\Microsoft\\Windows\\CurrentVersion\\Run\" \"$company\" \"\$INSTDIR\\scktsrvr.exe\""
    for pair in "DisplayName=$product" 'UninstallString=$INSTDIR\uninstall.exe UninstalMe' \
                "DisplayVersion=$version" "Publisher=$company" 'InstallLocation=$INSTDIR' \
                "DisplayIcon=\$INSTDIR\\$main_exe" 'URLInfoAbout=http://www.tessik.com.cn/'; do
        echo "WriteRegStr HKLM \"$uninstall\" \"${pair%%=*}\" \"${pair#*=}\""
    done
    echo "WriteRegStr HKLM \"$uninstall\" InstallDate \"$(date +%Y%m%d)\""
    for pair in "EstimatedSize=$kb" NoModify=1 NoRepair=1; do
        echo "WriteRegDWORD HKLM \"$uninstall\" ${pair%%=*} ${pair#*=}"
    done
    for program in "$server_exe" scktsrvr.exe RuDavovo.exe; do
        echo "Exec '\"\$INSTDIR\\$program\" False'"
    done
    echo 'SectionEnd'
} >"$nsi"
start=$(date +%s.%N)
makensis -V1 "$nsi" >"$nsi.log" 2>&1 || { cat "$nsi.log" >&2; exit 1; }
awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f\n", b - a }'
