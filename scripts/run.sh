#!/usr/bin/env bash
# Sets everything up, builds, and starts the console.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh >/dev/null
exec ./build/zorlo "$@"
