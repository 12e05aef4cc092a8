#!/usr/bin/env bash
# The DBFCDX driver through pvrun on generated PRODUCT tables of 100,000 and 1,000,000
# records (tools/mkproduct): creating the application's three tags, walking an order with
# DBSKIP, 100,000 DBSEEKs, appending 100,000 records to the indexed table.
# Usage: run-cdxdrv.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:-build-release}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
for tool in pvrun mkproduct; do
  [ -x "$build/bin/$tool" ] || { echo "run-cdxdrv: $build/bin/$tool not built"; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for rows in 100000 1000000; do
  echo "-- DBFCDX driver, $rows records"
  "$build/bin/mkproduct" "$work/bench.dbf" "$rows" > /dev/null
  (cd "$work" && "$build/bin/pvrun" "$here/cdx/driver.prg" bench.dbf)
  rm -f "$work"/bench.*
done
