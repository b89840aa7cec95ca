#!/bin/sh
# Regenerates every generated asset of the show into data/: the soundtrack
# (music, MIDI sync file, marker script), the models (meshes, camera paths,
# lightmaps) and the images (textures, lookups, font, logos).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/make_soundtrack.sh"
"$root/scripts/make_models.sh"
"$root/scripts/make_images.sh"
