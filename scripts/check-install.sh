#!/usr/bin/env bash
# Installs the libraries of a build folder (default: build/default) into a temporary
# prefix and uses them from there the three ways a consumer can:
#   1. every installed header compiles on its own (tests/install/headers), and the
#      installed internal headers are exactly those the public ones reach;
#   2. examples/consumer builds with find_package(KPQuaslet) and runs;
#   3. the consumer's program builds with `pkg-config --cflags --libs kpquaslet` and runs.
# Nothing is left behind.
set -euo pipefail
cd "$(dirname "$0")/.."
source=$PWD
build=${1:-build/default}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix

cmake --build "$build" --target KPQuaslet ios_platform
cmake --install "$build" --prefix "$prefix" >/dev/null

# Nothing may claim a generic name in the shared include folder.
unexpected=$(find "$prefix/include" -mindepth 1 -maxdepth 1 ! -name kpquaslet)
if [ -n "$unexpected" ]; then
  echo "check-install: unexpected entries in include/: $unexpected" >&2
  exit 1
fi

echo "check-install: each installed header on its own"
cmake -S tests/install/headers -B "$scratch/headers" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$scratch/headers"

echo "check-install: the consumer through find_package"
cmake -S examples/consumer -B "$scratch/consumer" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$scratch/consumer"
"$scratch/consumer/consumer"

echo "check-install: the consumer through pkg-config"
pcdir=$(dirname "$(find "$prefix" -name kpquaslet.pc)")
libdir=$(PKG_CONFIG_PATH=$pcdir pkg-config --variable=libdir kpquaslet)
# shellcheck disable=SC2046
c++ examples/consumer/main.cpp -o "$scratch/consumer-pc" \
  $(PKG_CONFIG_PATH=$pcdir pkg-config --cflags --libs kpquaslet) -Wl,-rpath,"$libdir"
"$scratch/consumer-pc"
