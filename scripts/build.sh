#!/usr/bin/env bash
# Configures and builds one Linux configuration out of tree. The configure
# step runs every time: CMake redoes only what changed, and starts afresh
# when the compilers changed.
#
# Usage: scripts/build.sh <release|asan|tsan> [ninja targets...]
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
config=${1:?usage: scripts/build.sh <release|asan|tsan> [targets...]}
shift
dir="$repo/build/$config"
jobs=$(nproc)

case "$config" in
  release) options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g")
           compilers=(-DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++) ;;
  asan)    options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORN_SANITIZE=ON -DVORN_FUZZ=ON -DVORN_BENCH=OFF)
           compilers=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
  tsan)    options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORN_TSAN=ON -DVORN_BENCH=OFF)
           compilers=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
  *) echo "unknown configuration: $config" >&2; exit 2 ;;
esac

cmake -S "$repo" -B "$dir" -G Ninja "${compilers[@]}" "${options[@]}" >/dev/null
cmake --build "$dir" -j "$jobs" ${1:+--target "$@"}
