#!/bin/bash
# The installer, the uninstaller and the MSI package as users and
# administrators meet them, under Wine in a fresh prefix of their own:
#  - silent installations for the current user and for all users, with the
#    search path, a quoted /D=, the longest directory the host can load from,
#    directories the installer makes and the uninstaller removes again;
#  - the installed files and their versions, foldhost loading the installed
#    DLL on the sample mailbox, the About box of the packaged DLL, an update
#    over an older installation;
#  - the bad cases: no or a wrong target, an unknown option, a directory too
#    long, a second directory, no administrator rights, a second installer,
#    a DLL in use for the update and the uninstallation, a full disk, a
#    read-only drive, a write that fails half way, files removed by hand;
#  - a silent uninstallation that returns only when it is done, with its
#    real exit code;
#  - the MSI package: installation, refusal beside the installer's, upgrade
#    by a newer package, uninstallation.
#
# install-test.sh SOURCE_DIR DIST_DIR VERSION FOLDHOST_EXE RUN_AS_STANDARD_USER_EXE WORK_DIR
# Needs an X display (DISPLAY) for foldhost and the installer's window. The
# disk cases mount small file systems, in a mount namespace of their own; where
# that is not allowed, they are skipped.
set -uo pipefail
shopt -s extglob
source_dir=$1 dist=$2 version=$3 foldhost=$4 standard_user=$5 work=$6

# The disk cases need mounts that nothing outside sees, and Wine's server, which
# opens the files, must see them: the whole test runs in the namespace.
if [ -z "${FOLDSCAN_TEST_NAMESPACE:-}" ]; then
    if unshare -m --propagation private true 2>/dev/null; then
        FOLDSCAN_TEST_NAMESPACE=1 exec unshare -m --propagation private "$0" "$@"
    fi
    FOLDSCAN_TEST_NAMESPACE=0
fi

setup="$dist/foldscan-$version-setup.exe"
msi="$dist/foldscan-$version-win32.msi"
uninstaller=foldscan-deinstallieren.exe
installed_files="foldscan.dll foldscan.chm foldscan-report.exe foldscan-report.txt LIESMICH.txt LIZENZ.txt"
export WINEPREFIX="$work/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$work"
mkdir -p "$work"
drive_c="$WINEPREFIX/drive_c"
user_key='HKCU\Software\foldscan'
machine_key='HKLM\Software\foldscan'
uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall'
user_environment='HKCU\Environment'
machine_environment='HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment'
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
# Runs a program; its exit code in $rc, its standard error output (code page
# 1252, as Wine's prefix writes it) in $said.
run() {
    wine "$@" 2>"$work/said.txt"
    rc=$?
    said=$(iconv -f cp1252 -t utf-8 "$work/said.txt" | tr -d '\r')
}
# Runs the uninstaller of a directory (Unix); it returns once it is done.
uninstall() { run "$1/$uninstaller" /S; }
# Waits until the uninstaller's worker has ended: under Wine a running
# program's file cannot be moved, so the worker removes the uninstaller's own
# file and the emptied directories a moment after the exit code.
settled() { wineserver -w; }
says() { [ "$rc" = "$1" ] && grep -q -- "$2" <<<"$said" || { echo "  exit code $rc, said: $said"; false; }; }
installed() {  # directory (Unix): the files as packed, and the uninstaller
    local name
    for name in $installed_files; do
        cmp -s "$work/zip/$name" "$1/$name" || { echo "  $1/$name differs from the package's"; return 1; }
    done
    python3 "$source_dir/tests/package/check_package.py" --file-version "$1/$uninstaller" "$version"
}
gone() {  # directory (Unix): no installed file nor the uninstaller is left in it
    local name
    for name in $installed_files $uninstaller; do
        [ ! -e "$1/$name" ] || { echo "  $1/$name is still there"; return 1; }
    done
}
none() {  # pattern: no file matches
    ! compgen -G "$1" >/dev/null || { echo "  found: $(compgen -G "$1" | tr '\n' ' ')"; false; }
}
value() {  # key, name: the registry value, or nothing
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
is() {  # what, found, expected
    [ "$2" = "$3" ] || { echo "  $1: '$2', expected '$3'"; false; }
}
registered() { is "registered for the user" "$(value "$user_key" InstallDir)" "$1"; }
no_key() { ! wine reg query "$1" >/dev/null 2>&1 || { echo "  $1 is still there"; false; }; }
window_named() {  # title: waits for the X window
    local i
    for i in $(seq 1 100); do
        xwininfo -root -tree 2>/dev/null | grep -q "\"$1" && return 0
        sleep 0.2
    done
    echo "  no window \"$1\""
    return 1
}
start_foldhost() {  # DLL (Windows): foldhost with it loaded, in the background, as $host
    "$source_dir/tools/winerun" "$foldhost" --dll "$1" --mailbox "$mailbox/" --newmail "$mailbox/newmail/" \
        --quit-after 20000 >/dev/null 2>&1 &
    host=$!
    window_named foldhost
}
stop_foldhost() {
    kill "$host" 2>/dev/null
    wait "$host" 2>/dev/null
    wineserver -w
}

python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' \
    "$dist/foldscan-$version-win32.zip" "$work/zip"
mailbox="$work/sample-mailbox"
python3 "$source_dir/tools/make_mailbox.py" "$mailbox" >/dev/null
wine cmd /c exit >/dev/null 2>&1  # makes the prefix

# --- For the current user, from a script -------------------------------------

# Deployment tools and PowerShell quote an argument with a space. The user's
# Path is longer than NSIS's strings (1024 characters) and has an empty entry.
path=$(printf 'C:\\Werkzeuge\\%03d;' $(seq 1 150))";%USERPROFILE%\\bin;"
wine reg add "$user_environment" /v Path /t REG_EXPAND_SZ /d "$path" /f >/dev/null
spaced="$drive_c/Neu Ordner"
run "$setup" /S /PATH '/D=C:\Neu Ordner'
check "a quoted /D= with a space is the target" says 0 ""
check "it installs there" installed "$spaced"
check "/PATH adds the directory to the end of the user's long Path" \
    is Path "$(value "$user_environment" Path)" "$path;C:\\Neu Ordner"
# NSIS's own form: unquoted and last, spaces and all.
run cmd /c "$(winepath -w "$setup") /S /D=C:\\Neu Ordner"
check "an unquoted /D= with a space updates the same directory" says 0 ""
check "an update without /PATH keeps the one entry" is Path "$(value "$user_environment" Path)" "$path;C:\\Neu Ordner"
uninstall "$spaced"
check "the uninstallation takes exactly that entry off the Path" is Path "$(value "$user_environment" Path)" "$path"
settled
check "and removes the directory the installation made" test ! -e "$spaced"

# The longest directory the host loads the DLL from, and one character more.
longest='C:\'$(printf 'L%.0s' $(seq 1 224))
run "$setup" /S "/D=${longest}x"
check "a directory too long for the host to load the DLL from is refused" says 2 "zu lang"
check "before anything is written" none "$drive_c/LLLL*"
run "$setup" /S "/D=$longest"
check "the longest directory the host can load from is taken" installed "$drive_c/${longest#C:\\}"
uninstall "$drive_c/${longest#C:\\}"
settled

# Directories the installer makes, the uninstaller removes, however deep.
deep="$drive_c/Tief/Erweiterungen/foldscan"
run "$setup" /S '/D=C:\Tief\Erweiterungen\foldscan'
uninstall "$deep"
check "the silent uninstallation returns its exit code once it is done" says 0 ""
check "by then every installed file is gone" gone "$deep"
check "and its entries" no_key "HKCU\\$uninstall_key\\foldscan"
run "$setup" /S '/D=C:\Tief\Erweiterungen\foldscan'
check "an installation right after it installs" installed "$deep"
uninstall "$deep"
settled
check "the uninstallation removes every directory the installation made" test ! -e "$drive_c/Tief"

# --- For every user ------------------------------------------------------------

machine_path=$(value "$machine_environment" Path)
programs="$drive_c/Program Files/foldscan"
run "$standard_user" "$setup" /S /ALLUSERS
check "/ALLUSERS without administrator rights is refused" says 2 "Administratorrechte"
check "before anything is written" test ! -e "$programs"
run "$setup" /S /ALLUSERS /PATH
check "/ALLUSERS installs into %ProgramFiles%\\foldscan by default" installed "$programs"
check "it registers for every user" is "registered for all" "$(value "$machine_key" InstallDir)" 'C:\Program Files\foldscan'
check "it puts the uninstaller in every user's Apps" \
    is DisplayVersion "$(value "HKLM\\$uninstall_key\\foldscan" DisplayVersion)" "$version"
check "nothing for the current user alone" no_key "$user_key"
check "/PATH adds the directory to the machine's Path" \
    is Path "$(value "$machine_environment" Path)" "$machine_path;C:\\Program Files\\foldscan"
run "$setup" /S '/D=C:\Nur fuer mich'
check "an installation for the current user beside it is refused" says 2 "für alle Benutzer in „C:\\\\Program Files\\\\foldscan“"
run "$standard_user" "$programs/$uninstaller" /S
check "its uninstallation without administrator rights is refused" says 2 "Administratorrechte"
check "and removes nothing" installed "$programs"
uninstall "$programs"
check "with them it succeeds" says 0 ""
check "it removes the entries for every user" no_key "$machine_key"
check "and the uninstaller's" no_key "HKLM\\$uninstall_key\\foldscan"
check "and takes exactly its entry off the machine's Path" is Path "$(value "$machine_environment" Path)" "$machine_path"
settled
check "and removes the directory it made" test ! -e "$programs"

# --- The MSI package -------------------------------------------------------------

product_entry() {  # version: the MSI's uninstall entry of that version, by its display version
    local key
    for key in $(wine reg query "HKLM\\$uninstall_key" 2>/dev/null | tr -d '\r' | grep '{'); do
        [ "$(value "$key" DisplayVersion)" = "$1" ] && echo "$key"
    done
}
run msiexec /i "$msi" /qn
check "msiexec installs the MSI package silently" says 0 ""
check "into %ProgramFiles%\\foldscan, the package's files" \
    bash -c 'for name in $3; do cmp -s "$1/$name" "$2/$name" || exit 1; done; [ ! -e "$2/$4" ]' \
    - "$work/zip" "$programs" "$installed_files" "$uninstaller"
check "with an uninstall entry for every user" test -n "$(product_entry "$version")"
run "$setup" /S /ALLUSERS
check "the installer refuses to install beside it" says 2 "MSI-Paket"
# A newer package of the same upgrade code replaces this one.
newer=$(awk -F. '{ printf "%d.%d.%d", $1, $2, $3 + 1 }' <<<"$version")
python3 "$source_dir/tools/make_icon.py" "$work/foldscan.ico" &&
    python3 "$source_dir/package/make_msi.py" --version "$newer" --stage "$work/zip" --icon "$work/foldscan.ico" \
        --wxs "$source_dir/package/foldscan.wxs" "$work/newer.msi"
run msiexec /i "$work/newer.msi" /qn
check "a newer MSI package upgrades it" says 0 ""
check "leaving one entry, the newer one's" \
    bash -c '[ -z "$1" ] && [ -n "$2" ]' - "$(product_entry "$version")" "$(product_entry "$newer")"
run msiexec /x "$work/newer.msi" /qn
check "msiexec uninstalls it silently" says 0 ""
check "and removes its files and directory" test ! -e "$programs"
check "and its entry" no_key "$machine_key"

# --- The installation of a user, its updates and bad cases --------------------

target='C:\foldscan-test\Erweiterungen'
dir="$drive_c/foldscan-test/Erweiterungen"
run "$setup" /S "/D=$target"
check "the silent installation succeeds" [ "$rc" = 0 ]
check "it installs the packed files and a versioned uninstaller" installed "$dir"
check "it remembers the directory" registered "$target"
check "it registers the uninstaller for the current user" \
    is DisplayVersion "$(value "HKCU\\$uninstall_key\\foldscan" DisplayVersion)" "$version"
check "the installed report program tells its version" \
    grep -qx "foldscan-report $version" <(wine "$dir/foldscan-report.exe" --version | tr -d '\r')
run msiexec /i "$msi" /qn
check "the MSI package refuses to install beside it" [ "$rc" != 0 ]
check "and installs nothing" test ! -e "$programs"

# foldhost loads the installed DLL: the whole chain from the host's questions to the panel's texts.
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
printf 'older' >>"$dir/LIESMICH.txt"
run "$setup" /S "/D=$target"
check "an update replaces the older files" installed "$dir"
check "an update leaves no temporary file" none "$dir/*.neu"

# The bad cases leave the installation as it is.
run "$setup" /S '/D=C:\zweite-installation'
check "a second directory is refused with the first one's" says 2 "bereits in „C:\\\\foldscan-test\\\\Erweiterungen“"
check "and not made" test ! -e "$drive_c/zweite-installation"
run "$setup" /S /ALLUSER "/D=$target"
check "an unknown option is refused" says 2 "„/ALLUSER“ kennt das Installationsprogramm nicht"
wine reg delete "$user_key" /f >/dev/null 2>&1
run "$setup" /S
check "without a directory the installer says so" says 2 "kein Zielverzeichnis angegeben"
wine reg add "$user_key" /v InstallDir /d "$target" /f >/dev/null 2>&1
touch "$drive_c/eine-datei"
run "$setup" /S '/D=C:\eine-datei'
check "a file as directory is refused, not replaced by the last one" says 2 "ist eine Datei, kein Verzeichnis"
run "$setup" /S '/D=Erweiterungen'
check "a relative directory is refused" says 2 "kein vollständiger Pfad"
check "the refusals leave the last installation registered" registered "$target"

"$source_dir/tools/winerun" "$setup" >/dev/null 2>&1 &
first=$!
if window_named "Installation von foldscan"; then
    run "$setup" /S "/D=$target"
    check "a second installer stops while the first runs" says 2 "läuft bereits"
else
    check "the first installer opens its window" false
fi
kill "$first" 2>/dev/null
wait "$first" 2>/dev/null

if start_foldhost "$target\\foldscan.dll"; then
    printf 'older' >>"$dir/foldscan.chm"
    cp "$dir/foldscan.chm" "$work/chm-before"
    run "$setup" /S "/D=$target"
    check "a DLL that the mail client has loaded stops the update" says 2 "wird gerade verwendet"
    check "and the update changes no file" cmp -s "$work/chm-before" "$dir/foldscan.chm"
    uninstall "$dir"
    check "it stops the uninstallation too, with exit code 2" says 2 "werden gerade verwendet"
    check "before it removes any file" \
        bash -c 'for name in $2 $3; do [ -e "$1/$name" ] || exit 1; done' - "$dir" "$installed_files" "$uninstaller"
    check "or the uninstaller's entry" \
        is DisplayVersion "$(value "HKCU\\$uninstall_key\\foldscan" DisplayVersion)" "$version"
else
    check "foldhost opens its window" false
fi
stop_foldhost
cp "$work/zip/foldscan.chm" "$dir/foldscan.chm"

if [ "$FOLDSCAN_TEST_NAMESPACE" = 1 ]; then
    # A drive with 1 MB free, a read-only one, and one where the fourth new
    # file finds no room for its entry. None of them is this user's
    # installation: it is out of the registry meanwhile.
    wine reg delete "$user_key" /f >/dev/null 2>&1
    mkdir -p "$work/full" "$work/readonly" "$work/inodes"
    mount -t tmpfs -o size=1m tmpfs "$work/full"
    mount -t tmpfs -o size=8m tmpfs "$work/readonly"
    mkdir "$work/readonly/Vorhanden"
    mount -o remount,ro "$work/readonly"
    mount -t tmpfs -o size=16m,nr_inodes=12 tmpfs "$work/inodes"
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
    wine reg add "$user_key" /v InstallDir /d "$target" /f >/dev/null 2>&1
else
    echo "skipped: the disk cases (no mount namespace here)"
fi

# The uninstaller removes what was installed and keeps the settings files.
printf '[MainDlg]\r\nAutoRefresh=1\r\n' >"$dir/KVT-FSCN.PM"
printf '[MainDlg]\r\n' >"$dir/foldscan.ini"
uninstall "$dir"
check "the uninstallation succeeds" [ "$rc" = 0 ]
check "it removes its entries" registered ""
check "and the uninstaller's" no_key "HKCU\\$uninstall_key\\foldscan"
settled
check "it removes every installed file" gone "$dir"
check "it keeps the settings files" grep -q AutoRefresh=1 "$dir/KVT-FSCN.PM"
check "and the directory that holds them" test -f "$dir/foldscan.ini"

# Files removed by hand before the uninstallation.
run "$setup" /S '/D=C:\foldscan-test\Neu'
rm "$drive_c/foldscan-test/Neu/foldscan.chm"
uninstall "$drive_c/foldscan-test/Neu"
check "an uninstallation after files were removed by hand says which" says 0 "foldscan.chm"
settled
check "and removes the rest with the directory it made" test ! -e "$drive_c/foldscan-test/Neu"

wineserver -k 2>/dev/null
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
