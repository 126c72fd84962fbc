#!/usr/bin/env bash
# Cross-builds a static libpng for the Windows deliverables from Debian's own
# libpng1.6 source package, against Debian's zlib for mingw, and installs
# headers and static libraries (libpng.a, libz.a) under a prefix that the
# cross builds find through VORN_WIN_DEPS_PREFIX.
#
# usage: scripts/build-win-libpng.sh <x86_64|i686> <install prefix>
#
# The DLLs are built from libpng 1.6.39 (kLibpngVersion; Debian 12's), whatever
# Debian revision of it the machine's archive carries; another version stops
# the build. The source package comes from the archives the machine already
# uses: a private apt configuration next to the prefix (apt/) lists each
# configured entry as a source entry, and its own index and cache live there
# too, so the system's apt configuration and state are never touched.
#
# Idempotent: a prefix that already holds both libraries is left alone, and the
# unpacked source is fetched only once (next to the prefix, in src/).
# Run as root, it installs the compilers and tools it is missing with apt-get.
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
kLibpngVersion=1.6.39
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

# apt_sources_from_system <folder>: one deb-src entry for every entry the
# system's apt uses (one-line and deb822 files alike), into <folder>.
apt_sources_from_system() {
  local out=$1 file
  mkdir -p "$out/sources.list.d"
  : >"$out/sources.list"
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] || continue
    sed -nE 's/^[[:space:]]*deb(-src)?([[:space:]])/deb-src\2/p' "$file" >>"$out/sources.list"
  done
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    sed -E 's/^Types:.*/Types: deb-src/' "$file" >"$out/sources.list.d/$(basename "$file")"
  done
}

# private_apt <apt folder> <apt-get|apt-cache> <arguments...>: runs an apt
# program on the private configuration only.
private_apt() {
  local apt=$1 program=$2
  shift 2
  "$program" -o Dir::Etc::SourceList="$apt/sources.list" -o Dir::Etc::SourceParts="$apt/sources.list.d" \
    -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache" "$@"
}

src_root=$(dirname "$prefix")/src
mkdir -p "$src_root"
src_dir=$src_root/libpng1.6-$kLibpngVersion
if [ ! -f "$src_dir/png.c" ]; then
  apt=$(dirname "$prefix")/apt
  rm -rf "$apt"
  mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial"
  apt_sources_from_system "$apt"
  # An archive without source indexes fails its part of the update; the
  # source package only needs one that has them.
  private_apt "$apt" apt-get update || echo "warning: some source indexes could not be fetched" >&2
  # The newest Debian revision of the pinned version first; an archive whose
  # pool does not answer leaves the next one.
  revisions=$(private_apt "$apt" apt-cache showsrc --only-source libpng1.6 2>/dev/null |
              sed -nE "s/^Version: ($kLibpngVersion-.*)/\1/p" | sort -rVu)
  if [ -z "$revisions" ]; then
    echo "error: no libpng1.6 $kLibpngVersion source package in the machine's apt archives" >&2
    exit 1
  fi
  for revision in $revisions; do
    if (cd "$src_root" && private_apt "$apt" apt-get source "libpng1.6=$revision"); then
      echo "libpng source: Debian libpng1.6 $revision"
      break
    fi
  done
fi
if [ ! -f "$src_dir/png.c" ]; then
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
