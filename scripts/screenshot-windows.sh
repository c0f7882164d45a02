#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Takes docs/screenshot-windows.png: Veltaro-demo.exe's window, frame and
# all, under Wine on a private Xvfb display, after a few seconds of
# ticking, and beside it the notification area (trayer's panel) where
# Wine docks the demo's icon. Without a window manager Wine draws the
# frame itself. Needs the windows-x64 build (scripts/test-windows.sh, or
# cmake --preset windows-x64 && cmake --build --preset windows-x64).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh wine wine64 fonts-wine xvfb xdotool imagemagick x11-utils trayer
demo=build/windows-x64/app/Veltaro-demo.exe
[ -f "$demo" ] || { echo "Build first: cmake --preset windows-x64 && cmake --build --preset windows-x64" >&2; exit 1; }
wine=$(command -v /usr/lib/wine/wine64 || command -v wine)

work=$(mktemp -d)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
exec {displayfd}<> <(:)
Xvfb ${VELTARO_DISPLAY:-} -displayfd "$displayfd" -screen 0 1024x768x24 -nolisten tcp &
xvfb=$!
read -r -u "$displayfd" number
export DISPLAY=":$number"
trayer=""
trap 'wineserver -k 2>/dev/null || true; kill $trayer "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
trayer --edge bottom --align right --widthtype request --height 48 --SetDockType true --transparent false &
trayer=$!

# The tests' prefix: Wine's stand-ins for the dialog and serif faces.
cmake -DACTION=setup -DPREFIX="$WINEPREFIX" -DWINE="$wine" -DWINESERVER="$(command -v wineserver)" \
    -DFONTS=/usr/share/wine/fonts -P tests/wineprefixaction.cmake
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1

"$wine" "$demo" &
window=""
for _ in $(seq 100); do
    window=$(xdotool search --name '^Veltaro \(simulated processor\)$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "The demo window did not appear" >&2; exit 1; }
sleep "${SETTLE_SECONDS:-3}"
panel=$(xdotool search --name '^panel$' | head -n 1)
import -window "$window" "$work/window.png"
import -window "$panel" "$work/panel.png"
convert "$work/window.png" \( "$work/panel.png" -background white -gravity west -splice 8x0 \) -gravity south +append \
    "${1:-docs/screenshot-windows.png}"
echo "Saved ${1:-docs/screenshot-windows.png}"
