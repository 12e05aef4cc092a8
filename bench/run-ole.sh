#!/usr/bin/env bash
# The Automation bridge from .prg programs run by pvrun: one million
# oSheet:Cells( nRow, nCol ):Value := x puts, and 200,000 rows x 5 cells written and saved as
# .xlsx beside python3-openpyxl writing and saving the same cells in the same run. Prints the
# CPU seconds (user + system) and the ratio ours / openpyxl's. Usage: run-ole.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:-build-release}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
pvrun=$build/bin/pvrun
[ -x "$pvrun" ] || { echo "run-ole: $pvrun not built"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export PV_NO_DESKTOP=1 QT_QPA_PLATFORM=offscreen
cpu() {  # CPU seconds of a command run in the work folder, its output discarded
  local t
  t=$( { cd "$work" && /usr/bin/time -f "%U %S" "$@" > /dev/null; } 2>&1 | tail -1 )
  awk '{ printf "%.3f", $1 + $2 }' <<< "$t"
}
cells=$(cpu "$pvrun" "$here/ole/cells.prg")
printf '%-40s %8s s\n' "1,000,000 Cells():Value := x" "$cells"
ours=$(cpu "$pvrun" "$here/ole/rows.prg" "$work/rows.xlsx")
if /usr/bin/python3 -c 'import openpyxl' 2> /dev/null; then
  theirs=$(cpu /usr/bin/python3 "$here/ole/rows_openpyxl.py" "$work/peer.xlsx")
  ratio=$(awk -v a="$ours" -v b="$theirs" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }')
  printf '%-40s %8s s   openpyxl %8s s   ratio %s\n' "200,000 rows x 5 cells, saved .xlsx" "$ours" "$theirs" "$ratio"
else
  printf '%-40s %8s s   (python3-openpyxl not installed)\n' "200,000 rows x 5 cells, saved .xlsx" "$ours"
fi
