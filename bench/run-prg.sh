#!/usr/bin/env bash
# Runs each bench/prg/NAME.prg with pvrun and, where lua5.4 is installed, NAME.lua beside it;
# prints the CPU seconds (user + system, the least of PV_BENCH_RUNS runs, default 3) and peak
# memory (MB) of each and the ratios ours / Lua's. The first line is an empty program: the
# start-up of each interpreter (pvrun loads its GUI module only for programs that use it). The last
# column is the time ratio without it, (ours - our start-up) / (Lua's - Lua's start-up).
# Every program runs in a fresh temporary folder (some write files there).
set -euo pipefail
build=$(cd "${1:-build-release}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
runs=${PV_BENCH_RUNS:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'PROCEDURE Main()\nRETURN\n' >"$work/empty.prg"
: >"$work/empty.lua"
measure() {  # "CPU-seconds peak-MB" of a command run in the work folder, its output discarded
  local cpu mb
  cpu=$(cd "$work" && /usr/bin/python3 - "$runs" "$@" <<'PY'
import resource, subprocess, sys
runs, cmd = int(sys.argv[1]), sys.argv[2:]
best = None
for _ in range(runs):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    subprocess.run(cmd, stdout=subprocess.DEVNULL, check=True)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    best = cpu if best is None else min(best, cpu)
print("%.3f" % best)
PY
  )
  # Peak memory from a run of its own: a child of Python counts Python's pages until its exec.
  mb=$( { cd "$work" && /usr/bin/time -f "%M" "$@" > /dev/null; } 2>&1 | tail -1 )
  awk -v c="$cpu" -v k="$mb" 'BEGIN { printf "%s %.1f", c, k / 1024 }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
net() { awk -v a="$1" -v a0="$2" -v b="$3" -v b0="$4" 'BEGIN { if (b - b0 > 0) printf "%.2f", (a - a0) / (b - b0); else print "-" }'; }
have_lua=$(command -v lua5.4 || true)
read -r ours0 ours0Mb <<< "$(measure "$build/bin/pvrun" "$work/empty.prg")"
lua0=0 lua0Mb="-"
[ -n "$have_lua" ] && read -r lua0 lua0Mb <<< "$(measure lua5.4 "$work/empty.lua")"
printf "%-10s %8s %8s %6s %9s %9s %6s %6s\n" program pvrun lua5.4 ratio "pvrun MB" "lua MB" ratio net
printf "%-10s %8s %8s %6s %9s %9s\n" start-up "$ours0" "$lua0" "" "$ours0Mb" "$lua0Mb"
for prg in "$here"/prg/*.prg; do
  name=$(basename "$prg" .prg)
  read -r ours oursMb <<< "$(measure "$build/bin/pvrun" "$prg")"
  if [ -n "$have_lua" ] && [ -f "$here/prg/$name.lua" ]; then
    read -r theirs theirsMb <<< "$(measure lua5.4 "$here/prg/$name.lua")"
    r=$(ratio "$ours" "$theirs") rm=$(ratio "$oursMb" "$theirsMb") rn=$(net "$ours" "$ours0" "$theirs" "$lua0")
  else
    theirs="-" theirsMb="-" r="-" rm="-" rn="-"
  fi
  printf "%-10s %8s %8s %6s %9s %9s %6s %6s\n" "$name" "$ours" "$theirs" "$r" "$oursMb" "$theirsMb" "$rm" "$rn"
done
