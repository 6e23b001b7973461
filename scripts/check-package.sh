#!/usr/bin/env bash
# Builds the .deb from a build tree, unpacks it into a temporary root and checks what a desktop install needs.
# Usage: check-package.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

rm -f "$build"/velmaro-config_*.deb
(cd "$build" && cpack -G DEB > /dev/null)
deb=$(ls "$build"/velmaro-config_*.deb)
dpkg -x "$deb" "$root"

fail() { echo "check-package: $*" >&2; exit 1; }
programs=(velmaro-config velmaro-config-demo sensor-emulator velmaro-cli)
man_pages=("${programs[@]/#/usr/share/man/man1/}")
for f in "${programs[@]/#/usr/bin/}" "${man_pages[@]/%/.1.gz}" \
         usr/share/applications/velmaro-config.desktop usr/share/icons/hicolor/128x128/apps/velmaro-config.png \
         usr/share/metainfo/velmaro-config.metainfo.xml \
         usr/lib/udev/rules.d/60-velmaro-sensor.rules usr/share/doc/velmaro-config/copyright; do
    [ -e "$root/$f" ] || fail "missing $f"
done
[ "$(identify -format '%wx%h' "$root/usr/share/icons/hicolor/128x128/apps/velmaro-config.png")" = 128x128 ] ||
    fail "icon is not 128x128"
desktop-file-validate "$root/usr/share/applications/velmaro-config.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/velmaro-config.metainfo.xml" > /dev/null ||
    fail "metainfo does not validate: $(appstreamcli validate --no-net "$root/usr/share/metainfo/velmaro-config.metainfo.xml")"

rules="$root/usr/lib/udev/rules.d/60-velmaro-sensor.rules"
if udevadm verify --help > /dev/null 2>&1; then
    udevadm verify "$rules"
else
    # Older udev has no verifier: every rule line must be comma-separated KEY[{attr}] OP "value" pairs.
    grep -v -E '^\s*(#|$)' "$rules" | while read -r line; do
        rest=$(sed -E 's/[A-Z_]+(\{[A-Za-z0-9_]+\})?(==|!=|\+=|-=|:=|=)"[^"]*"(, *|$)//g' <<< "$line")
        [ -z "$rest" ] || fail "udev rule syntax: $line"
    done
fi
grep -q 'TAG+="uaccess"' "$rules" && grep -q 'ID_MM_DEVICE_IGNORE' "$rules" || fail "udev rule lacks uaccess or ModemManager"

errors=$(lintian "$deb" 2>/dev/null | grep '^E:' || true)
[ -z "$errors" ] || fail "lintian errors: $errors"

# The installed demo starts offscreen and quits by itself (its log file goes to a scratch home).
mkdir -p "$root/home"
HOME="$root/home" XDG_CONFIG_HOME="$root/home/.config" QT_QPA_PLATFORM=offscreen timeout 30 "$root/usr/bin/velmaro-config-demo" --quit-after 1500 > /dev/null 2>&1 ||
    fail "installed velmaro-config-demo did not start and quit cleanly"
ls "$root"/home/Documents/Velmaro/Logs/log__*.txt > /dev/null 2>&1 || fail "the demo wrote no log file"
# The command-line tool runs on a machine without a display: no widget library.
"$root/usr/bin/velmaro-cli" --version > /dev/null || fail "installed velmaro-cli does not run"
! ldd "$root/usr/bin/velmaro-cli" | grep -q Qt5Widgets || fail "velmaro-cli links the widget library"
echo "check-package: $(basename "$deb") passed"
