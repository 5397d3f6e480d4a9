#!/bin/sh
# foldhost --dump on the generated sample mailbox must print what the
# expected file holds: the whole chain from the host's questions to the
# panel's texts.
# dump-sample.sh SOURCE_DIR FOLDHOST_EXE WORK_DIR
set -eu
source_dir=$1 foldhost=$2 work=$3
mailbox="$work/sample-mailbox"
python3 "$source_dir/tools/make_mailbox.py" "$mailbox"
"$source_dir/tools/winerun" "$foldhost" --mailbox "$mailbox/" --newmail "$mailbox/newmail/" --dump >"$work/sample-dump.txt"
diff -u "$source_dir/tests/host/sample-dump.txt" "$work/sample-dump.txt"
