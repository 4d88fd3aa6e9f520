#!/bin/sh
# Run: bench/commands/repair.sh BUILD_FOLDER [RUNS] [ASSETS]  (BUILD_FOLDER configured with -DQUORIX_BENCH=ON)
# Times `repairdatabase` (level 100) over an installation of ASSETS (100,000) committed asset
# folders, warm cache: once with every folder changed (all files touched, so every asset is
# read again) and once with nothing changed; beside `find ROOT -type f | wc -l`, and the same
# repairs held to one core (taskset -c 0) for the gain of the two signature threads.
set -e
build=$(cd "${1:?build folder}" && pwd)
runs=${2:-5}
assets=${3:-100000}
. "$(dirname "$0")/common.sh"
work=$(mktemp -d /tmp/bench_repair_XXXXXX)
trap 'rm -rf "$work"' EXIT
root=$work/root
make_root "$root" "$build"
s=$(now_ns)
"$build/bench/commands/gen_assets" installation "$root" "$assets" 2 600
echo "installation made in $(( ($(now_ns) - s) / 1000000 )) ms: $(find "$root/local" -type f | wc -l) files"
repair() { "$root/bin/QuorixUtil" repairdatabase; }
repair1() { taskset -c 0 "$root/bin/QuorixUtil" repairdatabase; }
findall() { find "$root" -type f | wc -l; }
touch_all() { find "$root/local" -name body.im -exec touch {} +; }
findall >/dev/null; repair >/dev/null  # warms the cache
repair | tail -3
for i in $(seq "$runs"); do
  touch_all
  timed changed repair
  timed unchanged repair
  timed finds findall
  if command -v taskset >/dev/null; then
    touch_all
    timed changed1 repair1
    timed unchanged1 repair1
  fi
done
show "repair, all changed" changed
show "repair, nothing changed" unchanged
show "find | wc -l" finds
echo "repair / find (wall): all changed x$(ratio "$(med changed)" "$(med finds)"), nothing changed x$(ratio "$(med unchanged)" "$(med finds)")"
if [ -n "$changed1" ]; then
  show "one core, all changed" changed1
  show "one core, nothing changed" unchanged1
  echo "one core / two threads (wall): all changed x$(ratio "$(med changed1)" "$(med changed)"), nothing changed x$(ratio "$(med unchanged1)" "$(med unchanged)")"
fi
report_load
