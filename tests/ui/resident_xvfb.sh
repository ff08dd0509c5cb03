#!/bin/sh
# The console as an installed desktop resident: its options, its autostart
# entry, a start at login that stays hidden until the hotkey, F12 held and
# tapped on a virtual X server, and settings in the user's configuration
# folder rather than beside an installed program.
# usage: resident_xvfb.sh ZORLO_BINARY
set -eu
. "$(dirname "$0")/console_test.sh"

# Installed-like: no "portable" file and no zorlo.list beside the program.
mkdir "$work/my apps"
zorlo="$work/my apps/zorlo"
cp "$1" "$zorlo"
XDG_CONFIG_HOME="$work/config"
ZORLO_TEST_LOG="$work/log"
export XDG_CONFIG_HOME ZORLO_TEST_LOG
unset WAYLAND_DISPLAY QT_QPA_PLATFORM DISPLAY || true
entry="$work/config/autostart/zorlo.desktop"

# Each option that only prints or configures: its status and a text it prints.
# Run here without a display, and again below while a console runs.
check_options() {
    while IFS='|' read -r option expected text; do
        status=0
        "$zorlo" $option >"$work/option.out" 2>&1 || status=$?
        [ "$status" -eq "$expected" ] || fail "zorlo $option: status $status, not $expected"
        grep -qF -- "$text" "$work/option.out" || fail "zorlo $option did not say: $text"
    done <<TABLE
--help|0|--autostart-on
-h|0|$work/config/zorlo
--version|0|zorlo (Zorlo Console) 
-V|0|License: MIT
--autostart-off|0|no longer start
--autostart-on|0|$entry
--bogus|2|unknown option '--bogus'
--hidden --help|2|one option at a time
TABLE
}
check_options
grep -qxF "Exec=\"$zorlo\" --hidden" "$entry" || fail "autostart entry: $(cat "$entry")"
"$zorlo" --autostart-off >/dev/null || fail "--autostart-off failed"
[ ! -e "$entry" ] || fail "--autostart-off left the entry"
"$zorlo" --autostart-off >/dev/null || fail "--autostart-off without an entry failed"

# With `active` off the hotkey only acts while the console is in front or was
# hidden by it: a hidden start must count as hidden, or nothing could show it.
mkdir -p "$work/config/zorlo"
printf '"ed"\r\n"/usr/bin/true"\r\n' >"$work/config/zorlo/zorlo.list"
for pair in active 0 autohide 0 height 2400 key 123 left 1200 modifier 0 top 1200 width 4125; do
    printf '"%s"\r\n' "$pair"
done >"$work/config/zorlo/zorlo.param"
start_xvfb
background "$zorlo" --hidden >"$work/first.out" 2>&1
console=$bg
# With XInput 2.1 the console stops its timer while nothing moves; each press
# below must then wake it.
rests() { [ "$(tail -n 1 "$work/log" 2>/dev/null)" = "timer rests" ]; }
poll 100 rests || fail "the hidden console did not finish starting"

# Neither a second start at login nor an option toggles the running console.
timeout 20 "$zorlo" --hidden >"$work/second.out" 2>&1 || fail "--hidden beside a running console did not exit 0"
check_options
"$zorlo" --autostart-off >/dev/null
sleep 0.3
[ -z "$(last_state)" ] || fail "the hidden console was $(last_state)"
[ "$(visible_consoles)" -eq 0 ] || fail "the hidden start mapped a window"

poll 100 rests || fail "the timer never rested"
hold_f12
wait_for shown
[ "$(visible_consoles)" -ge 1 ] || fail "F12 did not map the console"
[ "$(grep -cx bleep "$work/log")" -eq 1 ] || fail "expected one bleep, from the press and not the hidden start"
poll 100 rests || fail "the shown console's timer never rested"
hold_f12
wait_for hidden
[ "$(visible_consoles)" -eq 0 ] || fail "a console window is still mapped"
# A tap shorter than a tick (xdotool's own press lasts no time) toggles as
# surely as a held key, every time.
for state in shown hidden shown; do
    xdotool key F12
    wait_for "$state"
    sleep 0.2
done
[ "$(grep -cx bleep "$work/log")" -eq 3 ] || fail "expected a bleep for each press that showed the console"
# A plain start finds this console through the same settings folder.
timeout 20 "$zorlo" >"$work/third.out" 2>&1 || fail "the second start failed"
wait_for hidden

stop_console || fail "the console did not save at its end"
grep -q '"active"' "$work/config/zorlo/zorlo.param" || fail "the settings were not saved in the configuration folder"
ls "$work/my apps" | grep -qvx zorlo && fail "files beside the program: $(ls "$work/my apps")"
echo "options, autostart entry, hidden start, F12 held and tapped, and the settings folder behave"
