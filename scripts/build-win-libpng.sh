#!/usr/bin/env bash
# Cross-builds a static libpng for the Windows deliverables from Debian's own
# libpng1.6 source package, against Debian's zlib for mingw, and installs
# headers and static libraries (libpng.a, libz.a) under a prefix that the
# cross builds find through VORN_WIN_DEPS_PREFIX.
#
# usage: scripts/build-win-libpng.sh <x86_64|i686> <install prefix>
#
# Idempotent: a prefix that already holds both libraries is left alone, and the
# unpacked source is fetched only once (next to the prefix, in src/).
# Run as root, it installs what it is missing with apt-get and, when the
# machine has no source entries, adds one for its Debian release.
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 <x86_64|i686> <install prefix>" >&2
  exit 2
fi
arch=$1
case "$arch" in
  x86_64|i686) ;;
  *) echo "unknown architecture: $arch (x86_64 or i686)" >&2; exit 2 ;;
esac
prefix=$(realpath -m "$2")
triple=$arch-w64-mingw32
cc=$triple-gcc-posix
mingw_root=/usr/$triple

if [ -f "$prefix/lib/libpng.a" ] && [ -f "$prefix/lib/libz.a" ] && [ -f "$prefix/include/png.h" ]; then
  echo "libpng for $arch already in $prefix"
  exit 0
fi

apt_install() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages: $* (run as root to install them)" >&2
    exit 1
  fi
  # Waits for another apt run to release the dpkg lock instead of failing.
  DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 install -y --no-install-recommends "$@"
}

needed=()
command -v "$cc" >/dev/null || needed+=("gcc-mingw-w64-${arch/_/-}-posix")
[ -f "$mingw_root/lib/libz.a" ] || needed+=(libz-mingw-w64-dev)
command -v dpkg-source >/dev/null || needed+=(dpkg-dev)
if [ ${#needed[@]} -gt 0 ]; then
  apt_install "${needed[@]}"
fi

has_source_entries() {
  grep -rqsE '^(deb-src[[:space:]]|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/
}

src_root=$(dirname "$prefix")/src
mkdir -p "$src_root"
src_dir=$(find "$src_root" -maxdepth 1 -type d -name 'libpng1.6-*' | sort | tail -n 1)
if [ -z "$src_dir" ]; then
  if ! has_source_entries; then
    if [ "$(id -u)" -ne 0 ]; then
      echo "apt has no source entries; run as root to add one" >&2
      exit 1
    fi
    . /etc/os-release
    cat >/etc/apt/sources.list.d/debian-src.sources <<EOF
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $VERSION_CODENAME $VERSION_CODENAME-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    apt-get -o DPkg::Lock::Timeout=900 update
  fi
  (cd "$src_root" && apt-get source libpng1.6)
  src_dir=$(find "$src_root" -maxdepth 1 -type d -name 'libpng1.6-*' | sort | tail -n 1)
fi
if [ -z "$src_dir" ] || [ ! -f "$src_dir/png.c" ]; then
  echo "libpng source not found under $src_root" >&2
  exit 1
fi

obj_dir=$prefix/obj/libpng
rm -rf "$obj_dir"
mkdir -p "$obj_dir" "$prefix/lib" "$prefix/include"
# The prebuilt configuration is libpng's stock feature set: nothing to generate.
cp "$src_dir/scripts/pnglibconf.h.prebuilt" "$obj_dir/pnglibconf.h"

sources=(png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil
         pngset pngtrans pngwio pngwrite pngwtran pngwutil)
objects=()
for name in "${sources[@]}"; do
  "$cc" -O2 -DNDEBUG -I"$obj_dir" -I"$src_dir" -I"$mingw_root/include" \
    -c "$src_dir/$name.c" -o "$obj_dir/$name.o"
  objects+=("$obj_dir/$name.o")
done
rm -f "$obj_dir/libpng.a"
"$triple-ar" rcs "$obj_dir/libpng.a" "${objects[@]}"

cp "$src_dir/png.h" "$src_dir/pngconf.h" "$obj_dir/pnglibconf.h" "$prefix/include/"
cp "$mingw_root/include/zlib.h" "$mingw_root/include/zconf.h" "$prefix/include/"
cp "$mingw_root/lib/libz.a" "$prefix/lib/"
# libpng.a goes in last: its presence marks the prefix as complete.
cp "$obj_dir/libpng.a" "$prefix/lib/"
echo "libpng for $arch installed in $prefix"
