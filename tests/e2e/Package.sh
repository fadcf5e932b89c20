#!/usr/bin/env bash
# Usage: Package.sh DEB XVFB_HELPER. Checks the Debian package: lintian, its desktop entry, AppStream
# file, manual page, file list and dependencies; its program without a display and in a headless
# Wayland compositor; then drives it under Xvfb (RealX.sh).
set -euo pipefail
root=$(mktemp -d) run=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait; rm -rf "$root" "$run"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
lintian --fail-on error,warning "$1" || fail "lintian"
dpkg-deb -x "$1" "$root"
app=org.korvel.VideoSetup share=$root/usr/share
entry=$share/applications/$app.desktop
out=$(desktop-file-validate "$entry" 2>&1) && [ -z "$out" ] || fail "desktop-file-validate: $out"
appstreamcli validate --no-net "$share/metainfo/$app.metainfo.xml" || fail "appstreamcli"
out=$(MANWIDTH=80 man --warnings -l "$share/man/man1/korvel-video-setup.1.gz" 2>&1 >/dev/null) &&
    [ -z "$out" ] || fail "manual page: $out"
(cd "$root" && find . -type f | sort) | diff - <(printf './usr/%s\n' bin/korvel-video-setup \
    share/applications/$app.desktop share/doc/korvel-video-setup/{changelog.gz,copyright} \
    share/icons/hicolor/{16x16,32x32,64x64}/apps/$app.png share/icons/hicolor/scalable/apps/$app.svg \
    share/man/man1/korvel-video-setup.1.gz share/metainfo/$app.metainfo.xml) || fail "the file list differs"
depends=$(dpkg-deb -f "$1" Depends | tr -d ' ' | tr ',' '\n' | sed 's/(.*//')
for d in libqt6widgets6 qt6-qpa-plugins fonts-dejavu-extra; do grep -qx "$d" <<<"$depends" || fail "no $d in Depends"; done
program=$root/usr/bin/korvel-video-setup status=0
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 "$program" 2>&1 >/dev/null) || status=$?
[ $status = 1 ] && [ "$(wc -l <<<"$out")" = 1 ] && grep -q 'DISPLAY.*WAYLAND_DISPLAY' <<<"$out" ||
    fail "without a display: exit status $status, and not one line naming DISPLAY and WAYLAND_DISPLAY: $out"
# Natively in Wayland it must stay up and say nothing; it takes no care of SIGTERM, so that ends it.
XDG_RUNTIME_DIR=$run timeout 60 weston --backend=headless-backend.so --socket=e2e >/dev/null 2>&1 &
for _ in $(seq 100); do [ -S "$run/e2e" ] && break; sleep 0.1; done
env -u DISPLAY XDG_RUNTIME_DIR="$run" WAYLAND_DISPLAY=e2e QT_QPA_PLATFORM=wayland "$program" 2>"$run/err" &
sleep 2
kill "$!" || fail "the program ended at once under Wayland: $(cat "$run/err")"
status=0 && wait "$!" || status=$?
[[ $status =~ ^(0|143)$ ]] || fail "exit status $status under Wayland on SIGTERM"
[ ! -s "$run/err" ] || fail "under Wayland it said: $(cat "$run/err")"
bash "$(dirname "$0")/RealX.sh" "$program" "$2" "$(sed -n 's/^StartupWMClass=//p' "$entry")"
