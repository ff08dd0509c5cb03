#!/bin/sh
# A second start of the program toggles the running console and leaves the
# settings files alone.
# usage: second_start.sh ZORLO_BINARY
set -eu
. "$(dirname "$0")/console_test.sh"

portable_copy "$1" "$work"
printf '"ed"\r\n"/usr/bin/true"\r\n' >"$work/zorlo.list"
printf '"active"\r\n"1"\r\n"autohide"\r\n"0"\r\n' >"$work/zorlo.param"
printf 'one\r\ntwo\r\n' >"$work/history"
touch -d '2001-01-01 00:00:00' "$work/zorlo.list" "$work/zorlo.param" "$work/history"
fingerprint() { (cd "$work" && ls -l --time-style=+%s zorlo.list zorlo.param history && cat zorlo.list zorlo.param history | md5sum); }
before=$(fingerprint)

export QT_QPA_PLATFORM=offscreen ZORLO_TEST_LOG="$work/log"

background "$work/zorlo" >"$work/first.out" 2>&1
first_pid=$bg
wait_for shown

status=0
timeout 20 "$work/zorlo" >"$work/second.out" 2>&1 || status=$?
[ "$status" -eq 0 ] || fail "second start exited with $status"
wait_for hidden
[ "$(fingerprint)" = "$before" ] || fail "the second start touched the settings files"

timeout 20 "$work/zorlo" >"$work/third.out" 2>&1 || fail "third start failed"
wait_for shown
kill -0 "$first_pid" || fail "the first console is gone"
[ "$(grep -c -E '^(shown|hidden)$' "$work/log")" -eq 3 ] || fail "expected exactly shown, hidden, shown"

# A console that crashed leaves its lock behind; the next start takes it over
# and runs as the folder's console instead of waiting for a dead one.
kill -KILL "$first_pid"
wait "$first_pid" 2>/dev/null || true
: >"$work/log"
background "$work/zorlo" >"$work/fourth.out" 2>&1
first_pid=$bg
wait_for shown
sleep 0.3
kill -0 "$first_pid" || fail "the start after a crashed console did not take the folder over"
echo "second start toggled the first console; a crashed console's lock was taken over"
