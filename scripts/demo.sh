#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds, and runs the main job on the bundled
# example data (scripts/demo_chain.sh): the roughness rose of the met station,
# the wind atlas from its observed climate, and the predicted wind climate at
# twenty turbine sites at 80 m, with wind-rose plots. Outputs go to demo-output/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
out=demo-output
mkdir -p "$out"
echo "Building (log in $out/build.log) ..."
scripts/build.sh build >"$out/build.log" 2>&1 || { tail -n 40 "$out/build.log"; exit 1; }
scripts/demo_chain.sh build "$out"
