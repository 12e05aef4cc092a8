#!/usr/bin/env bash
# Browse grid benchmarks (offscreen) over a 1,000,000-record table: full repaint of 30 x 6 cells
# (goal < 5 ms; peer: the Win32 layer's native grid frame of run-win32.sh), 10,000 GoDown and
# 1,000 PageDown steps in an index order (goal < 1 s each), the application's two grids shown
# (goal < 0.2 s). $1 is the release build folder.
set -euo pipefail
build=$(cd "${1:-build-release}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} PV_NO_DESKTOP=1
"$build/bin/mkproduct" "$work/BIG.DBF" 1000000
cp "$here/xbrowse/xbrowse_bench.prg" "$here/xbrowse/xbrowse_bench.ui" "$here/../tests/gui/xbrowse/prg/"grids*.ch "$work/"
cd "$work"
"$build/bin/xbrowse_bench_pvrun" xbrowse_bench.prg //uiscript:xbrowse_bench.ui
