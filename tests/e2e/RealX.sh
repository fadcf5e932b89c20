#!/usr/bin/env bash
# Usage: RealX.sh PROGRAM XVFB_HELPER WM_CLASS. Drives the program in an X server of its own with real X
# input. From screenshots: text contrast in a dark GTK theme, the window unchanged by a 14 pt qt6ct
# desktop font. In German: its WM_CLASS, no maximising, a warning, a decimal comma. It must live
# throughout and exit 0 on Ctrl+Q. Exits with the failures counted.
set -euo pipefail
# shellcheck source=../../scripts/xvfb.sh
source "$2"
program=$1 tmp=$(mktemp -d) faults=0
trap 'kill $(jobs -p) 2>/dev/null; stop_xvfb; rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
flunk() { echo "FAIL: $*" >&2; faults=$((faults + 1)); }
found() { timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1; }
# Waits up to 10 s for the command to fail.
until_not() { for _ in $(seq 100); do "$@" >/dev/null 2>&1 || return 0; sleep 0.1; done; return 1; }
repeat() { printf "$1 %.0s" $(seq "$2"); }
# launch ENV... -- KEYS...: starts the program with that environment, focuses its window, types the keys.
launch() {
    local env=()
    while [ "$1" != -- ]; do env+=("$1") && shift; done && shift
    env QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 "${env[@]}" "$program" &
    pid=$!
    window=$(found '^Korvel;\) Video Setup$') || fail "no window captioned 'Korvel;) Video Setup'"
    xdotool windowfocus --sync "$window" && { [ $# = 0 ] || xdotool key --delay 20 "$@"; } && sleep 0.5
}
close() {
    xdotool windowfocus --sync "$window" key ctrl+q
    until_not kill -0 "$pid" || fail "the window did not close on Ctrl+Q"
    wait "$pid" || fail "exit status $? on close"
}
shot() { sleep 0.5 && import -window "$window" "png:$tmp/$1.png" && close; }
start_xvfb
# An x marks the video bitrate box; the Tab after it takes away the cursor, which would count as text.
launch QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark -- $(repeat Tab 9) x Tab
shot dark
# Inside the frames of txtMovieLength and txtVideoBitrate in Frame3 at (8,8), of txtVertSize in Frame2 at
# (224,8): WCAG contrast of the pixel that stands out most against the commonest colour.
for box in "movie length:35x15+27+51" "marked video bitrate:35x15+27+195" "vertical size:75x19+331+51"; do
    ratio=$(convert "$tmp/dark.png" -crop "${box#*:}" -depth 8 -format %c histogram:info:- |
        tr -c '0-9\n' ' ' | awk '
        function lin(c) { c /= 255; return c <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ^ 2.4 }
        { l[NR] = 0.2126 * lin($2) + 0.7152 * lin($3) + 0.0722 * lin($4) + 0.05
          if ($1 > n) { n = $1; bg = l[NR] } }
        END { for (i in l) { r = l[i] > bg ? l[i] / bg : bg / l[i]; if (r > max) max = r }; printf "%.2f", max
              exit max < 4.5 }') || flunk "Adwaita:dark: text contrast in the ${box%:*} box $ratio:1 < 4.5:1"
done
launch --; shot plain
mkdir "$tmp/qt6ct" && printf '[Fonts]\ngeneral="DejaVu Sans,14,-1,5,50,0,0,0,0,0"\n' >"$tmp/qt6ct/qt6ct.conf"
launch QT_QPA_PLATFORMTHEME=qt6ct XDG_CONFIG_HOME="$tmp" --; shot qt6ct
differ=$(compare -metric AE "$tmp/plain.png" "$tmp/qt6ct.png" null: 2>&1) ||
    flunk "a qt6ct desktop font of 14 pt changes $differ pixels of the window"
# In German: a file size that is no number, "<-- Calc", the warning; then 700 MB and 90,5 minutes give a
# video bitrate of 928. Tab order from txtVertOff: 7 to the movie length, file size, video, three buttons.
launch LC_ALL=de_DE.UTF-8 -- $(repeat Tab 8) a b c $(repeat Tab 4) space
xprop -id "$window" WM_CLASS | grep -q ", \"$3\"\$" || fail "WM_CLASS is not $3, the desktop entry's"
# A window of fixed size offers no maximising: neither the function (0x10) nor its button (0x40).
read -r _ _ _ fn decor _ <<<"$(xprop -id "$window" _MOTIF_WM_HINTS | tr -d ,)"
[[ $fn == 0x* ]] && ((!(fn & 0x10) && !(decor & 0x40))) || flunk "Motif hints let it maximise: $fn $decor"
dialog=$(found '^Cannot calculate') || fail "no warning after pressing <-- Calc with the file size 'abc'"
xdotool windowfocus --sync "$dialog" key Return
until_not xdotool search --onlyvisible --name '^Cannot calculate' || fail "the warning did not go on Return"
kill -0 "$pid" || fail "the program ended after the warning"
xdotool windowfocus --sync "$window" key --delay 20 7 0 0 shift+Tab ctrl+a 9 0 comma 5 $(repeat Tab 5) space \
    $(repeat shift+Tab 3) ctrl+a ctrl+c
bitrate=$(timeout 5 xclip -o -selection clipboard) || true
[ "$bitrate" = 928 ] || flunk "de_DE.UTF-8: video bitrate '$bitrate' from 90,5 minutes and 700 MB, not 928"
close
exit "$faults"
