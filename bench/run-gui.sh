#!/usr/bin/env bash
# GUI library benchmarks (offscreen), each against its goal, in processor seconds: SYSREFRESH()
# idle one million times (< 0.3 s), one million messages to a .prg method (< 1 s), a MSGMETER
# setting its meter one million times (overhead < 0.5 s). $1 is the release build folder.
set -euo pipefail
build=${1:-build-release}
here=$(cd "$(dirname "$0")/gui" && pwd)
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
for b in sysrefresh dispatch meter; do
  "$build/bin/pvrun" "$here/$b.prg" | sed '/^$/d'
  echo
done
