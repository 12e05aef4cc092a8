#!/usr/bin/env bash
# Win32 layer benchmarks (offscreen): grid painting per frame (goal < 5 ms) and one million
# posted and dispatched messages (goal < 0.5 s). $1 is the release build folder.
set -euo pipefail
build=${1:-build-release}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
"$build/bin/win32_bench" --benchmark_counters_tabular=true
