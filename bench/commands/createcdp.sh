#!/bin/sh
# Run: bench/commands/createcdp.sh BUILD_FOLDER [RUNS]  (BUILD_FOLDER configured with -DQUORIX_BENCH=ON)
# Times `createcdp` of 100 committed assets totalling 20 MB against `tar -czf` of the same
# asset folders, alternating which goes first.
set -e
build=$(cd "${1:?build folder}" && pwd)
runs=${2:-5}
. "$(dirname "$0")/common.sh"
work=$(mktemp -d /tmp/bench_createcdp_XXXXXX)
trap 'rm -rf "$work"' EXIT
root=$work/root
make_root "$root" "$build"
"$build/bench/commands/gen_assets" installation "$root" 100 3 200000
echo "assets: $(du -sb "$root/local" | cut -f1) bytes in $(find "$root/local" -type f | wc -l) files"
kuids=$(seq 0 99 | sed 's/.*/<kuid:888:&>/' | tr '\n' ' ')
mk() { rm -f "$work/out.cdp"; "$root/bin/QuorixUtil" createcdp "$work/out.cdp" $kuids; }
tgz() { tar -czf "$work/out.tar.gz" -C "$root" local; }
mk | tail -1; tgz
echo "package: $(stat -c %s "$work/out.cdp") bytes; tar.gz: $(stat -c %s "$work/out.tar.gz") bytes"
for i in $(seq "$runs"); do
  if [ $((i % 2)) -eq 1 ]; then timed cdp mk; timed tar tgz
  else timed tar tgz; timed cdp mk; fi
done
show "createcdp" cdp
show "tar -czf" tar
echo "createcdp / tar -czf: wall x$(ratio "$(med cdp)" "$(med tar)"), cpu x$(ratio "$(medcpu cdp)" "$(medcpu tar)")"
report_load
