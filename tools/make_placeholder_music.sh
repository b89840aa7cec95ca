#!/bin/sh
# Writes a stand-in soundtrack, data/music/tonvik7.mp3: a soft pulse at 120
# beats per minute, as long as the provisional marker script (2:36). The real
# piece, rendered from its score, replaces it.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/data/music/tonvik7.mp3"
mkdir -p "$(dirname "$out")"
ffmpeg -nostdin -loglevel error -y -f lavfi \
    -i "aevalsrc=0.25*sin(2*PI*110*t)*exp(-6*mod(t\,0.5))+0.08*sin(2*PI*330*t)*exp(-3*mod(t\,2)):s=44100:d=156" \
    -ac 2 -ar 44100 -c:a libmp3lame -b:a 128k -map_metadata -1 -fflags +bitexact \
    -flags:a +bitexact "$out"
echo "wrote $out"
