#!/usr/bin/env bash
# Usage: Package.sh DEB XVFB_HELPER. Checks the Debian package (lintian, desktop entry, AppStream file,
# manual page, files, RUNPATH, dbgsym beside it, Depends); starts its program where no window can open
# and in a headless Wayland compositor (Startup.sh); then drives it under Xvfb (RealX.sh).
set -euo pipefail
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
lintian --fail-on error,warning "$1" || fail "lintian"
dpkg-deb -x "$1" "$root"
app=org.korvel.VideoSetup share=$root/usr/share
entry=$share/applications/$app.desktop bin=$root/usr/bin/korvel-video-setup
out=$(desktop-file-validate "$entry" 2>&1) && [ -z "$out" ] || fail "desktop-file-validate: $out"
appstreamcli validate --no-net "$share/metainfo/$app.metainfo.xml" || fail "appstreamcli"
kw=$(sed -n 's:^ *<keyword>\(.*\)</keyword>$:\1:p' "$share/metainfo/$app.metainfo.xml")
[ -n "$kw" ] && [ "$(sed -n 's/^Keywords=//p' "$entry" | tr ';' '\n' | grep .)" = "$kw" ] || fail "Keywords"
out=$(MANWIDTH=80 man --warnings -l "$share/man/man1/korvel-video-setup.1.gz" 2>&1 >/dev/null) &&
    [ -z "$out" ] || fail "manual page: $out"
(cd "$root" && find . -type f | sort) | diff - <(printf './usr/%s\n' bin/korvel-video-setup \
    share/applications/$app.desktop share/doc/korvel-video-setup/{changelog.gz,copyright} \
    share/icons/hicolor/{16x16,32x32,64x64}/apps/$app.png share/icons/hicolor/scalable/apps/$app.svg \
    share/man/man1/korvel-video-setup.1.gz share/metainfo/$app.metainfo.xml) || fail "the file list differs"
dyn=$(readelf -d "$bin") && grep -q NEEDED <<<"$dyn" && ! grep -qE 'R(UN)?PATH' <<<"$dyn" || fail "RUNPATH"
id=$(readelf -n "$bin" | sed -n 's/^ *Build ID: //p')
dpkg-deb -c "${1/setup_/setup-dbgsym_}" | grep "/${id:0:2}/${id:2}.debug$" >/dev/null || fail "no dbgsym"
deps=$(dpkg-deb -f "$1" Depends | tr -d ' ' | tr ',' '\n' | sed 's/(.*//')
for d in libqt6widgets6 qt6-qpa-plugins fonts-dejavu-extra; do grep -qx "$d" <<<"$deps" || fail "no $d"; done
bash "$(dirname "$0")/Startup.sh" "$bin" "$(dpkg-deb -f "$1" Version)"
bash "$(dirname "$0")/RealX.sh" "$bin" "$2" "$(sed -n 's/^StartupWMClass=//p' "$entry")"
