#!/usr/bin/env bash
# Installs every Debian 12 package Restash needs to build, run and test.
# Run as root (or with sudo available). Skips the install when all are there.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  libgtest-dev libgmock-dev
  libcli11-dev nlohmann-json3-dev zlib1g-dev libbrotli-dev
  libdb1-compat
  qt6-base-dev fonts-dejavu-core fontconfig
  chromium shared-mime-info desktop-file-utils
  clang libclang-rt-14-dev
  xvfb xauth x11-utils imagemagick openbox xdotool
  time unzip
)
# Node.js and npm run the web-archive check (warcio); a machine that has
# them from elsewhere keeps its own.
if ! command -v npm >/dev/null 2>&1; then packages+=(nodejs npm); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${missing[@]}"
