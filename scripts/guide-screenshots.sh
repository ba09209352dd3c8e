#!/bin/sh
# Takes the user's guide's pictures (docs/images/*.png) anew from the real
# window, connected to the panel emulator over a pseudo-terminal, on Qt's
# offscreen platform: no display is needed.
#
#   scripts/guide-screenshots.sh [BUILD_FOLDER]     (default: build)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target guide_screenshots
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/runtime" && chmod 700 "$scratch/runtime"
# A home of its own: the window state and the emulator's announced port stay
# out of the user's.
HOME="$scratch" XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime" \
    QT_QPA_PLATFORM=offscreen LANG=ru_RU.UTF-8 \
    "$build/tests/guide/guide_screenshots" "$root/docs/images"
