#!/usr/bin/env bash
# Measures what a voice costs in each deliverable, in one sitting: the host
# vorn-voice-cost loads the plug-in through VSTPluginMain and prints
# nanoseconds of thread CPU time per voice-sample and the realtime factor for
# the first factory program and the "bright" patch at 16 and 64 held voices.
# It runs natively against vorn.so and under Wine against build/win64/
# vorn64.dll and build/win32/vorn.dll (each with the host of its own
# architecture). Figures only, no pass or fail; not part of the tests.
#
# The plug-in picks its vector code itself (AVX2 where the processor has it,
# otherwise SSE2; the 32-bit DLL too) and offers no switch to force one, so
# these figures are of the path the processor gets; a third cross build,
# build/win32-sse2 (VORN_SSE2_ONLY), is measured beside them. The script ends
# with the engine benchmark's 16- and 64-voice figures, the scalar voice code,
# SSE2 and AVX2 side by side, when that benchmark is built.
#
# Usage: scripts/bench-windows.sh <repo> [<linux-build-dir>] [vorn-voice-cost options...]
# The Linux build defaults to build/release (made with scripts/build.sh when
# missing); the Windows builds are made the way scripts/test-windows.sh makes
# them (the cross-built libpng, build/win64, build/win32 and build/win32-sse2), but only the
# plug-in and the host are built. scripts/setup-windows.sh installs what
# this needs.
set -euo pipefail

if [ $# -lt 1 ]; then
  echo "usage: $0 <repo> [<linux-build-dir>] [vorn-voice-cost options...]" >&2
  exit 2
fi
repo=$(cd "$1" && pwd)
shift
build=$repo/build
linux_build=$build/release
if [ $# -gt 0 ] && [ "${1#-}" = "$1" ]; then
  linux_build=$1
  shift
fi
host_options=("$@")
jobs=2
logs=$build/win-bench-logs
mkdir -p "$logs"

. "$repo/tests/windows/wine-env.sh"
. "$repo/tests/windows/check_runner.sh"

# step <name> <command...>: a build step, its output in its log.
step() {
  local name=$1
  shift
  if ! "$@" >"$logs/$name.log" 2>&1; then
    echo "FAILED to build: $name; the end of $logs/$name.log:" >&2
    tail -n 40 "$logs/$name.log" >&2
    exit 1
  fi
}

if [ -f "$linux_build/CMakeCache.txt" ]; then
  step linux-build cmake --build "$linux_build" -j $jobs --target vorn_vst vorn-voice-cost
  # The engine benchmark exists where Google Benchmark was found.
  if grep -q '^engine_bench:' <(cmake --build "$linux_build" --target help 2>/dev/null); then
    step linux-engine-bench cmake --build "$linux_build" -j $jobs --target engine_bench
  fi
else
  step linux-build "$repo/scripts/build.sh" release vorn_vst vorn-voice-cost
  linux_build=$build/release
fi
factory_bank=$(find_built "$linux_build" factory_bank.fxb)

# The deliverables, and a 32-bit build whose engine always takes the SSE2
# path (the processor may have AVX2, which the DLLs then use).
builds=(win64 win32 win32-sse2)
declare -A triple=([win64]=x86_64 [win32]=i686 [win32-sse2]=i686)
declare -A bits=([win64]=64 [win32]=32 [win32-sse2]=32)
declare -A dll_name=([win64]=vorn64.dll [win32]=vorn.dll [win32-sse2]=vorn.dll)
declare -A extra_options=([win64]="" [win32]="" [win32-sse2]=-DVORN_SSE2_ONLY=ON)
for name in "${builds[@]}"; do
  arch=${triple[$name]}
  deps=$build/deps/win${bits[$name]}
  step "libpng-win${bits[$name]}" "$repo/scripts/build-win-libpng.sh" "$arch" "$deps"
  if [ ! -f "$build/$name/CMakeCache.txt" ]; then
    step "$name-configure" cmake -G Ninja -S "$repo" -B "$build/$name" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/toolchains/mingw-w64-$arch.cmake" \
      -DVORN_WIN_DEPS_PREFIX="$deps" -DVORN_FACTORY_BANK="$factory_bank" ${extra_options[$name]}
  fi
  step "$name-build" cmake --build "$build/$name" -j $jobs --target vorn_vst vorn-voice-cost
done

vorn_wine_env "$build"
step wine-prefix vorn_wine_prepare_prefix
trap vorn_wine_stop EXIT

echo "$(date -u '+%F %T') on $(grep -m 1 'model name' /proc/cpuinfo | cut -d : -f 2- | sed 's/^ //'), load $(cut -d ' ' -f 1-3 /proc/loadavg)"
echo "== Linux, native"
"$(find_built "$linux_build" vorn-voice-cost)" "${host_options[@]}" "$(find_built "$linux_build" vorn.so)"
for name in "${builds[@]}"; do
  echo "== $name (${bits[$name]}-bit${extra_options[$name]:+, SSE2 path only}), under Wine"
  run_wine "$(find_built "$build/$name" vorn-voice-cost.exe)" "${host_options[@]}" \
    "$(wine_path "$(find_built "$build/$name" "${dll_name[$name]}")")"
done
# Natively the engine benchmark, when it is built (it needs Google
# Benchmark), shows both paths of one build.
engine_bench=$(find_built "$linux_build" engine_bench)
if [ -n "$engine_bench" ]; then
  echo "== Linux, the engine alone, each vector path (bench/engine)"
  "$engine_bench" --benchmark_filter='^Playing/.*/voices:(16|64)/' 2>/dev/null |
    grep '^Playing' | sed -E 's/ +[0-9.]+ us +[0-9.]+ us +[0-9]+//'
fi
