#!/bin/sh
# Rebuilds the soundtrack from its score (tools/compose/score.cpp):
#   data/music/tonvik7.mid     the MIDI sync file the scenes react to
#   data/script/markers.txt    the marker script (scene switches, markers, quit)
#   data/music/tonvik7.mp3     the music, rendered by vantrel-compose's synthesizer
#                              and encoded by lame (256 kbit/s, gapless header)
# The MIDI file and the marker script come out byte for byte the same on
# every rebuild. Set VANTREL_COMPOSE to use an already built vantrel-compose;
# otherwise it is built in build/.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
compose=${VANTREL_COMPOSE:-}
if [ -z "$compose" ]; then
    [ -f "$root/build/CMakeCache.txt" ] || cmake -S "$root" -B "$root/build"
    cmake --build "$root/build" -j2 --target vantrel-compose
    compose="$root/build/vantrel-compose"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$compose" --midi "$root/data/music/tonvik7.mid" \
           --markers "$root/data/script/markers.txt" \
           --wav "$work/tonvik7.wav"
# lame records its encoder delay and padding in the LAME header, which the
# show's decoder (libmpg123) uses to return exactly the rendered samples.
lame --quiet --noreplaygain -q 2 -b 256 "$work/tonvik7.wav" "$root/data/music/tonvik7.mp3"
echo "wrote $root/data/music/tonvik7.mp3"

# The loudness as the test suite measures it.
ffmpeg -nostdin -hide_banner -nostats -i "$root/data/music/tonvik7.mp3" \
    -filter_complex ebur128=peak=true -f null - 2>&1 |
    sed -n '/Summary:/,$p' | grep -E '^ +(I|Peak):' | tail -2
