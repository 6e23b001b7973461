#!/usr/bin/env bash
# Installs, builds and runs every test. Usage: test.sh [BUILD_DIR [cmake options...]]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
dir=${1:-build}
[ $# -gt 0 ] && shift
scripts/build.sh "$dir" "$@"
export QT_QPA_PLATFORM=offscreen
cd "$dir"
ctest --output-on-failure -j2 --timeout 300
