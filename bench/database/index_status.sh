#!/bin/sh
# Times `QuorixUtil status <kuid>` on an installation whose index holds 200,000 records,
# and its peak memory against the index file's size.
# Usage: index_status.sh BUILD_FOLDER [RUNS]
set -e
build=${1:?build folder}
runs=${2:-11}
root=$(mktemp -d /tmp/index_status_XXXXXX)
trap 'rm -rf "$root"' EXIT
mkdir -p "$root/bin/QETData"
cp "$build/QuorixUtil" "$root/bin/"
"$build/bench/database/bench_index" --make-installation "$root"
size=$(stat -c %s "$root/assets.tdx")
kuid="<kuid2:10250:100250:2>"
"$root/bin/QuorixUtil" status "$kuid" >/dev/null  # first run settles the dependency bits
times=""
for i in $(seq "$runs"); do
  start=$(date +%s%N)
  "$root/bin/QuorixUtil" status "$kuid" >/dev/null
  end=$(date +%s%N)
  times="$times $(( (end - start) / 1000000 ))"
done
median=$(echo $times | tr ' ' '\n' | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
peak=$(/usr/bin/time -f %M "$root/bin/QuorixUtil" status "$kuid" 2>&1 >/dev/null | tail -1)
echo "index file: $size bytes"
echo "status runs (ms):$times"
echo "status median: ${median} ms"
echo "status peak memory: ${peak} KiB ($(awk "BEGIN {printf \"%.2f\", $peak * 1024 / $size}") x the index file)"
