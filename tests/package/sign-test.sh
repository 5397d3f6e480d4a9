#!/bin/bash
# Signs a release build with a throwaway certificate and checks every
# signature: the DLL and the report program as the ZIP holds them, the
# uninstaller, the installer and the MSI package; that the password reached no
# command line of the build; and, under Wine, that the signed installer still
# passes its own integrity check and installs the signed uninstaller.
#
# sign-test.sh SOURCE_DIR BUILD_DIR VERSION WORK_DIR
# BUILD_DIR is a configured and built release tree; only its packaging is
# made again, signed, into WORK_DIR/dist.
set -uo pipefail
source_dir=$1 build=$2 version=$3 work=$4
rm -rf "$work"
mkdir -p "$work"
dist="$work/dist"
passed=0 failed=0
check() {  # description, command...
    local what=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
        echo "ok - $what"
    else
        failed=$((failed + 1))
        echo "FAIL - $what"
    fi
}
verified() {  # file: its signature checks out against the throwaway certificate
    osslsigncode verify -CAfile "$work/cert.pem" -in "$1" >"$work/verify.txt" 2>&1 &&
        grep -q "Signature verification: ok" "$work/verify.txt" ||
        { echo "  $1:"; sed 's/^/    /' "$work/verify.txt" | tail -n 5; false; }
}

# A password with a space and a quote, as real ones have.
export FOLDSCAN_SIGN_PASSWORD="nur zum Test $$ \"x\""
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=foldscan Testzertifikat" \
    -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" >/dev/null 2>&1 &&
    openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/test.pfx" \
        -passout env:FOLDSCAN_SIGN_PASSWORD ||
    { echo "FAIL - openssl makes the throwaway certificate"; exit 1; }

cmake -S "$source_dir" -B "$build" -DFOLDSCAN_SIGN_PFX="$work/test.pfx" -DFOLDSCAN_DIST_DIR="$dist" \
    >"$work/configure.log" 2>&1 &&
    VERBOSE=1 cmake --build "$build" --target foldscan_package >"$work/build.log" 2>&1
check "the signed release builds" [ $? = 0 ] || { tail -n 30 "$work/build.log"; exit 1; }
check "the password is on no command line of the build" \
    bash -c '! grep -rqF -- "$FOLDSCAN_SIGN_PASSWORD" "$1/build.log" "$1/configure.log" "$2/CMakeCache.txt"' \
    - "$work" "$build"

python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' \
    "$dist/foldscan-$version-win32.zip" "$work/zip"
stage="$build/package/stage-signed"
check "the packed DLL is signed" verified "$work/zip/foldscan.dll"
check "the packed report program is signed" verified "$work/zip/foldscan-report.exe"
check "the uninstaller is signed" verified "$stage/foldscan-deinstallieren.exe"
check "the installer is signed" verified "$dist/foldscan-$version-setup.exe"
check "the MSI package is signed" verified "$dist/foldscan-$version-win32.msi"

export WINEPREFIX="$work/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine() { "$source_dir/tools/winerun" "$@"; }
wine cmd /c exit >/dev/null 2>&1
wine "$dist/foldscan-$version-setup.exe" /S '/D=C:\Signiert' 2>"$work/said.txt"
check "the signed installer passes its integrity check and installs" [ $? = 0 ]
installed="$WINEPREFIX/drive_c/Signiert"
check "it installs the signed uninstaller and DLL" \
    bash -c 'cmp -s "$1" "$2/foldscan-deinstallieren.exe" && cmp -s "$3" "$2/foldscan.dll"' \
    - "$stage/foldscan-deinstallieren.exe" "$installed" "$work/zip/foldscan.dll"
wine "$installed/foldscan-deinstallieren.exe" /S 2>>"$work/said.txt"
check "and the signed uninstaller removes it" [ $? = 0 ]
wineserver -k 2>/dev/null

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
