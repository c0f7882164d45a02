#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Measures veltaro-demo against the toolkit's floor, a bare Qt 6 Widgets
# window with one label that it sets every 200 ms, changing its text
# whenever the demo's readout changes (a repaint costs far more than a
# tick), under a private Xvfb display: time from fork to
# the window's mapping and to its first painted frame, peak resident
# memory, and CPU time over a period of ticking (bench/mapwatch.cpp). The two programs run alternately, so that other load on the
# machine falls on both alike, after one unmeasured warm-up run of each.
# Start-up is timed over many short runs, memory and CPU over a few long
# ones. Both programs are built Release by the bench preset.
#
#   FOOTPRINT_STARTUP_RUNS  start-up runs of each program (15)
#   FOOTPRINT_RUNS          ticking runs of each program (5)
#   FOOTPRINT_SECONDS       length of the ticking period in seconds (60)
#   FOOTPRINT_SETTLE        seconds after the map before that period (2)
#   FOOTPRINT_DISPLAY       the X display number to use (else one picked at random)
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${FOOTPRINT_RUNS:-5}
startup_runs=${FOOTPRINT_STARTUP_RUNS:-15}
seconds=${FOOTPRINT_SECONDS:-60}
settle=${FOOTPRINT_SETTLE:-2}

scripts/install-deps.sh libbenchmark-dev libx11-dev xvfb x11-utils
cmake --preset bench >/dev/null
cmake --build --preset bench --target veltaro-demo veltaro-barewindow veltaro-mapwatch >/dev/null

watch=build/bench/bench/veltaro-mapwatch
demo=build/bench/app/veltaro-demo
bare=build/bench/bench/barewindow/veltaro-barewindow

work=$(mktemp -d)
# A display of its own: a number well away from the usual ones, tried
# until Xvfb takes it (it refuses one whose lock another server holds).
# Xvfb writes the number to descriptor 3 once it accepts clients, and
# keeps running between clients (-noreset): a client that came while it
# reset itself after the last one left would find no display. -br: a
# black root window, against which the launcher sees the first frame.
xvfb=""
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 10); do
    number=${FOOTPRINT_DISPLAY:-$((200 + RANDOM % 500))}
    : >"$work/display"
    Xvfb ":$number" -displayfd 3 -screen 0 1024x768x24 -br -noreset -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb=$!
    while kill -0 "$xvfb" 2>/dev/null && [ ! -s "$work/display" ]; do
        sleep 0.1
    done
    [ -s "$work/display" ] && break
done
display=":$(cat "$work/display")"
DISPLAY="$display" xdpyinfo >/dev/null
mkdir -m 700 "$work/xdg-runtime"

# measure <file> <settle> <seconds> <program>: one run, its figures
# appended to <file>.txt.
measure()
{
    if ! DISPLAY="$display" XDG_RUNTIME_DIR="$work/xdg-runtime" QT_QPA_PLATFORM=xcb \
        "$watch" "$2" "$3" "$4" >>"$work/$1.txt"; then
        kill -0 "$xvfb" 2>/dev/null && state="still runs" || state="has ended"
        echo "A run of $4 failed on display $display; its Xvfb $state. Xvfb said:" >&2
        cat "$work/xvfb.log" >&2
        exit 1
    fi
}

median()
{
    sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# figure <file> <key>: the median of one figure over a program's runs.
figure()
{
    tr ' ' '\n' <"$work/$1.txt" | sed -n "s/^$2=//p" | median
}

# row <label> <key> <phase>
row()
{
    local b d
    b=$(figure "bare-$3" "$2")
    d=$(figure "demo-$3" "$2")
    echo "| $1 | $b | $d | $(awk -v b="$b" -v d="$d" 'BEGIN { if (b > 0) printf "%.3f", d / b; else print "-" }') |"
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
measure warmup 0 0 "$bare"
measure warmup 0 0 "$demo"

# Start-up: short runs, many of them, alternating and swapping which goes
# first.
for run in $(seq "$startup_runs"); do
    if [ $((run % 2)) -eq 1 ]; then
        measure bare-start 0 0 "$bare"; measure demo-start 0 0 "$demo"
    else
        measure demo-start 0 0 "$demo"; measure bare-start 0 0 "$bare"
    fi
done
echo "start-up runs done (load $(cut -d' ' -f1 /proc/loadavg))"

# Memory and CPU: the whole ticking period.
for run in $(seq "$runs"); do
    if [ $((run % 2)) -eq 1 ]; then
        measure bare-tick "$settle" "$seconds" "$bare"; measure demo-tick "$settle" "$seconds" "$demo"
    else
        measure demo-tick "$settle" "$seconds" "$demo"; measure bare-tick "$settle" "$seconds" "$bare"
    fi
    echo "ticking run $run/$runs done (load $(cut -d' ' -f1 /proc/loadavg))"
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"

echo
echo "Raw figures:"
for name in bare-start demo-start bare-tick demo-tick; do
    sed "s/^/  $name: /" "$work/$name.txt"
done

echo
echo "Medians: start-up over $startup_runs runs each, memory and CPU over $runs runs of ${seconds} s each"
echo
echo "| figure | bare window | veltaro-demo | ratio |"
echo "|---|---|---|---|"
row "fork to window mapped (ms)" startup_ms start
row "fork to first frame (ms)" frame_ms start
row "peak resident memory (kB)" hwm_kb tick
row "CPU over ${seconds} s, clock ticks (s)" tick_cpu_s tick
row "CPU over ${seconds} s, scheduler (s)" tick_run_s tick
echo
b=$(figure bare-tick hwm_kb); d=$(figure demo-tick hwm_kb)
awk -v b="$b" -v d="$d" 'BEGIN { printf "memory allowance (1.10 x bare + 2048 kB): %.0f kB; veltaro-demo: %d kB\n", 1.10 * b + 2048, d }'
changes=$("$bare" --changes "$settle" "$((settle + seconds))")
echo "readout text changes over the ticking period: $changes, in both programs (the bare window follows the demo's curve)"
b=$(figure bare-tick tick_run_s); d=$(figure demo-tick tick_run_s)
awk -v b="$b" -v d="$d" 'BEGIN { printf "veltaro-demo CPU / bare window CPU (scheduler): %.3fx (target 1.2x)\n", d / b }'
