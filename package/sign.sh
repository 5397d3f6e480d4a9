#!/bin/sh
# sign.sh OSSLSIGNCODE PFX FILE: signs a program, installer or MSI package in
# place with Authenticode (SHA-256), with the certificate and key of the
# PKCS#12 file PFX. The password comes from the environment variable
# FOLDSCAN_SIGN_PASSWORD and reaches osslsigncode on its standard input, never
# on a command line, where other users of the machine could read it. A file
# that could not be signed is removed, so that the build fails and tries
# again next time instead of packing it unsigned.
set -eu
osslsigncode=$1 pfx=$2 file=$3
if [ -z "${FOLDSCAN_SIGN_PASSWORD+set}" ]; then
    echo "sign.sh: FOLDSCAN_SIGN_PASSWORD is not set: it holds the password of $pfx" >&2
    rm -f "$file"
    exit 1
fi
rm -f "$file.signed"
if ! printf '%s' "$FOLDSCAN_SIGN_PASSWORD" |
    "$osslsigncode" sign -pkcs12 "$pfx" -readpass - -h sha256 -n foldscan -in "$file" -out "$file.signed" >/dev/null; then
    echo "sign.sh: cannot sign $file" >&2
    rm -f "$file" "$file.signed"
    exit 1
fi
mv "$file.signed" "$file"
