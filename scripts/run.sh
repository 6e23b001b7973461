#!/usr/bin/env bash
# Installs, builds and starts the program. Without a sensor plugged in, the built-in emulator is offered.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
exec build/app/velmaro-config-demo "$@"
