#!/usr/bin/env bash
# Installs what the Windows cross builds and the Wine tests need, and only
# what is missing, then prepares the private Wine prefix under <repo>/build.
# Installing needs root; without it the script names what is missing and fails.
# Running it again changes nothing.
#
# Usage: scripts/setup-windows.sh [<repo>]
set -euo pipefail

repo=$(cd "${1:-$(dirname "$0")/..}" && pwd)

# The posix variants of the compilers carry std::thread; windres and objdump
# come with binutils; libz-mingw-w64-dev is what the cross-built libpng links;
# wine32:i386 runs the 32-bit programs; sox makes the test tones that check the measuring tools; dpkg-dev lets
# apt-get fetch the libpng source that the cross builds compile.
packages=(
  cmake
  ninja-build
  g++-mingw-w64-x86-64-posix
  g++-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64
  binutils-mingw-w64-i686
  libz-mingw-w64-dev
  wine
  wine64
  wine32:i386
  sox
  dpkg-dev
)

# shellcheck source=packages.sh
. "$repo/scripts/packages.sh"
install_missing "the Windows builds" "${packages[@]}"

# shellcheck source=../tests/windows/wine-env.sh
. "$repo/tests/windows/wine-env.sh"
vorn_wine_env "$repo/build"
vorn_wine_prepare_prefix
vorn_wine_stop
echo "Windows set-up ready: Wine prefix $WINEPREFIX"
