#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy) over the engine: src/ without the front ends
# (the Qt and Win32 windows, the X11 and Win32 adapters, the programs' main),
# from the compile database of ./build, which scripts/build.sh makes.
# Fails on any finding. Usage: scripts/tidy.sh [build directory, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
if [ ! -f "$build/compile_commands.json" ]; then
  cmake --preset dev >/dev/null
fi
mapfile -t files < <(git ls-files 'src/*.cpp' |
  grep -vE '^src/(ui|app|platform/x11|platform/win32)/')
# Only the files this build compiles are in its database (the Windows adapters
# are not in a Linux one, the Qt ones not in a Windows one).
listed=()
for file in "${files[@]}"; do
  grep -q "\"file\": \"$PWD/$file\"" "$build/compile_commands.json" && listed+=("$file")
done
run-clang-tidy-14 -quiet -p "$build" -j"$(nproc)" "${listed[@]}" >"$build/tidy.log" 2>&1 || {
  grep -E 'warning:|error:' -A3 "$build/tidy.log" | head -n 200 >&2
  echo "clang-tidy: findings in the engine (full log: $build/tidy.log)" >&2
  exit 1
}
echo "clang-tidy: ${#listed[@]} engine files clean"
