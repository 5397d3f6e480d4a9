#!/bin/sh
# foldhost --dump prints every box and dialog the panel opens, as it opens,
# and closes it: here the warning about the missing hierarchy file, the
# settings dialog and the box about a help file that is not there.
# dump-boxes.sh SOURCE_DIR FOLDHOST_EXE WORK_DIR
set -eu
source_dir=$1 foldhost=$2 work=$3
mailbox="$work/boxes-mailbox"
python3 "$source_dir/tools/make_mailbox.py" "$mailbox"
rm -f "$mailbox/hierarch.pm"
# A copy of the DLL with no help file beside it.
rm -rf "$work/nohelp"
mkdir -p "$work/nohelp"
cp "$(dirname "$foldhost")/foldscan.dll" "$work/nohelp/"
"$source_dir/tools/winerun" "$foldhost" --dll "$work/nohelp/foldscan.dll" --mailbox "$mailbox/" \
    --newmail "$mailbox/newmail/" --command 40002 --command 40004 --dump >"$work/boxes-dump.txt"
grep '^box' "$work/boxes-dump.txt" >"$work/boxes.txt" || true
printf 'box\tWARNUNG\tWARNUNG 502: Die Datei "hierarch.pm" konnte nicht zum Lesen geöffnet werden.\nbox\tEinstellungen\t\nbox\tfoldscan\tFEHLER 001: Online-Hilfe-Datei nicht gefunden.\n' >"$work/boxes-expected.txt"
diff -u "$work/boxes-expected.txt" "$work/boxes.txt"
# The panel went on and showed its rows.
grep -q '^summary' "$work/boxes-dump.txt"
