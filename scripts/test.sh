#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and
# runs the whole test suite. Widget tests run headless.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset ci >/dev/null
cmake --build --preset ci
ctest --preset ci
scripts/check-static.sh
scripts/test-sanitizers.sh
scripts/fuzz.sh 60
scripts/test-package.sh
scripts/test-windows.sh
