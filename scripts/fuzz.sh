#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets (clang, address and undefined-behaviour
# sanitizers) and runs each for the given number of seconds (default 60),
# starting from the seeds in fuzz/corpus/. New inputs the fuzzer finds go
# to build/fuzz/corpus/, never into the repository. A crash, a failed
# check or a sanitizer report ends the script with a failure; the input
# that caused it is kept as build/fuzz/artifacts/<target>/crash-*.
#
#   scripts/fuzz.sh [seconds-per-target] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(hexdigits registryvalue cpuinfo configspace)

scripts/install-deps.sh clang libclang-rt-dev
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

for target in "${targets[@]}"; do
    corpus=build/fuzz/corpus/$target
    artifacts=build/fuzz/artifacts/$target
    mkdir -p "$corpus" "$artifacts"
    cp -n fuzz/corpus/"$target"/* "$corpus"/ 2>/dev/null || true
    echo "== $target: $seconds s"
    log=build/fuzz/$target.log
    if ! build/fuzz/fuzz/"${target}_fuzz" -max_total_time="$seconds" -max_len=8192 -print_final_stats=1 \
        -artifact_prefix="$artifacts"/ "$corpus" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "fuzz: $target failed; the input is in $artifacts/" >&2
        exit 1
    fi
    grep -E '^Done [0-9]+ runs' "$log"
    echo "corpus: $(find "$corpus" -type f | wc -l) inputs"
done
