#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build and test Kavicalc;
# `scripts/setup.sh fuzz` also installs clang with libFuzzer for the fuzz targets.
set -euo pipefail

packages=(cmake make g++ libgtest-dev python3 pkg-config
  # a locale with a decimal comma, for the test that conversions ignore the locale
  locales
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
# As root no sudo is needed; otherwise sudo must be there, or the user is told
# what to ask an administrator for.
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    sudo=(sudo)
  elif ((${#missing[@]})) || ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    echo "setup.sh: not root and no sudo: ask an administrator to run" >&2
    echo "  apt-get install ${missing[*]:-locales}" >&2
    echo "  and to enable de_DE.UTF-8 in /etc/locale.gen and run locale-gen" >&2
    exit 1
  fi
fi
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
fi
# The decimal-comma locale itself.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  echo "Generating the locale de_DE.UTF-8"
  "${sudo[@]}" sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen ||
    echo 'de_DE.UTF-8 UTF-8' | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo[@]}" locale-gen >/dev/null
fi
