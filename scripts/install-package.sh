#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds Veltaro's Debian package (scripts/build-package.sh) and installs
# it with apt, which brings in what it depends on (pkexec and polkit, the
# fonts): the program and the demo in /usr/bin, the menu entry, the manual
# pages and the helper that opens the processor's registers after polkit
# has asked for the administrator password. Arguments go to
# build-package.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/build-package.sh "$@"
debs=(build/debian/veltaro_*.deb)
[ ${#debs[@]} -eq 1 ] || { echo "expected one package, found: ${debs[*]}" >&2; exit 1; }

# apt reads a local package as its unprivileged user _apt, which cannot
# enter a home folder closed to others: hand it a copy it can read.
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
chmod 755 "$copy"
install -m 644 "${debs[0]}" "$copy/"
scripts/apt.sh install -y -qq --reinstall "$copy/$(basename "${debs[0]}")" >/dev/null
echo "Installed ${debs[0]}"
