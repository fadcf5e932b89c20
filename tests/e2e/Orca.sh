#!/usr/bin/env bash
# Usage: Orca.sh PROGRAM XVFB_HELPER. Runs the screen reader Orca against the program, its speech through
# speech-dispatcher's dummy output, on a bus of its own; tabs once round the window, moves a list, types
# into a box, and checks what Orca's debug transcript says it spoke, in order, and what it must not say.
set -euo pipefail
[ -n "${ORCA_OWN_BUS:-}" ] || ORCA_OWN_BUS=$$ exec timeout -k 5 110 dbus-run-session -- bash "$0" "$@"
# shellcheck source=../../scripts/xvfb.sh
source "$2"
start_xvfb "$ORCA_OWN_BUS"
own_runtime_dir
export HOME=$XDG_RUNTIME_DIR
trap 'kill $(jobs -p) 2>/dev/null; stop_xvfb; rm -rf "$HOME"' EXIT
mkdir -p "$HOME/.config/speech-dispatcher"
printf 'AudioOutputMethod "libao"\nAddModule "dummy" "sd_dummy" ""\nDefaultModule dummy\n' \
    >"$HOME/.config/speech-dispatcher/speechd.conf"
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 "$1" 2>/dev/null &
# Orca does not start while another of this user's runs: one at a time on this machine.
exec 9>"/tmp/korvel-orca-$(id -u).lock" && flock -w 300 9
for _ in $(seq 600); do pgrep -u "$(id -u)" -x orca >/dev/null || break; sleep 0.2; done
orca -u "$HOME/orca" --debug-file "$HOME/said" >/dev/null 2>&1 &
# What Orca spoke, without its echo of the keys.
said() { grep -so "SPEECH OUTPUT: '[^']*'" "$HOME/said" | cut -d"'" -f2 | grep -v ' $' || true; }
for _ in $(seq 300); do said | grep -q "Screen reader on" && break; sleep 0.2; done
xdotool search --sync --onlyvisible --name "Korvel" windowfocus
# Round the window from the vertical offset box; Down on the Horizontal Size list, "x" in the video bitrate.
for key in Tab Tab Tab Tab Tab Down Tab Tab Tab Tab x Tab Tab Tab Tab Tab Tab Tab; do
    sleep 1.5 && xdotool key "$key"
done
# Each caption as its control is reached, with its value; the list's new entry; the reason; in this
# order, however Orca of one release or another words and joins them (Orca 48 says no wrap to the start).
expected=("Vertical Offset" "0" "Vertical Size" "480" "Horizontal Size" "720" "Choose Movie Format"
    "DVD Fullscreen (1.5:1)" "Set Vertical Size" "480" "Horizontal Size" "704" "Audio Bitrate (Kbit/s)"
    "128 Kbit/s" "Movie Length (minutes)" "120" "Resulting File Length (MB)" "Video Bitrate (Kbit/s)"
    "The video bitrate \"⁨x⁩\" is not a number." "Calculate movie length" "Calculate file size"
    "Calculate video bitrate" "Scene Detect Bitrate (Kbit/s)" "Aspect Error (pixels)" "V Size Error (pixels)")
missing() {  # the first expected not said after those before it, or nothing
    local want rest && rest=$(said | tr '\n' ' ')
    for want in "${expected[@]}"; do
        [[ $rest == *"$want"* ]] || { echo "$want" && return; }
        rest=${rest#*"$want"}
    done
}
# Orca writes its transcript through a buffer, and is slower on a loaded machine: a Shift, which says
# nothing, has it write more, until all is there or 15 s have passed.
for _ in $(seq 30); do
    [ -z "$(missing)" ] && break
    sleep 0.5 && xdotool key shift
done
[ -z "$(missing)" ] && faults=() || faults=("never said \"$(missing)\" after what came before")
chatter=$(said | grep -xF -e "Text unselected." -e "selected" -e "480" | tr '\n' ' ' || true)
[ -z "$chatter" ] || faults+=("said $chatter")
[ "$(said | grep -c "is not a number")" = 1 ] || faults+=("did not say the reason once")
[ ${#faults[@]} = 0 ] && echo "Orca: every caption, value, entry and reason said" && exit 0
printf 'FAIL: Orca %s\n' "${faults[@]}" && said | sed 's/^/  said: /' && exit 1
