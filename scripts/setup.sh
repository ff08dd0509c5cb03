#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Idempotent and
# quiet when everything is already there. Usage: scripts/setup.sh [extra packages...]
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  googletest libgtest-dev libgmock-dev
  nlohmann-json3-dev
  qt6-base-dev qt6-multimedia-dev libx11-dev libxi-dev
  xvfb xdotool xauth openbox
  clang-14 libclang-rt-14-dev clang-format clang-tidy-14
  libbenchmark-dev rofi suckless-tools
  dpkg-dev lintian strace
  sway xwayland foot libwayland-dev libxkbcommon-dev python3
  wayland-protocols qt6-wayland
  dbus-daemon python3-dbus python3-gi
  libglib2.0-dev
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    sudo="sudo"
  else
    echo "These Debian packages are missing and installing them needs root: ${missing[*]}" >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q >/dev/null
$sudo apt-get install -y -q "${missing[@]}" >/dev/null
