#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan and UBSan) in ./build-fuzz and
# runs each for a fixed time. Usage: fuzz/run.sh [seconds per target, default 30]
# Fails when any target finds a crash, a sanitizer report, a broken property or
# an input that takes more than one second. Findings land in build-fuzz/artifacts.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

seconds="${1:-30}"
targets=(fuzz_pattern fuzz_parse_args fuzz_settings fuzz_history fuzz_script)
build=build-fuzz # the fuzz preset's

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)" >/dev/null

mkdir -p "$build/artifacts"
failed=()
for target in "${targets[@]}"; do
  name="${target#fuzz_}"
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  options=(-max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048 -max_len=4096
           -print_final_stats=1 -artifact_prefix="$build/artifacts/$name-")
  if [ -f "fuzz/$name.dict" ]; then
    options+=(-dict="fuzz/$name.dict")
  fi
  log="$build/artifacts/$name.log"
  start=$(date +%s)
  if "$build/fuzz/$target" "${options[@]}" "$corpus" "fuzz/corpus/$name" >"$log" 2>&1; then
    result="ok"
  else
    result="FAILED (see $log)"
    failed+=("$target")
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  printf '%-16s %4ss  %10s runs  %s\n' "$target" "$(($(date +%s) - start))" "$runs" "$result"
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzing found faults in: ${failed[*]}" >&2
  for target in "${failed[@]}"; do
    name="${target#fuzz_}"
    grep -E 'PROPERTY BROKEN|ERROR: |SUMMARY|runtime error' "$build/artifacts/$name.log" | head -5 >&2 || true
  done
  exit 1
fi
