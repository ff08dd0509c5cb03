#!/bin/sh
# Every way the program is ended from outside saves the session: a macro and a
# parameter change typed since the start are in the files afterwards. The
# cases: SIGTERM, SIGHUP, SIGINT, the X server gone, and SIGTERM while a
# question box waits in its own event loop.
# usage: ending_xvfb.sh ZORLO_BINARY
set -eu
. "$(dirname "$0")/console_test.sh"

portable_copy "$1" "$work"

# The desktop's address handler: it runs only if the command whose question was
# open goes on after the program has been told to end.
stand_in_xdg_open "touch '$work/opened'"
question_open() { [ "$(windows_named '^Zorlo Console$')" -ge 1 ]; }

for case in TERM HUP INT display box; do
    rm -f "$work/zorlo.list" "$work/zorlo.param" "$work/history" "$work/log" "$work/opened"
    start_xvfb
    # A shell starts background jobs ignoring SIGINT, which the console respects.
    start_console env --default-signal=INT,HUP "$work/zorlo"
    focus_console
    type_line 'macro ed /bin/true'
    type_line 'param active'
    if [ "$case" = box ]; then
        # An address that names no macro: the console asks whether to keep it.
        type_line 'www.example.org'
        poll 100 question_open || fail "$case: no question box"
    else
        # Launching the macro hides the console: every line before it has run.
        type_line 'ed'
        wait_for hidden
    fi
    if [ "$case" = display ]; then
        kill "$xvfb"
    else
        kill -s "$(echo "$case" | sed 's/box/TERM/')" "$console"
    fi
    wait_for_end "$console"
    [ "$case" = display ] || [ "$status" -eq 0 ] || fail "$case: exit status $status"
    holds "$work/zorlo.list" '"ed" "/bin/true"' || fail "$case: zorlo.list lacks the macro"
    holds "$work/zorlo.param" '"active" "0"' || fail "$case: zorlo.param lacks the change"
    [ ! -e "$work/opened" ] || fail "$case: the interrupted command went on"
    [ "$case" = display ] || kill "$xvfb"
    wait "$xvfb" 2>/dev/null || true
    echo "$case: saved, exit status $status"
done
