#!/bin/sh
# Runs each fuzz target for a while (default 180 s each) on a scratch copy of
# its seed corpus. Usage: scripts/fuzz.sh [SECONDS]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-180}
"$root/scripts/setup.sh"
CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug \
    -DVANTREL_SANITIZE=ON -DVANTREL_FUZZ=ON -DVANTREL_BENCH=OFF
cmake --build "$root/build-asan" -j2 --target fuzz_markers fuzz_midi fuzz_bzobj fuzz_pth \
    fuzz_mp3 fuzz_image_header
mkdir -p "$root/fuzz/artifacts"
for target in markers midi bzobj pth mp3 image_header; do
    work=$(mktemp -d)
    cp "$root/fuzz/corpus/$target"/* "$work"/
    "$root/build-asan/fuzz_$target" -max_total_time="$seconds" \
        -artifact_prefix="$root/fuzz/artifacts/" "$work"
    rm -rf "$work"
done
