#!/usr/bin/env bash
# Photographs the running window under Xvfb at 100 % and 200 % scale for the README:
# docs/window.png and docs/window@2x.png. Builds the program first if it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
program=build/bin/korvel-video-setup
[ -x "$program" ] || { cmake --preset default && cmake --build --preset default --target korvel-video-setup; }

# shellcheck source=scripts/xvfb.sh
source scripts/xvfb.sh
start_xvfb
trap 'stop_xvfb' EXIT
mkdir -p docs

shoot() {
    local scale=$1 out=$2 pid window
    QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale LC_ALL=C.UTF-8 "$program" &
    pid=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Korvel;\) Video Setup$' | head -n 1)
    xdotool windowfocus --sync "$window"
    sleep 1  # let the first frame be painted
    import -window "$window" "$out"
    kill "$pid"
    wait "$pid" || true
    echo "$out: $(identify -format '%w x %h' "$out")"
}

shoot 1 docs/window.png
shoot 2 docs/window@2x.png
