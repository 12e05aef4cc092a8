#!/usr/bin/env bash
# Soak test, outside CI: WORKERS pvrun processes (default 8) each run OPS mixed operations
# (default 10,000) on one shared indexed table with memos; then the table must equal the
# replay of the logged committed operations and the index must be clean (cdxcheck too).
# Usage: tests/soak/run_soak.sh BUILD_DIR [WORKERS [OPS]]  (run it under nice -n 19)
set -euo pipefail
build=$(cd "${1:-build}" && pwd) workers=${2:-8} ops=${3:-10000}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$build/bin/pvrun" "$here/create.prg"
start=$(date +%s)
pids=()
for w in $(seq 1 "$workers"); do
  "$build/bin/pvrun" "$here/worker.prg" "$w" "$ops" > "out$w.txt" 2>&1 &
  pids+=($!)
done
status=0
for p in "${pids[@]}"; do wait "$p" || status=1; done
cat out*.txt
echo "$workers workers x $ops operations: $(( $(date +%s) - start )) s"
"$build/bin/pvrun" "$here/verify.prg" "$workers" || status=1
"$build/bin/cdxcheck" soak.dbf || status=1
exit $status
