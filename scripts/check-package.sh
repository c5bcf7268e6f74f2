#!/usr/bin/env bash
# Makes the Debian packages of a build folder (default: build/default) in a temporary
# folder and checks them: the runtime package holds the shared libraries and declares
# what they link, the development package holds the headers, the CMake package and
# kpquaslet.pc and depends on the runtime package at the same version, and apt accepts
# both (a simulated install: nothing on the machine changes).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cmake --build "$build" --target KPQuaslet ios_platform
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch" >/dev/null

fail() {
  echo "check-package: $*" >&2
  exit 1
}
runtime=$(find "$scratch" -maxdepth 1 -name 'libkpquaslet1_*.deb')
dev=$(find "$scratch" -maxdepth 1 -name 'libkpquaslet-dev_*.deb')
[ -n "$runtime" ] && [ -n "$dev" ] || fail "expected libkpquaslet1 and libkpquaslet-dev, got: $(ls "$scratch")"

# Listings are read from files: grep -q stopping early would break dpkg-deb's pipe.
version=$(dpkg-deb -f "$runtime" Version)
dpkg-deb -c "$runtime" >"$scratch/runtime.list"
dpkg-deb -c "$dev" >"$scratch/dev.list"
dpkg-deb --ctrl-tarfile "$runtime" | tar -t >"$scratch/runtime.control"
has() { grep -q -- "$2" "$scratch/$1"; }

has runtime.list 'libKPQuaslet\.so\.1 ->' || fail "no libKPQuaslet.so.1 in $runtime"
has runtime.list 'libios_platform\.so\.1 ->' || fail "no libios_platform.so.1 in $runtime"
has runtime.list '\.h$' && fail "headers in $runtime"
has runtime.control shlibs || fail "no shlibs file in $runtime"
has runtime.control triggers || fail "no ldconfig trigger in $runtime"
# A maintainer script would keep the package listed (state "rc") after its removal.
has runtime.control 'post\|pre' && fail "maintainer scripts in $runtime"
dpkg-deb -f "$runtime" Depends >"$scratch/runtime.depends"
for dependency in libicu libpango fonts-dejavu-core fonts-dejavu-extra fonts-urw-base35 fonts-wqy-microhei; do
  has runtime.depends "$dependency" || fail "the runtime package does not depend on $dependency"
done

dpkg-deb -f "$dev" Depends | grep -qF "libkpquaslet1 (= $version)" ||
  fail "the development package does not depend on libkpquaslet1 (= $version)"
for file in include/kpquaslet/KPQuaslet/KPQuaslet.h KPQuasletConfig.cmake KPQuasletConfigVersion.cmake \
            kpquaslet.pc 'libKPQuaslet\.so ->'; do
  has dev.list "$file" || fail "no $file in $dev"
done
has dev.list 'libKPQuaslet\.so\.1\.' && fail "the shared library itself in $dev"

apt-get install --simulate --no-install-recommends "$runtime" "$dev" >"$scratch/apt.log" 2>&1 ||
  { cat "$scratch/apt.log" >&2; fail "apt does not accept the packages"; }
echo "check-package: $(basename "$runtime") and $(basename "$dev") are complete and installable"
