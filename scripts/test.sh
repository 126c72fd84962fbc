#!/usr/bin/env bash
# Builds everything and runs every test: the plain build, the editor in an
# X11 host under Xvfb, the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer with a short fuzzing run of every reader of
# outside data, the threading tests under ThreadSanitizer; then the Windows
# set-up, and the Windows builds with their tests under Wine. The Linux part needs nothing of the Windows set-up, and a
# failing Windows set-up says so.
#
# Usage: scripts/test.sh
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
start=$(date +%s)
jobs=$(nproc)
export CTEST_OUTPUT_ON_FAILURE=1

step() { echo; echo "=== $* ($(( $(date +%s) - start ))s)"; }

# The package lists are refreshed at most once in this run.
VORN_APT_UPDATED_STAMP=$(mktemp)
export VORN_APT_UPDATED_STAMP
trap 'rm -f "$VORN_APT_UPDATED_STAMP"' EXIT

step "Linux set-up"
scripts/setup.sh

step "Plain build and tests"
scripts/build.sh release
ctest --test-dir build/release -j "$jobs" --timeout 900

step "Editor in an X11 host under Xvfb"
scripts/test-x11.sh build/release

step "ASan + UBSan build and tests"
scripts/build.sh asan
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/asan -j "$jobs" --timeout 1800
# The chaos host's editor cases under the sanitizers need an X server.
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  scripts/test-x11.sh build/asan -R '^chaos_editor$'

step "Fuzzing smoke run"
scripts/fuzz-smoke.sh build/asan "${VORN_FUZZ_SECONDS:-20}"

step "ThreadSanitizer build and threading tests"
scripts/build.sh tsan vorn_vst vorn-hostcheck vorn-chaos engine_threads_tests editor_threads_tests
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  ctest --test-dir build/tsan -j "$jobs" -L threads --timeout 900

step "Windows set-up"
if ! scripts/setup-windows.sh "$repo"; then
  echo "error: the Windows set-up failed (scripts/setup-windows.sh); the Linux tests passed" >&2
  exit 1
fi

step "Windows builds and tests under Wine"
scripts/test-windows.sh "$repo" "$repo/build/release"

step "All tests passed in $(( $(date +%s) - start ))s"
