#!/usr/bin/env bash
# Usage: RealX.sh PROGRAM XVFB_HELPER WM_CLASS. Drives the program in an X server of its own with
# real X input: finds its window by caption, checks WM_CLASS, types a file size that is no number,
# presses "<-- Calc", dismisses the warning, closes with Ctrl+Q; it must live throughout and exit 0.
set -euo pipefail
# shellcheck source=../../scripts/xvfb.sh
source "$2"
trap 'kill $(jobs -p) 2>/dev/null; stop_xvfb' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
found() { timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1; }
# Waits up to 10 s for the command to fail.
until_not() { for _ in $(seq 100); do "$@" >/dev/null 2>&1 || return 0; sleep 0.1; done; return 1; }
start_xvfb
QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 "$1" &
pid=$!
window=$(found '^Korvel;\) Video Setup$') || fail "no window captioned 'Korvel;) Video Setup'"
xprop -id "$window" WM_CLASS | grep -q ", \"$3\"\$" || fail "WM_CLASS is not $3, the desktop entry's"
xdotool windowfocus --sync "$window"
# The focus opens in txtVertOff; eight Tabs reach txtFileSize, two more cmdCalcLength.
xdotool key --delay 20 $(printf 'Tab %.0s' {1..8}) a b c Tab Tab space
dialog=$(found '^Cannot calculate') || fail "no warning after pressing <-- Calc with the file size 'abc'"
kill -0 "$pid" || fail "the program ended on bad input"
xdotool windowfocus --sync "$dialog"
xdotool key Return
until_not xdotool search --onlyvisible --name '^Cannot calculate' || fail "the warning did not go on Return"
kill -0 "$pid" || fail "the program ended after the warning"
xdotool windowfocus --sync "$window"
xdotool key ctrl+q
until_not kill -0 "$pid" || fail "the window did not close on Ctrl+Q"
wait "$pid" || fail "exit status $? on close"
