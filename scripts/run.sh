#!/bin/sh
# Sets up, builds and runs the show. Arguments go to the program.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
# The program finds its assets as ../data and ../src/shaders.
cd "$root/build"
exec ./vantrel "$@"
