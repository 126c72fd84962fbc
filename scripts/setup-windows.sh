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
# wine32:i386 runs the 32-bit programs; Xvfb gives the editor tests a display;
# sox makes the test tones that check the measuring tools.
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
  xvfb
  sox
)

is_installed() {
  [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]
}

missing=()
for package in "${packages[@]}"; do
  is_installed "$package" || missing+=("$package")
done
needs_i386=0
dpkg --print-foreign-architectures | grep -qx i386 || needs_i386=1

if [ ${#missing[@]} -gt 0 ] || [ $needs_i386 = 1 ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "error: missing for the Windows builds: ${missing[*]}" >&2
    [ $needs_i386 = 1 ] && echo "error: the i386 architecture is not enabled" >&2
    echo "run this script as root to install them" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  # Another install may be running (the Linux set-up); wait for its lock.
  apt_get=(apt-get -y -o DPkg::Lock::Timeout=900)
  if [ $needs_i386 = 1 ]; then
    dpkg --add-architecture i386
  fi
  echo "Installing: ${missing[*]}"
  "${apt_get[@]}" update
  "${apt_get[@]}" install "${missing[@]}"
fi

# shellcheck source=../tests/windows/wine-env.sh
. "$repo/tests/windows/wine-env.sh"
vorn_wine_env "$repo/build"
vorn_wine_prepare_prefix
vorn_wine_stop
echo "Windows set-up ready: Wine prefix $WINEPREFIX"
