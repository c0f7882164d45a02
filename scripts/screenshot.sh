#!/usr/bin/env bash
# Takes docs/screenshot.png: veltaro-demo's window under a private Xvfb
# display, after a few seconds of ticking. Needs a dev build.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh xvfb xdotool imagemagick x11-utils
demo=build/dev/app/veltaro-demo
[ -x "$demo" ] || { echo "Build first: cmake --preset dev && cmake --build --preset dev" >&2; exit 1; }

display=":$((90 + RANDOM % 9))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp &
xvfb=$!
trap 'kill "$demo_pid" "$xvfb" 2>/dev/null || true' EXIT
sleep 1

DISPLAY="$display" "$demo" &
demo_pid=$!
window=""
for _ in $(seq 50); do
    window=$(DISPLAY="$display" xdotool search --name '^Veltaro \(simulated processor\)$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "The demo window did not appear" >&2; exit 1; }
sleep "${SETTLE_SECONDS:-3}"
DISPLAY="$display" import -window "$window" "${1:-docs/screenshot.png}"
echo "Saved ${1:-docs/screenshot.png}"
