#!/usr/bin/env bash
# Sets up, builds, lays out the demo installation in demo/ from examples/installation and
# walks through the demo batch file examples/demo.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh >/dev/null
rm -rf demo
mkdir -p demo
cp -r examples/installation demo/root
mkdir -p demo/root/bin
cp build/QuorixUtil demo/root/bin/QuorixUtil
cp -r examples/assets demo/assets 2>/dev/null || true
cp -r examples/scripts demo/scripts 2>/dev/null || true
cd demo
echo "== Demo installation: $(pwd)/root =="
echo "== Every line of examples/demo.txt runs as one command; each prints its results and a summary. =="
echo "== QuorixUtil version =="
root/bin/QuorixUtil version || true
echo
echo "== QuorixUtil @../examples/demo.txt (one command per line) =="
root/bin/QuorixUtil "@$(cd .. && pwd)/examples/demo.txt" || echo "(some demo steps reported a failure: exit code $?)"
