#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# veltaro-demo as a native Wayland client of sway's headless back end, run
# unprivileged (sway refuses root: as root, as `nobody`), Qt picking its
# platform from WAYLAND_DISPLAY: the window's kind, title and client size
# in swaymsg's tree, the readout (green figure on black) in a grim shot,
# and the readout's tooltip once a pointer rests on it.
#
#   scripts/test-wayland.sh [build folder] [file to keep the screenshot in]
#                           [file to keep the tooltip's screenshot in]
set -euo pipefail
cd "$(dirname "$0")/.."
demo=$(realpath "${1:-build/ci}/app/veltaro-demo")
scripts/install-deps.sh sway grim qt6-wayland imagemagick jq libwayland-dev
[ -x "$demo" ] || { echo "Build first: $demo is missing" >&2; exit 1; }

work=$(mktemp -d -t veltaro-wayland.XXXXXX)
as_user=()
[ "$(id -u)" -ne 0 ] || { chown nobody:nogroup "$work" && as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --reset-env); }
chmod 700 "$work"
trap 'kill ${pointer:-} ${sway:-} 2>/dev/null || true; rm -rf "$work"' EXIT
session=("${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$work" XDG_RUNTIME_DIR="$work" LANG=C.UTF-8)
printf 'output HEADLESS-1 resolution 800x600\ndefault_border none\ndefault_floating_border none\n' >"$work/config"
chmod 644 "$work/config"
"${session[@]}" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway -c "$work/config" >"$work/sway.log" 2>&1 &
sway=$!
# Runs "$@" every 0.1 s until it succeeds, for at most 10 s.
poll() { for _ in $(seq 100); do "$@" && return; sleep 0.1; done; return 1; }
socket() { find "$work" -maxdepth 1 -name "$1" -type s -printf '%f\n' | grep -m 1 .; }
poll socket 'wayland-*' >/dev/null && poll socket 'sway-ipc.*' >/dev/null || { cat "$work/sway.log" >&2; exit 1; }
wayland=("${session[@]}" WAYLAND_DISPLAY="$(socket 'wayland-*')" SWAYSOCK="$work/$(socket 'sway-ipc.*')")

title="Veltaro (simulated processor)"
"${wayland[@]}" "$demo" >"$work/demo.log" 2>&1 &
# The window's node: an xdg_shell one is a native Wayland window (an X11
# client shows as xwayland), and its surface is the client area.
window() {
    "${wayland[@]}" swaymsg -t get_tree -r | jq -re --arg title "$title" '.. | objects | select(.name? == $title) |
        "\(.shell) \(.geometry.width)x\(.geometry.height) \(.rect.x + .window_rect.x),\(.rect.y + .window_rect.y)"'
}
read -r shell size at < <(poll window) || true
[ "${shell:-}" = xdg_shell ] && [ "$size" = 307x168 ] ||
    { echo "FAILED: no native 307x168 window titled '$title' (saw ${shell:-none} ${size:-})"; exit 1; }

sleep 2
"${wayland[@]}" grim -g "$at 307x168" - >"$work/window.png"
[ -n "${2:-}" ] && cp "$work/window.png" "$2"
# The readout, 115x46 px at (40, 32): pixels of its text and background.
count() { convert "$work/window.png" -crop 115x46+40+32 -fill white -opaque "$1" -fill black +opaque white -format '%[fx:round(mean*w*h)]' info:; }
green=$(count '#00ff00') black=$(count black)
[ "$green" -ge 40 ] && [ "$black" -ge 3000 ] ||
    { echo "FAILED: the readout shows no figure ($green green and $black black pixels of 5290)"; exit 1; }

# The tooltip: a virtual pointer of our own rests on the readout's middle
# (sway has no other pointer here); Qt shows it 700 ms later as a popup
# below and right of the pointer, in the tooltip colour (which the emblem
# has a few pixels of).
# shellcheck disable=SC2046
g++ -std=c++20 -o "$work/restpointer" tests/wayland/restpointer.cpp $(pkg-config --cflags --libs wayland-client)
IFS=, read -r x y <<<"$at"
tip() { convert "$work/$1" -crop 250x150+$((x + 97))+$((y + 55)) -fill white -opaque '#ffffdc' -fill black +opaque white -format '%[fx:round(mean*w*h)]' info:; }
"${wayland[@]}" grim "$work/before.png"
before=$(tip before.png)
"${wayland[@]}" "$work/restpointer" $((x + 97)) $((y + 55)) 800 600 15 &
pointer=$!
tooltip() { "${wayland[@]}" grim "$work/tooltip.png" && after=$(tip tooltip.png) && [ "$after" -ge $((before + 2000)) ]; }
poll tooltip || { echo "FAILED: no tooltip below the pointer on the readout ($before, then ${after:-no} tooltip-coloured pixels)"; exit 1; }
[ -n "${3:-}" ] && cp "$work/tooltip.png" "$3"
echo "ok: a native Wayland window, 307x168, with its title, readout and the readout's tooltip"
