#!/bin/sh
# Sets up, builds and runs the whole test suite:
#  1. the normal build and every test (GL tests on Mesa's software renderer,
#     under one virtual X server when there is no display);
#  2. a clang build with AddressSanitizer and UndefinedBehaviorSanitizer that
#     runs the GL-free tests and replays the fuzzers' seed corpora.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

"$root/scripts/build.sh"
export LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy
# Each test carries its own limit (VANTREL_TEST_TIMEOUT, ten minutes): one
# that hangs fails instead of holding up the run.
if [ -n "${DISPLAY:-}" ]; then
    ctest --test-dir "$root/build" --output-on-failure -j2
else
    xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir "$root/build" --output-on-failure -j2
fi

CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug \
    -DVANTREL_SANITIZE=ON -DVANTREL_FUZZ=ON -DVANTREL_BENCH=OFF
cmake --build "$root/build-asan" -j2
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$root/build-asan" -L core -LE format --output-on-failure -j2
echo "vantrel: all tests passed"
