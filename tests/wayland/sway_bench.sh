# Sourced by the console's tests under Wayland (scripts in tests/wayland/):
# a headless sway 1.7 session of their own, with everything console_test.sh
# gives ($work, fail, poll, background, wait_for on $work/log).
#
#   sway_start ZORLO VKBD [VAR=VALUE...]  starts the session, F12 bound to
#       $ZORLO (a copy of ZORLO in a folder of its own); the session's
#       environment, ZORLO_TEST_LOG=$work/log and the VAR=VALUE words (no
#       spaces), reaches sway, so the binding's starts, and every client
#   sway_client [--x11] [VAR=VALUE...] CMD...   runs a client in the session
#       in the background, its pid in $bg; --x11 adds DISPLAY (XWayland
#       starts on the first X11 connection)
#   sway_xwayland_started   whether anything opened an X11 connection yet
#   sway_type TEXT, sway_key NAME...   typed by one persistent vkbd
#   sway_other_native   an unrelated window that takes the focus
#   sway_tree, sway_focused, sway_focused_is NAME, sway_visible NAME,
#   sway_urgent NAME (NAME: app_id, or class under XWayland)
#   sway_wait COND TIMEOUT_SECONDS
#
# Sway refuses root, so as root (the CI) the session and its clients run as
# the system user zorlo-sway; anyone else runs it as themselves.
. "$(dirname "$0")/../ui/console_test.sh"

sway_user=$(id -un)
sway_dir="$work/sway"
sway_acks=0
sway_vars=""
trap 'sway_stop; cleanup' EXIT

# Becomes the command, run as the session's user with a clean environment
# plus the VAR=VALUE words that lead it: call it in a subshell or with "&".
sway_exec() {
    exec 9>&-
    set -- env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$sway_dir/home" LANG=C.UTF-8 \
        XDG_RUNTIME_DIR="$sway_dir/run" "$@"
    if [ "$(id -u)" -eq 0 ]; then
        set -- setpriv --reuid="$sway_user" --regid="$sway_user" --init-groups "$@"
    fi
    exec "$@"
}
# Becomes a client of the session; a leading --x11 gives it sway's X display.
sway_become_client() {
    x11=
    if [ "${1:-}" = --x11 ]; then
        x11="DISPLAY=$sway_display"
        shift
    fi
    sway_exec $sway_vars WAYLAND_DISPLAY="$sway_wayland" $x11 "$@"
}
sway_client() {
    sway_become_client "$@" &
    bg=$!
    pids="$bg $pids"
}

# The session is up once its IPC socket answers; a sway that ended fails at once.
sway_answers() {
    kill -0 "$sway_pid" 2>/dev/null || fail "sway could not start"
    for SWAYSOCK in "$sway_dir"/run/sway-ipc.*.sock; do :; done
    export SWAYSOCK
    swaymsg -t get_version >/dev/null 2>&1
}
sway_display_known() { [ -s "$sway_dir/display" ]; }

sway_start() {
    if [ "$(id -u)" -eq 0 ]; then
        sway_user=zorlo-sway
        # Several tests may race to create the user: one of them wins.
        id -u "$sway_user" >/dev/null 2>&1 ||
            useradd --system --no-create-home --home-dir /nonexistent \
                --shell /usr/sbin/nologin "$sway_user" 2>/dev/null ||
            id -u "$sway_user" >/dev/null 2>&1 ||
            fail "cannot create the user $sway_user to run sway (sway refuses root)"
        chmod 711 "$work"
    fi
    mkdir -p "$sway_dir/home" "$sway_dir/app"
    mkdir -m 700 "$sway_dir/run"
    portable_copy "$1" "$sway_dir/app"
    cp "$2" "$sway_dir/vkbd"
    shift 2
    ZORLO="$sway_dir/app/zorlo"
    : >"$work/log"
    sway_vars="ZORLO_TEST_LOG=$work/log $*"
    # Sway's default focus_on_window_activation (urgent) stays: a window
    # comes forward through a token or not at all.
    cat >"$sway_dir/config" <<EOF
xwayland enable
bindsym F12 exec $ZORLO
EOF
    [ "$(id -u)" -ne 0 ] || chown -R "$sway_user:" "$sway_dir" "$work/log" ||
        fail "cannot hand the session's folder to $sway_user"

    background sway_exec WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 \
        WLR_RENDERER=pixman $sway_vars sway -c "$sway_dir/config" >"$work/sway.out" 2>&1
    sway_pid=$bg
    poll 200 sway_answers || fail "sway does not answer"
    for sway_wayland in "$sway_dir"/run/wayland-*; do
        [ -S "$sway_wayland" ] && break
    done
    sway_wayland=$(basename "$sway_wayland")
    # XWayland starts with its first client; sway knows its display already.
    swaymsg exec "printenv DISPLAY >$sway_dir/display" >/dev/null
    poll 100 sway_display_known || fail "sway names no X display"
    sway_display=$(cat "$sway_dir/display")

    # One keyboard for the whole test, answering each line in vkbd.acks; its
    # input is named on the "&" itself, where the shell would give /dev/null.
    mkfifo "$work/vkbd.in"
    exec 9<>"$work/vkbd.in"
    sway_become_client "$sway_dir/vkbd" <"$work/vkbd.in" >"$work/vkbd.acks" 2>"$work/vkbd.out" &
    pids="$! $pids"
}

# The session's processes, those the binding started included: they share
# its runtime folder.
sway_pids() {
    for pid in $(pgrep -u "$sway_user"); do
        if grep -qzx "XDG_RUNTIME_DIR=$sway_dir/run" "/proc/$pid/environ" 2>/dev/null; then
            echo "$pid"
        fi
    done
}
sway_xwayland_started() {
    for pid in $(sway_pids); do
        grep -qx Xwayland "/proc/$pid/comm" && return 0
    done
    return 1
}
sway_stop() {
    exec 9>&- 2>/dev/null || true
    [ -d "$sway_dir/run" ] || return 0
    for signal in TERM KILL; do
        left=$(sway_pids)
        [ -n "$left" ] || return 0
        kill -s "$signal" $left 2>/dev/null || true
        sleep 0.3
    done
}

acked() { [ "$(wc -l <"$work/vkbd.acks")" -ge "$sway_acks" ]; }
sway_vkbd() {
    printf '%s\n' "$1" >&9
    sway_acks=$((sway_acks + 1))
    poll 100 acked || fail "vkbd does not answer"
    [ "$(tail -n 1 "$work/vkbd.acks")" = ok ] || fail "vkbd could not do: $1"
}
# Both return once sway has the keys (the client may still be reading them).
sway_type() { sway_vkbd "type $1"; }
sway_key() { for name; do sway_vkbd "key $name"; done; }

sway_tree() { swaymsg -t get_tree; }
# Debian's own Python: a version manager's shim in PATH costs a second a call.
sway_python=$(command -v /usr/bin/python3 || command -v python3)
# Answers from the tree about its windows: "focused" prints the focused one's
# name; "focused", "visible", "urgent" with a NAME succeed when it is so.
sway_ask() {
    sway_tree | "$sway_python" -c '
import json, sys
def walk(node):
    yield node
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        yield from walk(child)
def name(view):
    return view.get("app_id") or (view.get("window_properties") or {}).get("class")
views = [node for node in walk(json.load(sys.stdin)) if "shell" in node]
if len(sys.argv) < 3:
    print(next((name(view) for view in views if view["focused"]), ""))
else:
    sys.exit(not any(name(view) == sys.argv[2] and view[sys.argv[1]] for view in views))
' "$@"
}
sway_focused() { sway_ask focused; }
sway_focused_is() { sway_ask focused "$1"; }
sway_visible() { sway_ask visible "$1"; }
sway_urgent() { sway_ask urgent "$1"; }
sway_wait() { poll $(($2 * 20)) eval "$1"; }

# Another program's window, focused; the lines typed into it land in
# $sway_dir/other-native.typed.
sway_echo='while IFS= read -r line; do printf "%s\n" "$line" >>"$1"; done'
sway_other_native() {
    sway_client foot --log-level=warning --app-id=other-native \
        sh -c "$sway_echo" sh "$sway_dir/other-native.typed" >>"$work/other.out" 2>&1
    sway_wait "sway_focused_is other-native" 10 || fail "the native window took no focus"
}
