#!/usr/bin/env bash
# Builds the libFuzzer targets of the file readers with clang and runs each in
# turn over its seed files (fuzz/corpus/<reader>/) and saved failures
# (fuzz/regressions/<reader>/) for the given number of seconds.
#
#   scripts/fuzz.sh [SECONDS] [READER ...]     default: 30 seconds, every reader
#
# Environment:
#   KAVI_FUZZ_BUILD  build folder (default: build-fuzz)
#   KAVI_FUZZ_OUT    folder for the grown corpora and the failing inputs
#                    (default: a temporary folder, kept only when a target fails)
#   KAVI_FUZZ_JOBS   parallel compile jobs (default: 2)
#   KAVI_FUZZ_FLAGS  further libFuzzer flags
# Exits non-zero when a target finds a crash, leak, timeout or broken promise;
# the input is then in $KAVI_FUZZ_OUT/artifacts/<reader>/. Save it under
# fuzz/regressions/<reader>/ once the reader is mended.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

seconds=${1:-30}
shift || true
readers=("$@")
if [ ${#readers[@]} -eq 0 ]; then
  readers=(map_input observed_climate atlas_file obstacle_file roughness_rose_file site_list
    obstacle_check)
fi
build=${KAVI_FUZZ_BUILD:-build-fuzz}

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DKAVI_FUZZ=ON -DKAVI_TESTS=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=()
for reader in "${readers[@]}"; do targets+=("fuzz_$reader"); done
cmake --build "$build" -j"${KAVI_FUZZ_JOBS:-2}" --target "${targets[@]}"
bin=$(cd "$build/bin" && pwd)

if [ -n "${KAVI_FUZZ_OUT:-}" ]; then
  out=$KAVI_FUZZ_OUT
  keep=1
else
  out=$(mktemp -d "${TMPDIR:-/tmp}/kavi-fuzz-out.XXXXXX")
  keep=0
fi
# The harnesses write each input to a file here; the grid and rose routines put
# their work files in the working folder, which is here as well.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  scratch=$(mktemp -d /dev/shm/kavi-fuzz.XXXXXX)
else
  scratch=$(mktemp -d "${TMPDIR:-/tmp}/kavi-fuzz.XXXXXX")
fi
trap 'rm -rf "$scratch"' EXIT

failed=()
for reader in "${readers[@]}"; do
  mkdir -p "$out/corpus/$reader" "$out/artifacts/$reader"
  inputs=("$out/corpus/$reader" "$root/fuzz/corpus/$reader")
  [ -d "$root/fuzz/regressions/$reader" ] && inputs+=("$root/fuzz/regressions/$reader")
  echo "=== fuzz_$reader: $seconds s"
  # shellcheck disable=SC2086
  if ! (cd "$scratch" && KAVI_FUZZ_SCRATCH="$scratch" "$bin/fuzz_$reader" \
      -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$out/artifacts/$reader/" ${KAVI_FUZZ_FLAGS:-} "${inputs[@]}"); then
    failed+=("$reader")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing found failures in: ${failed[*]} (inputs in $out/artifacts)" >&2
  exit 1
fi
[ "$keep" = 1 ] || rm -rf "$out"
echo "fuzzing found nothing in: ${readers[*]}"
