#!/bin/sh
# The panel's tests of a screen at 144 dpi (the HighDpi cases), in a Wine
# prefix of their own, on the generated sample mailbox. Outside this script
# those cases skip themselves.
# at-144dpi.sh SOURCE_DIR PANEL_DLL_TESTS_EXE WORK_DIR
set -eu
source_dir=$1 tests=$2 work=$3
mailbox="$work/sample-mailbox-144dpi"
rm -rf "$mailbox"
python3 "$source_dir/tools/make_mailbox.py" "$mailbox" >/dev/null
# Wine shows the Unix file system as drive Z:.
FOLDSCAN_SAMPLE_MAILBOX="Z:$(printf '%s' "$mailbox" | tr / '\\')"
export FOLDSCAN_SAMPLE_MAILBOX
rc=0
"$source_dir/tools/winerun-at-dpi" 144 "$tests" --gtest_brief=1 --gtest_filter='HighDpi.*' >"$work/at-144dpi.log" 2>&1 || rc=$?
cat "$work/at-144dpi.log"
# A filter that matched nothing would pass quietly.
grep -q 'PASSED  \] [1-9]' "$work/at-144dpi.log" || rc=1
exit $rc
