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

offscreen
start_console "$work/zorlo"

# A later start hands over before it sets up the toolkit, which it never needs:
# it does so where none could start.
QT_QPA_PLATFORM=no-such-platform timeout 20 "$work/zorlo" >"$work/second.out" 2>&1 ||
    fail "second start exited with $?"
wait_for hidden
[ "$(fingerprint)" = "$before" ] || fail "the second start touched the settings files"

timeout 20 "$work/zorlo" >"$work/third.out" 2>&1 || fail "third start failed"
wait_for shown
kill -0 "$console" || fail "the first console is gone"
[ "$(grep -c -E '^(shown|hidden)$' "$work/log")" -eq 3 ] || fail "expected exactly shown, hidden, shown"

# A console that crashed leaves its lock behind; the next start takes it over
# and runs as the folder's console instead of waiting for a dead one.
kill -KILL "$console"
wait "$console" 2>/dev/null || true
start_console "$work/zorlo"
sleep 0.3
kill -0 "$console" || fail "the start after a crashed console did not take the folder over"

# A start that reaches no hand-over (another HOME and runtime folder, as on
# another machine sharing the home) still finds the folder taken.
mkdir -m 700 "$work/run"
before=$(fingerprint)
status=0
HOME="$work/elsewhere" XDG_RUNTIME_DIR="$work/run" timeout 20 "$work/zorlo" >"$work/other.out" 2>&1 ||
    status=$?
[ "$status" -eq 3 ] || fail "a start on a folder in use exited with $status"
[ "$(cat "$work/other.out")" = "zorlo: another console uses $work" ] || fail "no word of the folder in use"
[ "$(fingerprint)" = "$before" ] || fail "the start on a folder in use touched the settings files"

# Floods on the socket: 50 connections that say nothing are closed within
# about a second, 2 MiB without a newline are cut off early, and one line
# with a token is one press, whatever follows it. A line of 1 KiB, newline
# included, is the longest one answered.
: >"$work/log"
perl -MIO::Socket::UNIX -MIO::Select -e '
    $SIG{PIPE} = "IGNORE";
    my ($path) = @ARGV;
    my $big = IO::Socket::UNIX->new(Peer => $path) or die "connect: $!";
    my ($sent, $chunk, $answer) = (0, "x" x 65536, "none");
    while ($sent < 2 << 20) { my $n = syswrite($big, $chunk) or last; $sent += $n; }
    my @idle = map { IO::Socket::UNIX->new(Peer => $path) or die "connect: $!" } 1 .. 50;
    sleep 2;
    my $closed = grep { IO::Select->new($_)->can_read(0) && !sysread($_, my $b, 1) } @idle;
    my $token = IO::Socket::UNIX->new(Peer => $path) or die "connect: $!";
    print $token "toggle some-token\ntoggle\n";
    if (IO::Select->new($token)->can_read(5)) { $answer = <$token> // "none"; }
    my @edges = map {
        my $line = IO::Socket::UNIX->new(Peer => $path) or die "connect: $!";
        print $line "toggle ", "x" x ($_ - 8), "\n";
        my $got = IO::Select->new($line)->can_read(5) ? <$line> : undef;
        $got // "none";
    } 1024, 1025;
    chomp(@edges, $answer);
    print "sent ", ($sent < 2 << 20 ? "cut off" : "all"), ", closed $closed, answer $answer, @edges";
' "$(find "$TMPDIR" -type s -name 'zorlo-*')" >"$work/flood.out" 2>&1 || fail "the flood did not run"
[ "$(cat "$work/flood.out")" = "sent cut off, closed 50, answer ok, ok none" ] ||
    fail "floods not bounded: $(cat "$work/flood.out")"
wait_for shown
sleep 0.3
[ "$(grep -c -E '^(shown|hidden)$' "$work/log")" -eq 2 ] || fail "one connection pressed more than once"
echo "second start toggled the first console; a crashed console's lock was taken over;" \
    "a folder in use was refused; floods were bounded"
