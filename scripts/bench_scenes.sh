#!/bin/sh
# Renders the show with two builds, one after the other in the same run, and
# prints each scene's drawing time per frame side by side.
#
#   scripts/bench_scenes.sh OLD_BUILD NEW_BUILD
#
# Each build folder holds a built vantrel; it plays the data/ and src/ of the
# source tree it was configured from, wherever the folder is.
# Both render letterboxed captures at FPS frames per second (default 10) from
# the start to TO (default: the whole show; milliseconds or h:m:s,ms), writing
# only the last second's frames; VANTREL_DRAW_EVERY_FRAME makes a build that
# skips drawing the frames before --from draw them all the same. The times
# are the capture's own per-scene report of its drawn frames. Builds that end
# each frame with glFinish report update and drawing up to that wait, the
# read-back and the swap excluded; builds without it report the wall time
# from a frame's start to the next one's, read-back, swap and the wait for
# the driver included, so the newer builds are never favoured. ROUNDS
# (default 1) alternates the builds that many times and averages.
set -eu
if [ $# -ne 2 ]; then
    echo "usage: $0 OLD_BUILD NEW_BUILD" >&2
    exit 2
fi
old=$(cd "$1" && pwd)
new=$(cd "$2" && pwd)
fps=${FPS:-10}
rounds=${ROUNDS:-1}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The source tree a build folder was configured from (its CMake cache says
# which): the data/ and src/shaders/ that build plays. A folder without a
# cache is taken as a checkout's build/.
source_of() {
    src=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$1/CMakeCache.txt" 2>/dev/null || true)
    echo "${src:-$1/..}"
}

if [ -n "${TO:-}" ]; then
    to=$TO
else
    to=$("$new/vantrel-tool" markers "$(source_of "$new")/data/script/markers.txt" | awk '$1 == 32 { print $2; exit }')
fi
case $to in *:*) from=$to ;; *) from=$((to > 1000 ? to - 1000 : 0)) ;; esac

run() {
    if [ -n "${DISPLAY:-}" ]; then "$@"; else xvfb-run -a -s "-screen 0 1024x768x24" "$@"; fi
}

# build folder, label, round: appends "label scene frames ms" lines to $work/times
bench() {
    out="$work/$2$3"
    start=$(date +%s.%N)
    # Run one level below the tree, where every build finds ../data.
    if ! (cd "$(source_of "$1")/data" && LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy \
        VANTREL_DRAW_EVERY_FRAME=1 run "$1/vantrel" --letterbox --capture "$out" --fps "$fps" \
        --from "$from" --to "$to" \
        >"$out.log" 2>&1); then
        echo "$0: the run of $1 failed:" >&2
        tail -n 20 "$out.log" >&2
        exit 2
    fi
    end=$(date +%s.%N)
    echo "$2 (whole run) 1 $(echo "$start $end" | awk '{ printf "%.0f", ($2 - $1) * 1000 }')" >>"$work/times"
    sed -n 's/^# capture: scene "\(.*\)": \([0-9]*\) frames, average \([0-9.e+-]*\) ms.*/\1|\2|\3/p' \
        "$out.log" | awk -F'|' -v label="$2" '{ print label, $1 "|" $2 "|" $3 }' >>"$work/times"
    rm -rf "$out"
}

r=1
while [ "$r" -le "$rounds" ]; do
    echo "round $r of $rounds: $old" >&2
    bench "$old" old "$r"
    echo "round $r of $rounds: $new" >&2
    bench "$new" new "$r"
    r=$((r + 1))
done

echo "letterbox, $fps frames per second, up to $to; ms per frame (whole run: seconds)"
awk '
    $2 == "(whole" { key = "(whole run)"; sum[$1, key] += $5 / 1000; runs[$1, key]++; frames[key] = "-"
                     if (!(key in seen)) { seen[key] = 1; order[++n] = key }; next }
    {
        label = $1; sub(/^[a-z]+ /, ""); split($0, f, "|")
        key = f[1]; sum[label, key] += f[3]; runs[label, key]++; frames[key] = f[2]
        if (!(key in seen)) { seen[key] = 1; order[++n] = key }
    }
    END {
        printf "%-28s %7s %10s %10s %8s\n", "scene", "frames", "old", "new", "speed-up"
        for (i = 1; i <= n; ++i) {
            k = order[i]
            o = runs["old", k] ? sum["old", k] / runs["old", k] : 0
            w = runs["new", k] ? sum["new", k] / runs["new", k] : 0
            printf "%-28s %7s %10.1f %10.1f %7.2fx\n", k, frames[k], o, w, (w > 0 ? o / w : 0)
        }
    }' "$work/times"
