#!/usr/bin/env bash
# Signs a finished installer with Authenticode (SHA-256), in place, through a temporary file, so a
# failed signing leaves the unsigned installer as it was. The certificate and its key come from the
# command line or the environment, never from the repository:
#   scripts/sign-installer.sh [--pkcs12 FILE | --cert FILE --key FILE] [--password-file FILE]
#                             [--timestamp URL] INSTALLER.exe
#   environment: SETUP_SIGN_PKCS12, SETUP_SIGN_CERT, SETUP_SIGN_KEY, SETUP_SIGN_PASSWORD_FILE,
#                SETUP_SIGN_TIMESTAMP (an RFC 3161 time-stamp server)
# Exit codes: 0 signed, 1 signing failed, 2 bad arguments.
set -euo pipefail

pkcs12=${SETUP_SIGN_PKCS12:-}
cert=${SETUP_SIGN_CERT:-}
key=${SETUP_SIGN_KEY:-}
password_file=${SETUP_SIGN_PASSWORD_FILE:-}
timestamp=${SETUP_SIGN_TIMESTAMP:-}
usage() { echo "sign-installer: $1 (see the comment at the top of $0)" >&2; exit 2; }

while [ $# -gt 1 ]; do
    case $1 in
        --pkcs12) pkcs12=$2 ;;
        --cert) cert=$2 ;;
        --key) key=$2 ;;
        --password-file) password_file=$2 ;;
        --timestamp) timestamp=$2 ;;
        *) usage "unknown argument $1" ;;
    esac
    shift 2
done
[ $# -eq 1 ] || usage "name the installer to sign"
installer=$1
[ -f "$installer" ] || usage "no installer at $installer"
command -v osslsigncode >/dev/null || { echo "sign-installer: osslsigncode is missing (scripts/bootstrap.sh installs it)" >&2; exit 1; }

args=(-h sha256 -n "$(basename "$installer")")
if [ -n "$pkcs12" ]; then
    args+=(-pkcs12 "$pkcs12")
elif [ -n "$cert" ] && [ -n "$key" ]; then
    args+=(-certs "$cert" -key "$key")
else
    usage "no certificate: give --pkcs12, or --cert and --key"
fi
# The password is read from a file so it shows neither in the process list nor in a log.
[ -n "$password_file" ] && args+=(-readpass "$password_file")
[ -n "$timestamp" ] && args+=(-ts "$timestamp")

signed=$installer.signing
rm -f "$signed"
if ! osslsigncode sign "${args[@]}" -in "$installer" -out "$signed" >"$signed.log" 2>&1; then
    echo "sign-installer: signing $installer failed:" >&2
    cat "$signed.log" >&2
    rm -f "$signed" "$signed.log"
    exit 1
fi
rm -f "$signed.log"
mv -f "$signed" "$installer"
echo "sign-installer: signed $installer"
