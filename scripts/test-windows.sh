#!/usr/bin/env bash
# Cross-builds the Windows deliverables (build/win64: vorn64.dll, build/win32:
# vorn.dll) and tests them under Wine against the Linux build:
#   - each DLL imports only DLLs that every Windows has, and exports exactly
#     VSTPluginMain and main; the 32-bit one's entry point is __cdecl and all
#     of its code is compiled for SSE2 arithmetic;
#   - the host conformance checker passes against each DLL;
#   - the chaos host drives each DLL for a minute from a printed seed, and
#     its editor for half a minute on the editor checks' display;
#   - the factory bank is read from the library's resource;
#   - the editor images are carried as "PNG" resources 101 to 108;
#   - the demo piece renders as the Linux build renders it;
#   - with a fake LIBMTS.dll in the system folder a note starts at the
#     master's pitch, without it at equal temperament;
#   - program and bank files saved, replaced and loaded in a folder named
#     in several scripts, and a file past the size cap refused;
#   - the raster layer's Windows runner, when it is built;
#   - the settings file and start-up bank found through a local
#     application-data folder whose name no ANSI code page holds;
#   - the editor window on a private X server: opened, driven, photographed
#     (screenshots in build/editor-screenshots/) and compared with the
#     headless surface, opened and closed under load.
# Prints one line per check and "windows: N passed, N failed"; exits non-zero
# when anything failed.
#
# Usage: scripts/test-windows.sh <repo> [<linux-build-dir>]
# Without a Linux build folder, one is made in <repo>/build/win-linuxref.
# scripts/setup-windows.sh installs what this needs.
set -uo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 <repo> [<linux-build-dir>]" >&2
  exit 2
fi
repo=$(cd "$1" && pwd)
build=$repo/build
linux_build=${2:-$build/win-linuxref}
logs=$build/win-test-logs
work=$build/win-test-work
started=$SECONDS
jobs=2

# Renders compared across builds: the demo piece through these programs.
kComparePrograms=("Fat Saws" "Bass One" "String Ensemble" "Synced Lead 1" "Bell Piano")
kRenderOptions=(--rate 48000 --block 512 --format float --tail 1 --quiet --force)
# All three builds compute in IEEE double with SSE2 and no reassociation, so
# their renders can differ only where the C runtimes' sin, pow or exp (Wine's
# msvcrt and mingw's libm against glibc) differ in the last bits: about 1e-16
# relative, which the 32-bit float WAV mostly rounds away. The limits leave
# room for such a difference to grow through the filters' feedback or to move
# a threshold decision by a sample (-60 dBFS on a sample, 80 dB below the
# signal on average, far below hearing), while a wrong program, sample rate,
# block handling or sample format differs by tens of dB.
kRenderMaxDifference=1e-3
kRenderMinDistanceDb=80
# The tuning check: one held note through the plain "Init" sound, its pitch
# measured after the attack; the fake master tunes every note this far above
# equal temperament (a neighbouring note's entry would be 100 cents away).
kTuningNote=64
kTuningProgram=Init
kTuningMasterCents=40
kTuningWindowStart=0.1
kTuningWindowLength=0.6
# Init's oscillator 2 sits 6/128 semitone above oscillator 1, so the pair
# sounds about 2.3 cents above the note; the master's pitch index is found to
# the nearest 1/128 semitone (0.8 cents) by a search in a table interpolated
# linearly in Hz. Equal temperament, the master and a neighbouring note lie
# 40 and 100 cents apart.
kTuningToleranceCents=5
kTuningOffsetToleranceCents=1

. "$repo/tests/windows/wine-env.sh"
. "$repo/tests/windows/check_runner.sh"
. "$repo/tests/windows/binary_checks.sh"
. "$repo/tests/windows/chaos_checks.sh"
. "$repo/tests/windows/render_checks.sh"
. "$repo/tests/windows/settings_checks.sh"
. "$repo/tests/windows/editor_checks.sh"

for tool in cmake ninja sox wine wineserver Xvfb x86_64-w64-mingw32-g++-posix i686-w64-mingw32-g++-posix \
  x86_64-w64-mingw32-objdump i686-w64-mingw32-objdump; do
  if ! command -v "$tool" >/dev/null; then
    echo "error: $tool is missing: run scripts/setup-windows.sh as root first" >&2
    exit 1
  fi
done
rm -rf "$logs" "$work"
mkdir -p "$logs" "$work"

# Every step's output goes to its log; the console gets one line per step.
# step <name> <command...>: runs a build step and stops the script on failure.
step() {
  local name=$1
  shift
  local t0=$SECONDS
  if "$@" >"$logs/$name.log" 2>&1; then
    echo "built: $name ($((SECONDS - t0)) s)"
  else
    echo "FAILED to build: $name; the end of $logs/$name.log:"
    tail -n 40 "$logs/$name.log"
    echo "windows: $passed passed, $((failed + 1)) failed"
    exit 1
  fi
}

# --- The Linux reference build: the factory bank file and the reference renders.
if [ ! -f "$linux_build/CMakeCache.txt" ]; then
  # Optimised as the Windows builds are (the toolchain files' Release flags).
  step linux-configure cmake -G Ninja -S "$repo" -B "$linux_build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" -DVORN_TESTS=OFF -DVORN_BENCH=OFF
fi
step linux-build cmake --build "$linux_build" -j $jobs
factory_bank=$linux_build/resources/factory_bank.fxb
linux_render=$(find_built "$linux_build" vorn-render)
linux_plugin=$(find_built "$linux_build" vorn.so)

# --- The two cross builds, each with its cross-built libpng.
declare -A triple=([64]=x86_64 [32]=i686)
declare -A dll_name=([64]=vorn64.dll [32]=vorn.dll)
for bits in 64 32; do
  arch=${triple[$bits]}
  deps=$build/deps/win$bits
  step "libpng-win$bits" "$repo/scripts/build-win-libpng.sh" "$arch" "$deps"
  options=(-G Ninja -S "$repo" -B "$build/win$bits" -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/toolchains/mingw-w64-$arch.cmake"
    -DVORN_WIN_DEPS_PREFIX="$deps")
  [ -f "$factory_bank" ] && options+=(-DVORN_FACTORY_BANK="$factory_bank")
  step "win$bits-configure" cmake "${options[@]}"
  step "win$bits-build" cmake --build "$build/win$bits" -j $jobs
  # The test helpers: the fake tuning library for this architecture.
  step "win$bits-test-tools" build_tools "$build/win-tools/win$bits" \
    -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/toolchains/mingw-w64-$arch.cmake" \
    -DVORN_TEST_MASTER_CENTS=$kTuningMasterCents
done
step linux-test-tools build_tools "$build/win-tools/linux"
tools=$build/win-tools/linux
demo_song=$work/demo.mid
step demo-midi "$(find_built "$linux_build" vorn-demo-midi)" "$demo_song"
build_seconds=$((SECONDS - started))

vorn_wine_env "$build"
step wine-prefix vorn_wine_prepare_prefix
trap 'remove_fake_tuning_library; stop_editor_display; vorn_wine_stop' EXIT

# --- The checks, for each architecture.
tests_started=$SECONDS
check "measuring tools" check_measuring_tools
for bits in 64 32; do
  dll=$(find_built "$build/win$bits" "${dll_name[$bits]}")
  render=$(find_built "$build/win$bits" vorn-render.exe)
  hostcheck=$(find_built "$build/win$bits" vorn-hostcheck.exe)
  objdump=${triple[$bits]}-w64-mingw32-objdump
  if [ -z "$dll" ]; then
    record_failure "win$bits: ${dll_name[$bits]} was not built"
    continue
  fi
  echo "win$bits: $dll, $(stat -c %s "$dll") bytes"
  check "win$bits imports" check_imports "$objdump" "$dll" "$bits"
  check "win$bits exports" check_exports "$objdump" "$dll"
  check "win$bits editor images" check_png_resources "$dll" "$repo/resources/img"
  if [ "$bits" = 32 ]; then
    check "win32 cdecl entry point" check_cdecl_entry "$objdump" "$dll"
    check "win32 SSE2 arithmetic" check_sse2_flags "$build/win32"
  fi
  check "win$bits host checker" check_host "$hostcheck" "$dll"
  chaos_run_seed=$(chaos_seed)
  echo "win$bits chaos host: seed $chaos_run_seed, $kChaosSeconds s"
  check "win$bits chaos host" check_chaos "$(find_built "$build/win$bits" vorn-chaos.exe)" "$dll" "$chaos_run_seed"
  check "win$bits factory bank" check_factory_bank "$render" "$dll" "$linux_render" "$linux_plugin"
  check "win$bits demo render" check_demo_render "$render" "$dll" "$linux_render" "$linux_plugin" "$bits" \
    "$demo_song"
  check "win$bits tuning" check_tuning "$render" "$dll" "$bits" "$build/win-tools/win$bits/LIBMTS.dll"
  check "win$bits program files" run_wine "$(find_built "$build/win$bits" plugin_file_checks.exe)"
  raster_runner=$(find_built "$build/win$bits" raster_checks.exe)
  if [ -n "$raster_runner" ]; then
    check "win$bits raster" run_wine "$raster_runner"
  else
    echo "win$bits: no raster_checks.exe in this build"
  fi
  check "win$bits update check" run_wine "$(find_built "$build/win$bits" update_checks.exe)"
  check "win$bits settings in a folder named in three scripts" check_settings_folder "$render" "$dll" \
    "$(find_built "$linux_build" make-factory-bank)" "$work/win$bits"
done

# --- The editor window, for each architecture, on a display of its own.
shots=$build/editor-screenshots
rm -rf "$shots"
references=$shots/reference
rm -f "$work/editor-figures.txt"
if check "editor reference images" make_editor_references "$(find_built "$linux_build" vorn-editor-reference)" \
  "$references" && start_editor_display; then
  for bits in 64 32; do
    editor_host=$(find_built "$build/win$bits" vorn-editorhost.exe)
    check_plugin=$(find_built "$build/win$bits" "vorn-editorcheck${bits/32/}.dll")
    dll=$(find_built "$build/win$bits" "${dll_name[$bits]}")
    check "win$bits editor, check plug-in" check_editor "$editor_host" "$check_plugin" "win$bits-check" \
      "$shots" "$references"
    check "win$bits editor, ${dll_name[$bits]}" check_editor "$editor_host" "$dll" "win$bits" "$shots"
    chaos_run_seed=$(chaos_seed)
    echo "win$bits chaos host, editor cases: seed $chaos_run_seed, $kChaosEditorSeconds s"
    check "win$bits chaos host, editor" check_chaos_editor "$(find_built "$build/win$bits" vorn-chaos.exe)" "$dll" \
      "$chaos_run_seed"
  done
  stop_editor_display
  sed 's/^FIGURE /  /' "$work/editor-figures.txt" 2>/dev/null
  echo "editor screenshots: $shots"
else
  record_failure "editor checks: no reference images or no X server"
fi

echo "Windows build $build_seconds s, tests $((SECONDS - tests_started)) s, in all $((SECONDS - started)) s"
if [ $failed -gt 0 ]; then
  echo "failed:"
  printf '  %s\n' "${failures[@]}"
fi
echo "windows: $passed passed, $failed failed"
[ $failed -eq 0 ]
