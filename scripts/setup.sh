#!/usr/bin/env bash
# Installs what the Linux builds and tests need, and only what is missing.
# Installing needs root; without it the script names what is missing and
# fails. Running it again changes nothing.
#
# Usage: scripts/setup.sh
set -euo pipefail

# Compilers and build tools; clang with its runtime for the sanitizers and
# libFuzzer; the test and benchmark libraries; libpng, FreeType and
# fontconfig for the raster layer with a metric-compatible "Arial"; sox as a
# second reader of our WAV files; python3 for small build helpers.
packages=(
  build-essential
  cmake
  ninja-build
  clang
  libclang-rt-14-dev
  libgtest-dev
  libbenchmark-dev
  libpng-dev
  zlib1g-dev
  libfreetype-dev
  libfontconfig-dev
  fontconfig
  fonts-liberation
  fonts-liberation2
  sox
  python3
)

is_installed() {
  [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]
}

missing=()
for package in "${packages[@]}"; do
  is_installed "$package" || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "error: missing packages: ${missing[*]}" >&2
    echo "run this script as root to install them" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  echo "Installing: ${missing[*]}"
  apt-get -y -o DPkg::Lock::Timeout=900 update
  apt-get -y -o DPkg::Lock::Timeout=900 install "${missing[@]}"
fi
