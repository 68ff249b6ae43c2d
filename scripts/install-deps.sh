#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs every Debian package the build, the program, the tests and the
# benchmarks need. Does nothing when all of them are present already.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev libqcustomplot-dev
  libi2c-dev
  prometheus-cpp-dev prometheus
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth imagemagick fonts-dejavu-core
  clang-format clang libclang-rt-14-dev
  libqt6svg6 desktop-file-utils appstream man-db lintian
  sigrok-cli
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
sudo=()
if ((EUID != 0)); then
  if command -v sudo >/dev/null 2>&1; then
    sudo=(sudo)
  else
    echo "error: packages are missing (${missing[*]}) and this user cannot install them;" >&2
    echo "       run this script as root or install them with apt-get." >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
