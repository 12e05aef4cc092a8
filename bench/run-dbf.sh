#!/usr/bin/env bash
# Table engine benchmarks on a generated one-million-record PRODUCT table: full scan of the table
# layer (compared with python3-dbfread on the same file), the same scan through the DBF driver in
# a pvrun script, one million appends in exclusive use, 100,000 appends in shared use with a
# record lock each. Usage: bench/run-dbf.sh BUILD_DIR
set -euo pipefail
build=${1:-build-release}
bin=$(cd "$build" && pwd)/bin
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$bin/mkproduct" "$work/PRODUCT.DBF" 1000000
scan=$("$bin/dbf_bench" scan "$work/PRODUCT.DBF" 2>/dev/null)
echo "$scan   (goal < 0.3 s)"
ours=$(echo "$scan" | awk '{print $(NF-1)}')

if /usr/bin/python3 -c 'import dbfread' 2>/dev/null; then
  theirs=$(/usr/bin/python3 - "$work/PRODUCT.DBF" <<'PY'
import sys, time, dbfread
start = time.perf_counter()
n = 0
for record in dbfread.DBF(sys.argv[1], encoding="cp850", load=False).records:
    for value in record.values():
        pass
    n += 1
print("%.3f" % (time.perf_counter() - start))
PY
)
  echo "python3-dbfread scan 1000000 records: $theirs s"
  awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "scan ratio (dbfread / ours): %.0fx   (goal >= 30x)\n", b / a }'
else
  echo "python3-dbfread not installed: no ratio"
fi

if [ -x "$bin/pvrun" ]; then
  (cd "$work" && "$bin/pvrun" "$here/dbf/scan.prg" "$work/PRODUCT.DBF" | sed '/^$/d'; echo)
fi

echo "$("$bin/dbf_bench" append-exclusive "$work/APPEND.DBF" 1000000)   (goal < 1 s)"
"$bin/dbf_bench" append-shared "$work/SHARED.DBF" 100000
