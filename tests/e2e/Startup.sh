#!/usr/bin/env bash
# Usage: Startup.sh PROGRAM VERSION. The program where no window can open (no display, no such platform,
# no Wayland plugin; no display and one file descriptor free) and in a headless Wayland compositor.
set -euo pipefail
run=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait; rm -rf "$run"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# Exit status 1 and one line matching $1, nothing of Qt's. --help and --version need no display.
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$run" timeout 20)
startless() {
    local out status=0
    out=$("${nodisplay[@]}" "${@:2}" 2>&1 >/dev/null) || status=$?
    [[ $status = 1 && $(wc -l <<<"$out") = 1 && $out == $1 ]] || fail "${*:2}: status $status, said: $out"
}
startless '*platform "nosuch"*DISPLAY*WAYLAND_DISPLAY*' "$1" --platform nosuch
startless 'korvel-video-setup: *DISPLAY*WAYLAND_DISPLAY*' env WAYLAND_DISPLAY=nope "$1"
startless 'korvel-video-setup: *DISPLAY*' bash -c 'exec </dev/null 3>&-; ulimit -n 4; exec "$0"' "$1"
# The program's list of Qt's options that take a value, against this Qt: a -platform after one of the
# platform's own pass is its value (no display then); after one of a later pass, Qt reads it.
for o in -platformpluginpath -platformtheme -qwindowgeometry -qwindowicon -qwindowtitle; do
    startless 'korvel-video-setup: *DISPLAY*WAYLAND_DISPLAY*' "$1" "$o" -platform offscreen
done
for o in -plugin -session -style -stylesheet; do
    (s=0 && "${nodisplay[@]:0:8}" timeout 2 "$1" "$o" -platform offscreen &>/dev/null || s=$?
        [ $s = 124 ] || fail "$o -platform offscreen: status $s, no window") &
done
for p in $(jobs -p); do wait "$p"; done
out=$("${nodisplay[@]}" "$1" --help) && [[ $out == *-platform*-style*QT_SCALE_FACTOR*Exit\ status* ]] ||
    fail "--help: $out"
out=$("${nodisplay[@]}" "$1" --version) && [ "$out" = "korvel-video-setup $2" ] ||
    fail "--version: $out, not $2"
# Natively in Wayland it must stay up and say nothing; it takes no care of SIGTERM, so that ends it.
XDG_RUNTIME_DIR=$run timeout 60 weston --backend=headless-backend.so --socket=e2e >/dev/null 2>&1 &
for _ in $(seq 100); do [ -S "$run/e2e" ] && break; sleep 0.1; done
env -u DISPLAY XDG_RUNTIME_DIR="$run" WAYLAND_DISPLAY=e2e QT_QPA_PLATFORM=wayland "$1" 2>"$run/err" &
sleep 2
kill "$!" && status=0 && wait "$!" || status=$?
[[ $status =~ ^(0|143)$ && ! -s "$run/err" ]] || fail "Wayland: exit status $status, said $(cat "$run/err")"
# A running Wayland display, but Qt without its Wayland plugin (qt.conf shows it only the X11 one).
lack=$run/lack && mkdir -p "$lack/platforms" && cp "$1" "$lack"
printf '[Paths]\nPlugins=%s\n' "$lack" >"$lack/qt.conf"
ln -s /usr/lib/*/qt6/plugins/platforms/libqxcb.so "$lack/platforms"
startless '*Wayland platform plugin*qt6-wayland*' env WAYLAND_DISPLAY=e2e "$lack/korvel-video-setup"
startless 'korvel-video-setup: *DISPLAY*WAYLAND_DISPLAY*' "$lack/korvel-video-setup"  # unasked: no advice
