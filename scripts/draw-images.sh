#!/usr/bin/env bash
# Redraws the pictures in resources/ with tools/imagegen. Usage: draw-images.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$dir" -j2 --target imagegen
QT_QPA_PLATFORM=offscreen "$dir/tools/imagegen/imagegen" resources
