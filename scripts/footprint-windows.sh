#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Measures the 64-bit Veltaro-demo.exe against the floor of a native
# Windows program, a bare Win32 window of the same size with one label
# set every 200 ms (bench/barewin32), under Wine on a private Xvfb
# display: time from the start of Wine's loader to the window being
# mapped, and the peak resident memory of the program's process after a
# few seconds of ticking. Both run in one warm prefix with its Wine server
# kept running, alternately, after one unmeasured run of each. The figures
# include Wine's own start of a process; they say nothing of Windows.
#
#   FOOTPRINT_WINDOWS_RUNS     runs of each program (11)
#   FOOTPRINT_WINDOWS_SECONDS  ticking before memory is read (3)
#   FOOTPRINT_DISPLAY          the X display number to use (else one picked at random)
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${FOOTPRINT_WINDOWS_RUNS:-11}
seconds=${FOOTPRINT_WINDOWS_SECONDS:-3}

scripts/install-deps.sh g++-mingw-w64-x86-64 wine wine64 xvfb x11-utils xdotool
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 --target veltaro-demo >/dev/null

build=$PWD/build/windows-x64
work=$build/footprint
mkdir -p "$work"
demo=$build/app/Veltaro-demo.exe
bare=$work/barewin32.exe
x86_64-w64-mingw32-g++-posix -O2 -municode -mwindows -static -s bench/barewin32/barewin32.cpp -o "$bare"

export WINEPREFIX=$work/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb=""
trap 'wineserver -k 2>/dev/null || true; kill "$xvfb" 2>/dev/null || true' EXIT
for _ in $(seq 10); do
    number=${FOOTPRINT_DISPLAY:-$((200 + RANDOM % 500))}
    : >"$work/display"
    Xvfb ":$number" -displayfd 3 -screen 0 1024x768x24 -noreset -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb=$!
    while kill -0 "$xvfb" 2>/dev/null && [ ! -s "$work/display" ]; do
        sleep 0.1
    done
    [ -s "$work/display" ] && break
done
export DISPLAY=":$(cat "$work/display")"
# Debian's 64-bit Wine complains of the 32-bit part it lacks and fails
# the boot; the prefix is made all the same.
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1 || [ -f "$WINEPREFIX/system.reg" ]
# One Wine server for every run: the prefix stays warm.
wineserver -p

# measure <name> <program> <window title>: one run, "startup_ms=... hwm_kb=..."
# appended to <name>.txt. The map is the first MapNotify of a top-level
# window that xev reports after the start, read as it arrives: looking
# for the window again and again would take CPU from the program.
measure()
{
    local started mapped pid hwm line
    coproc XEV { exec stdbuf -oL xev -root -event substructure; }
    sleep 0.2
    started=${EPOCHREALTIME/./}
    wine "$2" &
    pid=$!
    while IFS= read -r -t 60 -u "${XEV[0]}" line && [[ $line != MapNotify* ]]; do :; done
    mapped=${EPOCHREALTIME/./}
    kill "$XEV_PID"
    wait "$XEV_PID" 2>/dev/null || true
    sleep "$seconds"
    xdotool search --onlyvisible --name "^$3\$" >/dev/null || { echo "no window titled $3" >&2; exit 1; }
    hwm=$(sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$pid/status")
    # Closed as a user closes it: a program killed leaves Wine busy with it
    # for about two seconds, and the next start waits.
    wine taskkill /im "$(basename "$2")" >/dev/null 2>&1 || kill "$pid"
    wait "$pid" 2>/dev/null || true
    # Until the window is gone, the next run's search would find it.
    while xdotool search --onlyvisible --name "^$3\$" >/dev/null 2>&1; do
        sleep 0.1
    done
    echo "startup_ms=$(((mapped - started) / 1000)) hwm_kb=$hwm" >>"$work/$1.txt"
}

median()
{
    sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

figure()
{
    tr ' ' '\n' <"$work/$1.txt" | sed -n "s/^$2=//p" | median
}

rm -f "$work/bare.txt" "$work/demo.txt" "$work/warmup.txt"
measure warmup "$bare" "Bare window"
measure warmup "$demo" "Veltaro \\(simulated processor\\)"
for run in $(seq "$runs"); do
    if [ $((run % 2)) -eq 1 ]; then
        measure bare "$bare" "Bare window"; measure demo "$demo" "Veltaro \\(simulated processor\\)"
    else
        measure demo "$demo" "Veltaro \\(simulated processor\\)"; measure bare "$bare" "Bare window"
    fi
done

echo "Raw figures:"
for name in bare demo; do
    sed "s/^/  $name: /" "$work/$name.txt"
done
echo
echo "Medians over $runs runs each, under Wine"
echo
echo "| figure | bare Win32 window | Veltaro-demo.exe | ratio | target |"
echo "|---|---|---|---|---|"
for key in "startup_ms start-up_to_window_mapped_(ms) 1.10" "hwm_kb peak_resident_memory_(kB) 1.15"; do
    read -r name label target <<<"$key"
    b=$(figure bare "$name"); d=$(figure demo "$name")
    awk -v l="${label//_/ }" -v b="$b" -v d="$d" -v t="$target" \
        'BEGIN { printf "| %s | %s | %s | %.3f | %sx |\n", l, b, d, d / b, t }'
done
