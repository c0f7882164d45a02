#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the benchmarks (bench preset, Release) and runs them: each one
# 10 times in random order, so that load from elsewhere on the machine
# spreads over all of them, reporting the median. Then each tick's sensor
# path against its floor, the bare pread: of the configuration file, and
# of the kernel's temperature file. Arguments go to the benchmark program
# (e.g. --benchmark_filter=Tick).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh libbenchmark-dev libx11-dev
cmake --preset bench >/dev/null
cmake --build --preset bench --target veltaro-bench veltaro-bench-window

out=$(mktemp)
trap 'rm -f "$out"' EXIT
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
options=(--benchmark_repetitions=10 --benchmark_enable_random_interleaving=true
    --benchmark_report_aggregates_only=true "$@")
build/bench/bench/veltaro-bench "${options[@]}" | tee "$out"
# The window's own tick runs offscreen; Qt wants a private runtime folder.
runtime=$(mktemp -d)
XDG_RUNTIME_DIR="$runtime" build/bench/bench/veltaro-bench-window "${options[@]}" | tee -a "$out"
rm -rf "$runtime"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"

# The median CPU times (third column of a _median row, in ns).
cpu()
{
    awk -v name="$1_median" '$1 == name { print $4 }' "$out"
}
ratio()
{
    local tick floor
    tick=$(cpu "$2")
    floor=$(cpu "$3")
    if [ -n "$tick" ] && [ -n "$floor" ]; then
        awk -v what="$1" -v t="$tick" -v f="$floor" 'BEGIN { printf "%s (median CPU time): %.0f / %.0f ns = %.2fx (target 1.2x)\n", what, t, f, t / f }'
    fi
}
ratio "tick sensor path / bare pread" BM_TickSensorPath BM_BarePread
ratio "tick on the kernel's reading / bare pread of its file" BM_TickKernelReading BM_BareHwmonPread
