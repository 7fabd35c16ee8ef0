#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds, and runs the main job on the
# bundled example data.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
tool=build/bin/kavicalc
export KAVI_REGISTRY=${KAVI_REGISTRY:-$PWD/build/registry}
echo "== The configuration parameters =="
"$tool" params
echo
echo "== A prediction (stops at the first step this build does not provide yet) =="
"$tool" predict --map examples/station.map --atlas examples/station.lib --height 80 --at 0,0 || true
