#!/bin/sh
# Sets up, builds and runs the show. Arguments go to the program.
# With a display the show plays full screen at the desktop's size. Without
# one (no DISPLAY), it is rendered under a virtual X server into
# out/vantrel.mp4 instead, at 1024 x 768 unless --size is given.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
# The program finds its assets as ../data and ../src/shaders.
cd "$root/build"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    # Full screen at the desktop's own size, unless the arguments choose a
    # size, a window or a capture themselves.
    desktop=--desktop
    for arg in "$@"; do
        case "$arg" in
        --size | --windowed | --capture | --desktop | --help | --version) desktop= ;;
        esac
    done
    exec ./vantrel $desktop "$@"
fi
mkdir -p "$root/out"
echo "vantrel: no display here; rendering the show to out/vantrel.mp4 at 30 frames per second"
echo "vantrel: (software rendering: expect four to five minutes on two cores)"
LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy \
    xvfb-run -a -s "-screen 0 1024x768x24" \
    ./vantrel --letterbox --capture "$root/out/vantrel.mp4" --fps 30 "$@"
echo "vantrel: wrote $root/out/vantrel.mp4"
