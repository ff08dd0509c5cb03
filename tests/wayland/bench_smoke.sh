#!/bin/sh
# The sway bench itself: sway starts, other windows take the focus, keys typed
# by vkbd arrive natively and through XWayland, F12 runs the binding.
# usage: bench_smoke.sh VKBD
set -eu
. "$(dirname "$0")/sway_bench.sh"

# The binding's stand-in for the console notes each start beside itself.
printf '#!/bin/sh\nenv >"$(dirname "$0")/started"\n' >"$work/stand-in"
chmod 755 "$work/stand-in"
sway_start "$work/stand-in" "$1" QT_QPA_PLATFORM=wayland
# XWayland waits for its first client.
! sway_xwayland_started || fail "XWayland started with nothing asking"
sway_run --x11 sh -c '[ "$QT_QPA_PLATFORM" = wayland ] && [ -n "$DISPLAY" ]' ||
    fail "a client lacks the session's environment"

typed() { grep -qxF "$2" "$sway_dir/$1.typed" 2>/dev/null; }
# window, text (shifted letters and punctuation on both paths)
for case in "native:other-native:hello" "x11:OtherX11:Hi there, #42!" "native:other-native:A-Z_(x) ~/."; do
    kind=${case%%:*}
    rest=${case#*:}
    window=${rest%%:*}
    text=${rest#*:}
    "sway_other_$kind"
    sway_type "$text"
    sway_key Return
    sway_wait 'typed "$window" "$text"' 5 || fail "'$text' did not reach $window"
done
sway_xwayland_started || fail "XWayland did not start for the X11 window"
sway_visible OtherX11 || fail "the X11 window is not visible"
! sway_urgent other-native || fail "a window is urgent unasked"

sway_key F12
sway_wait '[ -s "$sway_dir/app/started" ]' 5 || fail "F12 ran no binding"
grep -qx QT_QPA_PLATFORM=wayland "$sway_dir/app/started" || fail "the binding lost sway's environment"
sway_shot "$work/shot.png"
[ "$(head -c 4 "$work/shot.png" | tail -c 3)" = PNG ] || fail "the screenshot is no PNG"
echo "sway bench: windows focused, keys typed natively and through XWayland, F12 bound"
