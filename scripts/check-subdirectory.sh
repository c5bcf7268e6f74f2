#!/usr/bin/env bash
# Builds examples/consumer with this source tree added through add_subdirectory() and
# runs it; checks that only the libraries were built along with it (no tests,
# benchmarks or tour when the project is not the top level).
set -euo pipefail
cd "$(dirname "$0")/.."

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cmake -S examples/consumer -B "$scratch" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DKPQUASLET_SOURCE_DIR="$PWD" >/dev/null
extra=$(cmake --build "$scratch" --target help | grep -E '^(test_|bench_|tour|kp_test)' || true)
if [ -n "$extra" ]; then
  echo "check-subdirectory: targets beyond the libraries: $extra" >&2
  exit 1
fi
cmake --build "$scratch"
"$scratch/consumer"
