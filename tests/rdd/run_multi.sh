#!/usr/bin/env bash
# Four pvrun processes append 5,000 records each to one shared table at the same time; the
# table must end with exactly 20,000 complete records. Usage: run_multi.sh PVRUN
set -euo pipefail
pvrun=$1
here=$(cd "$(dirname "$0")" && pwd)/multi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$pvrun" "$here/create.prg"
pids=()
for w in 1 2 3 4; do
  "$pvrun" "$here/append.prg" "$w" > "append$w.log" 2>&1 &
  pids+=($!)
done
status=0
for p in "${pids[@]}"; do wait "$p" || status=1; done
cat append*.log
result=$("$pvrun" "$here/check.prg")
echo "$result"
expected=$'\nrecords      20000 bad          0'
for w in 1 2 3 4; do expected+=$'\n'"writer          $w missing .F. twice .F."; done
[ "$status" = 0 ] && [ "$result" = "$expected" ]
