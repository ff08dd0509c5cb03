#!/usr/bin/env bash
# The Windows console: cross-builds zorlo.exe and its tests with mingw-w64 and
# runs them under wine on a private X server. Self-contained on Debian, as root.
# Prints "N passed, M failed" last and exits non-zero when anything failed.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZORLO_WINDOWS_BUILD:-$root/build-win}
results=$build/results
programs=(engine_tests fake_tests reliability_tests frontend_tests program_tests)
per_program_timeout=300

# Wine's X driver needs the libraries it only recommends, so they come with it.
packages=(cmake make g++-mingw-w64-x86-64-posix wine wine64 xvfb googletest nlohmann-json3-dev)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
done
if ((${#missing[@]})); then
    echo "Installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq >/dev/null
    apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# The win-cross preset: the Linux build's optimisation level, so both meet the
# same compiler warnings.
echo "Building zorlo.exe and the Windows tests in $build"
mkdir -p "$build"
build_failed() { # log
    tail -n 60 "$1"
    echo "0 passed, 1 failed"
    exit 1
}
(cd "$root" && cmake --preset win-cross -B "$build") >"$build/configure.log" 2>&1 ||
    build_failed "$build/configure.log"
cmake --build "$build" -j"$(nproc)" --target zorlo marker "${programs[@]}" >"$build/build.log" 2>&1 ||
    build_failed "$build/build.log"

export WINEPREFIX=$build/wineprefix
export WINEDEBUG=-all
# Shortcuts the tests save in the Start menu stay there: wine's menu builder
# would copy them into the host's own application menu.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
rm -rf "$results"
mkdir -p "$results"

# One X server for every test; wine draws its windows in a virtual desktop there.
displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$displayfile" 2>/dev/null &
xvfb_pid=$!
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    kill "$xvfb_pid" 2>/dev/null || true
    rm -f "$displayfile"
}
trap cleanup EXIT
for _ in $(seq 100); do
    [[ -s $displayfile ]] && break
    sleep 0.1
done
DISPLAY=:$(head -n1 "$displayfile")
export DISPLAY

if [[ ! -f $WINEPREFIX/.zorlo-ready ]]; then
    echo "Creating the wine prefix"
    wineboot -i >"$results/wineboot.log" 2>&1
    wineserver -w
    touch "$WINEPREFIX/.zorlo-ready"
fi
wineserver -p >/dev/null 2>&1 # stays up between programs, so each starts in a moment
# A virtual desktop: wine manages its windows itself, so hiding a window does
# not wait for a window manager that Xvfb does not have. A crashing program
# ends at once instead of waiting behind a crash dialog nobody will close.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1

passed=0
failed=0
count() { # name, passed, failed
    passed=$((passed + $2))
    failed=$((failed + $3))
    printf '%-16s %3d passed, %d failed\n' "$1" "$2" "$3"
}

# A static zorlo.exe needs nothing beyond the DLLs every Windows has.
imports=$(x86_64-w64-mingw32-objdump -p "$build/bin/zorlo.exe" | sed -n 's/.*DLL Name: //p')
foreign=$(grep -viE '^(kernel32|user32|gdi32|shell32|ole32|winmm|msvcrt|advapi32)\.dll$' <<<"$imports" || true)
if [[ -z $foreign ]]; then
    count static-link 1 0
else
    echo "zorlo.exe needs: $foreign"
    count static-link 0 1
fi

for program in "${programs[@]}"; do
    log=$results/$program.log
    xml=$results/$program.xml
    status=0
    timeout "$per_program_timeout" wine "$build/bin/$program.exe" --gtest_output="xml:$(winepath -w "$xml")" \
        >"$log" 2>&1 </dev/null || status=$?
    summary=$(grep -m1 -o '<testsuites tests="[0-9]*" failures="[0-9]*" disabled="[0-9]*"' "$xml" 2>/dev/null || true)
    if [[ -z $summary ]]; then
        echo "$program ended without results (exit $status):"
        tail -n 30 "$log"
        count "$program" 0 1
        continue
    fi
    read -r tests failures disabled <<<"${summary//[!0-9]/ }"
    # A skipped test passed nothing: it is named and not counted as passed.
    skipped=$(grep -c 'result="skipped"' "$xml" || true)
    if ((skipped > 0)); then
        echo "$program skipped:"
        sed -n 's/.*<testcase name="\([^"]*\)".*result="skipped".*classname="\([^"]*\)".*/    \2.\1/p' "$xml"
        tests=$((tests - skipped))
    fi
    if ((disabled > 0)); then
        echo "$program has $disabled disabled tests"
        failures=$((failures + disabled))
    fi
    if ((failures > 0 || status != 0)); then
        grep -E '^\[  FAILED  \]|Failure$' -A6 "$log" | head -n 80
        ((failures > 0)) || failures=1
    fi
    count "$program" $((tests - failures > 0 ? tests - failures : 0)) "$failures"
done

echo "$passed passed, $failed failed"
((failed == 0))
