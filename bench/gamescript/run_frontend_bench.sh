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
# Wall and CPU time (user + system of the child) of gcc -fsyntax-only; on a shared machine
# the CPU time is the figure to compare with the benchmarks' CPU-time rates.
import os, statistics, subprocess, sys, time
wall, cpu = [], []
for _ in range(5):
    before = os.times()
    t = time.perf_counter()
    subprocess.run(["gcc", "-fsyntax-only", sys.argv[1]], check=True)
    wall.append(time.perf_counter() - t)
    after = os.times()
    cpu.append((after.children_user - before.children_user) + (after.children_system - before.children_system))
lines = sum(1 for _ in open(sys.argv[1]))
w, c = statistics.median(wall), statistics.median(cpu)
print(f"gcc -fsyntax-only ({lines} lines): median wall {w*1000:.1f} ms, CPU {c*1000:.1f} ms, "
      f"{lines/c:,.0f} lines/s (CPU)")
PY
