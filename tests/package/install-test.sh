#!/bin/bash
# The installer as a user meets it, under Wine in a fresh prefix of its own:
# a silent installation, the installed files and their versions, foldhost
# loading the installed DLL on the sample mailbox, the About box of the
# packaged DLL, an update over an older installation, an uninstallation that
# keeps the settings files, and the bad cases: no or a wrong target, a second
# installer, a DLL in use, a full disk, a read-only drive, a write that fails
# half way, files removed by hand before the uninstallation.
#
# install-test.sh SOURCE_DIR DIST_DIR VERSION FOLDHOST_EXE WORK_DIR
# Needs an X display (DISPLAY) for foldhost and the installer's window. The
# disk cases mount small file systems, in a mount namespace of their own; where
# that is not allowed, they are skipped.
set -uo pipefail
shopt -s extglob
source_dir=$1 dist=$2 version=$3 foldhost=$4 work=$5

# The disk cases need mounts that nothing outside sees, and Wine's server, which
# opens the files, must see them: the whole test runs in the namespace.
if [ -z "${FOLDSCAN_TEST_NAMESPACE:-}" ]; then
    if unshare -m --propagation private true 2>/dev/null; then
        FOLDSCAN_TEST_NAMESPACE=1 exec unshare -m --propagation private "$0" "$@"
    fi
    FOLDSCAN_TEST_NAMESPACE=0
fi

setup="$dist/foldscan-$version-setup.exe"
uninstaller=foldscan-deinstallieren.exe
export WINEPREFIX="$work/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$work"
mkdir -p "$work"
drive_c="$WINEPREFIX/drive_c"
passed=0 failed=0

wine() { "$source_dir/tools/winerun" "$@"; }
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
# Runs the installer; its exit code in $rc, its standard error output (code
# page 1252, as Wine's prefix writes it) in $said.
run() {
    wine "$@" 2>"$work/said.txt"
    rc=$?
    said=$(iconv -f cp1252 -t utf-8 "$work/said.txt" | tr -d '\r')
}
# The uninstaller goes on as a copy of itself in %TEMP%: it has finished when
# Wine's server has.
run_uninstaller() {
    run "$@"
    wineserver -w
    said=$(iconv -f cp1252 -t utf-8 "$work/said.txt" | tr -d '\r')
}
says() { [ "$rc" = "$1" ] && grep -q -- "$2" <<<"$said" || { echo "  exit code $rc, said: $said"; false; }; }
installed() {  # directory (unix): the three files as packed, and the uninstaller
    local name
    for name in foldscan.dll foldscan.chm foldscan-report.exe; do
        cmp -s "$work/zip/$name" "$1/$name" || { echo "  $1/$name differs from the package's"; return 1; }
    done
    python3 "$source_dir/tests/package/check_package.py" --file-version "$1/$uninstaller" "$version"
}
none() {  # pattern: no file matches
    ! compgen -G "$1" >/dev/null || { echo "  found: $(compgen -G "$1" | tr '\n' ' ')"; false; }
}
registered() {  # directory (Windows) or "" for none
    local found
    found=$(wine reg query 'HKCU\Software\foldscan' /v InstallDir 2>/dev/null | tr -d '\r' |
        sed -n 's/^ *InstallDir *REG_SZ *//p')
    [ "$found" = "$1" ] || { echo "  registered: '$found', expected '$1'"; false; }
}
window_named() {  # title: waits for the X window
    local i
    for i in $(seq 1 100); do
        xwininfo -root -tree 2>/dev/null | grep -q "\"$1" && return 0
        sleep 0.2
    done
    echo "  no window \"$1\""
    return 1
}

python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' \
    "$dist/foldscan-$version-win32.zip" "$work/zip"
wine cmd /c exit >/dev/null 2>&1  # makes the prefix

# A silent installation into a new directory, and what it leaves.
target='C:\foldscan-test\Erweiterungen'
dir="$drive_c/foldscan-test/Erweiterungen"
run "$setup" /S "/D=$target"
check "the silent installation succeeds" [ "$rc" = 0 ]
check "it installs the packed files and a versioned uninstaller" installed "$dir"
check "it remembers the directory" registered "$target"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\foldscan'
check "it registers the uninstaller for the current user" \
    grep -q "DisplayVersion *REG_SZ *$version" <(wine reg query "$uninstall_key" 2>/dev/null)
check "the installed report program tells its version" \
    grep -qx "foldscan-report $version" <(wine "$dir/foldscan-report.exe" --version | tr -d '\r')

# foldhost loads the installed DLL: the whole chain from the host's questions to the panel's texts.
mailbox="$work/sample-mailbox"
python3 "$source_dir/tools/make_mailbox.py" "$mailbox" >/dev/null
wine "$foldhost" --dll "$target\\foldscan.dll" --mailbox "$mailbox/" --newmail "$mailbox/newmail/" --dump \
    >"$work/dump.txt"
check "foldhost dumps the sample mailbox with the installed DLL" \
    diff -u "$source_dir/tests/host/sample-dump.txt" "$work/dump.txt"

# The stripped DLL, as packed, still shows its version in the About box.
wine "$foldhost" --dll "$work/zip/foldscan.dll" --mailbox "$mailbox/" --newmail "$mailbox/newmail/" \
    --command 40005 --dump | grep '^label' | head -n 3 >"$work/about.txt"
printf 'label\tOrdnerstatistik für das Mailprogramm\nlabel\tv%s (foldscan)\nlabel\t© 2026 Das foldscan-Team. Alle Rechte vorbehalten.\n' \
    "$(awk -F. '{printf "%d.%02d", $1, $2}' <<<"$version")" >"$work/about-expected.txt"
check "the packed DLL's About box shows its version lines" diff -u "$work/about-expected.txt" "$work/about.txt"

# An update over an older installation replaces every file.
printf 'older' >>"$dir/foldscan.dll"
printf 'older' >>"$dir/foldscan.chm"
run "$setup" /S "/D=$target"
check "an update replaces the older files" installed "$dir"
check "an update leaves no temporary file" none "$dir/*.neu"

# The bad cases leave the installation as it is.
wine reg delete 'HKCU\Software\foldscan' /f >/dev/null 2>&1
run "$setup" /S
check "without a directory the installer says so" says 2 "kein Zielverzeichnis angegeben"
wine reg add 'HKCU\Software\foldscan' /v InstallDir /d "$target" /f >/dev/null 2>&1
touch "$drive_c/eine-datei"
run "$setup" /S '/D=C:\eine-datei'
check "a file as directory is refused, not replaced by the last one" says 2 "ist eine Datei, kein Verzeichnis"
run "$setup" /S '/D=Erweiterungen'
check "a relative directory is refused" says 2 "kein vollständiger Pfad"
check "the refusals leave the last installation registered" registered "$target"

"$source_dir/tools/winerun" "$setup" >/dev/null 2>&1 &
first=$!
if window_named "Installation von foldscan"; then
    run "$setup" /S '/D=C:\zweite'
    check "a second installer stops while the first runs" says 2 "läuft bereits"
    check "the second installer installs nothing" none "$drive_c/zweite"
else
    check "the first installer opens its window" false
fi
kill "$first" 2>/dev/null
wait "$first" 2>/dev/null

"$source_dir/tools/winerun" "$foldhost" --dll "$target\\foldscan.dll" --mailbox "$mailbox/" \
    --newmail "$mailbox/newmail/" --quit-after 15000 >/dev/null 2>&1 &
host=$!
if window_named foldhost; then
    printf 'older' >>"$dir/foldscan.chm"
    cp "$dir/foldscan.chm" "$work/chm-before"
    run "$setup" /S "/D=$target"
    check "a DLL that the mail client has loaded stops the update" says 2 "wird gerade verwendet"
    check "and the update changes no file" cmp -s "$work/chm-before" "$dir/foldscan.chm"
else
    check "foldhost opens its window" false
fi
kill "$host" 2>/dev/null
wait "$host" 2>/dev/null
wineserver -w

if [ "$FOLDSCAN_TEST_NAMESPACE" = 1 ]; then
    # A drive with 1 MB free, a read-only one, and one where the fourth new
    # file finds no room for its entry.
    mkdir -p "$work/full" "$work/readonly" "$work/inodes"
    mount -t tmpfs -o size=1m tmpfs "$work/full"
    mount -t tmpfs -o size=8m tmpfs "$work/readonly"
    mkdir "$work/readonly/Vorhanden"
    mount -o remount,ro "$work/readonly"
    mount -t tmpfs -o size=16m,nr_inodes=8 tmpfs "$work/inodes"
    unix='Z:'$(tr / '\\' <<<"$work")

    run "$setup" /S "/D=$unix\\full\\Erweiterungen"
    check "a full disk is refused before anything is written" says 2 "nicht genug Platz frei"
    check "and the directory it made is gone again" none "$work/full/Erweiterungen"
    run "$setup" /S "/D=$unix\\readonly\\Neu"
    check "a directory that cannot be made is refused" says 2 "kann nicht angelegt werden"
    run "$setup" /S "/D=$unix\\readonly\\Vorhanden"
    check "a read-only directory is refused" says 2 "kann nicht geschrieben werden"

    run "$setup" /S "/D=$unix\\inodes\\Erw"
    check "an installation that just fits succeeds" installed "$work/inodes/Erw"
    printf 'older' >>"$work/inodes/Erw/foldscan.dll"
    cp "$work/inodes/Erw/foldscan.dll" "$work/dll-before"
    run "$setup" /S "/D=$unix\\inodes\\Erw"
    check "a write that fails half way is reported" says 2 "Es wurde nichts verändert"
    check "and leaves the older files as they were" cmp -s "$work/dll-before" "$work/inodes/Erw/foldscan.dll"
    check "and no temporary file" none "$work/inodes/Erw/*.neu"
else
    echo "skipped: the disk cases (no mount namespace here)"
fi

# The uninstaller removes what was installed and keeps the settings files.
wine reg add 'HKCU\Software\foldscan' /v InstallDir /d "$target" /f >/dev/null 2>&1
printf '[MainDlg]\r\nAutoRefresh=1\r\n' >"$dir/KVT-FSCN.PM"
printf '[MainDlg]\r\n' >"$dir/foldscan.ini"
run_uninstaller "$dir/$uninstaller" /S
check "the uninstallation succeeds" [ "$rc" = 0 ]
check "it removes every installed file" none "$dir/@(foldscan.dll|foldscan.chm|foldscan-report.exe|$uninstaller)"
check "it keeps the settings files" grep -q AutoRefresh=1 "$dir/KVT-FSCN.PM"
check "and the directory that holds them" test -f "$dir/foldscan.ini"
check "it removes its entries" registered ""
check "and the uninstaller's" bash -c "! '$source_dir/tools/winerun' reg query '$uninstall_key' >/dev/null 2>&1"

# Files removed by hand before the uninstallation.
run "$setup" /S '/D=C:\foldscan-test\Neu'
rm "$drive_c/foldscan-test/Neu/foldscan.chm"
run_uninstaller "$drive_c/foldscan-test/Neu/$uninstaller" /S
check "an uninstallation after files were removed by hand says which" says 0 "foldscan.chm"
check "and removes the rest with the directory it made" test ! -e "$drive_c/foldscan-test/Neu"

wineserver -k 2>/dev/null
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
