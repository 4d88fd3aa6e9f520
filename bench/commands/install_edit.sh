#!/bin/sh
# Run: bench/commands/install_edit.sh BUILD_FOLDER [RUNS]  (BUILD_FOLDER configured with -DQUORIX_BENCH=ON)
# Times installcdp of a 1,000-asset LZSS package (5 files each, 100 MB unpacked) into an
# installation whose index already holds 200,000 records, against `tar -xzf` of the same
# folders; then edit and commit of one asset on the result, beside `status` (index load floor).
set -e
build=$(cd "${1:?build folder}" && pwd)
runs=${2:-5}
. "$(dirname "$0")/common.sh"
work=$(mktemp -d /tmp/bench_install_XXXXXX)
trap 'rm -rf "$work"' EXIT
root=$work/root
make_root "$root" "$build"
"$build/bench/database/bench_index" --make-installation "$root"
cp "$root/assets.tdx" "$work/pristine.tdx"
s=$(now_ns)
"$build/bench/commands/gen_assets" package "$work/src" "$work/pack.cdp" 1000 5 100000000
echo "package made in $(( ($(now_ns) - s) / 1000000 )) ms: $(stat -c %s "$work/pack.cdp") bytes," \
     "$(du -sb "$work/src" | cut -f1) bytes unpacked"
tar -czf "$work/pack.tar.gz" -C "$work/src" .
echo "tar.gz: $(stat -c %s "$work/pack.tar.gz") bytes"

fresh() { rm -rf "$root/local" "$root/editing" "$work/untar"; cp "$work/pristine.tdx" "$root/assets.tdx"; mkdir "$work/untar"; sync; }
untar() { tar -xzf "$work/pack.tar.gz" -C "$work/untar"; }
for i in $(seq "$runs"); do
  fresh
  if [ $((i % 2)) -eq 1 ]; then timed inst "$root/bin/QuorixUtil" installcdp "$work/pack.cdp"; timed tarx untar
  else timed tarx untar; timed inst "$root/bin/QuorixUtil" installcdp "$work/pack.cdp"; fi
done
echo "installed: $(find "$root/local" -type f | wc -l) files"
show "installcdp" inst
show "tar -xzf" tarx
echo "installcdp / tar -xzf: wall x$(ratio "$(med inst)" "$(med tarx)"), cpu x$(ratio "$(medcpu inst)" "$(medcpu tarx)")"

kuid="<kuid:777:5>"
for i in $(seq "$runs"); do
  timed edit "$root/bin/QuorixUtil" edit "$kuid"
  timed commit "$root/bin/QuorixUtil" commit "$kuid"
  timed status "$root/bin/QuorixUtil" status "$kuid"
done
"$root/bin/QuorixUtil" status "$kuid"
show "edit" edit
show "commit" commit
show "status" status
report_load
