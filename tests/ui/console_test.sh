# Sourced by the console's shell tests: a scratch folder removed at the end
# with every process listed in $pids, failing with the logs shown, and
# waiting for what the console reports through ZORLO_TEST_LOG ($work/log),
# a virtual X server of its own ($xvfb, DISPLAY exported).
work=$(mktemp -d)
pids=""
cleanup() {
    for pid in $pids; do
        kill "$pid" 2>/dev/null || true
    done
    # A console saves and takes its socket away on the way out.
    for pid in $pids; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    for file in "$work"/log "$work"/*.out; do
        [ -f "$file" ] && { echo "--- $(basename "$file")"; cat "$file"; }
    done
    exit 1
}
# Tries a command every 50 ms, TRIES times, until it succeeds.
poll() {
    tries=$1
    shift
    for _ in $(seq "$tries"); do
        "$@" && return 0
        sleep 0.05
    done
    "$@"
}
# Starts a command in the background as $bg, ended with the test.
background() {
    "$@" &
    bg=$!
    pids="$bg $pids"
}
# Copies the program (ZORLO_BINARY) into a folder with a "portable" file, so
# its settings stay beside it and away from the user's.
portable_copy() {
    mkdir -p "$2"
    cp "$1" "$2/zorlo"
    touch "$2/portable"
}
# Starts a console in the background, as $console, and waits until it shows:
# start_console [VAR=VALUE...] PROGRAM [OPTION...]
start_console() {
    : >"$work/log"
    background env ZORLO_TEST_LOG="$work/log" "$@" >"$work/zorlo.out" 2>&1
    console=$bg
    wait_for shown
}
# For consoles without a display: offscreen, their hand-over in $work/tmp.
offscreen() {
    export QT_QPA_PLATFORM=offscreen ZORLO_TEST_LOG="$work/log" TMPDIR="$work/tmp"
    unset XDG_RUNTIME_DIR
    mkdir -m 1777 "$TMPDIR"
}
# Puts a stand-in xdg-open with the given body first on PATH.
stand_in_xdg_open() {
    mkdir -p "$work/bin"
    printf '#!/bin/sh\n%s\n' "$1" >"$work/bin/xdg-open"
    chmod +x "$work/bin/xdg-open"
    PATH="$work/bin:$PATH"
}
# Whether a settings file (CR LF, one value a line) holds the values given:
# holds FILE '"name" "value"'
holds() { tr -d '\r' <"$1" 2>/dev/null | tr '\n' ' ' | grep -qF -- "$2"; }
last_state() { grep -E '^(shown|hidden)$' "$work/log" 2>/dev/null | tail -n 1; }
state_is() { [ "$(last_state)" = "$1" ]; }
wait_for() { poll 100 state_is "$1" || fail "console not $1"; }
# Ends the console started last; its exit status is the function's.
stop_console() {
    kill "$console"
    wait "$console"
}
# Waits up to 15 s for the process $1 to end; its exit status is $status.
ended() { ! kill -0 "$1" 2>/dev/null; }
wait_for_end() {
    poll 300 ended "$1" || fail "${case:-}: the console is still running"
    status=0
    wait "$1" || status=$?
}
focus_console() { xdotool search --name '^Zorlo Console v' windowfocus --sync >/dev/null; }
windows_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l; }
visible_consoles() { windows_named '^Zorlo Console'; }
type_line() {
    xdotool type --delay 10 "$1"
    xdotool key Return
}
# The console samples the key every 50 ms: a press must outlast a few samples,
# and so must the release before the next press, or the two presses merge.
hold_f12() {
    xdotool keydown F12
    sleep 0.25
    xdotool keyup F12
    sleep 0.25
}
display_written() { [ -s "$work/display" ]; }
start_xvfb() {
    unset WAYLAND_DISPLAY QT_QPA_PLATFORM || true
    rm -f "$work/display"
    background Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log"
    xvfb=$bg
    poll 200 display_written || fail "Xvfb did not start"
    DISPLAY=":$(cat "$work/display")"
    export DISPLAY
}
