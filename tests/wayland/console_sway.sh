#!/bin/sh
# The real console under sway, once per platform below: F12 (bound to
# `exec zorlo`) brings it forward focused at the first press while another
# window has the focus, typed text lands in it, a launch gets an activation
# token, F12 with the console focused hides it every time and from hidden
# shows it focused. Natively it opens no X11 connection, comes forward by its
# token alone where sway honours tokens, and `exit` keeps the stored left/top.
# usage: console_sway.sh ZORLO VKBD [PLATFORM]
set -eu

# platform: what the console's window is (QT_QPA_PLATFORM)
if [ $# -eq 2 ]; then
    for platform in wayland xcb; do
        sh "$0" "$1" "$2" "$platform" || exit 1
    done
    exit 0
fi
platform=$3
. "$(dirname "$0")/sway_bench.sh"

sway_start "$1" "$2" QT_QPA_PLATFORM="$platform"
app="$sway_dir/app"
crlf() { printf '"%s"\r\n' "$@"; }
# A macro whose program notes the token it was started with, and a stored
# place that a native Wayland window cannot know and must not overwrite.
printf '#!/bin/sh\nprintf "%%s\\n" "${XDG_ACTIVATION_TOKEN:-none}" >"$(dirname "$0")/launched.token"\n' \
    >"$app/launched.sh"
chmod 755 "$app/launched.sh"
crlf launched "$app/launched.sh" >"$app/zorlo.list"
crlf active 1 autohide 1 height 2400 key 123 left 2010 modifier 0 top 1995 width 4125 \
    >"$app/zorlo.param"
# The desktop's name for the console holds whatever the program file is called.
cp "$app/zorlo" "$app/console-by-another-name"
[ "$(id -u)" -ne 0 ] || chown -R "$sway_user:" "$app"

console_named() { [ -n "$(sway_focused)" ] && [ "$(sway_focused)" != other-native ]; }
swaymsg exec "$app/console-by-another-name" >/dev/null
wait_for shown
sway_wait console_named 10 || fail "$platform: the console took no focus at start-up"
me=$(sway_focused)
if [ "$platform" = wayland ]; then
    [ "$me" = zorlo ] || fail "the console's app_id is '$me', not zorlo"
fi
in_front() { sway_focused_is "$me"; }
hidden() { state_is hidden && ! sway_visible "$me"; }

# Another window has the focus: one press, and the console is in front.
sway_other_native
sway_key F12
sway_wait in_front 5 || fail "$platform: F12 left the console behind (urgent: $(sway_urgent "$me" && echo yes || echo no))"
# Where the toolkit learns of the focus late, the console shows itself once
# more a moment after the press; keys typed meanwhile would be lost.
sleep 1
sway_wait in_front 5 || fail "$platform: the console lost the focus after coming forward"

# Typed text lands in the console: the macro runs, with a token of its own,
# and autohide hides the console.
sway_type launched
sway_key Return
sway_wait '[ -s "$app/launched.token" ]' 5 || fail "$platform: the typed macro did not run"
! grep -qx none "$app/launched.token" || fail "$platform: the launched program got no activation token"
sway_wait hidden 5 || fail "$platform: autohide did not hide the console"

# From hidden, focused; focused, hidden: every time.
for round in 1 2 3; do
    sway_key F12
    sway_wait in_front 5 || fail "$platform: round $round: F12 did not show the console focused"
    sway_key F12
    sway_wait hidden 5 || fail "$platform: round $round: F12 did not hide the focused console"
done
sway_key F12
sway_wait in_front 5 || fail "$platform: F12 did not show the console focused at the end"

# Where the compositor honours tokens, the handed-over token alone brings the
# native window forward: no hiding and showing again on the way.
if [ "$platform" = wayland ]; then
    swaymsg focus_on_window_activation focus >/dev/null
    sway_other_native
    : >"$work/log"
    sway_key F12
    sway_wait in_front 5 || fail "the token did not bring the console forward"
    ! grep -qx hidden "$work/log" || fail "the console came forward by hiding, not by its token"
fi

sway_type exit
sway_key Return
sway_wait 'grep -qx unloaded "$work/log"' 5 || fail "$platform: exit did not end the console"
if [ "$platform" = wayland ]; then
    ! sway_xwayland_started || fail "the native console opened an X11 connection"
    tr -d '\r' <"$app/zorlo.param" | grep -A1 -x '"left"' | grep -qx '"2010"' &&
        tr -d '\r' <"$app/zorlo.param" | grep -A1 -x '"top"' | grep -qx '"1995"' ||
        fail "exit on native Wayland changed the stored place: $(tr '\r\n' '  ' <"$app/zorlo.param")"
fi
echo "sway, $platform: F12 brought the console forward, hid and showed it; the launch had a token"
