#!/bin/sh
# Holds F12 on a virtual X server and watches the real console hide and come back.
# usage: hotkey_xvfb.sh ZORLO_BINARY
set -eu
. "$(dirname "$0")/console_test.sh"

portable_copy "$1" "$work"
start_xvfb

# With XInput 2.1 the console stops its timer while nothing moves; the press
# below must then wake it.
rests() { [ "$(tail -n 1 "$work/log" 2>/dev/null)" = "timer rests" ]; }
wait_for_rest() { poll 100 rests || fail "the timer never rested"; }

background env ZORLO_TEST_LOG="$work/log" "$work/zorlo" >"$work/zorlo.out" 2>&1
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
