#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds everything (the program, the widget tests included) with the
# address and undefined-behaviour sanitizers and runs the whole test suite
# under them. Any report, a leak included, fails the test it comes from.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset asan >/dev/null
cmake --build --preset asan

export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --preset asan
