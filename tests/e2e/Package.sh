#!/usr/bin/env bash
# Checks the Debian package: lintian, its desktop entry, AppStream file, manual page, file
# list and dependencies; then drives the program extracted from it in Xvfb (RealX.sh).
# Usage: Package.sh DEB XVFB_HELPER
set -euo pipefail
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

lintian --fail-on error,warning "$1" || fail "lintian"
dpkg-deb -x "$1" "$root"
share=$root/usr/share
entry=$share/applications/org.korvel.VideoSetup.desktop
[ -z "$(desktop-file-validate "$entry" 2>&1)" ] || fail "desktop-file-validate: $(desktop-file-validate "$entry" 2>&1)"
appstreamcli validate --no-net "$share/metainfo/org.korvel.VideoSetup.metainfo.xml" || fail "appstreamcli"
warnings=$(MANWIDTH=80 man --warnings -l "$share/man/man1/korvel-video-setup.1.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "manual page: $warnings"
(cd "$root" && find . -type f | sort) | diff - <(printf './usr/%s\n' bin/korvel-video-setup \
    share/applications/org.korvel.VideoSetup.desktop share/doc/korvel-video-setup/{changelog.gz,copyright} \
    share/icons/hicolor/{16x16,32x32,64x64}/apps/org.korvel.VideoSetup.png \
    share/icons/hicolor/scalable/apps/org.korvel.VideoSetup.svg share/man/man1/korvel-video-setup.1.gz \
    share/metainfo/org.korvel.VideoSetup.metainfo.xml) || fail "the file list differs"
depends=$(dpkg-deb -f "$1" Depends | tr -d ' ' | tr ',' '\n' | sed 's/(.*//')
for d in libqt6widgets6 qt6-qpa-plugins fonts-dejavu-extra; do grep -qx "$d" <<<"$depends" || fail "no $d in Depends"; done
bash "$(dirname "$0")/RealX.sh" "$root/usr/bin/korvel-video-setup" "$2" "$(sed -n 's/^StartupWMClass=//p' "$entry")"
