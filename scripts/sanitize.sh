#!/usr/bin/env bash
# Builds the whole test suite with AddressSanitizer and UndefinedBehaviorSanitizer
# (clang, every report fatal) in ./build-asan and runs it. Fails on a failing
# test and on any sanitizer report, also one from a child process whose exit
# status a test does not look at: reports go to build-asan/sanitizer-reports.
# Usage: scripts/sanitize.sh   (ZORLO_SANITIZE_GUI=OFF leaves the Qt console out)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

build=build-asan # the asan preset's
reports="$PWD/$build/sanitizer-reports"

cmake --preset asan -DZORLO_BUILD_GUI="${ZORLO_SANITIZE_GUI:-ON}" >/dev/null
cmake --build --preset asan -j"$(nproc)"

rm -rf "$reports"
mkdir -p "$reports"
export ASAN_OPTIONS="log_path=$reports/asan:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="log_path=$reports/ubsan:print_stacktrace=1:halt_on_error=1"

status=0
# The sway test (label compositor) runs in the plain test run only: at the
# sanitizers' speed the keys it types outrun the compositor's focus changes.
(cd "$build" && ctest --output-on-failure -j"$(nproc)" -LE compositor) || status=$?

if compgen -G "$reports/*" >/dev/null; then
  echo "Sanitizer reports:" >&2
  for report in "$reports"/*; do
    echo "==== $report" >&2
    cat "$report" >&2
  done
  exit 1
fi
exit "$status"
