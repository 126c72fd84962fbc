#!/usr/bin/env bash
# render-demo.sh BUILD_DIR OUT_DIR
# Writes the demo piece and plays it through several of Vorn's factory
# programs with vorn-render, one WAV file each, then tells where they are.
set -euo pipefail

if [[ $# -ne 2 ]]; then
  echo "usage: $0 BUILD_DIR OUT_DIR" >&2
  exit 1
fi
build=$1
out=$2

render=$build/tools/vorn-render/vorn-render
make_midi=$build/tools/demo/vorn-demo-midi
for tool in "$render" "$make_midi"; do
  if [[ ! -x $tool ]]; then
    echo "$0: $tool is missing; build the targets vorn-render and vorn-demo-midi first" >&2
    exit 1
  fi
done
# VORN_PLUGIN names the plug-in when it is built somewhere else.
plugin=${VORN_PLUGIN:-}
for candidate in "$build/vorn.so" "$build/plugin/vst2/vorn.so"; do
  if [[ -z $plugin && -f $candidate ]]; then
    plugin=$candidate
  fi
done
if [[ -z $plugin ]]; then
  echo "$0: no vorn.so in $build or $build/plugin/vst2; build the target vorn_vst first" >&2
  exit 1
fi

programs=("Fat Saws" "Bass One" "String Ensemble" "Synced Lead 1" "Bell Piano")

mkdir -p "$out"
song=$out/vorn-demo.mid
"$make_midi" "$song"
echo "demo piece: $song"
for program in "${programs[@]}"; do
  # "Synced Lead 1" -> synced-lead-1.wav
  name=$(printf '%s' "$program" | tr 'A-Z' 'a-z' | tr -c 'a-z0-9' '-')
  "$render" --plugin "$plugin" --program "$program" --force -o "$out/$name.wav" "$song"
done
echo "wrote ${#programs[@]} renders of the demo piece to $out"
