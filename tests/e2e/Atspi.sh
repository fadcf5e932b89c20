#!/usr/bin/env bash
# Usage: Atspi.sh PROGRAM XVFB_HELPER. Calls the program as a screen reader does, over AT-SPI on a bus of
# its own, with hostile offsets and rows on every text box and list; each call must return within 5 s,
# the program must live, and what a tool writes must move the figures as typing does.
set -euo pipefail
[ -n "${ATSPI_OWN_BUS:-}" ] || ATSPI_OWN_BUS=1 exec dbus-run-session -- bash "$0" "$@"
# shellcheck source=../../scripts/xvfb.sh
source "$2"
start_xvfb
trap 'kill $(jobs -p) 2>/dev/null; stop_xvfb' EXIT
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 "$1" 2>/dev/null &
/usr/bin/python3 - <<'EOF'
import subprocess, sys, time, pyatspi
M, faults = 2**31 - 1, []
def walk(o): return [o] + [d for c in o for d in walk(c)]
for _ in range(100):
    apps = [a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "korvel-video-setup"]
    if apps: break
    time.sleep(0.1)
else: sys.exit("FAIL: the program is not on the accessibility bus")
every = walk(apps[0]); named = {o.name: o for o in every if o.getRole() != pyatspi.ROLE_LIST_ITEM}
def ask(what, call):
    start = time.monotonic()
    try: answer = call()
    except Exception as error: answer = error  # an error is an answer too
    if time.monotonic() - start > 5: sys.exit(f"FAIL: {what}: no answer within 5 s, {answer}")  # none will come now
    return answer
def text(name): return named[name].queryText().getText(0, -1)
def expect(name, wanted):
    if ask(name, lambda: text(name)) != wanted: faults.append(f"{name}: {text(name)!r}, not {wanted!r}")
bitrate = named["Video Bitrate (Kbit/s)"].queryEditableText()
ask("SetTextContents", lambda: bitrate.setTextContents("1000")); expect("Scene Detect Bitrate (Kbit/s)", "1200")
ask("InsertText", lambda: bitrate.insertText(M, "5", M)); expect("Scene Detect Bitrate (Kbit/s)", "12006")
x, y, w, h = named["DVD Fullscreen (1.5:1)"].queryComponent().getExtents(pyatspi.DESKTOP_COORDS)  # "TV (4:3)"
subprocess.run(f"xdotool mousemove {x + w // 2} {y + h // 2} click 1 sleep 0.5 key Down Return", shell=True); time.sleep(0.5); expect("Vertical Offset", "-24")
for box, typed in zip((o for o in every if o.getRole() == pyatspi.ROLE_TEXT), ["-x", " 12", "-", "-24", "x"]):
    ask(f"{box.name} set", lambda: box.queryEditableText().setTextContents(typed))
for box in (o for o in every if o.getRole() == pyatspi.ROLE_TEXT):
    t, n = box.queryText(), box.queryText().characterCount
    for at in (-2**31, -1, 0, n, M):
        for b in range(7):
            for call in (t.getTextAtOffset, t.getTextBeforeOffset, t.getTextAfterOffset):
                ask(f"{box.name} {call.__name__}({at}, {b})", lambda: call(at, b))
        for call in (t.getCharacterExtents, lambda a, c: t.getRangeExtents(a, M, c), lambda a, c: t.getText(a, -a),
                     lambda a, c: t.getRangeExtents(M - 1, M, c), lambda a, c: t.setSelection(0, a, -a)):
            ask(f"{box.name} {at}", lambda: call(at, 0))
    ask(f"{box.name} InsertText", lambda: box.queryEditableText().insertText(M, "9", M))
for table in (o.queryTable() for o in every if o.getRole() == pyatspi.ROLE_LIST):
    for row in (-2**31, -1, table.nRows, M):
        for call in (table.getRowExtentAt, table.getColumnExtentAt, table.isSelected, table.getAccessibleAt):
            ask(f"list {call.__name__}({row}, 0)", lambda: call(row, 0))
        ask(f"list row header {row}", lambda: (table.getRowHeader(row), table.getRowColumnExtentsAtIndex(row)))
expect("Horizontal Size", "720")
print("\n".join(f"FAIL: {f}" for f in faults) or "AT-SPI: every call answered"); sys.exit(len(faults))
EOF
