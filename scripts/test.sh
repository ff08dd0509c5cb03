#!/usr/bin/env bash
# Sets everything up, checks that every C++ file is formatted, builds, and runs
# every test: clang-tidy over the engine, the fuzz targets (30 s each),
# the whole suite under AddressSanitizer and UndefinedBehaviorSanitizer, the
# Windows console cross-built and tested under wine, the benchmarks (their
# figures printed: a missed target never fails the run, a failed build does),
# and the suite of the ordinary build, whose summary closes the output.
# Usage: scripts/test.sh [--quick]   (--quick: the format check and the ordinary suite only)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
echo "== Format"
git ls-files -z '*.cpp' '*.hpp' '*.h' | xargs -0 clang-format --dry-run --Werror
scripts/build.sh
if [ "${1:-}" != "--quick" ]; then
  echo "== clang-tidy"
  scripts/tidy.sh
  echo "== Fuzzing"
  fuzz/run.sh "${ZORLO_FUZZ_SECONDS:-30}"
  echo "== Sanitizers"
  scripts/sanitize.sh
  echo "== Windows (zorlo.exe under wine)"
  .ci/windows.sh
  # Timings depend on the machine, so a missed target is printed, not failed;
  # benchmarks that do not build fail the run.
  echo "== Benchmarks"
  bench_status=0
  bench/run.sh || bench_status=$?
  if [ "$bench_status" -eq 2 ]; then
    exit 1
  elif [ "$bench_status" -ne 0 ]; then
    echo "benchmarks: some figures missed their targets"
  fi
fi
echo "== Tests"
cd build
ctest --output-on-failure -j"$(nproc)"
