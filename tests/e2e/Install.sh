#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that the program, its desktop entry
# and its icons land where desktops look for them.
# Usage: Install.sh BUILD_DIR
set -euo pipefail
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix" >/dev/null
fail() { echo "FAIL: $*" >&2; exit 1; }

[ -x "$prefix/bin/korvel-video-setup" ] || fail "no program in bin/"
desktop=$prefix/share/applications/org.korvel.VideoSetup.desktop
[ -f "$desktop" ] || fail "no desktop entry"
grep -qx 'Exec=korvel-video-setup' "$desktop" || fail "the desktop entry starts another program"
grep -qx 'Icon=org.korvel.VideoSetup' "$desktop" || fail "the desktop entry names another icon"
png=$prefix/share/icons/hicolor/32x32/apps/org.korvel.VideoSetup.png
file "$png" | grep -q 'PNG image data, 32 x 32' || fail "no 32 x 32 PNG icon"
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/org.korvel.VideoSetup.svg" || fail "no scalable icon"
echo "1 passed, 0 failed"
