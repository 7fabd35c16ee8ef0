#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build and test Kavicalc;
# `scripts/setup.sh fuzz` also installs clang with libFuzzer for the fuzz targets.
set -euo pipefail

packages=(cmake make g++ libgtest-dev python3)
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
