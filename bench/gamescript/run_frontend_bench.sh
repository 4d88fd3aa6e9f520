#!/usr/bin/env bash
# Generates a 100,000-line GameScript program and a C file of the same shape, runs the
# front-end benchmarks on it and times gcc -fsyntax-only on the C file in the same run.
# Usage: run_frontend_bench.sh BUILD_DIR
set -euo pipefail
build=${1:?build folder}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$here/gen_gamescript.py" 100000 "$work/big.gs" "$work/big.c"
GS_BENCH_SOURCE="$work/big.gs" "$build/bench/gamescript/bench_gs_frontend" --benchmark_counters_tabular=true
python3 - "$work/big.c" <<'PY'
import statistics, subprocess, sys, time
runs = []
for _ in range(5):
    t = time.perf_counter()
    subprocess.run(["gcc", "-fsyntax-only", sys.argv[1]], check=True)
    runs.append(time.perf_counter() - t)
lines = sum(1 for _ in open(sys.argv[1]))
m = statistics.median(runs)
print(f"gcc -fsyntax-only: median {m*1000:.1f} ms, {lines/m:,.0f} lines/s")
PY
