#!/usr/bin/env bash
# Crash safety: writer processes share an indexed table with memos and are killed (SIGKILL) at
# random moments while they append and change keys. After each round every record a writer
# logged as committed must be there and intact, the table must open, and the index must be
# clean or reported damaged and made clean by ORDLISTREBUILD (verify.prg). A last round does
# the same with one writer that has the table in exclusive use.
# Usage: run_kill.sh PVRUN [ROUNDS [WRITERS]] — CI runs the short form (2 rounds, 3 writers);
# the long form is e.g. run_kill.sh build/bin/pvrun 100 4.
set -euo pipefail
pvrun=$1 rounds=${2:-2} writers=${3:-3}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$pvrun" "$here/create.prg"
damaged=0
for round in $(seq 1 "$rounds"); do
  first=$((round * 10)) last=$((round * 10 + writers - 1))
  pids=()
  for w in $(seq "$first" "$last"); do
    "$pvrun" "$here/writer.prg" "$w" > "out$w.txt" 2>&1 &
    pids+=($!)
  done
  sleep "0.$((RANDOM % 5 + 3))"
  for p in "${pids[@]}"; do
    sleep "0.0$((RANDOM % 10))"
    kill -KILL "$p" 2>/dev/null || true
  done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
  if ! out=$("$pvrun" "$here/verify.prg" "$first" "$last" 2>&1); then
    echo "round $round: $out"
    cat out*.txt
    exit 1
  fi
  grep -q "index damaged" <<<"$out" && damaged=$((damaged + 1))
  echo "round $round:$(tr '\n' ' ' <<<"$out")"
done
# One writer with the table in exclusive use, killed between its commits.
"$pvrun" "$here/writer.prg" 90 exclusive > out90.txt 2>&1 &
pid=$!
sleep "0.$((RANDOM % 5 + 5))"
kill -KILL "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
if ! out=$("$pvrun" "$here/verify.prg" 90 90 2>&1); then
  echo "exclusive round: $out"
  cat out90.txt
  exit 1
fi
grep -q "index damaged" <<<"$out" && damaged=$((damaged + 1))
echo "exclusive round:$(tr '\n' ' ' <<<"$out")"
echo "$rounds rounds and one exclusive, index damaged and rebuilt after $damaged"
