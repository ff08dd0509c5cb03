#!/bin/sh
# Every way the program is ended from outside saves the session: a macro and a
# parameter change typed since the start are in the files afterwards. The
# cases: SIGTERM, SIGHUP, SIGINT, the X server gone, and SIGTERM while a
# question box waits in its own event loop.
# usage: ending_xvfb.sh ZORLO_BINARY
set -eu
. "$(dirname "$0")/console_test.sh"

# A portable copy (the "portable" file) keeps its settings beside itself.
cp "$1" "$work/zorlo"
touch "$work/portable"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM || true

# The desktop's address handler: it runs only if the command whose question was
# open goes on after the program has been told to end.
mkdir "$work/bin"
printf '#!/bin/sh\ntouch "%s/opened"\n' "$work" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
PATH="$work/bin:$PATH"

windows_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l; }
type_line() {
    xdotool type --delay 10 "$1"
    xdotool key Return
}
# The exit status of $zorlo once it has ended.
wait_for_end() {
    for _ in $(seq 150); do
        kill -0 "$zorlo" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$zorlo" 2>/dev/null && fail "$case: the console is still running"
    status=0
    wait "$zorlo" || status=$?
}
holds() { tr -d '\r' <"$work/$1" 2>/dev/null | tr '\n' ' ' | grep -qF "$2"; }

for case in TERM HUP INT display box; do
    rm -f "$work/zorlo.list" "$work/zorlo.param" "$work/history" "$work/log" "$work/opened"
    start_xvfb
    # A shell starts background jobs ignoring SIGINT, which the console respects.
    ZORLO_TEST_LOG="$work/log" env --default-signal=INT,HUP "$work/zorlo" >"$work/zorlo.out" 2>&1 &
    zorlo=$!
    pids="$zorlo $pids"
    wait_for shown
    xdotool search --name '^Zorlo Console v' windowfocus --sync >/dev/null
    type_line 'macro ed /bin/true'
    type_line 'param active'
    if [ "$case" = box ]; then
        # An address that names no macro: the console asks whether to keep it.
        type_line 'www.example.org'
        for _ in $(seq 100); do
            [ "$(windows_named '^Zorlo Console$')" -ge 1 ] && break
            sleep 0.05
        done
        [ "$(windows_named '^Zorlo Console$')" -ge 1 ] || fail "$case: no question box"
    else
        # Launching the macro hides the console: every line before it has run.
        type_line 'ed'
        wait_for hidden
    fi
    if [ "$case" = display ]; then
        kill "$xvfb"
    else
        kill -s "$(echo "$case" | sed 's/box/TERM/')" "$zorlo"
    fi
    wait_for_end
    [ "$case" = display ] || [ "$status" -eq 0 ] || fail "$case: exit status $status"
    holds zorlo.list '"ed" "/bin/true"' || fail "$case: zorlo.list lacks the macro"
    holds zorlo.param '"active" "0"' || fail "$case: zorlo.param lacks the change"
    [ ! -e "$work/opened" ] || fail "$case: the interrupted command went on"
    [ "$case" = display ] || kill "$xvfb"
    wait "$xvfb" 2>/dev/null || true
    echo "$case: saved, exit status $status"
done
