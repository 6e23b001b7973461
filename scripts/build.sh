#!/usr/bin/env bash
# Configures and builds one build tree. Usage: build.sh DIR [cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
shift
generator=()
# A unity build parses the Qt headers once per library instead of once per file.
[ -f "$dir/CMakeCache.txt" ] || generator=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_UNITY_BUILD=ON)
cmake -S . -B "$dir" "${generator[@]}" "$@" > /dev/null
cmake --build "$dir" -j2
