#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds, and runs the main job on the bundled
# example data: the roughness rose of the met station, the wind atlas from its
# observed climate, and the predicted wind climate at twenty turbine sites at
# 80 m, with wind-rose plots. Outputs go to demo-output/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
out=demo-output
mkdir -p "$out"
echo "Building (log in $out/build.log) ..."
scripts/build.sh build >"$out/build.log" 2>&1 || { tail -n 40 "$out/build.log"; exit 1; }
tool=build/bin/kavicalc
export KAVI_REGISTRY=${KAVI_REGISTRY:-$PWD/$out/registry}

echo "== 1. Roughness rose of the met station at (-1000, 0) =="
"$tool" rose --map examples/site.map --sectors 12 --at -1000,0 \
  --out "$out/station.rrd" --plot "$out/station-rose.svg"
cat "$out/station.rrd"
echo
echo
echo "== 2. Wind atlas from the station's observed climate (10 m mast, with obstacles) =="
"$tool" atlas --map examples/site.map --tab examples/station.tab --height 10 --at -1000,0 \
  --obstacles examples/station.obs --out "$out/station.lib"
echo
echo "== 3. Predicted wind climate at the turbine sites, 80 m above ground =="
"$tool" predict --map examples/site.map --atlas "$out/station.lib" --height 80 \
  --sites examples/turbines.csv --plot "$out/turbines.svg"
echo
echo "Wind roses: $out/turbines-1.svg, $out/turbines-2.svg; roughness rose: $out/station-rose.svg"
