#!/usr/bin/env bash
# Runs the X11 editor tests (ctest label x11) of a build under a virtual X
# server of their own; without DISPLAY the same tests skip themselves. The
# server does not reset when its last client leaves, which would refuse the
# next test's connection for a moment.
#
# The X11 tests include the chaos host's editor cases (chaos_editor). A
# sanitizer build runs just those with a selection of its own, e.g.
#   scripts/test-x11.sh build/asan -R '^chaos_editor$'
#
# Usage: scripts/test-x11.sh <build folder> [ctest selection, default -L x11]
set -euo pipefail

build=${1:?usage: scripts/test-x11.sh <build folder> [ctest selection]}
shift
selection=("$@")
[ ${#selection[@]} -gt 0 ] || selection=(-L x11)
export CTEST_OUTPUT_ON_FAILURE=1
xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp -noreset" ctest --test-dir "$build" "${selection[@]}" --timeout 600
