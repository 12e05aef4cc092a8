#!/usr/bin/env bash
# Runs each bench/prg/NAME.prg with pvrun and, where lua5.4 is installed, NAME.lua beside it;
# prints the CPU seconds (user + system) and peak memory (MB) of each and the ratios ours / Lua's.
# Every program runs in a fresh temporary folder (some write files there).
set -euo pipefail
build=$(cd "${1:-build-release}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
measure() {  # "CPU-seconds peak-MB" of a command run in the work folder, its output discarded
  local t
  t=$( { cd "$work" && /usr/bin/time -f "%U %S %M" "$@" > /dev/null; } 2>&1 | tail -1 )
  awk '{ printf "%.3f %.1f", $1 + $2, $3 / 1024 }' <<< "$t"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
printf "%-10s %8s %8s %6s %9s %9s %6s\n" program pvrun lua5.4 ratio "pvrun MB" "lua MB" ratio
for prg in "$here"/prg/*.prg; do
  name=$(basename "$prg" .prg)
  read -r ours oursMb <<< "$(measure "$build/bin/pvrun" "$prg")"
  if command -v lua5.4 > /dev/null && [ -f "$here/prg/$name.lua" ]; then
    read -r theirs theirsMb <<< "$(measure lua5.4 "$here/prg/$name.lua")"
    r=$(ratio "$ours" "$theirs") rm=$(ratio "$oursMb" "$theirsMb")
  else
    theirs="-" theirsMb="-" r="-" rm="-"
  fi
  printf "%-10s %8s %8s %6s %9s %9s %6s\n" "$name" "$ours" "$theirs" "$r" "$oursMb" "$theirsMb" "$rm"
done
