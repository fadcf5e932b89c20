#!/usr/bin/env bash
# Usage: Package.sh DEB XVFB_HELPER. Checks the Debian package (lintian, desktop entry, AppStream file,
# manual page, files, RUNPATH, dbgsym beside it, Depends); runs its program without a display (--help,
# --version too) and in a headless Wayland compositor, also without Qt's Wayland plugin; then drives it
# under Xvfb (RealX.sh).
set -euo pipefail
root=$(mktemp -d) run=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait; rm -rf "$root" "$run"' EXIT
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
# No display: exit status 1 and one line matching $1, nothing of Qt's. --help and --version need none.
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$run" timeout 20)
startless() {
    local out status=0
    out=$("${nodisplay[@]}" "${@:2}" 2>&1 >/dev/null) || status=$?
    [[ $status = 1 && $(wc -l <<<"$out") = 1 && $out == $1 ]] || fail "${*:2}: status $status, said: $out"
}
startless 'korvel-video-setup: *DISPLAY*WAYLAND_DISPLAY*' "$bin"
startless '*platform "nosuch"*' "$bin" --platform nosuch
startless 'korvel-video-setup: *DISPLAY*WAYLAND_DISPLAY*' env WAYLAND_DISPLAY=nope "$bin"
out=$("${nodisplay[@]}" "$bin" --help) && [[ $out == *-platform*-style*QT_SCALE_FACTOR*Exit\ status* ]] ||
    fail "--help: $out"
out=$("${nodisplay[@]}" "$bin" --version) && [ "$out" = "korvel-video-setup $(dpkg-deb -f "$1" Version)" ] ||
    fail "--version: $out, not the package's version"
# Natively in Wayland it must stay up and say nothing; it takes no care of SIGTERM, so that ends it.
XDG_RUNTIME_DIR=$run timeout 60 weston --backend=headless-backend.so --socket=e2e >/dev/null 2>&1 &
for _ in $(seq 100); do [ -S "$run/e2e" ] && break; sleep 0.1; done
env -u DISPLAY XDG_RUNTIME_DIR="$run" WAYLAND_DISPLAY=e2e QT_QPA_PLATFORM=wayland "$bin" 2>"$run/err" &
sleep 2
kill "$!" && status=0 && wait "$!" || status=$?
[[ $status =~ ^(0|143)$ && ! -s "$run/err" ]] || fail "Wayland: exit status $status, said $(cat "$run/err")"
# A running Wayland display, but Qt without its Wayland plugin (qt.conf shows it only the X11 one).
lack=$run/lack && mkdir -p "$lack/platforms" && cp "$bin" "$lack"
printf '[Paths]\nPlugins=%s\n' "$lack" >"$lack/qt.conf"
ln -s /usr/lib/*/qt6/plugins/platforms/libqxcb.so "$lack/platforms"
startless '*Wayland platform plugin*qt6-wayland*' env WAYLAND_DISPLAY=e2e "$lack/korvel-video-setup"
bash "$(dirname "$0")/RealX.sh" "$bin" "$2" "$(sed -n 's/^StartupWMClass=//p' "$entry")"
