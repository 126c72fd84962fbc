#!/usr/bin/env bash
# Builds the plug-in and renders the demo piece through several factory
# programs into WAV files, printing where they are and their summaries.
#
# Usage: scripts/run.sh [output folder, default build/demo]
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
out=${1:-$repo/build/demo}
scripts/setup.sh
scripts/build.sh release vorn_vst vorn-render vorn-demo-midi
tools/demo/render-demo.sh "$repo/build/release" "$out"
