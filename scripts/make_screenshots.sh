#!/bin/sh
# Renders the show with the capture mode (one frame per second, under a
# virtual X server when there is no display) and keeps one frame from the
# middle of each scene, scaled to 512 x 384, in docs/screenshots/.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" >/dev/null
frames=$(mktemp -d)
trap 'rm -rf "$frames"' EXIT
cd "$root/build"
run() {
    if [ -n "${DISPLAY:-}" ]; then "$@"; else xvfb-run -a -s "-screen 0 1024x768x24" "$@"; fi
}
LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy \
    run ./vantrel --letterbox --capture "$frames" --fps 1 >/dev/null 2>&1
mkdir -p "$root/docs/screenshots"
# Scene switches from the marker script: "type time_ms" per event.
./vantrel-tool markers "$root/data/script/markers.txt" | awk '
    $1 <= 12 || $1 == 32 { if (have) print scene, int((since + $2) / 2000); scene = $1; since = $2; have = 1 }
' | while read -r scene second; do
    case $scene in
        0) name=solar_flare ;; 1) name=sprutte ;; 2) name=credits_sun ;; 3) name=attractor ;;
        4) name=scrub ;; 5) name=credits ;; 6) name=end ;; *) continue ;;
    esac
    frame=$(printf "%s/frame_%06d.png" "$frames" "$second")
    ffmpeg -nostdin -loglevel error -y -i "$frame" -vf scale=512:384 \
        "$root/docs/screenshots/scene${scene}_${name}.png"
done
ls "$root/docs/screenshots"
