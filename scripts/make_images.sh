#!/bin/sh
# Rebuilds the generated images (tools/content/images/) into data/:
#   data/models/vantrel_intro/ifs_back.jpg            attractor background
#   data/models/sunflare/sun_*.{jpg,png}, cred1-5.png   sun, flares, lookup, title cards
#   data/models/sprutte/sprutte_color_correction_coldblue.png   lookup
#   data/textures/fontlist.png, vrklogo_*.{jpg,png}     GUI font, closing picture, logo bands
# Every file comes out byte for byte the same on each rebuild. Set
# VANTREL_MAKE_IMAGES to use an already built vantrel-make-images; otherwise
# it is built in build/. Extra arguments (file names) limit the rebuild.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
tool=${VANTREL_MAKE_IMAGES:-}
if [ -z "$tool" ]; then
    [ -f "$root/build/CMakeCache.txt" ] || cmake -S "$root" -B "$root/build"
    cmake --build "$root/build" -j2 --target vantrel-make-images
    tool="$root/build/vantrel-make-images"
fi
"$tool" "$root/data" "$@"
