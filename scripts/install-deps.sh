#!/usr/bin/env bash
# Installs what building and testing need, from the distribution's packages, when something is missing.
# "screen" also installs what serving the handheld's screen without a display takes (a virtual X server and a
# VNC server).
set -euo pipefail

packages=(cmake ninja-build g++ ccache clang-format pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
          libgtest-dev libgmock-dev libbenchmark-dev libsndfile1-dev libasound2-dev fonts-dejavu-core fonts-wine)
if [ "${1:-}" = "screen" ]; then packages+=(xvfb x11vnc); fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
