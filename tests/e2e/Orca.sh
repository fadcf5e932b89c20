#!/usr/bin/env bash
# Usage: Orca.sh PROGRAM XVFB_HELPER. Runs the screen reader Orca against the program, its speech through
# speech-dispatcher's dummy output, on a bus of its own; tabs once round the window, moves a list, types
# into a box, and checks what Orca's debug transcript says it spoke, in order, and what it must not say.
set -euo pipefail
[ -n "${ORCA_OWN_BUS:-}" ] || ORCA_OWN_BUS=1 exec dbus-run-session -- bash "$0" "$@"
# shellcheck source=../../scripts/xvfb.sh
source "$2"
start_xvfb
export HOME XDG_RUNTIME_DIR
HOME=$(mktemp -d) XDG_RUNTIME_DIR=$HOME
trap 'kill $(jobs -p) 2>/dev/null; stop_xvfb; rm -rf "$HOME"' EXIT
mkdir -p "$HOME/.config/speech-dispatcher"
printf 'AudioOutputMethod "libao"\nAddModule "dummy" "sd_dummy" ""\nDefaultModule dummy\n' \
    >"$HOME/.config/speech-dispatcher/speechd.conf"
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 "$1" 2>/dev/null &
orca -u "$HOME/orca" --debug-file "$HOME/said" >/dev/null 2>&1 &
# What Orca spoke, without its echo of the keys.
said() { grep -so "SPEECH OUTPUT: '[^']*'" "$HOME/said" | cut -d"'" -f2 | grep -v ' $' || true; }
for _ in $(seq 150); do said | grep -q "Screen reader on" && break; sleep 0.2; done
xdotool search --sync --onlyvisible --name "Korvel" windowfocus
# Round the window from the vertical offset box; Down on the Horizontal Size list, "x" in the video bitrate.
for key in Tab Tab Tab Tab Tab Down Tab Tab Tab Tab x Tab Tab Tab Tab Tab Tab Tab; do
    sleep 0.8 && xdotool key "$key"
done
sleep 2
# Each caption as its control is reached, with its value, once; the list's new entry; the reason.
expected=("Vertical Offset read only text." "0." "Vertical Size read only text." "480 selected."
    "Horizontal Size read only text." "720 selected." "Choose Movie Format combo box."
    "DVD Fullscreen (1.5:1)" "Set Vertical Size read only text." "480 selected." "Horizontal Size combo box."
    "720." "704" "Audio Bitrate (Kbit/s) editable combo box." "128 Kbit/s." "Movie Length (minutes) text."
    "120 selected." "Resulting File Length (MB) text." "Video Bitrate (Kbit/s) text."
    "The video bitrate \"⁨x⁩\" is not a number." "Calculate movie length push button."
    "Calculate file size push button." "Calculate video bitrate push button."
    "Scene Detect Bitrate (Kbit/s) read only text." "Aspect Error (pixels) read only text."
    "V Size Error (pixels) read only text." "Vertical Offset read only text.")
next=0
while IFS= read -r line; do
    [ "$next" -lt ${#expected[@]} ] && [ "$line" = "${expected[next]}" ] && next=$((next + 1))
done < <(said)
faults=0
if [ "$next" -lt ${#expected[@]} ]; then echo "FAIL: Orca never said \"${expected[next]}\"" && faults=1; fi
for chatter in "Text unselected." "selected" "480"; do
    if said | grep -qxF "$chatter"; then echo "FAIL: Orca said \"$chatter\"" && faults=1; fi
done
if [ "$(said | grep -c "is not a number")" -ne 1 ]; then echo "FAIL: the reason not said once" && faults=1; fi
if [ "$faults" -eq 0 ]; then echo "Orca: every caption, value, entry and reason said"; fi
[ "$faults" -eq 0 ] || said | sed 's/^/  said: /'

exit "$faults"
