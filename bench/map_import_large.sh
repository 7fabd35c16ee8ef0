#!/usr/bin/env bash
# Import of a large elevation raster with land-cover polygons: a 4000 × 4000
# GeoTIFF (10 m cells, 40 km square, UTM zone 32N) of smooth hills, and 400
# forest, town and lake polygons on it, both written here; then
# `kavicalc map import` under /usr/bin/time: elapsed time, peak memory (the
# raster alone is 64 MB in single precision, 128 MB in doubles) and the
# import's summary.
#
#   bench/map_import_large.sh [BUILD_DIR] [SIDE]   (default build, 4000 cells)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
side=${2:-4000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export KAVI_REGISTRY="$work/registry"
/usr/bin/python3 - "$work" "$side" <<'PY'
import json, math, sys
import numpy
from osgeo import gdal, osr

work, side = sys.argv[1], int(sys.argv[2])
cell, west, north = 10.0, 400000.0, 5400000.0
crs = osr.SpatialReference()
crs.ImportFromEPSG(32632)
raster = gdal.GetDriverByName("GTiff").Create(f"{work}/dem.tif", side, side, 1, gdal.GDT_Float32,
                                              ["TILED=YES", "COMPRESS=DEFLATE"])
raster.SetGeoTransform((west, cell, 0, north, 0, -cell))
raster.SetProjection(crs.ExportToWkt())
band = raster.GetRasterBand(1)
rng = numpy.random.default_rng(7)
hills = [(rng.uniform(0, side), rng.uniform(0, side), rng.uniform(50, 300), rng.uniform(200, 600))
         for _ in range(12)]
columns = numpy.arange(side, dtype=numpy.float64)
for top in range(0, side, 256):  # written in strips, never whole in memory
    rows = numpy.arange(top, min(top + 256, side), dtype=numpy.float64)[:, None]
    z = numpy.full((rows.shape[0], side), 100.0)
    for cx, cy, h, s in hills:
        z += h * numpy.exp(-((columns - cx) ** 2 + (rows - cy) ** 2) / (2 * s * s))
    band.WriteArray(z.astype(numpy.float32), 0, top)
raster = None
features = []
for i in range(400):
    x = west + rng.uniform(0, side * cell - 1000)
    y = north - rng.uniform(1000, side * cell)
    w = rng.uniform(200, 900)
    z0 = float(rng.choice([0.0, 0.4, 0.8]))
    ring = [[x, y], [x + w, y], [x + w, y + w], [x, y + w], [x, y]]
    features.append({"type": "Feature", "properties": {"z0": z0},
                     "geometry": {"type": "Polygon", "coordinates": [ring]}})
with open(f"{work}/cover.geojson", "w") as out:
    json.dump({"type": "FeatureCollection",
               "crs": {"type": "name", "properties": {"name": "urn:ogc:def:crs:EPSG::32632"}},
               "features": features}, out)
PY
echo "raster ${side} x ${side} cells ($(du -h "$work/dem.tif" | cut -f1) compressed), 400 land-cover polygons"
/usr/bin/time -f "elapsed %e s, peak memory %M KB" "$build/bin/kavicalc" map import \
  --elevation "$work/dem.tif" --interval 10 --landcover "$work/cover.geojson" --z0-field z0 \
  --default-z0 0.03 --out "$work/large.map"
