#!/usr/bin/env bash
# A resource grid of NODES nodes (default 10,000) on the example map at 80 m,
# with --jobs 1 and then --jobs 2, in one run: elapsed times and their ratio,
# and whether both outputs are the same.
#
#   bench/grid_jobs.sh [BUILD_DIR] [NODES]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
nodes=${2:-10000}
tool="$build/bin/kavicalc"
side=$(python3 -c "import math; print(int(math.isqrt($nodes)))")
spacing=20
half=$(( (side - 1) * spacing / 2 ))
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export KAVI_REGISTRY="$work/registry"
run() {
  local jobs=$1
  local start
  start=$EPOCHREALTIME
  "$tool" grid --map examples/site.map --atlas examples/station.lib --height 80 \
    --bounds "-$half,-$half,$half,$half" --spacing $spacing --jobs "$jobs" \
    --out "$work/jobs$jobs.csv" >/dev/null
  python3 -c "print($EPOCHREALTIME - $start)"
}
one=$(run 1)
two=$(run 2)
printf 'grid of %d x %d nodes: --jobs 1 %.1f s, --jobs 2 %.1f s, ratio %.2f\n' \
  "$side" "$side" "$one" "$two" "$(python3 -c "print($one / $two)")"
cmp -s "$work/jobs1.csv" "$work/jobs2.csv" && echo "outputs identical" || echo "OUTPUTS DIFFER"
