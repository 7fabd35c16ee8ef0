#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build and test Kavicalc;
# `scripts/setup.sh fuzz` also installs clang with libFuzzer for the fuzz targets.
set -euo pipefail

packages=(cmake make g++ libgtest-dev python3
  # maps from rasters and land cover, resource grids as GeoTIFF and NetCDF
  libgdal-dev gdal-bin libnetcdf-dev netcdf-bin
  # incomplete gamma functions of the energy yield
  libboost-dev
  # pictures rendered to PNG
  librsvg2-bin librsvg2-dev
  # the Python client's analysis layer (for /usr/bin/python3)
  python3-numpy python3-scipy python3-xarray python3-netcdf4 python3-dask python3-distributed python3-yaml
  python3-matplotlib)
if [ "${1:-}" = fuzz ]; then
  packages+=(clang libclang-rt-14-dev)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq "${missing[@]}"
fi
