#!/usr/bin/env bash
# Spreadsheet server benchmarks: one million cell puts through IDispatch, BIFF8 and Open XML
# saves; beside them LibreOffice converting a DBF of the same rows, when it is installed.
# Usage: bench/run-spreadsheet.sh BUILD_DIR
set -euo pipefail
build=${1:-build-release}
root="$(cd "$(dirname "$0")/.." && pwd)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export PV_NO_DESKTOP=1

"$build/bin/spreadsheet_bench" "$work" | tee "$work/ours.txt"

soffice=$(command -v soffice || command -v libreoffice || true)
if [ -z "$soffice" ]; then
  echo "libreoffice: not installed, no ratio"
  exit 0
fi
tool="$root/tools/make_product_dbf.py"
[ -f "$tool" ] || tool="$root/../shared/tools/make_product_dbf.py"
for spec in "60000 xls saveas_xls_60000x5" "200000 xlsx saveas_xlsx_200000x5"; do
  set -- $spec
  /usr/bin/python3 "$tool" "$work/PRODUCT$1.DBF" "$1"
  start=$(date +%s.%N)
  "$soffice" --headless --convert-to "$2" --outdir "$work" "$work/PRODUCT$1.DBF" >/dev/null 2>&1 || true
  end=$(date +%s.%N)
  ours=$(awk -v k="$3" '$1 == k { print $2 }' "$work/ours.txt")
  awk -v n="$1" -v f="$2" -v s="$start" -v e="$end" -v o="$ours" \
    'BEGIN { p = e - s; printf "libreoffice_convert_%s_%s %.3f (ours / libreoffice = %.3f)\n", n, f, p, o / p }'
done
