#!/usr/bin/env bash
# Builds Veltaro's Debian package and installs it with apt: the program and
# the demo in /usr/bin, the menu entry, and the helper that opens the
# processor's registers after polkit has asked for the administrator
# password.
set -euo pipefail
cd "$(dirname "$0")/.."

# dpkg-dev: dpkg-shlibdeps works out the library dependencies.
scripts/install-deps.sh dpkg-dev

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

cmake --preset package >/dev/null
cmake --build --preset package
rm -f build/package/veltaro_*.deb
cpack --preset package >/dev/null
debs=(build/package/veltaro_*.deb)
[ ${#debs[@]} -eq 1 ] || { echo "expected one package, found: ${debs[*]}" >&2; exit 1; }
DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=300 install -y -qq --reinstall "./${debs[0]}" >/dev/null
echo "Installed ${debs[0]}"
