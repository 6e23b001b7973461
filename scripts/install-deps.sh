#!/usr/bin/env bash
# Installs what the project needs on Debian 12. Fast when everything is already there.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang clang-format libclang-rt-14-dev
    qtbase5-dev libqt5serialport5-dev libqcustomplot-dev nlohmann-json3-dev
    libbenchmark-dev lld xvfb xauth imagemagick fonts-dejavu-core poppler-utils
    desktop-file-utils lintian udev file dpkg-dev appstream help2man
    libudev-dev umockdev libumockdev-dev libxcb-damage0-dev qttranslations5-l10n
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
