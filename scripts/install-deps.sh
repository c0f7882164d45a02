#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian 12 packages that building, running and testing
# Veltaro need, and only those that are missing, with any named on the
# command line.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev
    googletest libgtest-dev libgmock-dev
    # The window's faces: a proportional sans face for the desktop's
    # general font (without one, fontconfig settles on a fixed-pitch face)
    # and the metric-compatible faces for its "Times New Roman" texts.
    fonts-dejavu-core fonts-liberation
    "$@"
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
scripts/apt.sh update -qq
scripts/apt.sh install -y -qq --no-install-recommends "${missing[@]}"
