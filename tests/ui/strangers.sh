#!/bin/sh
# Another local user (uid 65534) can neither answer for the console, take the
# place of its hand-over, nor reach it. Run as root.
# usage: strangers.sh ZORLO_BINARY
set -eu
[ "$(id -u)" -eq 0 ] || { echo "skipped: acting as a second user needs root"; exit 77; }
. "$(dirname "$0")/console_test.sh"

portable_copy "$1" "$work"
chmod 755 "$work"
offscreen
mkdir -m 700 "$work/run"
stranger() { setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; }
private="$TMPDIR/zorlo-0"
socket() { find "$TMPDIR" -type s -name 'zorlo-*'; }

# The hand-over through a runtime folder (the other tests have none).
start_console XDG_RUNTIME_DIR="$work/run" "$work/zorlo"
XDG_RUNTIME_DIR="$work/run" timeout 20 "$work/zorlo" >"$work/second.out" 2>&1 ||
    fail "no hand-over in the runtime folder"
wait_for hidden
stop_console || true

# A stranger who gets through to the socket is turned away.
start_console "$work/zorlo"
sock=$(socket)
folder=$(dirname "$sock")
chmod 711 "$folder"
chmod 666 "$sock"
stranger perl -MIO::Socket::UNIX -e '
    my $s = IO::Socket::UNIX->new(Peer => $ARGV[0]) or die "connect: $!";
    print $s "toggle\n";
    alarm 3;
    print "answered\n" if defined <$s>;
' "$sock" >"$work/stranger.out" 2>&1 || true
sleep 0.3
[ ! -s "$work/stranger.out" ] || fail "the stranger was answered"
[ "$(last_state)" = shown ] || fail "the stranger toggled the console"
grep -q "zorlo: refused a start by user 65534" "$work/zorlo.out" || fail "no word of the refused start"
chmod 700 "$folder"

# A stranger's server in the console's place is not handed the start.
rm "$sock"
perl -MSocket -e '
    socket(my $s, AF_UNIX, SOCK_STREAM, 0) or die;
    bind($s, pack_sockaddr_un($ARGV[0])) or die "bind: $!";
    $) = "65534 65534"; $> = 65534;
    listen($s, 5) or die;
    accept(my $c, $s) or die;
    syswrite($c, "ok\n");
    sleep 1;
' "$sock" &
pids="$pids $!"
sleep 0.3
status=0
timeout 20 "$work/zorlo" >"$work/second.out" 2>&1 || status=$?
[ "$status" -eq 3 ] || fail "handed over to a stranger (status $status)"
grep -q "belongs to user 65534" "$work/second.out" || fail "no word of the stranger's socket"
stop_console || true

# The private folder's predictable name, taken first: by the stranger, or as
# a link. Each is refused before anything else happens.
rm -rf "$private" "$TMPDIR"/zorlo-*
for squat in "mkdir -m 700 $private" "ln -s $work/run $private"; do
    stranger sh -c "$squat"
    status=0
    timeout 10 "$work/zorlo" >"$work/squatted.out" 2>&1 || status=$?
    [ "$status" -eq 1 ] || fail "ran with a squatted private folder ($squat): status $status"
    grep -q "^zorlo: $private is not a private folder of this user" "$work/squatted.out" ||
        fail "no word of the squatted folder ($squat)"
    rm -rf "$private"
done
echo "a stranger on the socket, a stranger's server and a squatted folder were refused"
