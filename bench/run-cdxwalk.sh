#!/usr/bin/env bash
# The exports' table work: a PRODUCT table of 100,000 and 1,000,000 records (tools/mkproduct)
# with its three tags, walked in the order of customer and invoice through pvrun, reading five
# fields of every record, opened SHARED and opened EXCLUSIVE; beside it SQLite walking the same
# rows in the same order through an index (all five columns of every row written to /dev/null).
# Prints wall and processor seconds, the ratio to SQLite (ours / SQLite, CPU), and, when strace
# is installed, the system calls per record of the shared walk by kind.
# Usage: bench/run-cdxwalk.sh BUILD_DIR   (ROWS="100000" for one size only)
set -euo pipefail
build=$(cd "${1:-build-release}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
for tool in pvrun mkproduct; do
  [ -x "$build/bin/$tool" ] || { echo "run-cdxwalk: $build/bin/$tool not built"; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
walk="$here/cdx/walk.prg"

# cpu COMMAND...: "wall cpu" seconds of one run (its output goes to /dev/null).
cpu() {
  /usr/bin/time -f "%e %U %S" -o "$work/time.txt" "$@" > /dev/null
  awk '{ printf "%.3f %.3f", $1, $2 + $3 }' "$work/time.txt"
}
line() {  # what, "wall cpu", [sqlite cpu]
  set -- "$1" $2 "${3:-}"
  printf '%-28s wall %7.3f s  cpu %7.3f s' "$1" "$2" "$3"
  [ -n "${4:-}" ] && awk -v a="$3" -v b="$4" 'BEGIN { printf "   ratio to sqlite %.2f", a / b }'
  echo
}

for rows in ${ROWS:-100000 1000000}; do
  echo "-- $rows records, walk in the order LOWER(CUSTOMER) + INVOICE, five fields a record"
  (cd "$work" && "$build/bin/mkproduct" bench.dbf "$rows" > /dev/null &&
     "$build/bin/pvrun" "$walk" bench.dbf tags)
  theirs=""
  if command -v sqlite3 > /dev/null; then
    (cd "$work" && "$build/bin/pvrun" "$walk" bench.dbf csv rows.csv)
    sqlite3 "$work/p.db" > /dev/null <<SQL
PRAGMA journal_mode=OFF;
CREATE TABLE p(id INTEGER, customer TEXT, invoice TEXT, product TEXT, value REAL);
.separator |
.import $work/rows.csv p
CREATE INDEX i2 ON p(lower(customer), invoice);
SQL
    read -r _ theirs <<< "$(cpu sqlite3 "$work/p.db" \
      'SELECT id, customer, invoice, product, value FROM p ORDER BY lower(customer), invoice;')"
  fi
  for mode in shared exclusive; do
    figures=$(cd "$work" && cpu "$build/bin/pvrun" "$walk" bench.dbf $mode)
    line "pvrun walk, $mode" "$figures" "$theirs"
  done
  [ -n "$theirs" ] && printf '%-47s cpu %7.3f s\n' "sqlite3 ordered select" "$theirs"
  if command -v strace > /dev/null; then
    (cd "$work" &&
       strace -c -o "$work/strace.txt" "$build/bin/pvrun" "$walk" bench.dbf shared > /dev/null)
    awk -v n="$rows" '$NF == "fcntl" || $NF == "pread64" || $NF == "total" {
        printf "  %-8s %6.2f calls per record\n", $NF, $4 / n }' \
      "$work/strace.txt"
  fi
  rm -f "$work"/bench.* "$work"/rows.csv "$work"/p.db
done
