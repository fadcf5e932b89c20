# Sourced by the scripts that need an X server of their own: start_xvfb starts Xvfb on a
# display number it picks itself (so it never takes one in use), exports DISPLAY and sets
# XVFB_PID; stop_xvfb ends it. start_xvfb PID also ends the script's process group with PID (end_with).

start_xvfb() {
    local dir
    [ -z "${1:-}" ] || end_with "$1"
    dir=$(mktemp -d)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dir/display" 2>"$dir/log" &
    XVFB_PID=$!
    for _ in $(seq 100); do
        [ -s "$dir/display" ] && break
        kill -0 "$XVFB_PID" 2>/dev/null || { cat "$dir/log" >&2; return 1; }
        sleep 0.1
    done
    [ -s "$dir/display" ] || { echo "Xvfb did not start" >&2; return 1; }
    DISPLAY=":$(tr -d '[:space:]' <"$dir/display")"
    export DISPLAY
    rm -rf "$dir"
}

stop_xvfb() {
    [ -n "${XVFB_PID:-}" ] || return 0
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
}

# For a script on a session bus of its own (dbus-run-session), after start_xvfb: a runtime folder of its
# own, given to the services the bus starts too. The accessibility bus is started by the session bus, with
# the environment the session bus had, and names its socket by the display alone: without this, runs side
# by side with no display of their own at the start share one accessibility bus and take it from each other.
own_runtime_dir() {
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
    dbus-update-activation-environment DISPLAY XDG_RUNTIME_DIR
}

# For a script started again under `timeout` (whose process group it then shares) by the process whose PID
# it is given: ends the whole group when that process is killed outright (as a test runner does at its
# limit), which `timeout` cannot pass on, so that nothing the script started lives on.
end_with() {
    (while kill -0 "$1" 2>/dev/null; do sleep 1; done; kill -- -"$1" 2>/dev/null) &
}
