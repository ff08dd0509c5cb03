#!/usr/bin/env bash
# Configures and builds into ./build (warnings are errors).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset dev >/dev/null
cmake --build --preset dev -j"$(nproc)"
