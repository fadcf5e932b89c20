#!/usr/bin/env bash
# Usage: Atspi.sh PROGRAM XVFB_HELPER [SECONDS]. Fuzzes the program over AT-SPI with raw D-Bus messages, on
# a bus of its own, for SECONDS (default 20): to every object it exposes, list rows included, every
# interface, method and property declared anywhere and ones declared nowhere, with arguments that fit,
# one short, one extra or one of the wrong type. Every call must be answered within 5 s; one that does
# not fit what its object declares must be refused; the program must live on and its sanitizers stay
# silent. Prints its seed; FUZZ_SEED=N replays a run.
set -euo pipefail
# All it starts ends within 110 s, whatever hangs: the timeout ends the whole process group.
[ -n "${ATSPI_OWN_BUS:-}" ] || ATSPI_OWN_BUS=$$ exec timeout -k 5 110 dbus-run-session -- bash "$0" "$@"
# shellcheck source=../scripts/xvfb.sh
source "$2"
start_xvfb "$ATSPI_OWN_BUS"
own_runtime_dir
log=$XDG_RUNTIME_DIR/log
trap 'kill $(jobs -p) 2>/dev/null; stop_xvfb; rm -rf "$XDG_RUNTIME_DIR"' EXIT
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 "$1" 2>"$log" &
FUZZ_PID=$! FUZZ_SECONDS=${3:-20} /usr/bin/python3 - <<'PY' || { cat "$log"; exit 1; }
import os, random, sys, time, xml.etree.ElementTree as ET, pyatspi
from gi.repository import Gio, GLib
seed = int(os.environ.get("FUZZ_SEED") or random.randrange(2**32))
print(f"FUZZ_SEED={seed}", flush=True)
rnd = random.Random(seed)
for _ in range(600):  # slow to start under asan
    apps = [a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "korvel-video-setup"]
    if apps: break
    time.sleep(0.1)
else: sys.exit("FAIL: the program is not on the accessibility bus")
def walk(o): return [o] + [d for c in o for d in walk(c)]
name = apps[0].app.bus_name
bus = Gio.DBusConnection.new_for_address_sync(Gio.bus_get_sync(Gio.BusType.SESSION).call_sync(
    "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None, None, 0, -1, None)[0],
    Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION)
def answer(path, interface, member, types, values):
    message = Gio.DBusMessage.new_method_call(name, path, interface, member)
    if types: message.set_body(GLib.Variant(f"({''.join(types)})", tuple(values)))
    try: return bus.send_message_with_reply_sync(message, 0, 5000, None)[0]
    except GLib.Error as error: sys.exit(f"FAIL: no answer to {interface}.{member}{types} at {path}: {error}")
def call(path, interface, member, types, values):  # whether it was refused
    return answer(path, interface, member, types, values).get_message_type() == Gio.DBusMessageType.ERROR
def declared(path):  # {interface: {member: in-types}}, properties as "Get:Name"
    node = ET.fromstring(bus.call_sync(name, path, "org.freedesktop.DBus.Introspectable",
                         "Introspect", None, None, 0, 5000, None)[0])
    def ins(m): return [a.get("type") for a in m.iter("arg") if a.get("direction") != "out"]
    return {i.get("name"): {**{m.get("name"): ins(m) for m in i.iter("method")},
                            **{"Get:" + p.get("name"): p.get("type") for p in i.iter("property")}}
            for i in node.iter("interface")}
for _ in range(50):  # the window's objects reach the bus a little after the application
    every = walk(apps[0])
    paths = {o.path for o in every} | {"/org/a11y/atspi/accessible/root", "/org/a11y/atspi/accessible/999"}
    offers = {p: declared(p) for p in paths}
    pool = {}
    for interfaces in offers.values():
        for i, members in interfaces.items(): pool.setdefault(i, {}).update(members)
    if "org.a11y.atspi.Table" in pool: break
    time.sleep(0.1)
else: sys.exit("FAIL: no list on the accessibility bus")
# Calls with known answers: the registry sets the application's Id; GetAll is refused as not offered
# (Qt's bridge would read a second argument, which it does not carry); a method the object's interface
# does not declare is refused as such (Qt's D-Bus would say there is no such object).
root, application = "/org/a11y/atspi/accessible/root", "org.a11y.atspi.Application"
def properties(member, types, *values):
    return answer(root, "org.freedesktop.DBus.Properties", member, types, values)
said = [properties("Set", "ssv", application, "Id", GLib.Variant("i", 77)).get_error_name(),
        properties("Get", "ss", application, "Id").get_body().unpack(),
        properties("GetAll", "s", application).get_error_name(),
        answer(root, "org.a11y.atspi.Accessible", "Nothing", "", ()).get_error_name()]
if said != [None, (77,), "org.freedesktop.DBus.Error.NotSupported",
            "org.freedesktop.DBus.Error.UnknownMethod"]:
    sys.exit(f"FAIL: Set and Get of the Id, GetAll, a method not declared: {said}")
pool["org.a11y.atspi.Table"].update({"Get:" + p: "i" for p in ("NRows", "NColumns", "NSelectedRows")})
pool["org.a11y.atspi.Nothing"] = {"Nothing": ["i"]}
def split(types):  # one complete type after another
    out, depth, start = [], 0, 0
    for at, t in enumerate(types):
        depth += t in "({" ; depth -= t in ")}"
        if depth == 0 and t != "a": out.append(types[start:at + 1]); start = at + 1
    return out
def value(t):
    if t in "yqn": return rnd.choice([0, 1, 2, 2**7 - 1])
    if t in "ix": return rnd.choice([0, 1, -1, 2**31 - 1, -2**31])
    if t in "ut": return rnd.choice([0, 1, 2, 2**31])
    if t == "d": return rnd.choice([0.0, -1.0, 1e300, float("nan")])
    if t == "b": return rnd.random() < 0.5
    if t == "s": return rnd.choice(["", "x", "12\u2400", "org.a11y.atspi.Table", "NRows", "7" * 70000])
    if t == "o": return "/org/a11y/atspi/accessible/root"
    if t == "v": return GLib.Variant("i", 1) if rnd.random() < 0.5 else GLib.Variant("s", "x")
    if t[0] == "(": return tuple(value(e) for e in split(t[1:-1]))
    if t.startswith("a{"): return {}
    return [value(t[1:])] if rnd.random() < 0.5 else []
end, calls, refused = time.monotonic() + float(os.environ["FUZZ_SECONDS"]), 0, 0
while time.monotonic() < end:
    path = rnd.choice(sorted(paths))
    interface = rnd.choice(sorted(pool))
    member = rnd.choice(sorted(pool[interface]))
    if member == "DoAction": continue  # a press opens a dialog of its own, not the bus's business
    types = ["s", "s"] if member.startswith("Get:") else list(pool[interface][member])
    values, fits = [value(t) for t in types], True
    if member.startswith("Get:"):
        values, member, fits = [interface, member[4:]], "Get", interface in offers[path]
        interface = "org.freedesktop.DBus.Properties"
    else:
        fits = member in offers[path].get(interface, {})
    how = rnd.choice(["fit", "short", "extra", "wrong"] if types else ["fit", "extra"])
    if how == "short": types, values = types[:-1], values[:-1]
    if how == "extra": types, values = types + ["i"], values + [7]
    if how == "wrong":
        at = rnd.randrange(len(types))
        types[at], values[at] = ("s", "x") if types[at] != "s" else ("i", 7)
    # The D-Bus library answers Peer itself, whatever the arguments.
    fits = (fits and how == "fit") or interface == "org.freedesktop.DBus.Peer"
    error = call(path, interface, member, types, values)
    calls, refused = calls + 1, refused + error
    if not fits and not error:
        sys.exit(f"FAIL: {interface}.{member}({','.join(types)}) at {path} was obeyed ({how})")
    try: os.kill(int(os.environ["FUZZ_PID"]), 0)
    except OSError: sys.exit(f"FAIL: the program died after {interface}.{member}({types}) at {path}")
print(f"AT-SPI fuzz: {calls} calls to {len(paths)} objects, {refused} refused, none unanswered")
PY
! grep -E "ERROR: AddressSanitizer|runtime error" "$log"
