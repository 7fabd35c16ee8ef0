#!/usr/bin/env bash
# The main job on the bundled example data, run with the tools of an existing
# build: the roughness rose of the met station, the wind atlas from its
# observed climate, and the predicted wind climate at twenty turbine sites at
# 80 m, with wind-rose plots.
#
#   scripts/demo_chain.sh BUILD_FOLDER OUTPUT_FOLDER
#
# BUILD_FOLDER holds bin/kavicalc; OUTPUT_FOLDER receives every file the chain
# writes (created when missing). The steps run one after the other; a new step
# goes at the end, reading what the earlier ones wrote to OUTPUT_FOLDER.
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: $0 BUILD_FOLDER OUTPUT_FOLDER" >&2
  exit 2
fi
tool=$1/bin/kavicalc
out=$2
examples=$(dirname "$0")/../examples
if [ ! -x "$tool" ]; then
  echo "$0: no kavicalc in $1/bin: build first" >&2
  exit 1
fi
mkdir -p "$out"
export KAVI_REGISTRY=${KAVI_REGISTRY:-$(cd "$out" && pwd)/registry}

echo "== 1. Roughness rose of the met station at (-1000, 0) =="
"$tool" rose --map "$examples/site.map" --sectors 12 --at -1000,0 \
  --out "$out/station.rrd" --plot "$out/station-rose.svg"
cat "$out/station.rrd"
echo
echo
echo "== 2. Wind atlas from the station's observed climate (10 m mast, with obstacles) =="
"$tool" atlas --map "$examples/site.map" --tab "$examples/station.tab" --height 10 --at -1000,0 \
  --obstacles "$examples/station.obs" --out "$out/station.lib"
echo
echo "== 3. Predicted wind climate at the turbine sites, 80 m above ground =="
"$tool" predict --map "$examples/site.map" --atlas "$out/station.lib" --height 80 \
  --sites "$examples/turbines.csv" --plot "$out/turbines.svg"
echo
echo "Wind roses: $out/turbines-1.svg, $out/turbines-2.svg; roughness rose: $out/station-rose.svg"

# Resource grid with energy yield: 21 x 21 nodes every 200 m around the ridge
# at 80 m, for the E-101 power curve, on all cores.
echo
echo "== 4. Resource grid around the ridge, 80 m, with the E-101's energy yield =="
"$tool" grid --map "$examples/site.map" --atlas "$out/station.lib" --height 80 \
  --around 1500,1000 --radius 2000 --spacing 200 --power-curve "$examples/e101_3050kw.csv" \
  --out "$out/resource.nc" --plot "$out/resource-map.svg"
echo "Resource grid: $out/resource.nc (ncdump -h $out/resource.nc); map: $out/resource-map.svg"

echo
echo "== 5. Observed wind climate from a measured series (Greensboro TMY3, hourly, 10 m) =="
"$tool" climate --series "$examples/../tests/data/field-data/wind_climate/tmy3_723170_greensboro_NC.csv" \
  --skip-rows 1 --speed "Wspd (m/s)" --direction "Wdir (degrees)" --height 10 \
  --latitude 36.1 --longitude -79.95 --title "Greensboro NC, TMY3 hourly wind at 10 m" \
  --out "$out/greensboro.tab" --plot "$out/greensboro-climate.svg"
echo "Climate file: $out/greensboro.tab; picture: $out/greensboro-climate.svg"

echo
echo "== 6. The example map described, exported for a GIS and drawn, and a real elevation raster imported and drawn =="
"$tool" map info "$examples/site.map"
"$tool" map export "$examples/site.map" --out "$out/site.geojson"
"$tool" map import --elevation "$examples/../tests/data/field-data/terrain/big_butte_small.tif" \
  --interval 20 --out "$out/big_butte.map"
"$tool" map plot "$examples/site.map" --sites "$examples/turbines.csv" --out "$out/site-map.svg"
"$tool" map plot "$out/big_butte.map" --out "$out/big_butte-map.svg"
