#!/bin/sh
# Regenerates the show's models from their generators (tools/content/models):
# every .bzobj mesh and .pth camera path below data/models, and the credits
# room's baked lightmaps (data/models/credits/*VRayCompleteMap_{off,on}.jpg).
# The output is byte for byte the same on every rebuild. Set
# VANTREL_MAKE_MODELS to use an already built vantrel-make-models; otherwise
# it is built in build/. Baking takes a few seconds to a minute.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
tool=${VANTREL_MAKE_MODELS:-}
if [ -z "$tool" ]; then
    [ -f "$root/build/CMakeCache.txt" ] || cmake -S "$root" -B "$root/build"
    cmake --build "$root/build" -j2 --target vantrel-make-models
    tool="$root/build/vantrel-make-models"
fi
"$tool" "$root/data/models"
