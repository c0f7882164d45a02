#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the benchmarks (bench preset, Release) and runs them: each one
# 10 times in random order, so that load from elsewhere on the machine
# spreads over all of them, reporting the median. Then each tick's sensor
# path against its floor, the bare pread: of the configuration file, and
# of the kernel's temperature file, over several processes. Arguments go
# to the first, full run of the benchmark program (e.g.
# --benchmark_filter=Tick).
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

# Each tick against its floor. The ratio differs from one process of the
# benchmark program to the next by more than from one repetition to the
# next (where the program's code and data land in memory), so the pairs run
# in BENCH_TICK_PROCESSES processes, 100 short repetitions each in random
# order; each process's ratio of medians is printed, and their median is
# the figure the targets are judged by.
processes=${BENCH_TICK_PROCESSES:-5}
pairs=(BM_TickSensorPath BM_BarePread BM_TickKernelReading BM_BareHwmonPread)
filter="^($(IFS='|'; echo "${pairs[*]}"))\$"
ratios=$(mktemp)
trap 'rm -f "$out" "$ratios"' EXIT
for _ in $(seq "$processes"); do
    build/bench/bench/veltaro-bench --benchmark_filter="$filter" --benchmark_repetitions=100 \
        --benchmark_min_time=0.02 --benchmark_enable_random_interleaving=true \
        --benchmark_report_aggregates_only=true 2>/dev/null |
        awk '$1 ~ /_median$/ { sub(/_median$/, "", $1); cpu[$1] = $4 }
             END { printf "%.0f %.0f %.0f %.0f\n", cpu["BM_TickSensorPath"], cpu["BM_BarePread"],
                          cpu["BM_TickKernelReading"], cpu["BM_BareHwmonPread"] }' >>"$ratios"
done
awk -v processes="$processes" '
    function median(values, count,    i, j, swap) {
        for (i = 2; i <= count; i++)
            for (j = i; j > 1 && values[j - 1] > values[j]; j--) {
                swap = values[j]; values[j] = values[j - 1]; values[j - 1] = swap
            }
        return count % 2 ? values[(count + 1) / 2] : (values[count / 2] + values[count / 2 + 1]) / 2
    }
    {
        config[NR] = $1 / $2; kernel[NR] = $3 / $4
        printf "process %d: tick sensor path %s / bare pread %s ns = %.3fx; tick on the kernel'"'"'s reading %s / bare pread of its file %s ns = %.3fx\n", NR, $1, $2, config[NR], $3, $4, kernel[NR]
    }
    END {
        printf "tick sensor path / bare pread, median of %d processes: %.3fx (target 1.5x)\n", NR, median(config, NR)
        printf "tick on the kernel'"'"'s reading / bare pread of its file, median of %d processes: %.3fx (target 1.5x)\n", NR, median(kernel, NR)
    }' "$ratios"
