#!/usr/bin/env bash
# Whole-process time of "QuorixUtil version" on an empty installation, beside /bin/true.
# Usage: bench/frontend/version.sh BUILD_DIR [RUNS]
set -euo pipefail
build=${1:?build folder}
runs=${2:-200}
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
mkdir -p "$root/bin/QETData"
cp "$build/QuorixUtil" "$root/bin/"
python3 - "$root/bin/QuorixUtil" "$runs" <<'PY'
import statistics, subprocess, sys, time
prog, runs = sys.argv[1], int(sys.argv[2])
def median_ms(cmd):
    times = []
    for _ in range(runs):
        t = time.perf_counter()
        subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        times.append((time.perf_counter() - t) * 1000)
    return statistics.median(times)
true_ms = median_ms(["/bin/true"])
util_ms = median_ms([prog, "version"])
print(f"/bin/true median {true_ms:.2f} ms; QuorixUtil version median {util_ms:.2f} ms; ratio {util_ms/true_ms:.2f}")
PY
