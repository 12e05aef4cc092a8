#!/usr/bin/env bash
# The DBFCDX driver through pvrun on generated PRODUCT tables of 100,000 and 1,000,000
# records (tools/mkproduct): creating the application's three tags, walking an order with
# DBSKIP, 100,000 DBSEEKs, appending 100,000 records to the indexed table. SQLite does the
# same on the same rows when sqlite3 is installed (lookups through one indexed join, inserts
# in one transaction), and the seek and append ratios (ours / SQLite) are printed.
# Usage: run-cdxdrv.sh BUILD_DIR   (ROWS="100000" for one size only)
set -euo pipefail
build=$(cd "${1:-build-release}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
for tool in pvrun mkproduct; do
  [ -x "$build/bin/$tool" ] || { echo "run-cdxdrv: $build/bin/$tool not built"; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
now() { date +%s.%N; }
# SQLite on the same rows: 100,000 lookups of random keys of the first index through one
# indexed join, and 100,000 inserts of the rows the driver appends, in one transaction.
sqliteFigures() {
  local dir=$1 t0 t1
  printf 'PRAGMA journal_mode=OFF;\nPRAGMA synchronous=OFF;\nCREATE TABLE p(k1 TEXT, k2 TEXT, k3 TEXT);\n.separator |\n.import %s p\nCREATE INDEX i1 ON p(k1); CREATE INDEX i2 ON p(k2); CREATE INDEX i3 ON p(k3);\nCREATE TABLE probe AS SELECT k1 FROM p ORDER BY random() LIMIT 100000;\n' "$dir/rows.csv" | sqlite3 "$dir/p.db" >/dev/null
  t0=$(now); sqlite3 "$dir/p.db" 'SELECT count(*) FROM probe JOIN p INDEXED BY i1 ON p.k1 = probe.k1;' >/dev/null; t1=$(now)
  awk -v a="$t0" -v b="$t1" 'BEGIN { printf "seek %.3f\n", b - a }'
  awk 'BEGIN { print "PRAGMA synchronous=OFF; CREATE TABLE q(k1 TEXT, k2 TEXT, k3 TEXT); CREATE INDEX q1 ON q(k1); CREATE INDEX q2 ON q(k2); CREATE INDEX q3 ON q(k3); BEGIN;"
               for (i = 1; i <= 100000; i++)
                 printf "INSERT INTO q VALUES(\x27%10d\x27,\x27customer %4d\x27,\x27product %2d\x27);\n", 90000000 + i, i % 1000, i % 97
               print "COMMIT;" }' > "$dir/ins.sql"
  t0=$(now); sqlite3 "$dir/p.db" < "$dir/ins.sql"; t1=$(now)
  awk -v a="$t0" -v b="$t1" 'BEGIN { printf "append %.3f\n", b - a }'
}
for rows in ${ROWS:-100000 1000000}; do
  echo "-- DBFCDX driver, $rows records"
  "$build/bin/mkproduct" "$work/bench.dbf" "$rows" > /dev/null
  out=$(cd "$work" && "$build/bin/pvrun" "$here/cdx/driver.prg" bench.dbf)
  echo "$out"
  if command -v sqlite3 >/dev/null; then
    "$build/bin/pvrun" "$here/cdx/export.prg" "$work/bench.dbf" "$work/rows.csv"
    sqliteFigures "$work" > "$work/sqlite.txt"
    ours() { echo "$out" | awk -v k="$1" 'index($0, k) == 1 { print $(NF - 1) }'; }
    theirs() { awk -v k="$1" '$1 == k { print $2 }' "$work/sqlite.txt"; }
    printf 'sqlite: 100,000 lookups %.3f s, ratio %.2f; 100,000 inserts %.3f s, ratio %.2f\n' \
      "$(theirs seek)" "$(awk -v a="$(ours "100,000 DBSEEKs")" -v b="$(theirs seek)" 'BEGIN { print a / b }')" \
      "$(theirs append)" "$(awk -v a="$(ours "append 100,000")" -v b="$(theirs append)" 'BEGIN { print a / b }')"
  fi
  rm -f "$work"/bench.* "$work"/rows.csv "$work"/p.db
done
