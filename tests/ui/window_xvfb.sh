#!/bin/sh
# The console as a desktop window on a virtual X server: start, exit, start
# gives the same window, with and without a window manager and at scale
# factors 1 and 2; keys typed while a command runs reach the console
# afterwards, in order, as if typed then.
# usage: window_xvfb.sh ZORLO_BINARY
set -eu
. "$(dirname "$0")/console_test.sh"

command -v openbox >/dev/null || fail "openbox is missing (scripts/setup.sh installs it)"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM || true
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids="$! $pids"
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start"
DISPLAY=":$(cat "$work/display")"
export DISPLAY

# A launch that takes half a second and fails: xdg-open without a handler.
mkdir "$work/bin"
printf '#!/bin/sh\nsleep 0.5\nexit 3\n' >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
PATH="$work/bin:$PATH"

type_line() {
    xdotool type --delay 10 "$1"
    xdotool key Return
}
# Starts the console in $dir, lets the caller type, and waits for its end.
run_console() {
    : >"$work/log"
    ZORLO_TEST_LOG="$work/log" QT_SCALE_FACTOR="$scale" "$dir/zorlo" >"$work/zorlo.out" 2>&1 &
    zorlo=$!
    pids="$zorlo $pids"
    wait_for shown
    sleep 0.5 # the window manager frames the window and hands it the focus
    xdotool search --name '^Zorlo Console v' windowfocus --sync >/dev/null
    "$@"
    for _ in $(seq 100); do
        kill -0 "$zorlo" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$zorlo" 2>/dev/null && fail "the console did not exit"
    wait "$zorlo" || fail "the console exited with a failure"
}
size() { tr -d '\r' <"$dir/zorlo.param" | tr '\n' ' ' | grep -oE '"(height|width)" "[0-9]+"' | tr '\n' ' '; }
exits() { type_line exit; }

for wm in none openbox; do
    if [ "$wm" = openbox ]; then
        openbox >"$work/openbox.out" 2>&1 &
        pids="$! $pids"
        sleep 1
    fi
    for scale in 1 2; do
        dir="$work/$wm-$scale"
        mkdir "$dir"
        cp "$1" "$dir/zorlo"
        touch "$dir/portable"
        run_console exits
        first=$(size)
        for start in 2 3; do
            run_console exits
            [ "$(size)" = "$first" ] || fail "$wm, scale $scale, start $start: $(size) after $first"
        done
        echo "$wm, scale $scale: the same window three times ($first)"
    done
done

# Typed at once after the slow launch: a macro line and exit. Both run as
# commands of their own once the launch is over.
dir="$work/typing"
scale=1
mkdir "$dir"
cp "$1" "$dir/zorlo"
touch "$dir/portable"
typed_during_launch() {
    xdotool type --delay 3 slow.xyz
    xdotool key Return
    xdotool type --delay 3 'macro k v'
    xdotool key Return
    xdotool type --delay 3 exit
    xdotool key Return
}
run_console typed_during_launch
tr -d '\r' <"$dir/zorlo.list" | tr '\n' ' ' | grep -qF '"k" "v"' ||
    fail "the line typed during the launch did not run: $(cat "$dir/zorlo.list")"
echo "keys typed during a launch ran afterwards, in order"
