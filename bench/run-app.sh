#!/usr/bin/env bash
# xlforms end to end: process start, both tables opened, six tags built, an export run from the
# dialog by a UI script, the workbook saved, process end; with 100,000 records the invoice
# overview, with 1,000,000 the product overview (the invoice overview of a million records needs
# about 1.4 million rows, more than a worksheet holds, and ends in the error report); peak memory;
# and the start-up to the shown dialog. Beside it LibreOffice converting the same table to .xls
# (no grouping, no formatting), when it is installed; its .xls holds 65,536 rows at most, so of
# larger tables it converts only that many, where xlforms writes every row (as Open XML).
# Usage: bench/run-app.sh BUILD_DIR   (PV_APP_BENCH_SIZES="20000" for other table sizes)
set -euo pipefail
build=$(cd "${1:-build-release}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen PV_NO_DESKTOP=1
mkdir -p "$work/prog"
ln "$build/bin/xlforms" "$work/prog/xlforms" 2>/dev/null || cp "$build/bin/xlforms" "$work/prog/xlforms"

# UI scripts are read in the program's ANSI code page, like the captions they name.
iconv -f UTF-8 -t CP1252 >"$work/export.ui.in" <<'UI'
wait EXCEl-Formulare 600
press @BUTTON@
press "&Erzeuge Excel-Sheet"
done Total 3600
wait EXCEl-Formulare
press &Ende
closed EXCEl-Formulare
UI
cat >"$work/start.ui" <<'UI'
wait EXCEl-Formulare 600
press &Ende
closed EXCEl-Formulare
UI

# run NAME UI_SCRIPT: wall seconds, processor seconds and peak resident megabytes of one run.
run() {
  /usr/bin/time -f "%e %U %S %M" -o "$work/time.txt" "$work/prog/xlforms" "//uiscript:$work/$2" \
    >/dev/null 2>"$work/stderr.txt"
  read -r secs user sys kb <"$work/time.txt"
  awk -v n="$1" -v s="$secs" -v u="$user" -v y="$sys" -v k="$kb" \
    'BEGIN { printf "%s %.3f s (cpu %.3f s), peak %.0f MB\n", n, s, u + y, k / 1024 }'
  awk -v s="$secs" -v u="$user" -v y="$sys" 'BEGIN { print s, u + y }' >"$work/$1.secs"
}

soffice=$(command -v soffice || command -v libreoffice || true)
sizes=${PV_APP_BENCH_SIZES:-100000 1000000}
first=${sizes%% *}
for n in $sizes; do
  rm -rf "$work/data" && mkdir "$work/data" && cd "$work/data"
  "$build/bin/mkproduct" PRODUCT.DBF "$n" --seed 3 --ldid 0x02
  "$build/bin/mkproduct" PRODUCT1.DBF 1000 --seed 4 --ldid 0x02
  [ "$n" = "$first" ] && run "startup_to_dialog_$n" start.ui
  if [ "$n" -le 500000 ]; then name=invoice_overview button='&Rechnungs-Übersicht'
  else name=product_overview button='&Produkt-Übersicht'; fi
  awk -v b="$(printf '%s' "$button" | iconv -f UTF-8 -t CP1252)" \
    '{ i = index($0, "@BUTTON@"); if (i) $0 = substr($0, 1, i - 1) b substr($0, i + 8); print }' \
    "$work/export.ui.in" >"$work/export.ui"
  run "${name}_$n" export.ui
  if [ -n "$soffice" ]; then
    # A first conversion makes LibreOffice's user profile, so the measured one starts warm.
    [ -e "$work/lo_warm" ] || { "$soffice" --headless --convert-to xls --outdir "$work/lo_warm" PRODUCT1.DBF >/dev/null 2>&1 || true; }
    rm -f "$work/PRODUCT.xls"
    /usr/bin/time -f "%e %U %S" -o "$work/lo_time.txt" \
      "$soffice" --headless --convert-to xls --outdir "$work" PRODUCT.DBF >/dev/null 2>&1 || true
    if [ ! -s "$work/PRODUCT.xls" ]; then
      echo "libreoffice_convert_$n: no workbook came of it (the DBF reader is libreoffice-base-drivers), no ratio"
      continue
    fi
    read -r psecs puser psys <"$work/lo_time.txt"
    read -r osecs ocpu <"$work/${name}_$n.secs"
    awk -v n="$n" -v s="$psecs" -v c="$(awk -v u="$puser" -v y="$psys" 'BEGIN { print u + y }')" \
      -v os="$osecs" -v oc="$ocpu" \
      'BEGIN { printf "libreoffice_convert_%s %.3f s (cpu %.3f s); xlforms / libreoffice: wall %.2f, cpu %.2f\n", n, s, c, os / s, oc / c }'
  else
    echo "libreoffice: not installed, no ratio (PV_BENCH_PEERS=1 scripts/bench installs it)"
  fi
done
