#!/usr/bin/env bash
# Four pvrun processes append to one shared table with three tags and change keys of records
# they lock, while two others seek and skip; at the end CDXCHECK() passes and every tag has
# one key per record. Usage: run_cdx_multi.sh PVRUN SAMPLES_DIR
set -euo pipefail
pvrun=$1 samples=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$samples/PRODUCT.DBF" "$work/"
chmod u+w "$work/PRODUCT.DBF"
cd "$work"
"$pvrun" "$here/create.prg"
pids=()
for w in 1 2 3 4; do
  "$pvrun" "$here/writer.prg" "$w" > "writer$w.log" 2>&1 &
  pids+=($!)
done
for r in 1 2; do
  "$pvrun" "$here/reader.prg" > "reader$r.log" 2>&1 &
  pids+=($!)
done
status=0
for p in "${pids[@]}"; do wait "$p" || status=1; done
cat writer*.log reader*.log
result=$("$pvrun" "$here/check.prg")
echo "$result"
expected=$'\nrecords      10000 check \nID .T.\nCUSTOMER .T.\nPRODUCT .T.'
[ "$status" = 0 ] && [ "$(cat reader*.log)" = $'\nreader faults          0\nreader faults          0' ] &&
  [ "$result" = "$expected" ]
