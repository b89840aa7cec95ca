#!/bin/sh
# Captures the show with two builds and compares their frames byte for byte.
#
#   scripts/compare_frames.sh OLD_BUILD NEW_BUILD
#
# Each build folder holds a built vantrel; it plays the data/ and src/ of the
# source tree it was configured from, wherever the folder is. Both capture
# the same frames, letterboxed, at FPS frames per second (default 5: every
# scene gets dozens of frames) from the start to TO (default: the whole show;
# milliseconds or h:m:s,ms).
# Prints per scene the frames compared, how many differ, the differing pixels,
# the largest difference of one colour channel and the lowest PSNR of a
# differing frame (ffmpeg's, over all channels); exits 1 if any differ.
# KEEP=1 keeps the frames and the captures' logs (their per-scene timing).
set -eu
if [ $# -ne 2 ]; then
    echo "usage: $0 OLD_BUILD NEW_BUILD" >&2
    exit 2
fi
old=$(cd "$1" && pwd)
new=$(cd "$2" && pwd)
fps=${FPS:-5}
work=$(mktemp -d)
if [ -n "${KEEP:-}" ]; then
    echo "frames and logs stay in $work" >&2
else
    trap 'rm -rf "$work"' EXIT
fi

# The source tree a build folder was configured from (its CMake cache says
# which): the data/ and src/shaders/ that build plays. A folder without a
# cache is taken as a checkout's build/.
source_of() {
    src=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$1/CMakeCache.txt" 2>/dev/null || true)
    echo "${src:-$1/..}"
}

run() {
    if [ -n "${DISPLAY:-}" ]; then "$@"; else xvfb-run -a -s "-screen 0 1024x768x24" "$@"; fi
}

# build folder, name: frames into $work/name/
capture() {
    echo "capturing with $1 ..." >&2
    # Run one level below the tree, where every build finds ../data.
    if ! (cd "$(source_of "$1")/data" && LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy \
        run "$1/vantrel" --letterbox --capture "$work/$2" --fps "$fps" ${TO:+--to "$TO"} \
        >"$work/$2.log" 2>&1); then
        echo "$0: the capture with $1 failed:" >&2
        tail -n 20 "$work/$2.log" >&2
        exit 2
    fi
}
capture "$old" old
capture "$new" new

# Scene switches from the marker script: "switch_ms scene" per line.
"$new/vantrel-tool" markers "$(source_of "$new")/data/script/markers.txt" |
    awk '$1 <= 12 { print $2, $1 }' >"$work/switches"

# One line per frame: "index same", or "index differ pixels largest".
i=0
for a in "$work"/old/frame_*.png; do
    name=$(basename "$a")
    b="$work/new/$name"
    if [ ! -f "$b" ]; then
        echo "$i missing"
    elif cmp -s "$a" "$b"; then
        echo "$i same"
    else
        # Equal files are equal pictures; otherwise compare the decoded pixels.
        ffmpeg -nostdin -loglevel error -y -i "$a" -f rawvideo -pix_fmt rgb24 "$work/a.rgb"
        ffmpeg -nostdin -loglevel error -y -i "$b" -f rawvideo -pix_fmt rgb24 "$work/b.rgb"
        psnr=$(ffmpeg -nostdin -i "$a" -i "$b" -lavfi psnr -f null - 2>&1 |
            sed -n 's/.*average:\([0-9.]*\).*/\1/p')
        { cmp -l "$work/a.rgb" "$work/b.rgb" || true; } | awk -v i="$i" -v psnr="${psnr:-0}" '
            function dec(o,   v, k) { v = 0; for (k = 1; k <= length(o); ++k) v = v * 8 + substr(o, k, 1); return v }
            { p = int(($1 - 1) / 3); if (p != last) { ++pixels; last = p }
              d = dec($2) - dec($3); if (d < 0) d = -d; if (d > largest) largest = d }
            BEGIN { last = -1 }
            END { if (pixels) print i, "differ", pixels, largest, psnr; else print i, "same" }'
    fi
    i=$((i + 1))
done >"$work/frames"
extra=$(($(ls "$work"/new | wc -l) - i))

awk -v fps="$fps" -v extra="$extra" '
    BEGIN {
        n = 0
        names[0] = "solar flare"; names[1] = "sprutte"; names[2] = "credits with sun"
        names[3] = "attractor"; names[4] = "scrub"; names[5] = "credits"; names[6] = "end"
    }
    FILENAME ~ /switches$/ { at[n] = $1; scene[n] = $2; ++n; next }
    {
        t = int($1 * 1000 / fps); s = -1
        # An event is handed on in the first frame whose time is beyond it.
        for (k = 0; k < n; ++k) if (at[k] < t) s = scene[k]
        if (!(s in frames)) order[++count] = s
        ++frames[s]
        if ($2 == "differ") {
            ++bad[s]; pixels[s] += $3; if ($4 > largest[s]) largest[s] = $4
            if (!(s in lowest) || $5 < lowest[s]) lowest[s] = $5
        }
        if ($2 == "missing") { ++bad[s]; ++missing }
    }
    END {
        printf "%-18s %7s %8s %10s %8s %10s\n", "scene", "frames", "differ", "pixels", "largest",
            "lowest dB"
        for (c = 1; c <= count; ++c) {
            s = order[c]; label = (s in names) ? names[s] : (s < 0 ? "(no scene)" : "s" s)
            printf "%-18s %7d %8d %10d %8d %10s\n", label, frames[s], bad[s], pixels[s], largest[s],
                (s in lowest) ? sprintf("%.1f", lowest[s]) : "-"
            total += bad[s]
        }
        if (missing) printf "%d frames missing from the new capture\n", missing
        if (extra > 0) printf "%d frames more in the new capture\n", extra
        if (total || missing || extra > 0) { print "frames differ"; exit 1 }
        print "all frames identical"
    }' "$work/switches" "$work/frames"
