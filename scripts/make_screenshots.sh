#!/bin/sh
# Renders one frame of each scene into docs/screenshots/ (scaled to 512 x 384)
# with the capture mode at the show's own rate, 30 frames per second, under a
# virtual X server when there is no display. Effects move on frame by frame,
# so every frame of a scene up to its picture is rendered; the frames before
# the scene are not: each scene runs in a copy of the show whose marker
# script has no scene switches before that scene's own, so the timeline,
# music and MIDI notes are the show's, but nothing is drawn until the switch.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Scene number, file name and the timeline time (ms) of its picture.
shots="3 attractor 9000
0 solar_flare 54500
1 sprutte 78000
4 scrub 113000
5 credits 148000
2 credits_sun 179000
6 end 207000"
run() {
    if [ -n "${DISPLAY:-}" ]; then "$@"; else xvfb-run -a -s "-screen 0 1024x768x24" "$@"; fi
}
mkdir -p "$root/docs/screenshots"
echo "$shots" | while read -r scene name ms; do
    show="$work/$name"
    mkdir -p "$show/run" "$show/data/script" "$show/src"
    for dir in models textures music; do ln -s "$root/data/$dir" "$show/data/$dir"; done
    ln -s "$root/src/shaders" "$show/src/shaders"
    # The scene's switch is the last one at or before its picture; earlier
    # switches are left out.
    start=$("$root/build/vantrel-tool" markers "$root/data/script/markers.txt" |
        awk -v ms="$ms" '($1 <= 12) && $2 <= ms { t = $2 } END { print t }')
    awk -v start="$start" '
        /^s[0-9]+[ \t]/ {
            split($2, f, /[:,]/)
            if (((f[1] * 60 + f[2]) * 60 + f[3]) * 1000 + f[4] < start) next
        }
        { print }' "$root/data/script/markers.txt" >"$show/data/script/markers.txt"
    (cd "$show/run" && LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy \
        run "$root/build/vantrel" --letterbox --capture ../frames --fps 30 --shots "$ms" \
        >/dev/null 2>&1)
    ffmpeg -nostdin -loglevel error -y -i "$show/frames/frame_000000.png" -vf scale=512:384 \
        "$root/docs/screenshots/scene${scene}_${name}.png"
done
ls "$root/docs/screenshots"
