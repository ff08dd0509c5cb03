#!/usr/bin/env bash
# Builds the benchmarks in Release (./build-bench) and prints every figure on a
# line of its own with its target: PASS or MISS, or INFO for a comparison.
# Exits 1 when a figure misses its target, 2 when the benchmarks do not build
# (a build is no timing: the test run fails on it). Timings depend on the
# machine; the targets are for the 2-core development machine.
# Usage: bench/run.sh [--quick]   (--quick: 10 s of idle time instead of 60 s)
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh || exit 1

idle=60
[ "${1:-}" = "--quick" ] && idle=10
build=build-bench
# -O2 rather than CMake's -O3: at -O3 GCC 12 warns falsely (-Wrestrict) inside
# std::string, and warnings are errors here as everywhere.
mkdir -p "$build"
log="$build/run-build.log"
if ! { cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
         -DZORLO_WERROR=ON -DZORLO_BUILD_TESTS=OFF -DZORLO_BUILD_BENCH=ON >"$log" 2>&1 &&
       cmake --build "$build" -j"$(nproc)" >>"$log" 2>&1; }; then
  tail -n 40 "$log"
  echo "FAIL  the benchmarks did not build (see $log)"
  exit 2
fi

# Qt warns on every start where the session has no runtime folder.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  XDG_RUNTIME_DIR=$(mktemp -d)
  export XDG_RUNTIME_DIR
  trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi

status=0
"$build/bench/engine_bench" || status=1

# The installed applications: completion behind the macros, the index's size.
"$build/bench/apps_bench" || status=1

if [ -x "$build/bench/qt_pane_bench" ]; then
  QT_QPA_PLATFORM=offscreen "$build/bench/qt_pane_bench" || status=1
else
  echo "MISS  the Qt adapter benchmark was not built (Qt 6 missing)"
  status=1
fi

# Typing on a long line: the console's work per key beside the widget's own,
# zorlo-script's typing as the line grows, and a long paste.
if [ -x "$build/bench/typing_bench" ]; then
  QT_QPA_PLATFORM=offscreen "$build/bench/typing_bench" || status=1
else
  echo "MISS  the typing benchmark was not built (Qt 6 missing)"
  status=1
fi

if [ -x "$build/bench/startup_bench" ] && command -v Xvfb >/dev/null; then
  work=$(mktemp -d)
  Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
  if [ -s "$work/display" ]; then
    DISPLAY=":$(cat "$work/display")" "$build/bench/startup_bench" --zorlo "$build/zorlo" \
      --bare "$build/bench/bare_qt" --rofi "$(command -v rofi || true)" --dmenu "$(command -v dmenu || true)" \
      --starts 11 --idle "$idle" || status=1
  else
    echo "MISS  Xvfb did not start: $(cat "$work/xvfb.log")"
    status=1
  fi
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  rm -rf "$work"
else
  echo "MISS  the start-up benchmark needs Qt 6, X11 and Xvfb"
  status=1
fi
exit "$status"
