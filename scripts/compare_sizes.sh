#!/bin/sh
# Checks that the show looks the same at every size: one frame of every scene
# captured at 512x320, 1024x640 and 2048x1280 (pictures without bars); the
# 2048 frame scaled down 2x by area averaging is compared with the 1024 one,
# and the 1024 one scaled down with the 512 one. Prints the PSNR per scene.
#
#   scripts/compare_sizes.sh BUILD
#
# BUILD is a build folder with vantrel beside its data/ and src/. FLOOR (dB,
# default 0) is the lowest PSNR accepted: the script exits 1 below it.
# KEEP=1 keeps the frames.
set -eu
if [ $# -ne 1 ]; then
    echo "usage: $0 BUILD" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
floor=${FLOOR:-0}
work=$(mktemp -d)
if [ -n "${KEEP:-}" ]; then
    echo "frames stay in $work" >&2
else
    trap 'rm -rf "$work"' EXIT
fi
# A time in the middle of each scene, in the order they are shown.
scenes="attractor solar-flare sprutte scrub credits credits-with-sun end"
shots="0:0:20,000,0:0:50,000,0:1:25,000,0:2:05,000,0:2:35,000,0:3:05,000,0:3:30,000"

run() {
    if [ -n "${DISPLAY:-}" ]; then "$@"; else xvfb-run -a -s "-screen 0 1024x768x24" "$@"; fi
}

for size in 512x320 1024x640 2048x1280; do
    if ! (cd "$build" && LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy \
        run ./vantrel --letterbox --size "$size" --capture "$work/$size" --fps 5 \
        --shots "$shots" >"$work/$size.log" 2>&1); then
        echo "$0: the $size capture failed:" >&2
        tail -n 20 "$work/$size.log" >&2
        exit 2
    fi
done

# PSNR of frame a scaled to the size of frame b, against b.
psnr() {
    ffmpeg -nostdin -i "$1" -i "$2" -lavfi "[0]scale=$3:flags=area[a];[a][1]psnr" -f null - 2>&1 |
        sed -n 's/.*average:\([0-9.inf]*\).*/\1/p'
}

printf "%-18s %14s %14s\n" scene "2048->1024 dB" "1024->512 dB"
i=0
low=
for scene in $scenes; do
    frame=$(printf "frame_%06d.png" "$i")
    large=$(psnr "$work/2048x1280/$frame" "$work/1024x640/$frame" 1024:640)
    small=$(psnr "$work/1024x640/$frame" "$work/512x320/$frame" 512:320)
    printf "%-18s %14s %14s\n" "$scene" "$large" "$small"
    for value in $large $small; do
        if [ -z "$value" ] || awk -v v="$value" -v f="$floor" 'BEGIN { exit !(v != "inf" && v < f) }'; then
            low="$low $scene"
        fi
    done
    i=$((i + 1))
done
if [ -n "$low" ]; then
    echo "below $floor dB:$low"
    exit 1
fi
echo "every scene at least $floor dB"
