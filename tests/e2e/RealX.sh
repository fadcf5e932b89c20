#!/usr/bin/env bash
# Drives the real program in an X server of its own with real X input: finds the window by
# its caption, types a file size that is no number, presses "<-- Calc" for the movie length,
# dismisses the warning, and closes the window from the keyboard. The program must live
# through the bad input and exit 0.
# Usage: RealX.sh PROGRAM XVFB_HELPER
set -euo pipefail
program=$1
# shellcheck source=../../scripts/xvfb.sh
source "$2"

caption='^Korvel;\) Video Setup$'
warning='^Cannot calculate'
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    stop_xvfb
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

start_xvfb
QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 "$program" &
pid=$!

window=$(timeout 30 xdotool search --sync --onlyvisible --name "$caption" | head -n 1) ||
    fail "no window captioned 'Korvel;) Video Setup'"
xdotool windowfocus --sync "$window"

# The focus opens in txtVertOff; eight Tabs reach txtFileSize, two more cmdCalcLength.
xdotool key --delay 20 $(printf 'Tab %.0s' {1..8})
xdotool type --delay 20 'abc'
xdotool key --delay 20 Tab Tab space

dialog=$(timeout 30 xdotool search --sync --onlyvisible --name "$warning" | head -n 1) ||
    fail "no warning after pressing <-- Calc with the file size 'abc'"
kill -0 "$pid" 2>/dev/null || fail "the program ended on bad input"
xdotool windowfocus --sync "$dialog"
xdotool key Return
for _ in $(seq 100); do
    xdotool search --onlyvisible --name "$warning" >/dev/null || break
    sleep 0.1
done
xdotool search --onlyvisible --name "$warning" >/dev/null && fail "the warning did not go on Return"
kill -0 "$pid" 2>/dev/null || fail "the program ended after the warning"

xdotool windowfocus --sync "$window"
xdotool key ctrl+q
status=0
for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "the window did not close on Ctrl+Q"
wait "$pid" || status=$?
pid=
[ "$status" -eq 0 ] || fail "exit status $status on close"
echo "1 passed, 0 failed"
