#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Cross-builds the Windows adapters, the libraries without Qt and their
# tests for 64-bit Windows (MinGW-w64) and runs the tests under Wine, in a
# throwaway Wine prefix inside the build folder (build/windows-cross).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh g++-mingw-w64-x86-64 wine wine64
cmake --preset windows-cross >/dev/null
cmake --build --preset windows-cross
ctest --preset windows-cross
