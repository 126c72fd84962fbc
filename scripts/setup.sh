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
# second reader of our WAV files; locales for the locale sources the tests
# generate a decimal-comma locale from; Xlib for the editor's X11 window,
# with XTEST, Xvfb and xauth (xvfb-run) for its tests under a virtual X server;
# python3 and librsvg2-bin (rsvg-convert) for resources/img/render.sh and the
# artwork's contrast test (the build itself uses the committed PNGs).
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
  sox
  python3
  librsvg2-bin
  locales
  libx11-dev
  libxtst-dev
  xvfb
  xauth
)

# shellcheck source=packages.sh
. "$(dirname "$0")/packages.sh"
install_missing "the Linux builds and tests" "${packages[@]}"
