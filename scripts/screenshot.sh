#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Takes docs/screenshot.png: veltaro-demo's window under a private Xvfb
# display, after a few seconds of ticking, and beside it the notification
# area (trayer's panel) with the demo's icon. Needs a dev build.
#
#   scripts/screenshot.sh [file]           docs/screenshot.png by default
#   scripts/screenshot.sh --2x [file]      at twice the density (Qt's scale
#                                          factor 2), docs/screenshot@2x.png
set -euo pipefail
cd "$(dirname "$0")/.."

out=docs/screenshot.png
if [ "${1:-}" = --2x ]; then
    export QT_SCALE_FACTOR=2
    out=docs/screenshot@2x.png
    shift
fi
out=${1:-$out}

scripts/install-deps.sh xvfb xdotool imagemagick x11-utils trayer
demo=build/dev/app/veltaro-demo
[ -x "$demo" ] || { echo "Build first: cmake --preset dev && cmake --build --preset dev" >&2; exit 1; }

# A display of its own: Xvfb picks a free number and writes it to
# descriptor 3 once it accepts clients.
work=$(mktemp -d)
demo_pid=""
trayer_pid=""
Xvfb ${VELTARO_DISPLAY:-} -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
trap 'kill $demo_pid $trayer_pid "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
while kill -0 "$xvfb" 2>/dev/null && [ ! -s "$work/display" ]; do
    sleep 0.1
done
[ -s "$work/display" ] || { cat "$work/xvfb.log" >&2; exit 1; }
display=":$(cat "$work/display")"

DISPLAY="$display" trayer --edge bottom --align right --widthtype request --height 48 --SetDockType true \
    --transparent false &
trayer_pid=$!
# The first window named so, within 5 s.
window_named()
{
    local id
    for _ in $(seq 50); do
        id=$(DISPLAY="$display" xdotool search --name "$1" 2>/dev/null | head -n 1) && [ -n "$id" ] && { echo "$id"; return; }
        sleep 0.1
    done
}
panel=$(window_named '^panel$')
[ -n "$panel" ] || { echo "trayer made no panel" >&2; exit 1; }

DISPLAY="$display" "$demo" &
demo_pid=$!
window=$(window_named '^Veltaro \(simulated processor\)$')
[ -n "$window" ] || { echo "The demo window did not appear" >&2; exit 1; }
sleep "${SETTLE_SECONDS:-3}"
DISPLAY="$display" import -window "$window" "$work/window.png"
DISPLAY="$display" import -window "$panel" "$work/panel.png"
convert "$work/window.png" \( "$work/panel.png" -background white -gravity west -splice 8x0 \) -gravity south +append "$out"
echo "Saved $out"
