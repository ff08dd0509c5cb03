#!/bin/bash
# The settings files against another local user and a power loss: saves go
# through zorlo-script, which writes real files as the desktop console does.
# Runs as root; the other user is uid 65534 through setpriv.
#   settings_files.sh ZORLO_SCRIPT
set -u
runner=$1
scratch=$(mktemp -d /tmp/zorlo-files-XXXXXX)
trap 'rm -rf "$scratch"' EXIT
chmod 0755 "$scratch" # the other user must reach the folders inside
failures=0
check() { # check DESCRIPTION COMMAND...
    if ! "${@:2}"; then
        echo "FAIL: $1" >&2
        failures=$((failures + 1))
    fi
}
as_other() { setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; }
# Starts a console on a folder, adds a macro, saves and dumps what it shows.
save_in() {
    printf '%s\n' '["start"]' '["type", "macro np notepad.exe"]' '["key", "Enter"]' \
        '["type", "save"]' '["key", "Enter"]' '["dump"]' | "$runner" "$1"
}
mode() { stat -c %a "$1"; }

if [ "$(id -u)" != 0 ]; then
    echo "settings_files.sh needs root to act as a second user" >&2
    exit 1
fi
victim=$scratch/victim
echo "root's own file" >"$victim"

# A folder everybody may write: another user plants links where the save
# would write; the save is refused with its reason and follows none of them.
open=$scratch/open
mkdir "$open" && chmod 0777 "$open"
as_other ln -s "$victim" "$open/zorlo.param.tmp"
as_other ln -s "$victim" "$open/zorlo.param"
out=$(save_in "$open")
check "world-writable folder refused" grep -q "SAVE: Error (Refused, other users can write to $open)" <<<"$out"
check "victim untouched" grep -qx "root's own file" "$victim"

# A sticky folder of the user's own is sound, yet others may still create
# names in it: a link at a predictable name (the kept copy's) is not followed.
sticky=$scratch/sticky
mkdir "$sticky" && chmod 1777 "$sticky"
printf '"orphan"\r\n' >"$sticky/zorlo.list" # a cut list: its old content is kept at the save
as_other ln -s "$victim" "$sticky/zorlo.list.bad"
out=$(save_in "$sticky")
check "kept beside the planted link" grep -q "Kept the old zorlo.list as zorlo.list.bad.1" <<<"$out"
check "save in a sticky folder" grep -q "SAVE: Ok" <<<"$out"
check "planted link left alone" test "$(readlink "$sticky/zorlo.list.bad")" = "$victim"
check "victim untouched after keep" grep -qx "root's own file" "$victim"
check "kept copy is the old list" cmp -s "$sticky/zorlo.list.bad.1" <(printf '"orphan"\r\n')

# A linked zorlo.list (a dotfiles set-up) stays a link; its target gets the
# new content and keeps its mode; a new history is the user's alone.
dotfiles=$scratch/dotfiles
linked=$scratch/linked
mkdir -m 0700 "$dotfiles" "$linked"
printf '"ed"\r\n"vi"\r\n' >"$dotfiles/zorlo.list" && chmod 0640 "$dotfiles/zorlo.list"
ln -s "$dotfiles/zorlo.list" "$linked/zorlo.list"
out=$(save_in "$linked")
check "save through a link" grep -q "SAVE: Ok" <<<"$out"
check "zorlo.list still a link" test -L "$linked/zorlo.list"
check "link target saved" grep -q '"notepad.exe"' "$dotfiles/zorlo.list"
check "target keeps 0640" test "$(mode "$dotfiles/zorlo.list")" = 640
check "new history is 0600" test "$(mode "$linked/history")" = 600
check "no temporary file left" test -z "$(find "$linked" "$dotfiles" -name '*.tmp')"

# Every file is synced before its rename, and its folder after it.
synced=$scratch/synced
mkdir -m 0700 "$synced"
save_in "$synced" >/dev/null # first files, then replaced ones
# LeakSanitizer cannot run under ptrace: a sanitizer build checks leaks elsewhere.
ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0" \
    strace -f -e trace=fsync,fdatasync -o "$scratch/strace" bash -c "$(declare -f save_in); runner=$runner; save_in $synced" >/dev/null
fsyncs=$(grep -c 'fsync(' "$scratch/strace")
check "fsync per file and folder (saw $fsyncs)" test "$fsyncs" -ge 6

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "settings files: all checks passed"
