#!/bin/sh
# Holds F12 on a virtual X server and watches the real console hide and come back.
# usage: hotkey_xvfb.sh ZORLO_BINARY
set -eu
. "$(dirname "$0")/console_test.sh"

# A portable copy of its own (the "portable" file) keeps its settings beside
# itself, away from the user's.
cp "$1" "$work/zorlo"
touch "$work/portable"

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids="$! $pids"
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start"
DISPLAY=":$(cat "$work/display")"
export DISPLAY
unset WAYLAND_DISPLAY QT_QPA_PLATFORM || true

# With XInput 2.1 the console stops its timer while nothing moves; the press
# below must then wake it.
wait_for_rest() {
    for _ in $(seq 100); do
        [ "$(tail -n 1 "$work/log" 2>/dev/null)" = "timer rests" ] && return 0
        sleep 0.05
    done
    fail "the timer never rested"
}
visible_consoles() { xdotool search --onlyvisible --name '^Zorlo Console' 2>/dev/null | wc -l; }
# The console samples the key every 50 ms: a press must outlast a few samples,
# and so must the release before the next press, or the two presses merge.
hold_f12() {
    xdotool keydown F12
    sleep 0.25
    xdotool keyup F12
    sleep 0.25
}

ZORLO_TEST_LOG="$work/log" "$work/zorlo" >"$work/zorlo.out" 2>&1 &
pids="$! $pids"
wait_for shown
sleep 0.3 # the window manager-less server needs a moment to hand over the focus

wait_for_rest
hold_f12
wait_for hidden
[ "$(visible_consoles)" -eq 0 ] || fail "a console window is still mapped"

wait_for_rest
hold_f12
wait_for shown
sleep 0.2
[ "$(visible_consoles)" -ge 1 ] || fail "no console window is mapped"
grep -c '^bleep$' "$work/log" | grep -qx 2 || fail "expected two bleeps (start-up and the second press)"

# A tap shorter than a tick (xdotool's own press lasts no time) toggles as
# surely as a held key, every time.
for state in hidden shown hidden shown; do
    xdotool key F12
    wait_for "$state"
    sleep 0.2
done
echo "hotkey toggled the console off and on, held and tapped"
