#!/usr/bin/env bash
# Runs each bench/prg/NAME.prg with pvrun and, where lua5.4 is installed, NAME.lua beside it;
# prints the CPU seconds (user + system) of each and the ratio ours / Lua's.
set -euo pipefail
build=${1:-build-release}
here=$(cd "$(dirname "$0")" && pwd)
cpu() {  # CPU seconds of a command, its output discarded
  local t
  t=$( { /usr/bin/time -f "%U %S" "$@" > /dev/null; } 2>&1 | tail -1 )
  awk '{ printf "%.3f", $1 + $2 }' <<< "$t"
}
printf "%-10s %10s %10s %8s\n" program pvrun lua5.4 ratio
for prg in "$here"/prg/*.prg; do
  name=$(basename "$prg" .prg)
  ours=$(cpu "$build/bin/pvrun" "$prg")
  if command -v lua5.4 > /dev/null && [ -f "$here/prg/$name.lua" ]; then
    theirs=$(cpu lua5.4 "$here/prg/$name.lua")
    ratio=$(awk -v a="$ours" -v b="$theirs" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }')
  else
    theirs="-" ratio="-"
  fi
  printf "%-10s %10s %10s %8s\n" "$name" "$ours" "$theirs" "$ratio"
done
