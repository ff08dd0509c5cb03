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
last_state() { grep -E '^(shown|hidden)$' "$work/log" 2>/dev/null | tail -n 1; }
wait_for() {
    for _ in $(seq 100); do
        [ "$(last_state)" = "$1" ] && return 0
        sleep 0.05
    done
    fail "console not $1"
}
start_xvfb() {
    rm -f "$work/display"
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb=$!
    pids="$xvfb $pids"
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    [ -s "$work/display" ] || fail "Xvfb did not start"
    DISPLAY=":$(cat "$work/display")"
    export DISPLAY
}
