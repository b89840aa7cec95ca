#!/bin/sh
# Installs the Debian packages that building, running and testing vantrel
# need, when they are missing. Safe to re-run; quick when nothing is missing.
set -eu

PACKAGES="
cmake make g++ pkg-config
clang libclang-rt-14-dev clang-format
libgtest-dev libgmock-dev libbenchmark-dev
libgl-dev mesa-common-dev libglu1-mesa-dev libgl1-mesa-dri
libsdl2-dev libmpg123-dev libdevil-dev libtinyobjloader-dev
xvfb xauth xdotool ffmpeg lame glslang-tools
"

missing=""
for package in $PACKAGES; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    case "$status" in
        *"install ok installed"*) ;;
        *) missing="$missing $package" ;;
    esac
done

if [ -z "$missing" ]; then
    exit 0
fi

echo "vantrel setup: installing$missing"
if [ "$(id -u)" -eq 0 ]; then
    as_root=""
elif command -v sudo >/dev/null 2>&1; then
    as_root="sudo"
else
    echo "vantrel setup: need root (or sudo) to install:$missing" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
$as_root apt-get update -q
# shellcheck disable=SC2086
$as_root apt-get install -y -q --no-install-recommends $missing
