#!/bin/sh
# The console as a desktop window on a virtual X server: start, exit, start
# again gives the same window, with and without a window manager and at scale
# factors 1 and 2; keys typed while a command runs reach the console
# afterwards, in order, as if typed then.
# usage: window_xvfb.sh ZORLO_BINARY
set -eu
. "$(dirname "$0")/console_test.sh"

command -v openbox >/dev/null || fail "openbox is missing (scripts/setup.sh installs it)"
start_xvfb

# A launch that takes half a second and fails: xdg-open without a handler.
stand_in_xdg_open 'sleep 0.5; exit 3'

# Starts the console in $dir, lets the caller type, and waits for its end.
run_console() {
    start_console QT_SCALE_FACTOR="$scale" "$dir/zorlo"
    poll 20 grep -qx bleep "$work/log" || fail "no bleep at start-up"
    sleep 0.5 # the window manager frames the window and hands it the focus
    focus_console
    "$@"
    wait_for_end "$console"
    [ "$status" -eq 0 ] || fail "the console exited with a failure"
}
size() { tr -d '\r' <"$dir/zorlo.param" | tr '\n' ' ' | grep -oE '"(height|width)" "[0-9]+"' | tr '\n' ' '; }
exits() { type_line exit; }

for wm in none openbox; do
    if [ "$wm" = openbox ]; then
        background openbox >"$work/openbox.out" 2>&1
        sleep 1
    fi
    for scale in 1 2; do
        dir="$work/$wm-$scale"
        portable_copy "$1" "$dir"
        run_console exits
        first=$(size)
        run_console exits
        [ "$(size)" = "$first" ] || fail "$wm, scale $scale: $(size) after $first"
        echo "$wm, scale $scale: the same window twice ($first)"
    done
done

# Typed at once after the slow launch: a macro line and exit. Both run as
# commands of their own once the launch is over.
dir="$work/typing"
scale=1
portable_copy "$1" "$dir"
typed_during_launch() {
    for line in slow.xyz 'macro k v' exit; do
        xdotool type --delay 3 "$line"
        xdotool key Return
    done
}
run_console typed_during_launch
holds "$dir/zorlo.list" '"k" "v"' ||
    fail "the line typed during the launch did not run: $(cat "$dir/zorlo.list")"
echo "keys typed during a launch ran afterwards, in order"
