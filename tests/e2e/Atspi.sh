#!/usr/bin/env bash
# Usage: Atspi.sh PROGRAM XVFB_HELPER. Calls the program as a screen reader does, over AT-SPI on a bus of
# its own, each call answered within 5 s and well-formed (Qt's D-Bus says nothing on standard error, which
# ATSPI_LOG=FILE keeps): a tool's writes and presses move the figures as typing does; at twice the scale,
# places are in the screen's pixels; under GTK's theme, one application. Hostile calls: fuzz/Atspi.sh.
set -euo pipefail
[ -n "${ATSPI_OWN_BUS:-}" ] || ATSPI_OWN_BUS=$$ exec timeout -k 5 110 dbus-run-session -- bash "$0" "$@"
# shellcheck source=../../scripts/xvfb.sh
source "$2"
start_xvfb "$ATSPI_OWN_BUS"
own_runtime_dir
ATSPI_LOG=${ATSPI_LOG:-$XDG_RUNTIME_DIR/log}
trap 'kill $(jobs -p) 2>/dev/null; stop_xvfb; rm -rf "$XDG_RUNTIME_DIR"' EXIT
QT_QPA_PLATFORMTHEME=gtk3 QT_SCALE_FACTOR=2 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb \
    LC_ALL=C.UTF-8 "$1" 2>"$ATSPI_LOG" &
/usr/bin/python3 - <<'EOF'
import subprocess, sys, time, pyatspi
M, LABELLED_BY = 2**31 - 1, pyatspi.RELATION_LABELLED_BY
def walk(o): return [o] + [d for c in o for d in walk(c)]
for _ in range(600):  # the window's lists reach the bus a little after the application (slowly under asan)
    apps = [a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "korvel-video-setup"]
    if any(o.getRole() == pyatspi.ROLE_LIST for a in apps if a.childCount for o in walk(a)): break
    time.sleep(0.1)
else: sys.exit("FAIL: the program is not on the accessibility bus")
app, faults = next(a for a in apps if a.childCount), [f"{len(apps)} applications named so"] * (len(apps) > 1)
every = walk(app)
def caption(o):  # a list by its caption: its name, or the label naming Qt 6.8's own list, named by its entry
    by = [r.getTarget(0).name for r in o.getRelationSet() if r.getRelationType() == LABELLED_BY]
    return by[0] if by and o.getRole() == pyatspi.ROLE_COMBO_BOX else o.name
named = {caption(o): o for o in sorted(every, key=lambda o: o.getRole() == pyatspi.ROLE_COMBO_BOX)
         if o.getRole() != pyatspi.ROLE_LIST_ITEM}
def text_of(o): return o.queryText().getText(0, -1) if "Text" in o.get_interfaces() else o.name  # or entry
def ask(what, call):
    start = time.monotonic()
    try: answer = call()
    except Exception as error: answer = error  # an error is an answer too
    if time.monotonic() - start > 5: sys.exit(f"FAIL: no answer within 5 s to {what}: {answer}")
    return answer
def expect(name, wanted, read=text_of):  # within 3 s: a press and a click take their time
    for _ in range(30):
        if (shown := ask(name, lambda: read(named[name]))) == wanted: return
        time.sleep(0.1)
    faults.append(f"{name} shows {shown!r}, not {wanted!r}")
video, scene = named["Video Bitrate (Kbit/s)"].queryEditableText(), "Scene Detect Bitrate (Kbit/s)"
ask("SetTextContents", lambda: video.setTextContents("1000")), expect(scene, "1200")
subprocess.run("xdotool search --onlyvisible --name Korvel windowmove --sync 40 30 sleep .5".split())
x, y, w, h = (t := named[scene].queryText()).getCharacterExtents(1, pyatspi.DESKTOP_COORDS)  # pointer review
wx, wy = t.getCharacterExtents(1, pyatspi.WINDOW_COORDS)[:2]  # also in the window's pixels; an empty range
pointed = (t.getOffsetAtPoint(x + w // 2, y + 1, 0), t.getOffsetAtPoint(wx + w // 2, wy + 1, 1),
           list(t.getRangeExtents(1, 1, 0)), str(app[0].queryComponent().getAccessibleAtPoint(x, y, 0)))
if pointed != (1, 1, [0] * 4, str(named[scene])): faults.append(f"the scene box's 2nd figure: {pointed}")
named["Movie Length (minutes)"].queryEditableText().setTextContents("60")
named["Calculate file size"].queryAction().doAction(0), expect("Resulting File Length (MB)", "496")
ask("InsertText", lambda: video.insertText(M, "5", M)) or faults.append("no"), expect(scene, "12006")
ask("InsertText", lambda: video.insertText(0, "x", 1)), expect(scene, "")  # marked, with its reason:
reason = 'The video bitrate "\u2068x10005\u2069" is not a number.'
expect("Video Bitrate (Kbit/s)", reason, lambda o: o.description)
x, y, w, h = named[fmt := "Choose Movie Format"].queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
subprocess.run(f"xdotool mousemove {x + w // 2} {y + h // 2} click 1 sleep 0.5 key Down Return", shell=True)
expect("Vertical Offset", "-24")  # "TV (4:3)"
ask("Press", lambda: named[fmt].queryAction().doAction(2))  # opens it as a click does
subprocess.run("xdotool sleep .5 key Up Return".split()), expect(fmt, "DVD Fullscreen (1.5:1)")
# At twice the scale, places are in the screen's own pixels: the window where the window system has it.
shown = subprocess.run("xdotool search --onlyvisible --name Korvel getwindowgeometry --shell", shell=True,
                       capture_output=True, text=True).stdout.split()
at = tuple(int(f.split("=")[1]) for f in shown if f.split("=")[0] in ("X", "Y", "WIDTH", "HEIGHT"))
w, (x, y) = app[0].queryComponent(), (at[0] + at[2] - 1, at[1] + at[3] - 1)  # the window's last pixel
edge = w.contains(x, y, 0), w.contains(x + 1, y, 0), ask("point", lambda: w.getAccessibleAtPoint(x, y, 0))
box = named[scene].queryComponent()  # its position as its extents give it, not Qt's unscaled one
if (*(extents := w.getExtents(0)), *box.getPosition(0), *edge) != (*at, *box.getExtents(0)[:2], 1, 0, None):
    faults.append(f"the window is at {extents} over AT-SPI, at {at} on screen, or a place or point misread")
expect("Horizontal Size", "720")
print("\n".join(f"FAIL: {f}" for f in faults) or "AT-SPI: every call answered"), sys.exit(len(faults))
EOF
! grep QDBus "$ATSPI_LOG"
