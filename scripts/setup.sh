#!/usr/bin/env bash
# Installs the Debian packages the build needs, skipping those already present, and
# puts the test portrait into the build tree. A machine that already has everything is
# left untouched.
set -euo pipefail

cd "$(dirname "$0")/.."

packages=(
  build-essential cmake ninja-build pkg-config
  libicu-dev nlohmann-json3-dev libcairo2-dev libjpeg62-turbo-dev libpng-dev
  libgtest-dev libgmock-dev libbenchmark-dev libtbb-dev
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev
  libdlib-dev libsqlite3-dev
  libpango1.0-dev fonts-dejavu-core fonts-dejavu-extra fonts-urw-base35 fonts-wqy-microhei
  file
  locales
  clang libclang-rt-14-dev
)

if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi
export DEBIAN_FRONTEND=noninteractive

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

lists_updated=no
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $SUDO apt-get update -qq
  lists_updated=yes
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The face-detection tests run on a real portrait: the astronaut photograph that
# Debian's python3-skimage package ships. The package is downloaded, not installed,
# and only the picture is taken out of it.
portrait=build/testdata/astronaut.png
portrait_sha256=88431cd9653ccd539741b555fb0a46b61558b301d4110412b5bc28b5e3ea6cb5
if ! echo "$portrait_sha256  $portrait" | sha256sum --check --status 2>/dev/null; then
  echo "setup: fetching the test portrait from python3-skimage"
  mkdir -p build/testdata
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  if ! (cd "$scratch" && apt-get download -qq python3-skimage 2>/dev/null); then
    if [ "$lists_updated" = no ]; then
      $SUDO apt-get update -qq
    fi
    (cd "$scratch" && apt-get download -qq python3-skimage)
  fi
  dpkg-deb --fsys-tarfile "$scratch"/python3-skimage_*.deb |
    tar -xO ./usr/lib/python3/dist-packages/skimage/data/astronaut.png > "$scratch/astronaut.png"
  if ! echo "$portrait_sha256  $scratch/astronaut.png" | sha256sum --check --status; then
    echo "setup: the portrait in python3-skimage is not the expected file" >&2
    exit 1
  fi
  mv "$scratch/astronaut.png" "$portrait"
fi
