#!/usr/bin/env bash
# Runs the runtime benchmarks (item copy/clear, string concatenation, ASORT against std::sort,
# STR of one million doubles) from the release build dir $1, and prints the sort ratios.
set -euo pipefail
build=${1:-build-release}
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$build/bin/vm_bench" --benchmark_out="$out" --benchmark_out_format=json
/usr/bin/python3 - "$out" <<'PY'
import json, sys
# CPU time: the build machines are shared, so wall time says more about the neighbours.
runs = {b["name"]: b["cpu_time"] for b in json.load(open(sys.argv[1]))["benchmarks"]}
for ours, peer in (("BM_AsortNumbers", "BM_StdSortNumbers"), ("BM_AsortStrings", "BM_StdSortStrings"),
                   ("BM_StrMillionDoubles", "BM_SnprintfMillionDoubles")):
    if ours in runs and peer in runs:
        print(f"{ours}: {runs[ours] / runs[peer]:.2f} x {peer} (CPU time)")
PY
