#!/usr/bin/env bash
# CDX index engine against SQLite on the same generated invoice rows (100,000 and 1,000,000):
# creating the three tags / CREATE INDEX, walking a whole order, 100,000 random seeks, and
# appending 100,000 rows one by one to a table with three indexes. Prints each figure and
# the ratio (ours / SQLite; below 1 is faster). Usage: run-cdx.sh BUILD_DIR
set -euo pipefail
build=${1:-build-release}
bench=$build/bin/cdx_bench
[ -x "$bench" ] || { echo "run-cdx: $bench not built"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
fig() { printf '%-34s %8.3f s' "$1" "$2"; [ -n "${3:-}" ] && printf '   sqlite %8.3f s   ratio %s' "$3" "$(ratio "$2" "$3")"; echo; }

for rows in 100000 1000000; do
  echo "-- $rows rows"
  out=$("$bench" "$rows" "$work")
  get() { echo "$out" | awk -v k="$1" '$1 == k { print $3 }'; }
  csv=$work/rows.csv
  "$bench" "$rows" "$work" "$csv"
  db=$work/p.db
  rm -f "$db"
  have_sqlite=0
  if command -v sqlite3 >/dev/null; then
    have_sqlite=1
    printf 'PRAGMA journal_mode=OFF;\nPRAGMA synchronous=OFF;\nCREATE TABLE p(k1 TEXT, k2 TEXT, k3 TEXT);\n.separator |\n.import %s p\nCREATE TABLE probe AS SELECT k1 FROM p ORDER BY random() LIMIT 100000;\n' "$csv" | sqlite3 "$db" >/dev/null
    t0=$(now); sqlite3 "$db" 'PRAGMA synchronous=OFF; CREATE INDEX i1 ON p(k1); CREATE INDEX i2 ON p(k2); CREATE INDEX i3 ON p(k3);'; t1=$(now)
    s_create=$(elapsed "$t0" "$t1")
    t0=$(now); sqlite3 "$db" "SELECT sum(length(k2)) FROM p INDEXED BY i2 WHERE k2 > '';" >/dev/null; t1=$(now)
    s_walk=$(elapsed "$t0" "$t1")
    t0=$(now); sqlite3 "$db" 'SELECT count(*) FROM probe JOIN p INDEXED BY i1 ON p.k1 = probe.k1;' >/dev/null; t1=$(now)
    s_seek=$(elapsed "$t0" "$t1")
    head -n 100000 "$csv" | awk -F'|' 'BEGIN { print "PRAGMA synchronous=OFF; CREATE TABLE q(k1 TEXT, k2 TEXT, k3 TEXT); CREATE INDEX q1 ON q(k1); CREATE INDEX q2 ON q(k2); CREATE INDEX q3 ON q(k3); BEGIN;" }
      { gsub(/\x27/, "\x27\x27"); printf "INSERT INTO q VALUES(\x27%s\x27,\x27%s\x27,\x27%s\x27);\n", $1, $2, $3 }
      END { print "COMMIT;" }' > "$work/ins.sql"
    t0=$(now); sqlite3 "$db" < "$work/ins.sql"; t1=$(now)
    s_append=$(elapsed "$t0" "$t1")
  fi
  if [ $have_sqlite = 1 ]; then
    fig "create 3 tags" "$(get create3)" "$s_create"
    fig "walk one order ($rows keys)" "$(get walk)" "$s_walk"
    fig "100,000 random seeks" "$(get seek)" "$s_seek"
    fig "append 100,000 rows, 3 tags" "$(get append)" "$s_append"
  else
    fig "create 3 tags" "$(get create3)"
    fig "walk one order ($rows keys)" "$(get walk)"
    fig "100,000 random seeks" "$(get seek)"
    fig "append 100,000 rows, 3 tags" "$(get append)"
  fi
  echo "peak memory while creating: $(echo "$out" | awk '$1 == "create3_rss_mb" { print $3 }') MB"
done
