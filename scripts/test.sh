#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds everything with warnings as errors and
# runs the whole test suite. Widget tests run headless, and the demo once
# more as a native Wayland client under sway. Last, the README's own
# commands on a freshly made minimal Debian 13 and Debian 12.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset ci >/dev/null
cmake --build --preset ci
ctest --preset ci
scripts/test-wayland.sh build/ci
scripts/check-static.sh
scripts/test-sanitizers.sh
scripts/fuzz.sh 30
scripts/test-package.sh
scripts/test-windows.sh
# Both faces' icons in a real notification area, with the two builds above.
scripts/test-tray.sh
scripts/test-fresh-machine.sh trixie
scripts/test-fresh-machine.sh bookworm
