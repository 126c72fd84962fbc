#!/usr/bin/env bash
# Regenerates the editor images in this folder from artwork.py: writes the
# SVG drawings to a scratch folder and renders them with rsvg-convert
# (Debian package librsvg2-bin), then checks the value-text contrast.
#
# Usage: resources/img/render.sh
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

python3 "$here/artwork.py" "$scratch"
for name in back back2 handle knob smallknob button midilearn midiunlearn; do
  rsvg-convert --format=png --output="$here/$name.png" "$scratch/$name.svg"
done
python3 "$here/contrast.py" "$here"
