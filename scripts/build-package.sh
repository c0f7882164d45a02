#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds Veltaro's Debian package from debian/ with dpkg-buildpackage and
# debhelper, which bring the distribution's compiler flags (hardening
# included), stripping, compressed manual pages and the package's
# dependencies. It builds in a copy of the source tree under build/debian/,
# so that the tree itself gets no build files, and leaves there the binary
# package veltaro_<version>_<arch>.deb beside the source package (.dsc and
# .tar.xz), the .buildinfo and the .changes.
#
#   scripts/build-package.sh [--no-check]
#
# --no-check builds the programs only, without building and running the
# tests (DEB_BUILD_OPTIONS=nocheck).
set -euo pipefail
cd "$(dirname "$0")/.."

profile=()
if [ "${1:-}" = --no-check ]; then
    export DEB_BUILD_OPTIONS="nocheck ${DEB_BUILD_OPTIONS:-}"
    profile=(--build-profiles=nocheck)
fi

# dpkg-dev: dpkg-buildpackage and dpkg-checkbuilddeps. The rest of what
# the build needs is in debian/control; apt installs what is missing.
scripts/install-deps.sh dpkg-dev
if ! dpkg-checkbuilddeps "${profile[@]}" >/dev/null 2>&1; then
    echo "Installing the package's build dependencies"
    scripts/apt.sh update -qq
    scripts/apt.sh build-dep -y -qq --no-install-recommends "${profile[@]}" ./
fi

version=$(dpkg-parsechangelog -S Version)
out=build/debian
rm -rf "$out"
mkdir -p "$out/veltaro-$version"
tar --exclude=./build --exclude=./.git -cf - . | tar -xf - -C "$out/veltaro-$version"
(cd "$out/veltaro-$version" && dpkg-buildpackage -us -uc -J"$(nproc)")
rm -rf "${out:?}/veltaro-$version"
ls "$out"/veltaro_"$version"_*.deb
