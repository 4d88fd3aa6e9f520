#!/bin/sh
# Run: bench/commands/search.sh BUILD_FOLDER [RUNS]  (BUILD_FOLDER configured with -DQUORIX_BENCH=ON)
# Times `searchbycategory` as a whole process over an installation of 200,000 assets (index
# from bench_index), for a narrow and a broad category, beside `status` of one asset (the
# cost of starting and loading the index) and grep -c over the index file's bytes.
set -e
build=$(cd "${1:?build folder}" && pwd)
runs=${2:-11}
. "$(dirname "$0")/common.sh"
work=$(mktemp -d /tmp/bench_search_XXXXXX)
trap 'rm -rf "$work"' EXIT
root=$work/root
make_root "$root" "$build"
"$build/bench/database/bench_index" --make-installation "$root"
q() { "$root/bin/QuorixUtil" searchbycategory "$1"; }
for c in "TR;TV;LOCO" "TR"; do q "$c" | head -1; done
"$root/bin/QuorixUtil" status "<kuid2:10250:100250:2>" >/dev/null
for i in $(seq "$runs"); do
  timed narrow q "TR;TV;LOCO"
  timed broad q "TR"
  timed status "$root/bin/QuorixUtil" status "<kuid2:10250:100250:2>"
done
show "searchbycategory TR;TV;LOCO" narrow
show "searchbycategory TR" broad
show "status" status
echo "ratios to status: narrow wall x$(ratio "$(med narrow)" "$(med status)") cpu x$(ratio "$(medcpu narrow)" "$(medcpu status)"); broad wall x$(ratio "$(med broad)" "$(med status)") cpu x$(ratio "$(medcpu broad)" "$(medcpu status)")"
report_load
